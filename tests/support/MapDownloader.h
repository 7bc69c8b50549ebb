#pragma once
// A downloader for tests: serves fixed bytes per address; any other address
// fails.
#include <map>
#include <string>
#include <vector>

#include "platform/Ports.h"

namespace vrk {

class MapDownloader final : public Downloader {
 public:
  int download(const std::string& url, const std::string& targetPath, std::string* error) override;
  std::map<std::string, std::string> pages;
  std::vector<std::string> requested;
};

}  // namespace vrk
