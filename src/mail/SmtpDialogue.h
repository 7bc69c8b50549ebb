#pragma once
// The client side of an SMTP conversation as a state machine: the transport
// feeds it the server's reply lines and events, and sends the command lines
// it answers. No sockets here, so every path runs in tests against scripted
// replies, and the window and the command line share one dialogue.
//
// One connection may carry several mails: greeting, HELO (EHLO when TLS or a
// login is wanted), then per mail MAIL FROM, one RCPT TO per recipient, DATA,
// the dot-stuffed message and "."; a mail counts as sent only when the server
// answers 250 to the ".". A refusal fails the mail, names the step and the
// server's words, and resets the session with RSET.
#include <optional>
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

enum class SmtpSecurity {
  None,      // plain text, as servers on port 25 speak it
  StartTls,  // plain greeting, then STARTTLS before anything else
  Tls,       // TLS from the first byte (port 465)
};

// "none", "starttls" or "tls" (any case; empty is none); nullopt otherwise.
std::optional<SmtpSecurity> smtpSecurityOf_(std::string_view text);

struct SmtpLogin {
  std::string user, password;
};

// What the transport does after an event: send these lines (each with CR
// LF), start TLS on the connection, or close it.
struct SmtpActions {
  StringList lines;
  bool startTls = false;
  bool close = false;
};

class SmtpDialogue {
 public:
  enum class State {
    Greeting,  // connected, waiting for the server's 220
    Hello,     // HELO/EHLO sent
    StartingTls,
    LoggingIn,
    Ready,      // between mails
    Sending,    // MAIL FROM .. "." of one mail
    Resetting,  // RSET after a refused mail
    Quitting,
    Closed,
  };
  struct Mail {
    std::string from;
    StringList recipients;
    StringList message;  // the lines of the message, not yet dot-stuffed
  };

  // `helloName` names this host in HELO/EHLO. A login is only ever sent
  // inside TLS.
  SmtpDialogue(std::string helloName, SmtpSecurity security, std::optional<SmtpLogin> login);

  // Events of the transport.
  SmtpActions received(std::string_view line);
  SmtpActions tlsStarted();
  // The connection ended or the transport gave up waiting; `why` is its text.
  void closed(std::string_view why);

  // Queues a mail: sent at once when the session is ready, else as soon as
  // it is. One mail at a time.
  SmtpActions send(Mail mail);
  // QUIT when connected, else nothing.
  SmtpActions quit();

  State state() const { return state_; }
  bool busy() const { return mail_.has_value(); }
  // The step in words for the status line ("RCPT TO:<a@b>"), and the outcome
  // of the last mail: sent, or why not.
  const std::string& step() const { return step_; }
  std::optional<bool> lastMailSent() const { return lastMailSent_; }
  const std::string& lastFailure() const { return lastFailure_; }

 private:
  SmtpActions reply(int code, const std::string& text);
  SmtpActions hello();
  SmtpActions afterHello();
  SmtpActions nextMailStep();
  SmtpActions failMail(const std::string& why);
  SmtpActions failSession(const std::string& why);
  SmtpActions command(std::string line, std::string step);
  void noteCapabilities(const std::string& text);

  std::string helloName_;
  SmtpSecurity security_;
  std::optional<SmtpLogin> login_;
  State state_ = State::Greeting;
  bool extended_ = false;  // EHLO was sent
  bool tlsActive_ = false;
  bool offersStartTls_ = false, offersPlain_ = false, offersLogin_ = false;
  int loginStep_ = 0;

  std::optional<Mail> mail_;
  std::size_t recipient_ = 0;
  enum class MailStep { From, Recipients, Data, Body } mailStep_ = MailStep::From;

  std::string pendingText_;  // the text of a multi-line reply so far
  std::string step_;
  std::optional<bool> lastMailSent_;
  std::string lastFailure_;
};

}  // namespace vrk
