// The send-mail window: fields from the node, its holder and the memo file,
// written back by "Set Node" and "Set Holder"; sending through a scripted
// SMTP peer (a QTcpServer on 127.0.0.1) that refuses, fails and falls silent.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <map>

#include "MainWindowTestSupport.h"
#include "mail/qt/TFormSendMail2.h"
#include "platform/SJ.h"
#include "support/SmtpSink.h"

namespace vrk::windowtest {
namespace {

// Answers each command line by its first word (and "." by "."); records them.
class ScriptedSmtpPeer : public QObject {
 public:
  ScriptedSmtpPeer() {
    server.listen(QHostAddress::LocalHost);
    connect(&server, &QTcpServer::newConnection, this, [this] {
      QTcpSocket* client = server.nextPendingConnection();
      if (!greeting.isEmpty()) client->write(greeting + "\r\n");
      connect(client, &QTcpSocket::readyRead, this, [this, client] {
        while (client->canReadLine()) {
          const QByteArray line = client->readLine().trimmed();
          received << QString::fromLatin1(line);
          if (inData) {
            if (line != ".") continue;
            inData = false;
          }
          QByteArray key = line == "." ? QByteArray(".") : line.split(' ').first().toUpper();
          if (key == "MAIL" || key == "RCPT") key = line.left(line.indexOf(':')).toUpper();
          if (closeOn == key) {
            client->disconnectFromHost();
            return;
          }
          const QByteArray reply = replies.count(key) ? replies.at(key) : QByteArray("250 ok");
          if (reply.isEmpty()) continue;  // silence
          if (reply.startsWith("354")) inData = true;
          client->write(reply + "\r\n");
        }
      });
    });
  }
  QString address() const { return QStringLiteral("127.0.0.1:%1").arg(server.serverPort()); }

