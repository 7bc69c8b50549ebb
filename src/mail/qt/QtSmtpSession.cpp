#include "mail/qt/QtSmtpSession.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>

#include "platform/qt/QtSjis.h"

namespace vrk {
namespace {

constexpr int kReplyTimeoutMs = 30'000;

QString textOf(const std::string& sjis) { return sjisToQString(sjis); }

bool sameTarget(const QtSmtpSession::Target& a, const QtSmtpSession::Target& b) {
  return a.host == b.host && a.port == b.port && a.security == b.security &&
         a.helloName == b.helloName && a.login.has_value() == b.login.has_value() &&
         (!a.login || (a.login->user == b.login->user && a.login->password == b.login->password));
}

}  // namespace

QtSmtpSession::QtSmtpSession(QObject* parent) : QObject(parent) {
  replyTimer_.setSingleShot(true);
  replyTimer_.setInterval(kReplyTimeoutMs);
  connect(&replyTimer_, &QTimer::timeout, this, [this] {
    lost(QStringLiteral("no reply in %1 s").arg(replyTimer_.interval() / 1000.0));
  });
  connect(&socket_, &QSslSocket::readyRead, this, &QtSmtpSession::readLines);
  connect(&socket_, &QSslSocket::connected, this, [this] {
    emit connectionChanged(true);
    emit stepChanged(QStringLiteral("Connect"));
  });
  connect(&socket_, &QSslSocket::encrypted, this, [this] {
    if (dialogue_ && dialogue_->state() == SmtpDialogue::State::StartingTls)
      apply(dialogue_->tlsStarted());
  });
  connect(&socket_, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
    QStringList reasons;
    for (const QSslError& error : errors) reasons << error.errorString();
    lost(QStringLiteral("the server's certificate was refused: ") +
         reasons.join(QStringLiteral("; ")));
  });
  connect(&socket_, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
    if (dialogue_ && dialogue_->state() != SmtpDialogue::State::Closed) lost(socket_.errorString());
  });
  connect(&socket_, &QSslSocket::disconnected, this, [this] {
    if (dialogue_ && dialogue_->state() != SmtpDialogue::State::Closed)
      lost(QStringLiteral("the server closed the connection"));
    emit connectionChanged(false);
  });
}

QtSmtpSession::~QtSmtpSession() {
  // No signal reaches a window that is going away.
  disconnect(&socket_, nullptr, this, nullptr);
  socket_.abort();
}

bool QtSmtpSession::isConnected() const {
  return dialogue_ && dialogue_->state() != SmtpDialogue::State::Closed &&
         socket_.state() != QAbstractSocket::UnconnectedState;
}

void QtSmtpSession::connectTo(const Target& target) {
  closeSocket();
  target_ = target;
  dialogue_ = std::make_unique<SmtpDialogue>(target.helloName, target.security, target.login);
  emit stepChanged(QStringLiteral("Connecting to %1:%2").arg(textOf(target.host)).arg(target.port));
  // As OpenSSL's tools do, SSL_CERT_FILE names the authorities to trust
  // (a company's own, or a test's).
  if (const QByteArray bundle = qgetenv("SSL_CERT_FILE"); !bundle.isEmpty()) {
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setCaCertificates(QSslCertificate::fromPath(QString::fromLocal8Bit(bundle)));
    socket_.setSslConfiguration(config);
  } else {
    socket_.setSslConfiguration(QSslConfiguration::defaultConfiguration());
  }
  replyTimer_.start();  // the greeting, or the connection itself, must come in time
  if (target.security == SmtpSecurity::Tls)
    socket_.connectToHostEncrypted(textOf(target.host), static_cast<quint16>(target.port));
  else
    socket_.connectToHost(textOf(target.host), static_cast<quint16>(target.port));
}

void QtSmtpSession::disconnectFrom() {
  if (!isConnected()) {
    closeSocket();
    return;
  }
  apply(dialogue_->quit());
}

void QtSmtpSession::send(const Target& target, SmtpDialogue::Mail mail) {
  if (sending_) return;
  if (!isConnected() || !sameTarget(target, target_)) connectTo(target);
  sending_ = true;
  apply(dialogue_->send(std::move(mail)));
  finishMailIfDone();  // refused at once (no recipient)
}

void QtSmtpSession::apply(const SmtpActions& actions) {
  if (dialogue_ && textOf(dialogue_->step()) != lastStep_) {
    lastStep_ = textOf(dialogue_->step());
    emit stepChanged(lastStep_);
  }
  for (const std::string& line : actions.lines) {
    socket_.write(line.data(), static_cast<qint64>(line.size()));
    socket_.write("\r\n", 2);
  }
  if (!actions.lines.empty()) replyTimer_.start();
  if (actions.startTls) socket_.startClientEncryption();
  if (actions.close) {
    socket_.flush();
    closeSocket();
  }
}

void QtSmtpSession::readLines() {
  while (dialogue_ && socket_.canReadLine()) {
    QByteArray line = socket_.readLine();
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    replyTimer_.stop();
    apply(dialogue_->received(
        std::string_view(line.constData(), static_cast<std::size_t>(line.size()))));
    finishMailIfDone();
  }
}

void QtSmtpSession::lost(const QString& why) {
  if (dialogue_)
    dialogue_->closed(qStringToSjis(why).value_or(std::string("the connection ended")));
  closeSocket();
  finishMailIfDone();
}

void QtSmtpSession::finishMailIfDone() {
  if (!sending_ || !dialogue_ || !dialogue_->lastMailSent().has_value()) return;
  sending_ = false;
  const bool sent = *dialogue_->lastMailSent();
  emit stepChanged(sent ? QStringLiteral("Success") : textOf(dialogue_->lastFailure()));
  emit mailFinished(sent, sent ? QString() : textOf(dialogue_->lastFailure()));
}

void QtSmtpSession::closeSocket() {
  replyTimer_.stop();
  if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.abort();
}

}  // namespace vrk
