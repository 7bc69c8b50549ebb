#pragma once
// Downloader over QNetworkAccessManager: http and https, redirects, a timeout
// on silence and a cap on the size. It waits in a local event loop, so the
// caller holds a busy scope while it runs.
#include <cstdint>

#include "platform/Ports.h"

namespace vrk {

class QtDownloader final : public Downloader {
 public:
  // Result codes of download().
  enum : int {
    kBadAddress = -1,    // not an http or https address
    kNetworkError = -2,  // name lookup, connect, send or receive failed
    kHttpStatus = -3,    // an answer other than 200 (after redirects)
    kTooLarge = -4,      // the body exceeds maxBytes
    kTimeout = -5,       // no progress within timeoutMs
    kWriteError = -6,    // the target could not be written
    kTooManyRedirects = -7,
  };

  explicit QtDownloader(int timeoutMs = 30000, std::int64_t maxBytes = std::int64_t(256) << 20)
      : timeoutMs_(timeoutMs), maxBytes_(maxBytes) {}

  // Follows up to 5 redirects that are no less safe. The target (UTF-8 path)
  // is replaced only when the whole body arrived; 0 on success.
  int download(const std::string& url, const std::string& targetPath, std::string* error) override;

 private:
  int timeoutMs_;
  std::int64_t maxBytes_;
};

}  // namespace vrk
