#include "model/TContent.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <tuple>

#include "model/Base64.h"
#include "platform/Path.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

std::string joinLinesCRLF(std::span<const std::string> lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// The trimmed text after `key` in `text` with one pair of enclosing double
// quotes removed; nullopt when `key` does not occur (the search keeps case).
std::optional<std::string> valueAfter(const std::string& text, std::string_view key) {
  const std::size_t at = findText_(text, key);
  if (at == std::string::npos) return std::nullopt;
  return unquote_(trim_(std::string_view(text).substr(at + key.size())));
}

}  // namespace

TContent::TContent(TObjectNamed* owner) : TObjectNamed(owner) {}

TContent::~TContent() = default;

int TContent::clear() {
  aParts.reset();
  return 0;
}

std::unique_ptr<TObjectNamed> TContent::deepCopy() const {
  auto copy = std::make_unique<TContent>(aOwner);
  copy->assign_(*this);
  return copy;
}

void TContent::assign_(const TObjectNamed& source) {
  const auto* content = dynamic_cast<const TContent*>(&source);
  if (!content || content == this) return;
  fileName = content->fileName;
  aData = content->aData;
  aParts.reset();
  if (content->aParts) {
    aParts = std::make_unique<TObjectParent>(this);
    aParts->assign_(*content->aParts);
  }
  contentType = content->contentType;
  transferEncoding = content->transferEncoding;
  flagEndsEarly = content->flagEndsEarly;
}

void TContent::parseMIME_(const StringList& lines) { parseEntity_(lines, 0); }

// Every parse starts from an empty entity, so that nothing of an earlier one
// (a multipart type, longer data) leaks into this one.
void TContent::parseEntity_(LineSpan lines, int depth) {
  aParts.reset();
  aData.reset();
  fileName.clear();
  contentType.clear();
  transferEncoding.clear();
  flagEndsEarly = false;
  auto line = lines.begin();
  while (line != lines.end() && isBlank_(*line)) ++line;

  // A line beginning with a blank or tab continues the header before it.
  StringList headers;
  for (; line != lines.end() && !isBlank_(*line); ++line) {
    const char first = (*line)[0];
    if ((first == ' ' || first == '\t') && !headers.empty())
      headers.back() += *line;
    else
      headers.push_back(*line);
  }
  if (line != lines.end()) ++line;  // the blank line that ends the headers
  const LineSpan body(line, lines.end());

  std::string delimiter;
  for (const std::string& header : headers) {
    const std::size_t colon = findCharOf_(header, ":");
    if (colon == std::string::npos) continue;
    const std::string name = lowerCase_(std::string_view(header).substr(0, colon));
    const std::string value = trim_(std::string_view(header).substr(colon + 1));
    if (name == "content-type") {
      delimiter.clear();
      const std::size_t semicolon = findCharOf_(value, ";");
      if (semicolon == std::string::npos) {
        contentType = value;
        continue;
      }
      contentType = lowerCase_(std::string_view(value).substr(0, semicolon));
      if (!contentType.starts_with("multipart")) continue;
      const auto boundary = valueAfter(value.substr(semicolon + 1), "boundary=");
      if (boundary && !boundary->empty()) delimiter = "--" + *boundary;
    } else if (name == "content-transfer-encoding") {
      transferEncoding = lowerCase_(value);
    } else if (name == "content-disposition") {
      if (auto file = valueAfter(value, "filename=")) fileName = std::move(*file);
    }
  }

  if (!contentType.starts_with("multipart")) {
    if (transferEncoding == "base64") {
      decodeBase64Lines_(body, aData.emplace());
      transferEncoding = "binary";
    } else {
      aData = joinLinesCRLF(body);
    }
  } else if (!delimiter.empty()) {
    parseMultipartBody_(body, delimiter, depth);
  }
}

void TContent::parseMultipartBody_(LineSpan body, const std::string& delimiter, int depth) {
  const std::string closing = delimiter + "--";
  std::optional<std::size_t> partStart;  // none before the first delimiter
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i].find(delimiter) == std::string::npos) continue;  // cheap test before trimming
    const std::string trimmed = trim_(body[i]);
    if (trimmed != delimiter && trimmed != closing) continue;
    if (partStart) {
      auto part = std::make_unique<TContent>();
      const LineSpan partLines = body.subspan(*partStart, i - *partStart);
      if (depth < kMaxMimeDepth)
        part->parseEntity_(partLines, depth + 1);
      else
        part->aData = joinLinesCRLF(partLines);
      std::string name = trim_(part->fileName);
      if (name.empty()) name = part->contentType;
      if (name.empty()) name = "text/plain";
      if (!aParts) aParts = std::make_unique<TObjectParent>(this);
      part->aOwner = aParts.get();
      aParts->addChild_(std::move(part), name);
    }
    if (trimmed == closing) return;
    partStart = i + 1;
  }
  flagEndsEarly = true;  // what follows the last delimiter is no whole part
}

