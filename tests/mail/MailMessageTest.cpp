#include "mail/MailMessage.h"

#include <gtest/gtest.h>

#include "text/JapaneseCodes.h"
#include "text/SjisSamples.h"

namespace vrk {
namespace {

MailFields sampleFields() {
  MailFields f;
  f.subject = "Hello";
  f.to = "a@example.org, b@example.org";
  f.cc = "";
  f.bcc = "hidden@example.org";
  f.from = "me@example.org";
  f.replyTo = "";
  return f;
}

TEST(MailMessage, HeadersInOrderAndEmptyOnesLeftOut) {
  const StringList lines = buildMailMessage_(sampleFields(), {"line", ".", "", sjis::kHyo},
                                             "Fri, 11 Dec 2026  17:40:05 +0900");
  EXPECT_EQ(lines, (StringList{
                       "From: <me@example.org>",
                       "To: a@example.org,b@example.org",
                       "Subject: =?iso-2022-jp?B?SGVsbG8=?=",
                       "X-Mailer: vrk.exe 001103",
                       "Date: Fri, 11 Dec 2026  17:40:05 +0900",
                       "Mime-Version: 1.0",
                       "Content-Type: text/plain; charset=iso-2022-jp",
                       "",
                       "line",
                       ".",  // stuffed by the transfer, not here
                       "",
                       "\x1B$B\x49\x3D\x1B(B",
                   }));

  MailFields withAll = sampleFields();
  withAll.cc = " c@example.org ,, ";
  withAll.replyTo = "r@example.org";
  const StringList more = buildMailMessage_(withAll, {}, "D");
  EXPECT_EQ(more[2], "CC: c@example.org");
  EXPECT_EQ(more[5], "Reply-To: r@example.org");
  for (const std::string& line : more) EXPECT_EQ(line.find("hidden"), std::string::npos) << line;
  EXPECT_EQ(mailRecipients_(withAll),
            (StringList{"a@example.org", "b@example.org", "c@example.org", "hidden@example.org"}));
}

TEST(MailMessage, LongLinesAndSubjectsStayWithinTheLimits) {
  MailFields f = sampleFields();
  std::string subject;
  for (int i = 0; i < 250; ++i) subject += sjis::kHyo + "x";  // 500 characters
  f.subject = subject;
  std::string body;
  for (int i = 0; i < 700; ++i) body += sjis::kA + "b";  // 2,100 bytes, JIS longer still
  const StringList lines = buildMailMessage_(f, {body}, "D");
  std::size_t subjectLines = 0;
  std::string bodyBack;
  bool inBody = false;
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 998u);
    for (const char c : line) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << line;
    if (line.starts_with("Subject: ") || (subjectLines && line.starts_with(" =?"))) ++subjectLines;
    if (inBody) bodyBack += jisToSjis_(line);
    if (line.empty()) inBody = true;
  }
  EXPECT_GT(subjectLines, 10u);
  EXPECT_EQ(bodyBack, body);
}

TEST(MailMessage, RefusedBeforeConnecting) {
  struct Case {
    const char* what;
    void (*change)(MailFields&);
    bool refused;
  } cases[] = {
      {"fine", [](MailFields&) {}, false},
      {"only BCC is a recipient", [](MailFields& f) { f.to = ""; }, false},
      {"no From", [](MailFields& f) { f.from = "  "; }, true},
      {"no recipient", [](MailFields& f) { f.to = f.bcc = " , "; }, true},
      {"CR LF in an address", [](MailFields& f) { f.to = "a@x\r\nRCPT TO:<evil@x>"; }, true},
      {"angle bracket", [](MailFields& f) { f.cc = "a@x>"; }, true},
      {"NUL", [](MailFields& f) { f.from = std::string("a\0b", 3); }, true},
      {"8-bit", [](MailFields& f) { f.bcc = sjis::kHyo + "@x"; }, true},
  };
  for (const Case& c : cases) {
    MailFields f = sampleFields();
    c.change(f);
    EXPECT_EQ(!mailRefusal_(f).empty(), c.refused) << c.what << ": " << mailRefusal_(f);
  }
}

TEST(MailMessage, DateHasEnglishNamesAndTheRealZone) {
  EXPECT_EQ(mailDate_({2026, 12, 11, 9, 5, 7, 0}, 540), "Fri, 11 Dec 2026  09:05:07 +0900");
  EXPECT_EQ(mailDate_({2027, 1, 3, 23, 0, 0, 0}, -330), "Sun, 3 Jan 2027  23:00:00 -0530");
  EXPECT_EQ(mailDate_({2024, 2, 29, 0, 0, 0, 0}, 0), "Thu, 29 Feb 2024  00:00:00 +0000");
}

}  // namespace
}  // namespace vrk
