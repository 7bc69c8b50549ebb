#include "platform/HttpDownloader.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace vrk {
namespace {

constexpr int kMaxRedirects = 5;
constexpr std::size_t kMaxHeaderBytes = 64 * 1024;

struct HttpAddress {
  std::string host;  // without the brackets of an IPv6 literal
  std::string port = "80";
  std::string hostHeader;
  std::string path = "/";
};

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

int fail(std::string* error, int code, const std::string& message) {
  if (error) *error = message;
  return code;
}

// "http://host[:port][/path]"; false for anything else.
bool parseHttpAddress(std::string_view url, HttpAddress& address) {
  if (!startsWithNoCase(url, "http://")) return false;
  std::string_view rest = url.substr(7);
  const std::size_t pathStart = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, pathStart);
  if (pathStart != std::string_view::npos) {
    address.path = std::string(rest.substr(pathStart));
    if (address.path[0] != '/') address.path.insert(0, "/");
    address.path.erase(std::min(address.path.find('#'), address.path.size()));
  }
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
    authority.remove_prefix(at + 1);
  address.hostHeader = std::string(authority);
  std::size_t portColon = std::string_view::npos;
  if (authority.starts_with('[')) {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return false;
    address.host = std::string(authority.substr(1, close - 1));
    if (close + 1 < authority.size()) {
      if (authority[close + 1] != ':') return false;
      portColon = close + 1;
    }
  } else {
    portColon = authority.rfind(':');
    address.host = std::string(authority.substr(0, portColon));
  }
  if (portColon != std::string_view::npos && portColon + 1 < authority.size())
    address.port = std::string(authority.substr(portColon + 1));
  return !address.host.empty() && address.port.find_first_not_of("0123456789") == std::string::npos;
}

// A Location value against the address it came from.
std::string resolveLocation(const HttpAddress& base, std::string_view location) {
  if (location.find("://") != std::string_view::npos) return std::string(location);
  const std::string origin = "http://" + base.hostHeader;
  if (location.starts_with("//")) return "http:" + std::string(location);
  if (location.starts_with('/')) return origin + std::string(location);
  const std::string directory = base.path.substr(0, base.path.rfind('/') + 1);
  return origin + directory + std::string(location);
}

class Socket {
 public:
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// Waits for `events` on fd; false on timeout or error.
bool waitFor(int fd, short events, int timeoutMs) {
  pollfd entry{fd, events, 0};
  int ready;
  do {
    ready = ::poll(&entry, 1, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
}

// A connected non-blocking socket, or -1 with *code and *error set.
int connectTo(const HttpAddress& address, int timeoutMs, int* code, std::string* error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int rc = ::getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &found);
      rc != 0) {
    *code = fail(error, HttpDownloader::kNetworkError,
                 "cannot resolve " + address.host + ": " + ::gai_strerror(rc));
    return -1;
  }
  *code = fail(error, HttpDownloader::kNetworkError, "cannot connect to " + address.hostHeader);
  int connected = -1;
  for (addrinfo* ai = found; ai && connected < 0; ai = ai->ai_next) {
    const int fd =
        ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
    if (fd < 0) continue;
    if (::connect(fd, ai->ai_addr, ai->ai_addrlen) == 0) {
      connected = fd;
      break;
    }
    int soError = 0;
    socklen_t length = sizeof soError;
    if (errno == EINPROGRESS) {
      if (!waitFor(fd, POLLOUT, timeoutMs)) {
        *code =
            fail(error, HttpDownloader::kTimeout, "timeout connecting to " + address.hostHeader);
      } else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) == 0 && soError == 0) {
        connected = fd;
        break;
      }
    }
    ::close(fd);
  }
  ::freeaddrinfo(found);
  return connected;
}

bool sendAll(int fd, std::string_view bytes, int timeoutMs) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    } else if (sent < 0 && errno == EINTR) {
      continue;
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!waitFor(fd, POLLOUT, timeoutMs)) return false;
    } else {
      return false;
    }
  }
  return true;
}

// Bytes received (0 at the end of the answer), or a negative result code.
ssize_t receiveSome(int fd, char* buffer, std::size_t size, int timeoutMs) {
  for (;;) {
    const ssize_t got = ::recv(fd, buffer, size, 0);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return HttpDownloader::kNetworkError;
    if (!waitFor(fd, POLLIN, timeoutMs)) return HttpDownloader::kTimeout;
  }
}

struct Answer {
  int status = 0;
  std::string location;
  long long contentLength = -1;
};

// The value of header `name` (case ignored) in the header block, trimmed.
std::string headerValue(std::string_view head, std::string_view name) {
  std::size_t start = head.find("\r\n");
  while (start != std::string_view::npos && start + 2 < head.size()) {
    start += 2;
    const std::size_t end = head.find("\r\n", start);
    const std::string_view line = head.substr(start, end - start);
    if (startsWithNoCase(line, name) && line.size() > name.size() && line[name.size()] == ':') {
      std::string_view value = line.substr(name.size() + 1);
      while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
      while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
      return std::string(value);
    }
    start = end;
  }
  return {};
}

