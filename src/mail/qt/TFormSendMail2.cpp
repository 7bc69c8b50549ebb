#include "mail/qt/TFormSendMail2.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHostInfo>
#include <QStatusBar>
#include <QStringList>
#include <QVBoxLayout>

#include "model/MemoBasic.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/qt/QtSjis.h"
#include "shell/TFormMainBase0007.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

// The window's fields in their order, each also a field of nodes and holders.
constexpr const char* kFieldNames[] = {"SMTPServer", "SMTPSecurity", "SMTPUser",      "Subject",
                                       "To",         "CC",           "BCC",           "From",
                                       "ReplyTo",    "UserID",       "DateTimeSended"};
// What "Set Holder" writes; "Set Node" adds "DateTimeSended".
constexpr const char* kAddressFields[] = {"SMTPServer", "SMTPSecurity", "SMTPUser", "To",    "CC",
                                          "BCC",        "From",         "ReplyTo",  "UserID"};

std::string sjisOf(const QString& text) { return qStringToSjis(text).value_or(std::string()); }

QString textOfLines(const StringList& lines) {
  QStringList texts;
  for (const std::string& line : lines) texts << sjisToQString(line);
  return texts.join(QLatin1Char('\n'));
}

StringList linesOf(const QString& text) {
  StringList lines;
  for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(sjisOf(line));
  return lines;
}

}  // namespace

TFormSendMail2::TFormSendMail2(TFormMainBase0007& form)
    : QWidget(&form, Qt::Window), aForm(form), aSession(this) {
  setWindowTitle(QStringLiteral("Send Mail"));
  auto* fieldsLayout = new QFormLayout;
  for (const char* name : kFieldNames) {
    auto* edit = new QLineEdit(this);
    aEdits[name] = edit;
    fieldsLayout->addRow(QString::fromLatin1(name), edit);
  }
  aText = new QPlainTextEdit(this);
  auto* buttons = new QHBoxLayout;
  const auto addButton = [&](const QString& caption, auto slot) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(caption);
    connect(button, &QPushButton::clicked, this, slot);
    buttons->addWidget(button);
  };
  addButton(QStringLiteral("Send"), [this] { sendMail_(); });
  addButton(QStringLiteral("Connect"), [this] { connectServer_(); });
  addButton(QStringLiteral("Disconnect"), [this] { disconnectServer_(); });
  addButton(QStringLiteral("Hide"), [this] { hide(); });
  addButton(QStringLiteral("Set Node"), [this] { setNode_(); });
  addButton(QStringLiteral("Set Holder"), [this] { setHolder_(); });
  auto* status = new QStatusBar(this);
  for (QLabel*& panel : aPanels) {
    panel = new QLabel(this);
    status->addWidget(panel, panel == aPanels[0] ? 0 : 1);
  }
  aPanels[0]->setText(QStringLiteral("Disconnect"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fieldsLayout);
  layout->addWidget(aText, 1);
  layout->addLayout(buttons);
  layout->addWidget(status);
  resize(560, 640);

  connect(&aSession, &QtSmtpSession::connectionChanged, this, [this](bool connected) {
    aPanels[0]->setText(connected ? QStringLiteral("Connect") : QStringLiteral("Disconnect"));
  });
  connect(&aSession, &QtSmtpSession::stepChanged, this,
          [this](const QString& step) { report_(step); });
  connect(&aSession, &QtSmtpSession::mailFinished, this, &TFormSendMail2::mailFinished_);
}

QPushButton* TFormSendMail2::button_(const QString& caption) const {
  return findChild<QPushButton*>(caption);
}

void TFormSendMail2::fillFromNode_(MemoNode& node) {
  aNode = &node;
  const MailFields f = mailFieldsOfNode_(node);
  const std::map<std::string, std::string> values = {{"SMTPServer", f.smtpServer},
                                                     {"SMTPSecurity", f.security},
                                                     {"SMTPUser", f.smtpUser},
                                                     {"Subject", f.subject},
                                                     {"To", f.to},
                                                     {"CC", f.cc},
                                                     {"BCC", f.bcc},
                                                     {"From", f.from},
                                                     {"ReplyTo", f.replyTo},
                                                     {"UserID", f.userId},
                                                     {"DateTimeSended", f.dateTimeSended}};
  for (const auto& [name, value] : values) aEdits.at(name)->setText(sjisToQString(value));
  aText->setPlainText(textOfLines(node.aMemo));
}

MailFields TFormSendMail2::fields() const {
  const auto value = [this](const char* name) { return sjisOf(aEdits.at(name)->text()); };
  MailFields f;
  f.smtpServer = value("SMTPServer");
  f.security = value("SMTPSecurity");
  f.smtpUser = value("SMTPUser");
  f.subject = value("Subject");
  f.to = value("To");
  f.cc = value("CC");
  f.bcc = value("BCC");
  f.from = value("From");
  f.replyTo = value("ReplyTo");
  f.userId = value("UserID");
  f.dateTimeSended = value("DateTimeSended");
  return f;
}

void TFormSendMail2::report_(const QString& text) {
  const std::string line = sjisOf(QStringLiteral("Send Mail: ") + text);
  aForm.messageDoing_(line);
  aForm.addLog_(line);
}

