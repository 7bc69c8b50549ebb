#include "platform/HttpDownloader.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "model/ContentsTestSupport.h"

namespace vrk {
namespace {

using contenttest::readBytes;
using contenttest::ScratchDir;
using contenttest::writeBytes;

// A listening loopback socket on a free port; it accepts connections (the
// kernel does) but never answers.
class SilentListener {
 public:
  SilentListener() : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(fd_, 4) == 0 &&
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
      port_ = ntohs(address.sin_port);
  }
  ~SilentListener() { ::close(fd_); }
  int port() const { return port_; }

 private:
  int fd_;
  int port_ = 0;
};

int freePort() { return SilentListener().port(); }

bool answers(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

// python3 -m http.server over a scratch folder, shared by the tests of the suite.
class HttpDownloaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!contenttest::hasProgram("python3")) return;
    root_ = new ScratchDir;
    std::mt19937 rng(7);
    page_ = std::string(100000, '\0');
    for (char& c : page_) c = static_cast<char>(rng() & 0xFF);
    writeBytes(root_->file("page.bin"), page_);
    std::filesystem::create_directory(root_->file("sub"));
    writeBytes(root_->file("sub/index.html"), "<p>sub</p>");

    port_ = freePort();
    server_ = ::fork();
    if (server_ == 0) {
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      if (::chdir(root_->path().c_str()) == 0) {
        const std::string port = std::to_string(port_);
        ::execlp("python3", "python3", "-m", "http.server", "--bind", "127.0.0.1", port.c_str(),
                 static_cast<char*>(nullptr));
      }
      ::_exit(127);
    }
    for (int i = 0; i < 200 && !answers(port_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }

  static void TearDownTestSuite() {
    if (server_ > 0) {
      ::kill(server_, SIGTERM);
      ::waitpid(server_, nullptr, 0);
      server_ = -1;
    }
    delete root_;
    root_ = nullptr;
  }

  void SetUp() override {
    if (server_ <= 0 || !answers(port_)) GTEST_SKIP() << "python3 http.server is not available";
  }

  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  static inline ScratchDir* root_ = nullptr;
  static inline std::string page_;
  static inline int port_ = 0;
  static inline pid_t server_ = -1;
  ScratchDir target_;
};

TEST_F(HttpDownloaderTest, DownloadsTheBody) {
  HttpDownloader downloader;
  std::string error;
  ASSERT_EQ(downloader.download(url("/page.bin"), target_.file("got"), &error), 0) << error;
  EXPECT_EQ(readBytes(target_.file("got")), page_);
}

// http.server answers "/sub" with a redirect to "/sub/".
TEST_F(HttpDownloaderTest, FollowsRedirects) {
  HttpDownloader downloader;
  std::string error;
  ASSERT_EQ(downloader.download(url("/sub"), target_.file("got"), &error), 0) << error;
  EXPECT_EQ(readBytes(target_.file("got")), "<p>sub</p>");
}

TEST_F(HttpDownloaderTest, FailuresLeaveNoFile) {
  struct Case {
    const char* what;
    std::uint64_t maxBytes;
    std::string path;
    int code;
  };
  for (const Case& c : std::vector<Case>{
           {"missing page", 1u << 20, "/missing", HttpDownloader::kHttpStatus},
           {"over the size cap", 1000, "/page.bin", HttpDownloader::kTooLarge},
       }) {
    HttpDownloader downloader(5000, c.maxBytes);
    std::string error;
    EXPECT_EQ(downloader.download(url(c.path), target_.file("got"), &error), c.code) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_TRUE(std::filesystem::is_empty(target_.path())) << c.what;
  }
}

TEST(HttpDownloaderOfflineTest, RefusesWhatItCannotFetch) {
  ScratchDir dir;
  std::string error;
  HttpDownloader downloader;
  EXPECT_EQ(downloader.download("https://example.org/", dir.file("x"), &error),
            HttpDownloader::kBadAddress);
  EXPECT_NE(error.find("https"), std::string::npos);
  EXPECT_EQ(downloader.download("ftp://example.org/", dir.file("x"), &error),
            HttpDownloader::kBadAddress);
  EXPECT_EQ(downloader.download("http://127.0.0.1:" + std::to_string(freePort()) + "/",
                                dir.file("x"), &error),
            HttpDownloader::kNetworkError);

  SilentListener silent;
  HttpDownloader impatient(200);
  EXPECT_EQ(impatient.download("http://127.0.0.1:" + std::to_string(silent.port()) + "/",
                               dir.file("x"), &error),
            HttpDownloader::kTimeout);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace vrk
