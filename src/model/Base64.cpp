#include "model/Base64.h"

#include <array>
#include <cstdint>

namespace vrk {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kBytesPerLine = 57;

// Value of each byte; anything outside the alphabet (padding included) is 0.
constexpr std::array<std::uint8_t, 256> kValues = [] {
  std::array<std::uint8_t, 256> values{};
  for (std::uint8_t i = 0; i < 64; ++i) values[static_cast<unsigned char>(kAlphabet[i])] = i;
  return values;
}();

// Writes the four characters of each group of three bytes of `block` to
// `out`, which holds (size + 2) / 3 * 4 characters already set to "=", so the
// padding of a last, shorter group is in place.
void encodeGroups(std::string_view block, char* out) {
  const auto byteAt = [block](std::size_t i) -> std::uint32_t {
    return static_cast<unsigned char>(block[i]);
  };
  std::size_t i = 0;
  for (; i + 3 <= block.size(); i += 3, out += 4) {
    const std::uint32_t group = byteAt(i) << 16 | byteAt(i + 1) << 8 | byteAt(i + 2);
    out[0] = kAlphabet[group >> 18];
    out[1] = kAlphabet[(group >> 12) & 63];
    out[2] = kAlphabet[(group >> 6) & 63];
    out[3] = kAlphabet[group & 63];
  }
  if (const std::size_t rest = block.size() - i; rest > 0) {
    const std::uint32_t group = byteAt(i) << 16 | (rest == 2 ? byteAt(i + 1) << 8 : 0);
    out[0] = kAlphabet[group >> 18];
    out[1] = kAlphabet[(group >> 12) & 63];
    if (rest == 2) out[2] = kAlphabet[(group >> 6) & 63];
  }
}

}  // namespace

void encodeBase64Lines_(std::string_view bytes, StringList& lines) {
  lines.reserve(lines.size() + (bytes.size() + kBytesPerLine - 1) / kBytesPerLine);
  for (std::size_t start = 0; start < bytes.size(); start += kBytesPerLine) {
    const std::string_view block = bytes.substr(start, kBytesPerLine);
    std::string& line = lines.emplace_back((block.size() + 2) / 3 * 4, '=');
    encodeGroups(block, line.data());
  }
}

std::string base64Text_(std::string_view bytes) {
  std::string text((bytes.size() + 2) / 3 * 4, '=');
  encodeGroups(bytes, text.data());
  return text;
}

void decodeBase64Lines_(std::span<const std::string> lines, std::string& out) {
  std::size_t capacity = 0;
  for (const std::string& line : lines) capacity += line.size() / 4 * 3;
  out.resize(capacity);
  char* next = out.data();
  for (const std::string& line : lines) {
    for (std::size_t i = 0; i + 4 <= line.size(); i += 4) {
      const auto value = [&](std::size_t k) -> std::uint32_t {
        return kValues[static_cast<unsigned char>(line[i + k])];
      };
      const std::uint32_t group = value(0) << 18 | value(1) << 12 | value(2) << 6 | value(3);
      *next++ = static_cast<char>(group >> 16);
      if (line[i + 2] == '=') continue;
      *next++ = static_cast<char>(group >> 8);
      if (line[i + 3] == '=') continue;
      *next++ = static_cast<char>(group);
    }
  }
  out.resize(static_cast<std::size_t>(next - out.data()));
}

}  // namespace vrk
