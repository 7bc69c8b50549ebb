#include "mail/SmtpDialogue.h"

#include "model/Base64.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool containsWord(const std::string& text, std::string_view word) {
  const std::string upper = upperCase_(text);
  for (std::size_t at = upper.find(word); at != std::string::npos; at = upper.find(word, at + 1)) {
    const bool startOk = at == 0 || upper[at - 1] == ' ' || upper[at - 1] == '\n';
    const std::size_t end = at + word.size();
    const bool endOk = end == upper.size() || upper[end] == ' ' || upper[end] == '\n';
    if (startOk && endOk) return true;
  }
  return false;
}

}  // namespace

std::optional<SmtpSecurity> smtpSecurityOf_(std::string_view text) {
  const std::string word = lowerCase_(trimView_(text));
  if (word.empty() || word == "none") return SmtpSecurity::None;
  if (word == "starttls") return SmtpSecurity::StartTls;
  if (word == "tls") return SmtpSecurity::Tls;
  return std::nullopt;
}

SmtpDialogue::SmtpDialogue(std::string helloName, SmtpSecurity security,
                           std::optional<SmtpLogin> login)
    : helloName_(std::move(helloName)),
      security_(security),
      login_(std::move(login)),
      tlsActive_(security == SmtpSecurity::Tls),
      step_("Connecting") {}

SmtpActions SmtpDialogue::received(std::string_view line) {
  if (state_ == State::Closed) return {};
  const bool wellFormed = line.size() >= 3 && isDigit(line[0]) && isDigit(line[1]) &&
                          isDigit(line[2]) &&
                          (line.size() == 3 || line[3] == ' ' || line[3] == '-');
  if (!wellFormed) return failSession("the server answered \"" + std::string(line) + "\"");
  const std::string text(line.size() > 4 ? line.substr(4) : std::string_view());
  if (line.size() > 3 && line[3] == '-') {  // more lines of this reply follow
    pendingText_.append(text).append("\n");
    return {};
  }
  const std::string whole = pendingText_ + text;
  pendingText_.clear();
  const int code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
  return reply(code, whole);
}

SmtpActions SmtpDialogue::reply(int code, const std::string& text) {
  const std::string answer = std::to_string(code) + " " + text;
  if (code == 421 && state_ != State::Quitting) return failSession("the server closes: " + answer);
  switch (state_) {
    case State::Greeting:
      if (code != 220) return failSession("the server refused the connection: " + answer);
      return hello();
    case State::Hello:
      if (code != 250) return failSession(step_ + " refused: " + answer);
      if (extended_) noteCapabilities(text);
      return afterHello();
    case State::StartingTls:
      if (code != 220) return failSession("STARTTLS refused: " + answer);
      {
        SmtpActions actions;
        actions.startTls = true;
        return actions;
      }
    case State::LoggingIn:
      if (code == 235) {
        state_ = State::Ready;
        return nextMailStep();
      }
      if (code == 334 && loginStep_ == 1) {
        loginStep_ = 2;
        return command(base64Text_(login_->user), "AUTH LOGIN (user)");
      }
      if (code == 334 && loginStep_ == 2) {
        loginStep_ = 3;
        return command(base64Text_(login_->password), "AUTH LOGIN (password)");
      }
      return failSession("Authentication failed: " + answer);
    case State::Sending:
      switch (mailStep_) {
        case MailStep::From:
          if (code != 250) return failMail(step_ + " refused: " + answer);
          mailStep_ = MailStep::Recipients;
          return command("RCPT TO:<" + mail_->recipients[0] + ">",
                         "RCPT TO:<" + mail_->recipients[0] + ">");
        case MailStep::Recipients:
          if (code != 250 && code != 251) return failMail(step_ + " refused: " + answer);
          if (++recipient_ < mail_->recipients.size()) {
            const std::string line = "RCPT TO:<" + mail_->recipients[recipient_] + ">";
            return command(line, line);
          }
          mailStep_ = MailStep::Data;
          return command("DATA", "DATA");
        case MailStep::Data: {
          if (code != 354) return failMail(step_ + " refused: " + answer);
          mailStep_ = MailStep::Body;
          step_ = "Sending the message";
          SmtpActions actions;
          actions.lines.reserve(mail_->message.size() + 1);
          for (const std::string& line : mail_->message)
            actions.lines.push_back(line.starts_with('.') ? "." + line : line);
          actions.lines.push_back(".");
          return actions;
        }
        case MailStep::Body:
          if (code != 250) return failMail("the message was refused: " + answer);
          mail_.reset();
          lastMailSent_ = true;
          lastFailure_.clear();
          state_ = State::Ready;
          step_ = "Success";
          return {};
      }
      return {};
    case State::Resetting:
      state_ = State::Ready;
      return {};
    case State::Quitting: {
      state_ = State::Closed;
      SmtpActions actions;
      actions.close = true;
      return actions;
    }
    case State::Ready:
    case State::Closed:
      return {};  // nothing was asked
  }
  return {};
}

