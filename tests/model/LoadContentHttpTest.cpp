// Attaching web addresses through the real HTTP downloader and a local server.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "model/ModelTestSupport.h"
#include "model/TContent.h"
#include "platform/HttpDownloader.h"

namespace vrk {
namespace {

using modeltest::ScratchDir;

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port nobody listens on right now.
int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

bool accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = loopback(port);
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

// python3's http.server over a folder, for the life of the object.
class LocalHttpServer {
 public:
  explicit LocalHttpServer(const std::string& folder) : port_(freePort()) {
    pid_ = ::fork();
    if (pid_ == 0) {
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      const std::string port = std::to_string(port_);
      ::execlp("python3", "python3", "-m", "http.server", "--bind", "127.0.0.1", "--directory",
               folder.c_str(), port.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 100 && !accepts(port_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ~LocalHttpServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  bool running() const { return pid_ > 0 && accepts(port_); }
  std::string url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + std::string(path);
  }

 private:
  int port_;
  pid_t pid_ = -1;
};

TEST(LoadContentHttp, DownloadsPicturesAndTextFromALocalServer) {
  if (std::system("command -v python3 >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3 is not installed";
  ScratchDir site, temp;
  const std::string picture("\x89PNG\r\n\x1a\n\0\1", 10);
  site.write("pic.png", picture);
  site.write("notes.txt", "one\r\ntwo\r\n");
  LocalHttpServer server(site.path());
  ASSERT_TRUE(server.running());
  HttpDownloader downloader(5000);
  ScopedModelServices services({.downloader = &downloader, .tempDir = temp.path()});

  MemoBasic record;
  EXPECT_EQ(record.loadContent_(server.url("pic.png"), ""), 10);
  ASSERT_TRUE(record.aContent);
  EXPECT_EQ(record.aContent->aData, picture);
  EXPECT_EQ(record.getField_("Content-Type"), "\"image/png\"");
  EXPECT_EQ(record.getFilename(), server.url("pic.png"));

  EXPECT_EQ(record.loadContent_(server.url("notes.txt"), "notes"), 0);
  EXPECT_EQ(record.aMemo, (StringList{"one", "two"}));
  EXPECT_EQ(record.getField_("Filename"), "\"notes\"");

  EXPECT_EQ(record.loadContent_(server.url("missing.png"), ""), -8);
  EXPECT_TRUE(std::filesystem::is_empty(temp.path()));  // downloaded copies are deleted
}

}  // namespace
}  // namespace vrk
