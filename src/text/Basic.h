#pragma once
// Time stamps, colours and compressed files.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "text/LocalTime.h"
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

// How much text a reader inflates. Never more than `total`; past the first
// `floor` bytes no more than `ratio` times the compressed bytes read so far.
// Real text compresses 3 to 75 times and pictures hardly at all, while a few
// MB that would inflate to gigabytes compress a thousand times: they stop
// within the floor. The floor keeps any file of some tens of MB readable
// (a holder of blank bitmaps compresses 300 times). Inflating stops at the
// first byte past the limit.
struct InflateLimit {
  std::size_t total = kMaxInflatedBytes;
  std::size_t floor = std::size_t(64) << 20;
  std::size_t ratio = 100;

  InflateLimit() = default;
  // A plain cap on the size, with the ratio rule as usual.
  InflateLimit(std::size_t totalBytes) : total(totalBytes) {}  // NOLINT: implicit on purpose
  InflateLimit(std::size_t totalBytes, std::size_t floorBytes, std::size_t maxRatio)
      : total(totalBytes), floor(floorBytes), ratio(maxRatio) {}

  // Null when `inflated` bytes out of `compressed` are within the limit, else why not.
  const char* exceededBy(std::size_t inflated, std::size_t compressed) const;
};

int inflateBytes_(std::string_view compressed, std::string& out, std::string* error = nullptr,
                  const InflateLimit& limit = {});

// inflateBytes_ followed by bytesToLines_, with the lines cut as the text
// comes, so that it is never held whole beside them. On -1 the list is empty.
int inflateLines_(std::string_view compressed, StringList& lines, std::string* error = nullptr);

// Takes bytes as they come: 0, or -1 to stop.
using ByteSink = std::function<int(std::string_view)>;
// The streaming counterpart of inflateBytes_: the text goes to the sink as it
// is inflated, so it never has to be held whole. A stream that breaks after
// it gave text is not tried again after four bytes. 0; -1 not a zlib stream,
// broken or too large (the reason in `error`); -2 the sink stopped it.
int inflateTo_(std::string_view compressed, const ByteSink& sink, std::string* error = nullptr,
               const InflateLimit& limit = {});
// zlib stream at the default level; 0, or -1.
int deflateBytes_(std::string_view plain, std::string& out);

// The same stream made piece by piece: compressed bytes go to the sink as they
// come, so that neither text nor stream has to be held whole. A stream that
// the readers would refuse under `limit` fails instead of being made.
class DeflateStream {
 public:
  explicit DeflateStream(ByteSink sink, const InflateLimit& limit = {});
  ~DeflateStream();
  DeflateStream(const DeflateStream&) = delete;
  DeflateStream& operator=(const DeflateStream&) = delete;

  int feed(std::string_view plain);  // 0, or -1
  int finish();                      // ends the stream: 0, or -1

 private:
  int run(std::string_view plain, bool last);

  ByteSink sink_;
  InflateLimit limit_;
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

// The same on bytes that come in pieces (appended to lines), so that the text
// never has to be held whole beside its lines.
class LineSplitter {
 public:
  explicit LineSplitter(StringList& lines) : lines_(lines) {}
  void feed(std::string_view bytes);
  void finish();  // keeps a last line without an ending

 private:
  StringList& lines_;
  std::string pending_;
  bool open_ = false;  // pending_ holds the start of a line
};
// Every line followed by CR LF.
std::string linesToBytes_(const StringList& lines);

}  // namespace vrk
