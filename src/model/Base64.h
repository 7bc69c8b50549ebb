#pragma once
// Base64 of RFC 2045 for embedding binary contents in holder files and for
// encoded words of mail headers.
#include <span>
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

// Appends one line of 76 characters per 57 bytes, the last line shorter and
// padded with "=" or "==".
void encodeBase64Lines_(std::string_view bytes, StringList& lines);
// The same characters in one text, without line breaks.
std::string base64Text_(std::string_view bytes);

// `out` becomes the decoded bytes. Lenient, line by line: a line under four
// characters is skipped, characters outside the alphabet count as 0, and the
// characters after a line's last complete group of four are ignored.
void decodeBase64Lines_(std::span<const std::string> lines, std::string& out);

}  // namespace vrk
