#include "mail/MailHeader.h"

#include "model/Base64.h"
#include "text/CharEX.h"
#include "text/JapaneseCodes.h"

namespace vrk {
namespace {

constexpr std::string_view kWordStart = "=?iso-2022-jp?B?";
constexpr std::string_view kWordEnd = "?=";
// Base64 of 42 bytes is 56 characters: with its frame, a word of 74.
constexpr std::size_t kJisBytesPerWord = 42;

std::string encodedWord(std::string_view jis) {
  std::string word(kWordStart);
  return word.append(base64Text_(jis)).append(kWordEnd);
}

// Length of the character at i; a half-width kana keeps its sound mark, which
// the conversion merges into it.
std::size_t unitLengthAt(std::string_view text, std::size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  if (c >= 0xA1 && c <= 0xDF && i + 1 < text.size()) {
    const auto mark = static_cast<unsigned char>(text[i + 1]);
    return mark == 0xDE || mark == 0xDF ? 2 : 1;
  }
  return charLengthAt(text, i);
}

}  // namespace

std::string encodeMailSubject_(std::string_view subject) {
  std::string whole = sjisToJis_(subject, OneByteSet::Ascii);
  if (whole.size() <= kJisBytesPerWord) return encodedWord(whole);

  std::string folded;
  std::size_t start = 0;
  std::string jis;  // of subject[start, end)
  for (std::size_t end = 0; end < subject.size();) {
    const std::size_t next = end + unitLengthAt(subject, end);
    std::string longer = sjisToJis_(subject.substr(start, next - start), OneByteSet::Ascii);
    if (longer.size() > kJisBytesPerWord && end > start) {
      folded.append(folded.empty() ? "" : "\r\n ").append(encodedWord(jis));
      start = end;
      continue;
    }
    jis = std::move(longer);
    end = next;
  }
  return folded.append(folded.empty() ? "" : "\r\n ").append(encodedWord(jis));
}

}  // namespace vrk
