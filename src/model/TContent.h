#pragma once
// The content of a memo record: bytes of an attached file, a small MIME reader
// for multipart entities (the .maz package and MIME memos), the blank picture,
// the link page of an address content and the address of a shadow content.
//
// Text is Shift_JIS bytes; data is raw bytes.
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/TObjectNamed.h"
#include "model/TObjectParent.h"
#include "text/StringList.h"

namespace vrk {

// Parts nested deeper than this below the parsed entity are not parsed: their
// lines are kept as the part's data, so crafted input cannot nest without end.
inline constexpr int kMaxMimeDepth = 32;

class TContent : public TObjectNamed {
 public:
  explicit TContent(TObjectNamed* owner = nullptr);
  ~TContent() override;

  std::string fileName;
  std::optional<std::string> aData;       // absent until data is loaded
  std::unique_ptr<TObjectParent> aParts;  // sub-contents of a multipart body; absent when none
  std::string contentType;
  std::string transferEncoding;
  // A multipart body without its closing delimiter: the entity was cut. Only
  // the parts that a delimiter ended are in aParts.
  bool flagEndsEarly = false;

  // Frees the parts; data, type, encoding and file name stay.
  int clear() override;
  std::unique_ptr<TObjectNamed> deepCopy() const override;
  void assign_(const TObjectNamed& source) override;

  // Fills the content from the lines of a MIME entity. Parts, data, file name,
  // type and encoding of an earlier parse are dropped first. Never fails:
  // malformed headers are ignored.
  void parseMIME_(const StringList& lines);

  // `path` is a stored (Shift_JIS) path; it is kept in fileName and converted
  // for the operating system here. Size read, -1 when the file does not
  // exist, -2 when it cannot be named or read.
  int loadFile_(std::string_view path);
  // aData becomes a copy of the bytes; their size.
  int loadStream_(std::string_view bytes);

  // Appends base64 lines for the stream; -1 without stream.
  static int encodeBase64_(const std::optional<std::string>& stream, StringList& lines);
  // The stream becomes the decoded lines (nothing of its old bytes is kept);
  // -1 without stream.
  static int decodeBase64_(std::optional<std::string>& stream, const StringList& lines);

 private:
  using LineSpan = std::span<const std::string>;
  void parseEntity_(LineSpan lines, int depth);
  void parseMultipartBody_(LineSpan body, const std::string& delimiter, int depth);
};

// A white 30 x 30 picture as a 24-bit BMP file (2,814 bytes).
std::string makeBlankBmp();

// Appends the 13 lines of the page that links to an address content.
// rawFilename is the Filename field as stored; it is quoted when it is not.
void writeLinkHTML_(StringList& lines, std::string_view nodeName, std::string_view rawFilename);

// Where a shadow content points: "MemoHolder:<holder>:<key>" or
// "MemoNode:<key>", a key "UID=<uid>" selecting by UID, any other by name.
struct ShadowAddress {
  // holder: the memo file's holder of that name; node: the shadow's own holder.
  enum class Kind { none, holder, node };
  Kind kind = Kind::none;
  std::string holderName;  // Kind::holder only
  bool byUID = false;
  std::string key;  // UID (without "UID=") or node name
};
ShadowAddress parseShadowAddress_(std::string_view filenameUnquoted);

}  // namespace vrk
