// vrk-tool mail: the message a node makes, printed, and sent to a real SMTP
// server (Debian's aiosmtpd) whose Python email package reads it back.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "model/ModelTestSupport.h"
#include "platform/SjisBridge.h"
#include "support/SmtpSink.h"
#include "tools/ToolTestSupport.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using modeltest::readFile;
using nlohmann::json;
using tooltest::runTool;
using tooltest::ToolRun;

// A holder whose node "letter" carries the mail's fields; `fields` are more
// attributes of its Field element, `memo` its lines (UTF-8 here).
std::string writeHolder(const ScratchDir& dir, const std::string& fields, const std::string& memo) {
  const std::string text =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n"
      "<!DOCTYPE Holder [<!ENTITY quot \"&#34;\">]>\r\n"
      "<Holder name=\"Mail\">\r\n"
      "  <Field From=\"me@example.org\"/>\r\n"
      "  <Record name=\"letter\">\r\n"
      "    <Field " +
      fields + " />\r\n" + memo + "  </Record>\r\n</Holder>\r\n";
  return dir.write("Mail.mxh", utf8LiteralToSjis(text));
}

json mailOf(const SmtpSink& sink, int n) {
  const std::string text = sink.mail(n);
  return text.empty() ? json() : json::parse(text);
}

std::string sinkScript() { return std::string(VRK_FIXTURES) + "/mail/smtp_sink.py"; }

TEST(ToolMail, PrintsTheMessageTheNodeMakes) {
  ScratchDir dir;
  const std::string holder =
      writeHolder(dir, "To=\"a@example.org\" BCC=\"hidden@example.org\"", "表<BR/>\r\n.<BR/>\r\n");
  const ToolRun run = runTool("mail '" + holder + "' Mail letter");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(
      run.out.starts_with("From: <me@example.org>\r\nTo: a@example.org\r\n"
                          "Subject: =?iso-2022-jp?B?bGV0dGVy?=\r\n"
                          "X-Mailer: vrk.exe 001103\r\nDate: "))
      << run.out;
  EXPECT_TRUE(
      run.out.ends_with("Mime-Version: 1.0\r\nContent-Type: text/plain; charset=iso-2022-jp"
                        "\r\n\r\n\x1B$BI=\x1B(B\r\n.\r\n"))
      << run.out;
  EXPECT_EQ(run.out.find("hidden"), std::string::npos);

  const ToolRun noFrom =
      runTool("mail '" + writeHolder(dir, "From=\" \" To=\"a@example.org\"", "") + "' Mail letter");
  EXPECT_EQ(noFrom.status, 1);
  EXPECT_NE(noFrom.err.find("no From address"), std::string::npos) << noFrom.err;
  EXPECT_EQ(runTool("mail '" + holder + "' Mail nobody").status, 1);
}

TEST(ToolMail, AnSmtpServerReceivesWhatPythonReadsBack) {
  if (!SmtpSink::available()) GTEST_SKIP() << "python3-aiosmtpd is not installed";
  const SmtpSink sink(sinkScript());
  ASSERT_FALSE(sink.port().empty());
  ScratchDir dir;
  std::string longSubject, longLine;
  for (int i = 0; i < 250; ++i) longSubject += "件x";  // 500 characters
  for (int i = 0; i < 1000; ++i) longLine += "ab";     // 2,000 bytes
  const std::string holder = writeHolder(
      dir,
      "To=\"a@example.org\" CC=\"c@example.org, d@example.org\" "
      "BCC=\"hidden@example.org\" Subject=\"表示 ｶﾞ\" "
      "UserID=\"tester\"",
      "表示<BR/>\r\n.<BR/>\r\n..two<BR/>\r\nC:\\path ｶﾞｷﾞ<BR/>\r\n" + longLine + "<BR/>\r\n");
  const ToolRun run = runTool("mail '" + holder + "' Mail letter --send 127.0.0.1:" + sink.port());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "Success\n");

  const json mail = mailOf(sink, 0);
  ASSERT_FALSE(mail.is_null());
  EXPECT_EQ(mail["helo"], "tester");
  EXPECT_EQ(mail["mail_from"], "me@example.org");
  EXPECT_EQ(mail["rcpt_tos"],
            json({"a@example.org", "c@example.org", "d@example.org", "hidden@example.org"}));
  EXPECT_EQ(mail["to"], "a@example.org");
  EXPECT_EQ(mail["cc"], "c@example.org,d@example.org");
  EXPECT_EQ(mail["subject"], "表示 ガ");
  EXPECT_EQ(mail["body"], "表示\r\n.\r\n..two\r\nC:\\path ガギ\r\n" + longLine.substr(0, 998) +
                              "\r\n" + longLine.substr(998, 998) + "\r\n" + longLine.substr(1996) +
                              "\r\n");
  for (const auto& header : mail["headers"]) EXPECT_NE(header, "Reply-To");
  for (const auto& header : mail["headers"]) EXPECT_NE(header, "BCC");
  EXPECT_LE(mail["max_line"].get<int>(), 998);

  // A subject of 500 characters comes back whole.
  const std::string second =
      writeHolder(dir, "To=\"a@example.org\" Subject=\"" + longSubject + "\"", "x<BR/>\r\n");
  ASSERT_EQ(runTool("mail '" + second + "' Mail letter --send 127.0.0.1:" + sink.port()).status, 0);
  EXPECT_EQ(mailOf(sink, 1)["subject"], longSubject);
}

TEST(ToolMail, NoServerIsAFailure) {
  ScratchDir dir;
  const std::string holder = writeHolder(dir, "To=\"a@example.org\"", "x<BR/>\r\n");
  const ToolRun run = runTool("mail '" + holder + "' Mail letter --send 127.0.0.1:1");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Connect Faile"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vrk
