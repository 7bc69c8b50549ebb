#include "platform/TcpLineClient.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vrk {

TcpLineClient::~TcpLineClient() { close(); }

void TcpLineClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  buffer_.clear();
}

bool TcpLineClient::connect(const std::string& host, int port, std::string& why) {
  close();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int failed = getaddrinfo(host.c_str(), service.c_str(), &hints, &found)) {
    why = host + ": " + gai_strerror(failed);
    return false;
  }
  why = host + ":" + service + ": no address answered";
  for (addrinfo* a = found; a; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    if (::connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
      const timeval limit{timeoutMs_ / 1000, (timeoutMs_ % 1000) * 1000};
      ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);  // a stalled peer
      fd_ = fd;
      break;
    }
    why = host + ":" + service + ": " + std::strerror(errno);
    ::close(fd);
  }
  freeaddrinfo(found);
  return fd_ >= 0;
}

std::optional<std::string> TcpLineClient::readLine(std::string& why) {
  for (;;) {
    if (const std::size_t end = buffer_.find('\n'); end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      if (line.ends_with('\r')) line.pop_back();
      return line;
    }
    if (fd_ < 0) {
      why = "not connected";
      return std::nullopt;
    }
    pollfd waiting{fd_, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, timeoutMs_);
    if (ready == 0) {
      why = "no reply in " + std::to_string(timeoutMs_ / 1000) + " s";
      return std::nullopt;
    }
    if (ready < 0) {
      if (errno == EINTR) continue;
      why = std::strerror(errno);
      return std::nullopt;
    }
    char chunk[4096];
    const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
    if (got == 0) {
      why = "the server closed the connection";
      return std::nullopt;
    }
    if (got < 0) {
      if (errno == EINTR) continue;
      why = std::strerror(errno);
      return std::nullopt;
    }
    buffer_.append(chunk, static_cast<std::size_t>(got));
  }
}

bool TcpLineClient::writeLine(std::string_view line, std::string& why) {
  if (fd_ < 0) {
    why = "not connected";
    return false;
  }
  std::string bytes(line);
  bytes.append("\r\n");
  for (std::size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      why = std::strerror(errno);
      return false;
    }
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace vrk
