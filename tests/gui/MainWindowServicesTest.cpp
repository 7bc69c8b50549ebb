// The window's ports: scripted prompts, the settings, child processes and
// the Qt downloader against a loopback server of the test's own.
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdlib>
#include <map>

#include "MainWindowTestSupport.h"
#include "platform/HttpDownloader.h"
#include "platform/qt/QtDownloader.h"
#include "shell/AppSettings.h"

namespace vrk::windowtest {
namespace {

TEST(MainWindowPorts, ScriptedPrompterAnswersInOrderAndCountsOpenPrompts) {
  ScriptedPrompter prompter;
  prompter.answer(Answer::No);
  prompter.answerText("typed");
  prompter.answerIndex(5);
  int openWhileAsked = 0;
  prompter.whileOpen = [&](const Prompt&) { openWhileAsked = prompter.countOfOpen(); };

  EXPECT_EQ(prompter.ask(BoxKind::Warning, "sure?", Answer::Yes | Answer::No), Answer::No);
  EXPECT_EQ(openWhileAsked, 1);
  EXPECT_EQ(prompter.countOfOpen(), 0);
  EXPECT_EQ(prompter.inputText("Input Number", "n", "15"), std::optional<std::string>("typed"));
  EXPECT_EQ(prompter.choose("t", "l", {"a", "b"}, 1), std::nullopt);       // 5 is no item
  EXPECT_EQ(prompter.saveFileName("t", "/x.csv", "*.csv"), std::nullopt);  // nothing queued

  ASSERT_EQ(prompter.asked.size(), 4u);
  EXPECT_EQ(prompter.asked[0].box, BoxKind::Warning);
  EXPECT_EQ(prompter.asked[0].buttons, Answer::Yes | Answer::No);
  EXPECT_EQ(prompter.asked[1].kind, Prompt::Kind::Input);
  EXPECT_EQ(prompter.asked[1].initial, "15");
  EXPECT_EQ(prompter.asked[2].initial, "b");
  EXPECT_EQ(prompter.asked[3].kind, Prompt::Kind::SaveFile);
}

TEST(MainWindowPorts, AutoSaveIntervalAndTemporaryDirectory) {
  AppSettings settings;
  for (const auto& [text, seconds] : std::vector<std::pair<std::string, int>>{
           {"0", 0}, {"61", 61}, {" 61 ", 61}, {"-5", 0}, {"abc", 0}, {"12x", 0}, {"", 0}}) {
    settings.autoSaveTimeText = text;
    EXPECT_EQ(settings.getAutoSaveTime(), seconds) << text;
  }
  settings.putAutoSaveTime_(90);
  EXPECT_EQ(settings.autoSaveTimeText, "90");

  const char* saved = std::getenv("TMPDIR");
  const std::string restore = saved ? saved : "";
  ::setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(settings.getTempDir(), "/var/tmp/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(settings.getTempDir(), "/tmp/");
  settings.putTempDir_("  /data/tmp  ");
  EXPECT_EQ(settings.tempDir, "/data/tmp");
  EXPECT_EQ(settings.getTempDir(), "/data/tmp/");
  if (saved) ::setenv("TMPDIR", restore.c_str(), 1);
}

// Answers "GET <path>" from a table; a path not in it is never answered.
class LoopbackServer {
 public:
  explicit LoopbackServer(std::map<std::string, std::string> answers)
      : answers_(std::move(answers)) {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      QTcpSocket* socket = server_.nextPendingConnection();
      QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
        const QList<QByteArray> words = socket->readAll().split(' ');
        const auto answer = answers_.find(words.size() > 1 ? words[1].toStdString() : "");
        if (answer == answers_.end()) return;
        socket->write(QByteArray::fromStdString(answer->second));
        socket->disconnectFromHost();
      });
    });
  }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
  }

 private:
  std::map<std::string, std::string> answers_;
  QTcpServer server_;
};

std::string response(const std::string& status, const std::string& body) {
  return "HTTP/1.0 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

TEST(MainWindowPorts, QtDownloaderKeepsOnlyWholeAnswers) {
  const std::string big(5000, 'x');
  LoopbackServer server({{"/ok", response("200 OK", "page body")},
                         {"/missing", response("404 Not Found", "no")},
                         {"/big", response("200 OK", big)}});
  ScratchDir dir;
  QtDownloader downloader(300, 1000);
  std::string error;
  const std::string target = dir.file("page");

  EXPECT_EQ(downloader.download(server.url("/ok"), target, &error), 0) << error;
  EXPECT_EQ(readFile(target), "page body");
  struct Case {
    std::string url;
    int code;
  };
  for (const Case& c : std::vector<Case>{{server.url("/missing"), HttpDownloader::kHttpStatus},
                                         {server.url("/big"), HttpDownloader::kTooLarge},
                                         {server.url("/silent"), HttpDownloader::kTimeout},
                                         {"ftp://127.0.0.1/x", HttpDownloader::kBadAddress}}) {
    EXPECT_EQ(downloader.download(c.url, target, &error), c.code) << c.url;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(target), "page body") << c.url;  // the old file stays whole
  }
}

}  // namespace
}  // namespace vrk::windowtest