void TFormSendMail2::showResult_(const QString& text) {
  aPanels[1]->setText(text);
  report_(text);
}

std::optional<QtSmtpSession::Target> TFormSendMail2::target_() {
  const MailFields f = fields();
  const std::optional<SmtpSecurity> security = smtpSecurityOf_(f.security);
  if (!security) {
    showResult_(QStringLiteral("SMTPSecurity is none, starttls or tls: ") +
                sjisToQString(f.security));
    return std::nullopt;
  }
  const std::optional<MailServer> server =
      mailServerOf_(f.smtpServer, *security == SmtpSecurity::Tls);
  if (!server) {
    showResult_(QStringLiteral("Connect Faile: no server in SMTPServer"));
    return std::nullopt;
  }
  QtSmtpSession::Target target;
  target.host = server->host;
  target.port = server->port;
  target.security = *security;
  // An empty UserID names this host, so that HELO is never refused for it.
  target.helloName = trim_(f.userId).empty() ? sjisOf(QHostInfo::localHostName()) : trim_(f.userId);
  if (!trim_(f.smtpUser).empty()) {
    if (*security == SmtpSecurity::None) {
      showResult_(QStringLiteral("A password is only sent inside TLS: set SMTPSecurity"));
      return std::nullopt;
    }
    // Asked at each connection; never stored or logged.
    const std::optional<std::string> password =
        aForm.services.prompter->inputSecret("Send Mail", "Password of " + trim_(f.smtpUser));
    if (!password) {
      showResult_(QStringLiteral("CANCEL: Send Mail"));
      return std::nullopt;
    }
    target.login = SmtpLogin{trim_(f.smtpUser), *password};
  }
  return target;
}

void TFormSendMail2::sendMail_() {
  if (aSession.isSending()) return;
  const MailFields f = fields();
  if (const std::string refusal = mailRefusal_(f); !refusal.empty()) {
    showResult_(sjisToQString(refusal));
    return;
  }
  const std::optional<QtSmtpSession::Target> target = target_();
  if (!target) return;
  const StringList memo = linesOf(aText->toPlainText());
  const Clock& clock = *aForm.services.clock;
  aSendStarted = clock.now();
  const StringList message =
      buildMailMessage_(f, memo, mailDate_(aSendStarted, clock.utcOffsetMinutes()));
  button_(QStringLiteral("Send"))->setEnabled(false);
  aPanels[1]->clear();
  aSession.send(*target, {trim_(f.from), mailRecipients_(f), message});
}

void TFormSendMail2::mailFinished_(bool sent, const QString& failure) {
  button_(QStringLiteral("Send"))->setEnabled(true);
  if (!sent) {
    showResult_(failure);
    return;
  }
  aEdits.at("DateTimeSended")
      ->setText(sjisToQString(formatDateTime_("yyyymmdd hhnnsszzz", aSendStarted)));
  showResult_(QStringLiteral("Success"));
}

void TFormSendMail2::connectServer_() {
  if (const std::optional<QtSmtpSession::Target> target = target_()) aSession.connectTo(*target);
}

void TFormSendMail2::disconnectServer_() { aSession.disconnectFrom(); }

void TFormSendMail2::writeAddressFields_(MemoBasic& object) {
  for (const char* name : kAddressFields) {
    const std::string value = trim_(sjisOf(aEdits.at(name)->text()));
    if (value.empty())
      object.removeField_(name);
    else
      object.putField_(name, quoted_(value));
  }
}

int TFormSendMail2::setNode_() {
  MemoNode* node = aNode.get();
  auto* holder = node ? dynamic_cast<MemoHolder*>(node->getHolder()) : nullptr;
  if (!node || !holder) {
    showResult_(QStringLiteral("Set Node: the node is gone"));
    return -1;
  }
  if (aForm.isUIReadOnly() || node->isReadOnlyInherited()) {
    showResult_(QStringLiteral("Set Node: read only"));
    return -1;
  }
  aForm.UI2Model();
  writeAddressFields_(*node);
  const std::string sended = trim_(sjisOf(aEdits.at("DateTimeSended")->text()));
  if (sended.empty())
    node->removeField_("DateTimeSended");
  else
    node->putField_("DateTimeSended", quoted_(sended));
  const std::string subject = trim_(sjisOf(aEdits.at("Subject")->text()));
  if (!subject.empty()) holder->putNameChild_as_(node, subject);
  node->aMemo = linesOf(aText->toPlainText());
  holder->flagChanged = true;
  aForm.Model2UI();
  showResult_(QStringLiteral("Set Node"));
  return 0;
}

int TFormSendMail2::setHolder_() {
  MemoNode* node = aNode.get();
  auto* holder = node ? dynamic_cast<MemoHolder*>(node->getHolder()) : nullptr;
  if (!holder) {
    showResult_(QStringLiteral("Set Holder: the node is gone"));
    return -1;
  }
  if (aForm.isUIReadOnly() || holder->isReadOnlyHolder()) {
    showResult_(QStringLiteral("Set Holder: read only"));
    return -1;
  }
  writeAddressFields_(*holder);
  holder->flagChanged = true;
  showResult_(QStringLiteral("Set Holder"));
  return 0;
}

}  // namespace vrk
