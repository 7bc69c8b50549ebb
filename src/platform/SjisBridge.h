#pragma once
// The one bridge between the model's Shift_JIS (code page 932) bytes and UTF-8.
//
// Decoding is lossless: a byte that is not valid CP932 becomes a private-use
// code point (U+F700 + byte) that encodes back to the same byte. Encoding
// refuses a character CP932 cannot hold instead of replacing it.
#include <optional>
#include <string>
#include <string_view>

namespace vrk {

constexpr char32_t kRawBytePlane = 0xF700;

std::string sjisToUtf8(std::string_view sjis);

// nullopt when a byte is not valid CP932 (for names handed to the system).
std::optional<std::string> sjisToUtf8Strict(std::string_view sjis);

struct EncodeFailure {
  std::size_t offset = 0;  // byte offset of the refused character in the UTF-8 input
  std::string character;   // its UTF-8 bytes
};

// nullopt when the text holds a character CP932 cannot hold (or is not UTF-8);
// `failure` then names the first such character.
std::optional<std::string> utf8ToSjis(std::string_view utf8, EncodeFailure* failure = nullptr);

// For literals the program itself writes: they always convert, so a failure is a
// programming error and aborts loudly.
std::string utf8LiteralToSjis(std::string_view utf8);

}  // namespace vrk
