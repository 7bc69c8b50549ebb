#pragma once
// A blocking TCP connection that speaks in CR LF lines, with a time limit on
// every wait: for line protocols run from the command line.
#include <optional>
#include <string>
#include <string_view>

namespace vrk {

class TcpLineClient {
 public:
  explicit TcpLineClient(int timeoutMs) : timeoutMs_(timeoutMs) {}
  ~TcpLineClient();
  TcpLineClient(const TcpLineClient&) = delete;
  TcpLineClient& operator=(const TcpLineClient&) = delete;

  // False with the reason in `why` when no address of the host answers.
  bool connect(const std::string& host, int port, std::string& why);
  // The next line without its CR LF; nullopt at the end of the connection or
  // after the time limit, with the reason in `why`.
  std::optional<std::string> readLine(std::string& why);
  bool writeLine(std::string_view line, std::string& why);
  void close();

 private:
  int timeoutMs_;
  int fd_ = -1;
  std::string buffer_;
};

}  // namespace vrk
