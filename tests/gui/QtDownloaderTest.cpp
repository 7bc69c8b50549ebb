// The program's downloader against servers of the test's own: python3's
// http.server (redirects, bodies, missing pages) and loopback sockets that
// answer from a table or never answer.
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <filesystem>
#include <map>
#include <random>

#include "MainWindowTestSupport.h"
#include "model/ContentsTestSupport.h"
#include "model/MemoBasic.h"
#include "model/ModelServices.h"
#include "model/TContent.h"
#include "platform/qt/QtDownloader.h"

namespace vrk::windowtest {
namespace {

using contenttest::readBytes;
using contenttest::writeBytes;

// A loopback port nobody listens on right now.
int freePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  return probe.serverPort();
}

bool accepts(int port) {
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  return socket.waitForConnected(200);
}

// python3 -m http.server over a folder, for the life of the object.
class LocalHttpServer {
 public:
  explicit LocalHttpServer(const std::string& folder) : port_(freePort()) {
    server_.setProgram("python3");
    server_.setArguments({"-m", "http.server", "--bind", "127.0.0.1", "--directory",
                          QString::fromStdString(folder), QString::number(port_)});
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start();
    if (!server_.waitForStarted(5000)) return;
    for (int i = 0; i < 100 && !accepts(port_); ++i) QThread::msleep(50);
  }
  ~LocalHttpServer() {
    server_.terminate();
    server_.waitForFinished(5000);
  }

  bool running() const { return server_.state() == QProcess::Running && accepts(port_); }
  std::string url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
  }

 private:
  int port_;
  QProcess server_;
};

// One server over a folder for the suite: a page of 100,000 random bytes and
// "sub/", which http.server reaches from "/sub" by a redirect.
class QtDownloaderHttp : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!contenttest::hasProgram("python3")) return;
    site_ = new ScratchDir;
    std::mt19937 rng(7);
    page_ = std::string(100000, '\0');
    for (char& c : page_) c = static_cast<char>(rng() & 0xFF);
    writeBytes(site_->file("page.bin"), page_);
    std::filesystem::create_directory(site_->file("sub"));
    writeBytes(site_->file("sub/index.html"), "<p>sub</p>");
    writeBytes(site_->file("pic.png"), std::string("\x89PNG\r\n\x1a\n\0\1", 10));
    writeBytes(site_->file("notes.txt"), "one\r\ntwo\r\n");
    server_ = new LocalHttpServer(site_->path());
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
    delete site_;
    site_ = nullptr;
  }
  void SetUp() override {
    if (!server_ || !server_->running()) GTEST_SKIP() << "python3 http.server is not available";
  }
  static std::string url(std::string_view path) { return server_->url(path); }

  static inline ScratchDir* site_ = nullptr;
  static inline LocalHttpServer* server_ = nullptr;
  static inline std::string page_;
  ScratchDir target_;
};

TEST_F(QtDownloaderHttp, DownloadsTheBodyAndFollowsRedirects) {
  QtDownloader downloader(5000);
  std::string error;
  ASSERT_EQ(downloader.download(url("/page.bin"), target_.file("got"), &error), 0) << error;
  EXPECT_EQ(readBytes(target_.file("got")), page_);
  ASSERT_EQ(downloader.download(url("/sub"), target_.file("sub"), &error), 0) << error;
  EXPECT_EQ(readBytes(target_.file("sub")), "<p>sub</p>");
}

TEST_F(QtDownloaderHttp, FailuresLeaveNoFile) {
  struct Case {
    const char* what;
    std::int64_t maxBytes;
    std::string path;
    int code;
  };
  for (const Case& c : std::vector<Case>{
           {"missing page", 1 << 20, "/missing", QtDownloader::kHttpStatus},
           {"over the size cap", 1000, "/page.bin", QtDownloader::kTooLarge},
       }) {
    QtDownloader downloader(5000, c.maxBytes);
    std::string error;
    EXPECT_EQ(downloader.download(url(c.path), target_.file("got"), &error), c.code) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_TRUE(std::filesystem::is_empty(target_.path())) << c.what;
  }
}

// A memo attaches a web address through the model's downloader port.
TEST_F(QtDownloaderHttp, LoadContentAttachesPicturesAndText) {
  QtDownloader downloader(5000);
  ScratchDir temp;
  ScopedModelServices services({.downloader = &downloader, .tempDir = temp.path()});

  MemoBasic record;
  EXPECT_EQ(record.loadContent_(url("/pic.png"), ""), 10);
  ASSERT_TRUE(record.aContent);
  EXPECT_EQ(record.aContent->aData, std::string("\x89PNG\r\n\x1a\n\0\1", 10));
  EXPECT_EQ(record.getField_("Content-Type"), "\"image/png\"");
  EXPECT_EQ(record.getFilename(), url("/pic.png"));

  EXPECT_EQ(record.loadContent_(url("/notes.txt"), "notes"), 0);
  EXPECT_EQ(record.aMemo, (StringList{"one", "two"}));
  EXPECT_EQ(record.getField_("Filename"), "\"notes\"");

  EXPECT_EQ(record.loadContent_(url("/missing.png"), ""), -8);
  EXPECT_TRUE(std::filesystem::is_empty(temp.path()));  // downloaded copies are deleted
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

TEST(QtDownloader, KeepsOnlyWholeAnswers) {
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
  for (const Case& c : std::vector<Case>{{server.url("/missing"), QtDownloader::kHttpStatus},
                                         {server.url("/big"), QtDownloader::kTooLarge},
                                         {server.url("/silent"), QtDownloader::kTimeout},
                                         {"ftp://127.0.0.1/x", QtDownloader::kBadAddress}}) {
    EXPECT_EQ(downloader.download(c.url, target, &error), c.code) << c.url;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(target), "page body") << c.url;  // the old file stays whole
  }
}

// Nobody listening, and a listener that accepts (the kernel does) but never
// reads: a network error, and a timeout on silence. Neither leaves a file.
TEST(QtDownloader, RefusedAndSilentServers) {
  ScratchDir dir;
  std::string error;
  QtDownloader downloader(200);
  EXPECT_EQ(downloader.download("http://127.0.0.1:" + std::to_string(freePort()) + "/",
                                dir.file("x"), &error),
            QtDownloader::kNetworkError);
  QTcpServer silent;  // its connections are never taken
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  EXPECT_EQ(downloader.download("http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/",
                                dir.file("x"), &error),
            QtDownloader::kTimeout);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace vrk::windowtest
