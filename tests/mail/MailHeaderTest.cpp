#include "mail/MailHeader.h"

#include <gtest/gtest.h>

#include "model/Base64.h"
#include "text/JapaneseCodes.h"
#include "text/SjisSamples.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::string_view kStart = "=?iso-2022-jp?B?";

// The JIS texts of the encoded words of a header.
StringList wordsOf(const std::string& header) {
  StringList jis;
  std::size_t at = 0;
  for (;;) {
    const std::size_t end = header.find("?=", at);
    if (!header.substr(at).starts_with(kStart) || end == std::string::npos) break;
    std::string bytes;
    const std::string base64 = header.substr(at + kStart.size(), end - at - kStart.size());
    decodeBase64Lines_(StringList{base64}, bytes);
    jis.push_back(bytes);
    at = end + 2;
    if (header.compare(at, 3, "\r\n ") != 0) break;
    at += 3;
  }
  EXPECT_EQ(at, header.size()) << header;
  return jis;
}

TEST(MailHeader, ShortSubjectsAreOneWord) {
  EXPECT_EQ(encodeMailSubject_("Hello"), "=?iso-2022-jp?B?SGVsbG8=?=");
  EXPECT_EQ(encodeMailSubject_(""),
            "=?iso-2022-jp?B?"
            "?=");
  // 表: ESC $ B 0x49 0x3D ESC ( B, back in ASCII.
  EXPECT_EQ(encodeMailSubject_(sjis::kHyo), "=?iso-2022-jp?B?GyRCST0bKEI=?=");
}

TEST(MailHeader, LongSubjectsFoldIntoWholeWords) {
  std::string subject;
  for (int i = 0; i < 100; ++i) subject += sjis::kHyo + "a" + "\xB6\xDE";  // 表aｶﾞ
  subject += "end";
  const std::string header = encodeMailSubject_(subject);
  std::size_t lineStart = 0;
  std::string joined;
  const StringList words = wordsOf(header);
  ASSERT_GT(words.size(), 10u);
  for (const std::string& jis : words) {
    const std::size_t lastEscape = jis.rfind('\x1B');  // each word ends in ASCII
    EXPECT_TRUE(lastEscape == std::string::npos || jis.compare(lastEscape, 3, "\x1B(B") == 0)
        << jis;
    EXPECT_LE(jis.size(), 42u);
    joined += jisToSjis_(jis);
  }
  for (std::size_t at = header.find("\r\n"); at != std::string::npos;
       at = header.find("\r\n", at + 2)) {
    EXPECT_LE(at - lineStart, 76u);  // a word of at most 75, after the folding space
    lineStart = at + 2;
  }
  std::string full;  // what one conversion of the whole subject reads back as
  full = jisToSjis_(sjisToJis_(subject));
  EXPECT_EQ(joined, full);
  EXPECT_TRUE(joined.ends_with("end"));
}

}  // namespace
}  // namespace vrk
