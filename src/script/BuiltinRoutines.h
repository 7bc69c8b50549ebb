#pragma once
// The text and number routines behind the script language's built-ins, with
// the results of the Pascal run-time library they stand for: positions and
// counts out of range are clamped, never an error.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

// Copy(S, Index, Count), 1-based: an Index below 1 counts as 1.
std::string pascalCopy_(std::string_view text, std::int64_t index, std::int64_t count);
// Delete(S, Index, Count): S unchanged when Index or Count is outside S.
std::string pascalDelete_(std::string_view text, std::int64_t index, std::int64_t count);
// Insert(Source, S, Index): Index clamped to 1 .. Length(S) + 1.
std::string pascalInsert_(std::string_view source, std::string_view text, std::int64_t index);
// Byte comparison: the difference of the first differing bytes, else -1, 0 or
// 1 by length.
int compareStr_(std::string_view a, std::string_view b);

// Decimal or "$" hexadecimal with an optional sign, after blanks or tabs;
// nullopt when the text is no 64-bit integer.
std::optional<std::int64_t> textToInteger_(std::string_view text);
// A decimal number with optional fraction and exponent, or INF / NAN, between
// blanks; nullopt when the text is no number.
std::optional<double> textToReal_(std::string_view text);
// General format with 15 significant digits: fixed while the decimal exponent
// lies in -5 .. 14, else "1.5E20" / "1E-6"; "+Inf", "-Inf", "Nan".
std::string floatToStr_(double value);

// Trunc and Round (halves to even); nullopt for NaN or a value that does not
// fit in 64 bits.
std::optional<std::int64_t> truncToInteger_(double value);
std::optional<std::int64_t> roundToInteger_(double value);

// Frac and Int: the fractional and the integer part, both with the sign of
// the value.
double fracOf_(double value);
double intOf_(double value);

// Program arguments from a command line without a shell: blanks separate,
// double quotes group (and are dropped).
StringList splitCommandLine_(std::string_view commandLine);

}  // namespace vrk