SmtpActions SmtpDialogue::hello() {
  extended_ = security_ != SmtpSecurity::None || login_.has_value();
  offersStartTls_ = offersPlain_ = offersLogin_ = false;
  state_ = State::Hello;
  const std::string line = (extended_ ? "EHLO " : "HELO ") + helloName_;
  return command(line, line);
}

void SmtpDialogue::noteCapabilities(const std::string& text) {
  offersStartTls_ = containsWord(text, "STARTTLS");
  const std::string upper = upperCase_(text);
  for (std::size_t at = 0; at < upper.size();) {
    const std::size_t end = std::min(upper.find('\n', at), upper.size());
    const std::string_view line = std::string_view(upper).substr(at, end - at);
    if (line.starts_with("AUTH ") || line.starts_with("AUTH=")) {
      const std::string methods(line.substr(5));
      offersPlain_ = offersPlain_ || containsWord(methods, "PLAIN");
      offersLogin_ = offersLogin_ || containsWord(methods, "LOGIN");
    }
    at = end + 1;
  }
}

SmtpActions SmtpDialogue::afterHello() {
  if (security_ == SmtpSecurity::StartTls && !tlsActive_) {
    if (!offersStartTls_) return failSession("the server offers no STARTTLS");
    state_ = State::StartingTls;
    return command("STARTTLS", "STARTTLS");
  }
  if (login_) {
    if (!tlsActive_) return failSession("a password is only sent inside TLS");
    state_ = State::LoggingIn;
    if (offersPlain_) {
      loginStep_ = 0;
      std::string credentials(1, '\0');
      credentials.append(login_->user).append(1, '\0').append(login_->password);
      return command("AUTH PLAIN " + base64Text_(credentials), "AUTH PLAIN");
    }
    if (offersLogin_) {
      loginStep_ = 1;
      return command("AUTH LOGIN", "AUTH LOGIN");
    }
    return failSession("Authentication failed: the server offers neither PLAIN nor LOGIN");
  }
  state_ = State::Ready;
  step_ = "Connect";
  return nextMailStep();
}

SmtpActions SmtpDialogue::tlsStarted() {
  tlsActive_ = true;
  return hello();  // capabilities are asked again inside TLS
}

SmtpActions SmtpDialogue::nextMailStep() {
  if (state_ != State::Ready || !mail_) return {};
  state_ = State::Sending;
  mailStep_ = MailStep::From;
  recipient_ = 0;
  const std::string line = "MAIL FROM:<" + mail_->from + ">";
  return command(line, line);
}

SmtpActions SmtpDialogue::send(Mail mail) {
  if (mail_ || state_ == State::Closed || state_ == State::Quitting) return {};
  if (mail.recipients.empty()) {
    lastMailSent_ = false;
    lastFailure_ = "no recipient";
    return {};
  }
  mail_ = std::move(mail);
  lastMailSent_.reset();
  return nextMailStep();
}

SmtpActions SmtpDialogue::quit() {
  if (state_ == State::Closed || state_ == State::Quitting) return {};
  if (state_ == State::Greeting) {
    state_ = State::Closed;
    SmtpActions actions;
    actions.close = true;
    return actions;
  }
  state_ = State::Quitting;
  return command("QUIT", "QUIT");
}

void SmtpDialogue::closed(std::string_view why) {
  if (state_ == State::Closed) return;
  const bool expected = state_ == State::Quitting;
  const bool greeted = state_ != State::Greeting;
  state_ = State::Closed;
  if (expected) return;
  lastFailure_ = (greeted ? "the connection ended: " : "Connect Faile: ") + std::string(why);
  if (mail_) {
    mail_.reset();
    lastMailSent_ = false;
  }
  step_ = "Disconnect";
}

SmtpActions SmtpDialogue::failMail(const std::string& why) {
  mail_.reset();
  lastMailSent_ = false;
  lastFailure_ = why;
  state_ = State::Resetting;
  SmtpActions actions;
  actions.lines.push_back("RSET");
  return actions;
}

SmtpActions SmtpDialogue::failSession(const std::string& why) {
  if (mail_) {
    mail_.reset();
    lastMailSent_ = false;
  }
  lastFailure_ = why;
  step_ = "Disconnect";
  const bool greeted = state_ != State::Greeting;
  state_ = State::Closed;
  SmtpActions actions;
  if (greeted) actions.lines.push_back("QUIT");
  actions.close = true;
  return actions;
}

SmtpActions SmtpDialogue::command(std::string line, std::string step) {
  step_ = std::move(step);
  SmtpActions actions;
  actions.lines.push_back(std::move(line));
  return actions;
}

}  // namespace vrk
