#pragma once
// The SMTP dialogue over a real connection: a QSslSocket (plain, STARTTLS or
// TLS from the start) fed to SmtpDialogue line by line, on the window's
// thread. Every reply has a time limit; a certificate that does not verify
// ends the connection with its reason.
#include <QObject>
#include <QSslSocket>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "mail/SmtpDialogue.h"

namespace vrk {

class QtSmtpSession : public QObject {
  Q_OBJECT

 public:
  struct Target {
    std::string host;
    int port = 25;
    SmtpSecurity security = SmtpSecurity::None;
    std::string helloName;
    std::optional<SmtpLogin> login;
  };

  explicit QtSmtpSession(QObject* parent = nullptr);
  ~QtSmtpSession() override;

  // Connects (after ending a connection there is); the greeting and hello
  // follow as the server answers.
  void connectTo(const Target& target);
  // QUIT, then the connection ends.
  void disconnectFrom();
  // Sends one mail, connecting first when not connected to `target`.
  void send(const Target& target, SmtpDialogue::Mail mail);

  bool isConnected() const;
  bool isSending() const { return sending_; }
  void setReplyTimeoutMs(int ms) { replyTimer_.setInterval(ms); }

 signals:
  // A step in words for the status line and the log ("RCPT TO:<a@b>").
  void stepChanged(const QString& step);
  void connectionChanged(bool connected);
  // The end of a mail: sent only when the server took it, else why not.
  void mailFinished(bool sent, const QString& failure);

 private:
  void apply(const SmtpActions& actions);
  void readLines();
  void lost(const QString& why);
  void finishMailIfDone();
  void closeSocket();

  QSslSocket socket_;
  QTimer replyTimer_;
  std::unique_ptr<SmtpDialogue> dialogue_;
  Target target_;
  bool sending_ = false;
  QString lastStep_;
};

}  // namespace vrk
