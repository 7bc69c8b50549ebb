#pragma once
// The script language's tokenizer. Bytes 1 to 32 separate tokens; strings are
// quoted ('it''s'), character codes (#65, #$41) are strings too; identifiers
// are ASCII and compare without regard to case.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vrk {

enum class TokenKind : std::uint8_t {
  End,         // past the last token
  Comment,     // "//" to the end of the line
  String,      // quoted or a character code
  HexInteger,  // $1F
  Integer,     // 123
  Real,        // 1.5, 1e3, 2.5E-3 (also the digits before a ".." or a lone ".")
  Identifier,  // letters, digits and "_", not starting with a digit
  Symbol,      // ":=", "<=", "<>", ">=", "..", or any other single byte
};

class TPPAParser {
 public:
  // Reads the first token at once.
  explicit TPPAParser(std::string_view text);

  void nextToken();
  TokenKind kind() const { return kind_; }
  std::string_view token() const { return std::string_view(text_).substr(start_, pos_ - start_); }
  std::string tokenUpper() const;
  // Steps past the current token when it equals `text` (upper-cased); true then.
  bool match_(std::string_view text);
  std::size_t offset() const { return start_; }

 private:
  std::string text_;  // the parser's own copy
  std::size_t pos_ = 0;
  std::size_t start_ = 0;
  TokenKind kind_ = TokenKind::End;
};

// The value of a string token: quotes removed and doubled quotes made single;
// "#" and "#$" codes give their character when below 256, else nothing.
std::string decodeStringToken_(std::string_view token);

// The value of an integer or "$" hexadecimal literal; 0 when it does not fit
// in 64 bits (hexadecimal: 16 digits, read as two's complement).
std::int64_t integerLiteral_(std::string_view token);

}  // namespace vrk
