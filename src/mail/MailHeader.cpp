#include "mail/MailHeader.h"

#include "model/Base64.h"
#include "text/JapaneseCodes.h"

namespace vrk {
namespace {

// Base64 of 42 bytes is 56 characters: with "=?iso-2022-jp?B?" and "?=", 74.
constexpr std::size_t kJisBytesPerWord = 42;

}  // namespace

std::string encodeMailSubject_(std::string_view subject) {
  std::string header;
  for (const std::string& jis : sjisToJisPieces_(subject, kJisBytesPerWord, OneByteSet::Ascii)) {
    if (!header.empty()) header.append("\r\n ");
    header.append("=?iso-2022-jp?B?").append(base64Text_(jis)).append("?=");
  }
  return header;
}

}  // namespace vrk