  QTcpServer server;
  QByteArray greeting = "220 peer ready";
  std::map<QByteArray, QByteArray> replies{{"DATA", "354 go ahead"}};
  QByteArray closeOn;  // a command after which the peer hangs up
  QStringList received;
  bool inData = false;
};

class TFormSendMail2Test : public MainWindowFixture {
 protected:
  void openLetter(const std::string& holderFields = "", const std::string& nodeFields = "") {
    const std::string holderText =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"A\">\r\n"
        "  <Field To=\"a@example.org\"/>\r\n  <Field From=\"me@example.org\"/>\r\n" +
        holderFields + "  <Record name=\"letter\">\r\n    <Field UID=\"u1\" " + nodeFields +
        " />\r\n" + SJ("表示") +
        "<BR/>\r\n.<BR/>\r\n  </Record>\r\n  <Record name=\"other\">\r\n"
        "    <Field UID=\"u2\" />\r\n  </Record>\r\n</Holder>\r\n";
    openMemoFile({{"A", {}, "", true, holderText}});
    form->setCurMemoNode(holder(0).findNode_("letter"));
    ASSERT_EQ(form->UISendMail(), 0);
    window = form->getFormSendMail2();
    ASSERT_NE(window, nullptr);
  }
  // Sends and waits for the end of the mail.
  QString send() {
    QSignalSpy finished(&window->session(), &QtSmtpSession::mailFinished);
    window->button_("Send")->click();
    if (finished.isEmpty()) finished.wait(20000);  // TLS handshakes on a busy machine
    return window->panelText_(1);
  }
  TFormSendMail2* window = nullptr;
};

TEST_F(TFormSendMail2Test, FieldsComeFromTheNodeItsHolderAndTheMemoFile) {
  openLetter("", "CC=\"c@example.org\"");
  EXPECT_EQ(window->edit_("To")->text(), "a@example.org");  // the holder's
  EXPECT_EQ(window->edit_("CC")->text(), "c@example.org");  // the node's
  EXPECT_EQ(window->edit_("Subject")->text(), "letter");    // the node's name
  EXPECT_EQ(window->textBox_()->toPlainText(), QString::fromUtf8("表示\n."));
  EXPECT_TRUE(window->isVisible());

  // "Set Node" writes to the node the window was filled from, even after
  // another node became current.
  form->setCurMemoNode(holder(0).findNode_("other"));
  window->edit_("Subject")->setText("renamed");
  window->edit_("CC")->clear();
  window->edit_("BCC")->setText(" b@example.org ");
  holder(0).flagChanged = false;
  EXPECT_EQ(window->setNode_(), 0);
  MemoNode& letter = *holder(0).findNode_("renamed");
  EXPECT_EQ(letter.getField_("CC"), "");
  EXPECT_EQ(letter.getField_("BCC"), "\"b@example.org\"");
  EXPECT_EQ(letter.getField_("To"), "\"a@example.org\"");
  EXPECT_TRUE(holder(0).flagChanged);
  EXPECT_EQ(holder(0).findNode_("other")->getField_("BCC"), "");

  EXPECT_EQ(window->setHolder_(), 0);
  EXPECT_EQ(holder(0).getField_("BCC"), "\"b@example.org\"");

  holder(0).putField_("FlagReadOnly", "\"true\"");
  EXPECT_EQ(window->setNode_(), -1);
  EXPECT_EQ(window->setHolder_(), -1);
}

TEST_F(TFormSendMail2Test, SuccessOnlyAfterTheServerTookTheDot) {
  ScriptedSmtpPeer peer;
  openLetter("  <Field SMTPServer=\"" + peer.address().toStdString() + "\"/>\r\n",
             "BCC=\"hidden@example.org\" UserID=\"tester\"");
  EXPECT_EQ(send(), "Success");
  EXPECT_EQ(window->edit_("DateTimeSended")->text(), "20241208 101010123");
  EXPECT_TRUE(logHas("Send Mail: RCPT TO:<hidden@example.org>"));  // the steps, in the log
  EXPECT_TRUE(logHas("Send Mail: Success"));
  EXPECT_TRUE(window->button_("Send")->isEnabled());
  EXPECT_EQ(peer.received.mid(0, 5),
            (QStringList{"HELO tester", "MAIL FROM:<me@example.org>", "RCPT TO:<a@example.org>",
                         "RCPT TO:<hidden@example.org>", "DATA"}));
  EXPECT_TRUE(peer.received.contains(".."));  // the memo's "." line, stuffed
  EXPECT_FALSE(peer.received.filter("hidden").size() > 1) << "BCC only in the envelope";
  EXPECT_EQ(window->panelText_(0), "Connect");  // the connection stays
  QSignalSpy changed(&window->session(), &QtSmtpSession::connectionChanged);
  window->button_("Disconnect")->click();
  if (window->panelText_(0) != "Disconnect") changed.wait(3000);
  EXPECT_EQ(window->panelText_(0), "Disconnect");
  EXPECT_EQ(peer.received.last(), "QUIT");
}

TEST_F(TFormSendMail2Test, RefusalsAndFailuresAreNeverSuccess) {
  struct Case {
    const char* what;
    std::function<void(ScriptedSmtpPeer&)> script;
    QString result;  // how the panel's text starts
    bool reset;      // RSET was sent
  };
  const std::vector<Case> cases = {
      {"554 greeting", [](ScriptedSmtpPeer& p) { p.greeting = "554 no service"; },
       "the server refused the connection: 554 no service", false},
      {"550 on one RCPT", [](ScriptedSmtpPeer& p) { p.replies["RCPT TO"] = "550 no such user"; },
       "RCPT TO:<a@example.org> refused: 550 no such user", true},
      {"451 after the message", [](ScriptedSmtpPeer& p) { p.replies["."] = "451 try later"; },
       "the message was refused: 451 try later", true},
      {"closed in the middle of DATA", [](ScriptedSmtpPeer& p) { p.closeOn = "."; },
       "the connection ended: ", false},
      {"silence", [](ScriptedSmtpPeer& p) { p.greeting.clear(); }, "Connect Faile: no reply in",
       false},
  };
  openLetter();
  window->session().setReplyTimeoutMs(500);
  for (const Case& c : cases) {
    ScriptedSmtpPeer peer;
    c.script(peer);
    window->edit_("SMTPServer")->setText(peer.address());
    const QString result = send();
    EXPECT_TRUE(result.startsWith(c.result)) << c.what << ": " << result.toStdString();
    EXPECT_TRUE(logHas("Send Mail: " + qStringToSjis(c.result).value_or("?"))) << c.what;
    // The RSET is on its way when the window shows the refusal.
    QElapsedTimer waited;
    waited.start();
    while (c.reset && !peer.received.contains("RSET") && waited.elapsed() < 3000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(peer.received.contains("RSET"), c.reset) << c.what;
    EXPECT_TRUE(window->edit_("DateTimeSended")->text().isEmpty()) << c.what;
    window->session().disconnectFrom();
  }

  // Nowhere to connect, and addresses refused before connecting.
  QTcpServer closed;
  closed.listen(QHostAddress::LocalHost);
  const quint16 port = closed.serverPort();
  closed.close();
  window->edit_("SMTPServer")->setText(QStringLiteral("127.0.0.1:%1").arg(port));
  EXPECT_TRUE(send().startsWith("Connect Faile: ")) << window->panelText_(1).toStdString();
  window->edit_("To")->setText("a@example.org>, b");
  window->button_("Send")->click();
  EXPECT_TRUE(window->panelText_(1).contains("no address may hold"));
}

TEST_F(TFormSendMail2Test, APasswordIsAskedOnlyForTlsAndNeverInClearText) {
  openLetter("  <Field SMTPServer=\"127.0.0.1:1\"/>\r\n  <Field SMTPUser=\"me\"/>\r\n");
  window->button_("Send")->click();
  EXPECT_EQ(window->panelText_(1), "A password is only sent inside TLS: set SMTPSecurity");
  EXPECT_TRUE(ports.prompter.asked.empty());
  window->edit_("SMTPSecurity")->setText("starttls");
  ports.prompter.answer(Answer::Cancel);
  window->button_("Send")->click();
  ASSERT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(ports.prompter.asked[0].text, "Password of me");
  EXPECT_EQ(window->panelText_(1), "CANCEL: Send Mail");
}

// A certificate authority and a server certificate for 127.0.0.1 signed by
// it, made with openssl in dir ("ca.pem", "server.pem", "server.key").
bool makeCertificates(const ScratchDir& dir) {
  const std::string script =
      "cd '" + dir.path() +
      "' && openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem "
      "-subj /CN=vrk-test-ca -days 2 && openssl req -newkey rsa:2048 -nodes -keyout server.key "
      "-out server.csr -subj /CN=127.0.0.1 && printf 'subjectAltName=IP:127.0.0.1\\n' > san.ext && "
      "openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out server.pem "
      "-days 2 -extfile san.ext";
  return std::system(("(" + script + ") >/dev/null 2>&1").c_str()) == 0;
}

// STARTTLS and a login against aiosmtpd; the CA handed over as SSL_CERT_FILE.
TEST_F(TFormSendMail2Test, StartTlsAndALoginSendOnlyWithTheRightPassword) {
  if (!SmtpSink::available() || std::system("command -v openssl >/dev/null") != 0)
    GTEST_SKIP() << "needs python3-aiosmtpd and openssl";
  const ScratchDir trusted, stranger;
  ASSERT_TRUE(makeCertificates(trusted) && makeCertificates(stranger));
  const std::string script = std::string(VRK_FIXTURES) + "/mail/smtp_sink.py";
  const auto tlsOf = [](const ScratchDir& d) {
    return d.file("server.pem") + " " + d.file("server.key") + " me secret";
  };
  const SmtpSink sink(script, tlsOf(trusted));
  const SmtpSink strangerSink(script, tlsOf(stranger));
  ASSERT_FALSE(sink.port().empty());
  ASSERT_FALSE(strangerSink.port().empty());
  ::setenv("SSL_CERT_FILE", trusted.file("ca.pem").c_str(), 1);

  openLetter("  <Field SMTPServer=\"127.0.0.1:" + sink.port() +
             "\"/>\r\n  <Field SMTPSecurity=\"starttls\"/>\r\n  <Field SMTPUser=\"me\"/>\r\n");
  window->session().setReplyTimeoutMs(15000);
  ports.prompter.answerText("wrong");
  EXPECT_TRUE(send().startsWith("Authentication failed: 535"))
      << window->panelText_(1).toStdString();
  EXPECT_TRUE(sink.mail(0).empty());
  ports.prompter.answerText("secret");
  EXPECT_EQ(send(), "Success");
  EXPECT_NE(sink.mail(0).find("\"mail_from\": \"me@example.org\""), std::string::npos);

  // A server whose certificate no trusted authority signed is refused.
  window->edit_("SMTPServer")->setText(QString::fromStdString("127.0.0.1:" + strangerSink.port()));
  ports.prompter.answerText("secret");
  EXPECT_TRUE(send().contains("the server's certificate was refused"))
      << window->panelText_(1).toStdString();
  EXPECT_TRUE(strangerSink.mail(0).empty());
  ::unsetenv("SSL_CERT_FILE");
}

}  // namespace
}  // namespace vrk::windowtest
