#pragma once
// Downloader over QNetworkAccessManager: http and https, redirects, a timeout
// on silence and a cap on the size. It waits in a local event loop, so the
// caller holds a busy scope while it runs.
#include <cstdint>

#include "platform/Ports.h"

namespace vrk {

class QtDownloader final : public Downloader {
 public:
  explicit QtDownloader(int timeoutMs = 30000, std::int64_t maxBytes = std::int64_t(256) << 20)
      : timeoutMs_(timeoutMs), maxBytes_(maxBytes) {}

  // The result codes of HttpDownloader. The target is replaced only when the
  // whole body arrived.
  int download(const std::string& url, const std::string& targetPath, std::string* error) override;

 private:
  int timeoutMs_;
  std::int64_t maxBytes_;
};

}  // namespace vrk
