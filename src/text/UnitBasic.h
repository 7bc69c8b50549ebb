#pragma once
// Time stamps, colours and compressed files.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "text/StringList.h"

struct z_stream_s;  // zlib's stream state

namespace vrk {

// 14-digit local time stamp "yyyymmddhhnnss"; unreadable text gives clock.now().
LocalTime parseTimeStamp_(std::string_view text, const Clock& clock);

// Colours are 0x00BBGGRR.
using Colour = std::uint32_t;
std::string colourToText_(Colour colour);
Colour textToColour_(std::string_view text);

// Compressed files: one zlib stream of Shift_JIS text. Readers accept the bare
// stream and the stream after four leading bytes; the writer emits the bare
// stream. Readers answer 0, or a negative code with a message in `error`.
constexpr std::size_t kMaxInflatedBytes = std::size_t(1) << 30;  // 1 GiB
int inflateBytes_(std::string_view compressed, std::string& out, std::string* error = nullptr,
                  std::size_t maxBytes = kMaxInflatedBytes);

// Takes bytes as they come: 0, or -1 to stop.
using ByteSink = std::function<int(std::string_view)>;
// The streaming counterpart of inflateBytes_: the text goes to the sink as it
// is inflated, so it never has to be held whole. A stream that breaks after
// it gave text is not tried again after four bytes. 0; -1 not a zlib stream,
// broken or too large (the reason in `error`); -2 the sink stopped it.
int inflateTo_(std::string_view compressed, const ByteSink& sink, std::string* error = nullptr,
               std::size_t maxBytes = kMaxInflatedBytes);
// zlib stream at the default level; 0, or -1.
int deflateBytes_(std::string_view plain, std::string& out);

// The same stream made piece by piece: compressed bytes go to the sink as they
// come, so that neither text nor stream has to be held whole.
class DeflateStream {
 public:
  explicit DeflateStream(ByteSink sink);
  ~DeflateStream();
  DeflateStream(const DeflateStream&) = delete;
  DeflateStream& operator=(const DeflateStream&) = delete;

  int feed(std::string_view plain);  // 0, or -1
  int finish();                      // ends the stream: 0, or -1

 private:
  int run(std::string_view plain, bool last);

  ByteSink sink_;
  std::unique_ptr<::z_stream_s> zs_;
  bool ok_ = false;
};
int readCompressed_(StringList& lines, const std::string& path, std::string* error = nullptr);
// Size of the uncompressed text, or -1 with the cause in error; a failed
// write leaves the old file.
int writeCompressed_(const StringList& lines, const std::string& path,
                     std::string* error = nullptr);
int decompressFile_(const std::string& source, const std::string& target,
                    std::string* error = nullptr);
int unpackZ_(const std::string& path, std::string* error = nullptr);

// Text lines of a byte buffer: CR LF or LF ends a line; a last line without an
// ending is kept.
void bytesToLines_(std::string_view bytes, StringList& lines);
// Every line followed by CR LF.
std::string linesToBytes_(const StringList& lines);

}  // namespace vrk
