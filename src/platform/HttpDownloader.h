#pragma once
// Downloader for "http://" addresses over plain sockets (HTTP/1.0 GET). The
// core has no TLS: "https://" is refused with a message, and the program's
// window layer plugs in a downloader that handles it.
#include <cstdint>
#include <string>

#include "platform/Ports.h"

namespace vrk {

class HttpDownloader final : public Downloader {
 public:
  // Result codes of download().
  enum : int {
    kBadAddress = -1,    // not an http address, or unsupported scheme
    kNetworkError = -2,  // name lookup, connect, send or receive failed
    kHttpStatus = -3,    // an answer other than 200 (after redirects)
    kTooLarge = -4,      // the body exceeds maxBytes
    kTimeout = -5,       // no progress within timeoutMs
    kWriteError = -6,    // the target could not be written
    kTooManyRedirects = -7,
  };

  explicit HttpDownloader(int timeoutMs = 30000, std::uint64_t maxBytes = 256ull << 20)
      : timeoutMs_(timeoutMs), maxBytes_(maxBytes) {}

  // Follows up to 5 redirects to http addresses. The target (UTF-8 path) is
  // written only when the whole body arrived; 0 on success.
  int download(const std::string& url, const std::string& targetPath, std::string* error) override;

 private:
  int timeoutMs_;
  std::uint64_t maxBytes_;
};

}  // namespace vrk