int TContent::loadFile_(std::string_view path) {
  const std::optional<std::string> osPath = toOsPath_(path);
  if (!osPath) return -2;
  struct stat info {};
  if (::stat(osPath->c_str(), &info) != 0) return errno == ENOENT || errno == ENOTDIR ? -1 : -2;
  if (info.st_size > std::numeric_limits<int>::max()) return -2;  // the size must fit the result
  std::string bytes;
  if (readFileBytes_(*osPath, bytes) != 0) return -2;
  fileName = std::string(path);
  aData = std::move(bytes);
  return static_cast<int>(aData->size());
}

int TContent::loadStream_(std::string_view bytes) {
  aData.emplace(bytes);
  return static_cast<int>(aData->size());
}

int TContent::encodeBase64_(const std::optional<std::string>& stream, StringList& lines) {
  if (!stream) return -1;
  encodeBase64Lines_(*stream, lines);
  return 0;
}

int TContent::decodeBase64_(std::optional<std::string>& stream, const StringList& lines) {
  if (!stream) return -1;
  decodeBase64Lines_(lines, *stream);
  return 0;
}

std::string makeBlankBmp() {
  constexpr std::uint32_t kSide = 30;
  constexpr std::uint32_t kRowBytes = (kSide * 3 + 3) / 4 * 4;  // rows padded to 4 bytes
  constexpr std::uint32_t kHeaderBytes = 14 + 40;
  constexpr std::uint32_t kPixelBytes = kRowBytes * kSide;
  std::string bmp;
  bmp.reserve(kHeaderBytes + kPixelBytes);
  const auto put = [&bmp](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bmp += "BM";
  put(kHeaderBytes + kPixelBytes, 4);  // file size
  put(0, 4);                           // reserved
  put(kHeaderBytes, 4);                // offset of the pixels
  put(40, 4);                          // BITMAPINFOHEADER
  put(kSide, 4);                       // width
  put(kSide, 4);                       // height (bottom-up)
  put(1, 2);                           // planes
  put(24, 2);                          // bits per pixel
  put(0, 4);                           // no compression
  put(kPixelBytes, 4);
  put(2835, 4);  // 72 dpi
  put(2835, 4);
  put(0, 4);  // colours used
  put(0, 4);  // important colours
  for (std::uint32_t row = 0; row < kSide; ++row) {
    bmp.append(kSide * 3, '\xFF');
    bmp.append(kRowBytes - kSide * 3, '\0');
  }
  return bmp;
}

void writeLinkHTML_(StringList& lines, std::string_view nodeName, std::string_view rawFilename) {
  const std::string title = escapeXML_(nodeName);
  // A Filename stored without quotes would otherwise end the href at its first blank.
  const std::string href = quote_(rawFilename);
  lines.insert(
      lines.end(),
      {"<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">", "<html>", "  <head>",
       "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">",
       "    <meta name=\"GENERATOR\" content=\"vrk.exe\">", "    <title>" + title + "</title>",
       "  </head>", "  <body>", "    <a href=" + href + " >", "      " + title, "    </a>",
       "  </body>", "</html>"});
}

ShadowAddress parseShadowAddress_(std::string_view filenameUnquoted) {
  ShadowAddress address;
  const SplitPair headRest = splitAt_(filenameUnquoted, ":");
  const std::string& head = headRest.first;
  const std::string& rest = headRest.second;
  std::string key;
  if (sameText_(head, "MemoHolder")) {
    address.kind = ShadowAddress::Kind::holder;
    std::tie(address.holderName, key) = splitAt_(rest, ":");
  } else if (sameText_(head, "MemoNode")) {
    address.kind = ShadowAddress::Kind::node;
    key = splitAt_(rest, ":").first;
  } else {
    return address;
  }
  address.byUID = startsWith_(key, "UID=");
  address.key = address.byUID ? key.substr(4) : key;
  return address;
}

}  // namespace vrk