bool parseAnswer(std::string_view head, Answer& answer) {
  // "HTTP/1.x 200 OK"
  if (!startsWithNoCase(head, "HTTP/")) return false;
  const std::size_t space = head.find(' ');
  if (space == std::string_view::npos || space + 4 > head.size()) return false;
  const std::string_view code = head.substr(space + 1, 3);
  if (code.find_first_not_of("0123456789") != std::string_view::npos) return false;
  answer.status = std::stoi(std::string(code));
  answer.location = headerValue(head, "Location");
  const std::string length = headerValue(head, "Content-Length");
  if (!length.empty() && length.find_first_not_of("0123456789") == std::string::npos &&
      length.size() < 19)
    answer.contentLength = std::stoll(length);
  return true;
}

// Writes the body into a temporary file beside the target and renames it over
// the target once complete, so that a failed download leaves no partial file.
class BodyFile {
 public:
  explicit BodyFile(const std::string& target) : target_(target), temp_(target + ".XXXXXX") {
    fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
    opened_ = fd_ >= 0;
    if (opened_) ::fchmod(fd_, 0644);
  }
  ~BodyFile() {
    if (fd_ >= 0) ::close(fd_);
    if (opened_ && !committed_) ::unlink(temp_.c_str());
  }
  BodyFile(const BodyFile&) = delete;
  BodyFile& operator=(const BodyFile&) = delete;

  bool isOpen() const { return opened_; }
  bool write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
  }
  bool commit() {
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    committed_ = synced && closed && ::rename(temp_.c_str(), target_.c_str()) == 0;
    return committed_;
  }

 private:
  std::string target_;
  std::string temp_;
  int fd_;
  bool opened_;
  bool committed_ = false;
};

}  // namespace

int HttpDownloader::download(const std::string& url, const std::string& targetPath,
                             std::string* error) {
  std::string current = url;
  for (int redirects = 0;; ++redirects) {
    if (startsWithNoCase(current, "https://"))
      return fail(error, kBadAddress,
                  "https is not supported by this downloader (no TLS): " + current);
    HttpAddress address;
    if (!parseHttpAddress(current, address))
      return fail(error, kBadAddress, "not an http address: " + current);

    int code = 0;
    Socket socket(connectTo(address, timeoutMs_, &code, error));
    if (socket.fd() < 0) return code;
    const std::string request = "GET " + address.path + " HTTP/1.0\r\nHost: " + address.hostHeader +
                                "\r\nUser-Agent: vrk\r\nAccept: */*\r\nConnection: close\r\n\r\n";
    if (!sendAll(socket.fd(), request, timeoutMs_))
      return fail(error, kNetworkError, "cannot send the request to " + address.hostHeader);

    std::string head;
    std::size_t headEnd;
    char buffer[64 * 1024];
    while ((headEnd = head.find("\r\n\r\n")) == std::string::npos) {
      if (head.size() > kMaxHeaderBytes)
        return fail(error, kNetworkError, "answer header too long from " + current);
      const ssize_t got = receiveSome(socket.fd(), buffer, sizeof buffer, timeoutMs_);
      if (got == kTimeout) return fail(error, kTimeout, "timeout waiting for " + current);
      if (got <= 0) return fail(error, kNetworkError, "incomplete answer from " + current);
      head.append(buffer, static_cast<std::size_t>(got));
    }
    Answer answer;
    if (!parseAnswer(std::string_view(head).substr(0, headEnd + 2), answer))
      return fail(error, kNetworkError, "not an HTTP answer from " + current);

    const bool isRedirect = answer.status == 301 || answer.status == 302 || answer.status == 303 ||
                            answer.status == 307 || answer.status == 308;
    if (isRedirect && !answer.location.empty()) {
      if (redirects == kMaxRedirects)
        return fail(error, kTooManyRedirects, "too many redirects from " + url);
      current = resolveLocation(address, answer.location);
      continue;
    }
    if (answer.status != 200)
      return fail(error, kHttpStatus, "HTTP " + std::to_string(answer.status) + " for " + current);
    if (answer.contentLength >= 0 && static_cast<std::uint64_t>(answer.contentLength) > maxBytes_)
      return fail(error, kTooLarge, "answer larger than " + std::to_string(maxBytes_) + " bytes");

    BodyFile body(targetPath);
    if (!body.isOpen()) return fail(error, kWriteError, "cannot write " + targetPath);
    std::uint64_t received = head.size() - (headEnd + 4);
    if (received > maxBytes_)
      return fail(error, kTooLarge, "answer larger than " + std::to_string(maxBytes_) + " bytes");
    if (!body.write(std::string_view(head).substr(headEnd + 4)))
      return fail(error, kWriteError, "cannot write " + targetPath);
    for (;;) {
      const ssize_t got = receiveSome(socket.fd(), buffer, sizeof buffer, timeoutMs_);
      if (got == 0) break;
      if (got == kTimeout) return fail(error, kTimeout, "timeout reading " + current);
      if (got < 0) return fail(error, kNetworkError, "connection lost reading " + current);
      received += static_cast<std::uint64_t>(got);
      if (received > maxBytes_)
        return fail(error, kTooLarge, "answer larger than " + std::to_string(maxBytes_) + " bytes");
      if (!body.write(std::string_view(buffer, static_cast<std::size_t>(got))))
        return fail(error, kWriteError, "cannot write " + targetPath);
    }
    if (answer.contentLength >= 0 && received != static_cast<std::uint64_t>(answer.contentLength))
      return fail(error, kNetworkError, "incomplete answer from " + current);
    if (!body.commit()) return fail(error, kWriteError, "cannot write " + targetPath);
    return 0;
  }
}

}  // namespace vrk
