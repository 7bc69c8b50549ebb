#include "platform/SjisBridge.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace vrk {
namespace {

// One converter per direction and thread; iconv_t keeps shift state, which
// CP932 does not use, so a reset per call is enough.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      std::fprintf(stderr, "iconv cannot convert %s to %s\n", from, to);
      std::abort();
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much of [in, in+size) as it can, appending to out; answers the
  // number of input bytes consumed. Stops at the first unconvertible sequence.
  std::size_t convert(const char* in, std::size_t size, std::string& out) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    std::size_t left = size;
    char buffer[4096];
    while (left > 0) {
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      const std::size_t rc = iconv(handle_, &src, &left, &dst, &room);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) break;
    }
    return size - left;
  }

 private:
  iconv_t handle_;
};

Converter& decoder() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter;
}
Converter& encoder() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Length of the UTF-8 sequence at i, 0 when it is malformed.
std::size_t utf8Length(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
  for (std::size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c >> 6) != 2) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  return n;
}

bool isAsciiRun(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Decodes, keeping invalid bytes as raw-byte code points; counts them.
std::string decode(std::string_view sjis, std::size_t& rawBytes) {
  rawBytes = 0;
  if (isAsciiRun(sjis)) return std::string(sjis);
  std::string out;
  out.reserve(sjis.size() * 3 / 2);
  std::size_t pos = 0;
  while (pos < sjis.size()) {
    pos += decoder().convert(sjis.data() + pos, sjis.size() - pos, out);
    if (pos < sjis.size()) {
      appendUtf8(out, kRawBytePlane + static_cast<unsigned char>(sjis[pos]));
      ++pos;
      ++rawBytes;
    }
  }
  return out;
}

}  // namespace

std::string sjisToUtf8(std::string_view sjis) {
  std::size_t rawBytes = 0;
  return decode(sjis, rawBytes);
}

std::optional<std::string> sjisToUtf8Strict(std::string_view sjis) {
  std::size_t rawBytes = 0;
  std::string out = decode(sjis, rawBytes);
  if (rawBytes) return std::nullopt;
  return out;
}

std::optional<std::string> utf8ToSjis(std::string_view utf8, EncodeFailure* failure) {
  if (isAsciiRun(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    // Hand iconv the run up to the next raw-byte code point.
    std::size_t end = pos;
    char32_t cp = 0;
    std::size_t length = 0;
    while (end < utf8.size()) {
      length = utf8Length(utf8, end, cp);
      if (length == 0 || (cp >= kRawBytePlane && cp <= kRawBytePlane + 0xFF)) break;
      end += length;
    }
    const std::size_t done = pos + encoder().convert(utf8.data() + pos, end - pos, out);
    if (done < end) {
      if (failure) {
        char32_t bad = 0;
        const std::size_t badLength = std::max<std::size_t>(1, utf8Length(utf8, done, bad));
        *failure = {done, std::string(utf8.substr(done, badLength))};
      }
      return std::nullopt;
    }
    pos = end;
    if (pos == utf8.size()) break;
    if (length == 0) {
      if (failure) *failure = {pos, std::string(utf8.substr(pos, 1))};
      return std::nullopt;
    }
    out += static_cast<char>(cp - kRawBytePlane);
    pos += length;
  }
  return out;
}

std::string utf8LiteralToSjis(std::string_view utf8) {
  EncodeFailure failure;
  auto converted = utf8ToSjis(utf8, &failure);
  if (!converted) {
    std::fprintf(stderr, "literal not representable in CP932 at %zu: %.*s\n", failure.offset,
                 static_cast<int>(utf8.size()), utf8.data());
    std::abort();
  }
  return *converted;
}

}  // namespace vrk
