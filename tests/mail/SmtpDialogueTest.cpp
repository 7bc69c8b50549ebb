#include "mail/SmtpDialogue.h"

#include <gtest/gtest.h>

namespace vrk {
namespace {

// Plays the transport: collects what the client sends and does what it asks.
struct Wire {
  explicit Wire(SmtpDialogue d) : dialogue(std::move(d)) {}

  SmtpDialogue dialogue;
  StringList sent;
  bool tls = false;
  bool closed = false;

  void apply(SmtpActions actions) {
    for (std::string& line : actions.lines) sent.push_back(std::move(line));
    if (actions.startTls) {
      tls = true;
      apply(dialogue.tlsStarted());
    }
    if (actions.close) closed = true;
  }
  void server(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) apply(dialogue.received(line));
  }
  // The lines sent since the last call.
  StringList take() { return std::exchange(sent, {}); }
};

SmtpDialogue::Mail sampleMail() {
  return {"me@example.org", {"a@example.org", "b@example.org"}, {"Subject: x", "", ".hidden", "."}};
}

TEST(SmtpDialogue, PlainMailIsSentOnlyAfterTheServerTookTheDot) {
  Wire wire{SmtpDialogue("host", SmtpSecurity::None, std::nullopt)};
  wire.apply(wire.dialogue.send(sampleMail()));  // queued until the greeting
  EXPECT_TRUE(wire.take().empty());
  wire.server({"220 mail ready"});
  EXPECT_EQ(wire.take(), (StringList{"HELO host"}));
  wire.server({"250 hi"});
  EXPECT_EQ(wire.take(), (StringList{"MAIL FROM:<me@example.org>"}));
  wire.server({"250 ok"});
  EXPECT_EQ(wire.take(), (StringList{"RCPT TO:<a@example.org>"}));
  wire.server({"250 ok"});
  EXPECT_EQ(wire.take(), (StringList{"RCPT TO:<b@example.org>"}));
  wire.server({"251 forwarded"});
  EXPECT_EQ(wire.take(), (StringList{"DATA"}));
  wire.server({"354 go on"});
  EXPECT_EQ(wire.take(), (StringList{"Subject: x", "", "..hidden", "..", "."}));
  EXPECT_FALSE(wire.dialogue.lastMailSent().has_value());
  wire.server({"250 queued"});
  EXPECT_EQ(wire.dialogue.lastMailSent(), true);
  EXPECT_EQ(wire.dialogue.step(), "Success");

  // The connection stays for the next mail, then QUIT.
  wire.apply(wire.dialogue.send(sampleMail()));
  EXPECT_EQ(wire.take(), (StringList{"MAIL FROM:<me@example.org>"}));
  wire.server({"250 ok", "250 ok", "250 ok", "354 go", "250 ok"});
  EXPECT_EQ(wire.dialogue.lastMailSent(), true);
  wire.take();
  wire.apply(wire.dialogue.quit());
  EXPECT_EQ(wire.take(), (StringList{"QUIT"}));
  wire.server({"221 bye"});
  EXPECT_TRUE(wire.closed);
}

TEST(SmtpDialogue, RefusalsFailTheMailAndNeverReportSuccess) {
  struct Case {
    const char* what;
    std::vector<std::string_view> replies;
    std::string failure;
    bool reset;   // RSET sent after the refusal
    bool closed;  // the connection is given up
  } cases[] = {
      {"554 greeting",
       {"554 go away"},
       "the server refused the connection: 554 go away",
       false,
       true},
      {"HELO refused", {"220 hi", "501 bad name"}, "HELO host refused: 501 bad name", false, true},
      {"MAIL refused",
       {"220 hi", "250 ok", "553 no relay"},
       "MAIL FROM:<me@example.org> refused: 553 no relay",
       true,
       false},
      {"one RCPT refused",
       {"220 hi", "250 ok", "250 ok", "250 ok", "550 no such user"},
       "RCPT TO:<b@example.org> refused: 550 no such user",
       true,
       false},
      {"DATA refused",
       {"220 hi", "250 ok", "250 ok", "250 ok", "250 ok", "503 bad sequence"},
       "DATA refused: 503 bad sequence",
       true,
       false},
      {"451 after the dot",
       {"220 hi", "250 ok", "250 ok", "250 ok", "250 ok", "354 go", "451 try later"},
       "the message was refused: 451 try later",
       true,
       false},
      {"421 at any time",
       {"220 hi", "250 ok", "421 shutting down"},
       "the server closes: 421 shutting down",
       false,
       true},
      {"garbage", {"220 hi", "hello?"}, "the server answered \"hello?\"", false, true},
  };
  for (const Case& c : cases) {
    Wire wire{SmtpDialogue("host", SmtpSecurity::None, std::nullopt)};
    wire.apply(wire.dialogue.send(sampleMail()));
    for (std::string_view reply : c.replies) wire.server({reply});
    EXPECT_EQ(wire.dialogue.lastMailSent(), false) << c.what;
    EXPECT_EQ(wire.dialogue.lastFailure(), c.failure) << c.what;
    EXPECT_EQ(!wire.sent.empty() && wire.sent.back() == "RSET", c.reset) << c.what;
    EXPECT_EQ(wire.closed, c.closed) << c.what;
    if (c.reset) {  // after RSET the session takes the next mail
      wire.server({"250 reset"});
      wire.take();
      wire.apply(wire.dialogue.send(sampleMail()));
      EXPECT_EQ(wire.take(), (StringList{"MAIL FROM:<me@example.org>"})) << c.what;
    }
  }
}

TEST(SmtpDialogue, ConnectionLostMidDataFailsTheMail) {
  Wire wire{SmtpDialogue("host", SmtpSecurity::None, std::nullopt)};
  wire.apply(wire.dialogue.send(sampleMail()));
  wire.server({"220 hi", "250 ok", "250 ok", "250 ok", "250 ok", "354 go"});
  wire.dialogue.closed("no reply in 30 s");
  EXPECT_EQ(wire.dialogue.lastMailSent(), false);
  EXPECT_EQ(wire.dialogue.lastFailure(), "the connection ended: no reply in 30 s");
  EXPECT_EQ(wire.dialogue.state(), SmtpDialogue::State::Closed);
  wire.server({"250 late"});  // nothing after the end
  EXPECT_EQ(wire.dialogue.lastMailSent(), false);
}

TEST(SmtpDialogue, NoGreetingIsAConnectionFailure) {
  Wire wire{SmtpDialogue("host", SmtpSecurity::None, std::nullopt)};
  wire.apply(wire.dialogue.send(sampleMail()));
  wire.dialogue.closed("Connection refused");
  EXPECT_EQ(wire.dialogue.lastMailSent(), false);
  EXPECT_EQ(wire.dialogue.lastFailure(), "Connect Faile: Connection refused");
}

TEST(SmtpDialogue, LoginOnlyInsideTls) {
  const SmtpLogin login{"user", "secret"};
  {  // STARTTLS, then EHLO again, then AUTH PLAIN with "\0user\0secret"
    Wire wire{SmtpDialogue("host", SmtpSecurity::StartTls, login)};
    wire.apply(wire.dialogue.send(sampleMail()));
    wire.server({"220 hi"});
    EXPECT_EQ(wire.take(), (StringList{"EHLO host"}));
    wire.server({"250-mail.example.org", "250-AUTH LOGIN", "250 STARTTLS"});
    EXPECT_EQ(wire.take(), (StringList{"STARTTLS"}));
    EXPECT_FALSE(wire.tls);
    wire.server({"220 go ahead"});
    EXPECT_TRUE(wire.tls);
    EXPECT_EQ(wire.take(), (StringList{"EHLO host"}));
    wire.server({"250-mail.example.org", "250 AUTH PLAIN LOGIN"});
    EXPECT_EQ(wire.take(), (StringList{"AUTH PLAIN AHVzZXIAc2VjcmV0"}));
    EXPECT_EQ(wire.dialogue.step(), "AUTH PLAIN");  // the status line never shows it
    wire.server({"235 welcome"});
    EXPECT_EQ(wire.take(), (StringList{"MAIL FROM:<me@example.org>"}));
  }
  {  // AUTH LOGIN, wrong password
    Wire wire{SmtpDialogue("host", SmtpSecurity::Tls, login)};
    wire.apply(wire.dialogue.send(sampleMail()));
    wire.server({"220 hi", "250-x", "250 AUTH=LOGIN"});
    EXPECT_EQ(wire.take(), (StringList{"EHLO host", "AUTH LOGIN"}));
    wire.server({"334 VXNlcm5hbWU6", "334 UGFzc3dvcmQ6", "535 bad credentials"});
    EXPECT_EQ(wire.take(), (StringList{"dXNlcg==", "c2VjcmV0", "QUIT"}));
    EXPECT_EQ(wire.dialogue.lastFailure(), "Authentication failed: 535 bad credentials");
    EXPECT_EQ(wire.dialogue.lastMailSent(), false);
  }
  struct Refusal {
    const char* what;
    SmtpSecurity security;
    std::vector<std::string_view> replies;
    std::string failure;
  } refusals[] = {
      {"a login without TLS",
       SmtpSecurity::None,
       {"220 hi", "250 AUTH PLAIN"},
       "a password is only sent inside TLS"},
      {"no STARTTLS offered",
       SmtpSecurity::StartTls,
       {"220 hi", "250 AUTH PLAIN"},
       "the server offers no STARTTLS"},
      {"STARTTLS refused",
       SmtpSecurity::StartTls,
       {"220 hi", "250 STARTTLS", "454 not now"},
       "STARTTLS refused: 454 not now"},
  };
  for (const Refusal& r : refusals) {
    Wire wire{SmtpDialogue("host", r.security, login)};
    wire.apply(wire.dialogue.send(sampleMail()));
    for (std::string_view reply : r.replies) wire.server({reply});
    EXPECT_EQ(wire.dialogue.lastFailure(), r.failure) << r.what;
    EXPECT_TRUE(wire.closed) << r.what;
    for (const std::string& line : wire.sent) EXPECT_FALSE(line.starts_with("AUTH")) << r.what;
  }
}

TEST(SmtpDialogue, SecurityNames) {
  EXPECT_EQ(smtpSecurityOf_(""), SmtpSecurity::None);
  EXPECT_EQ(smtpSecurityOf_(" None "), SmtpSecurity::None);
  EXPECT_EQ(smtpSecurityOf_("STARTTLS"), SmtpSecurity::StartTls);
  EXPECT_EQ(smtpSecurityOf_("tls"), SmtpSecurity::Tls);
  EXPECT_EQ(smtpSecurityOf_("ssl"), std::nullopt);
}

}  // namespace
}  // namespace vrk
