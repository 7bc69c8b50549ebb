#include "support/MapDownloader.h"

#include <fstream>

namespace vrk {

int MapDownloader::download(const std::string& url, const std::string& targetPath,
                            std::string* error) {
  requested.push_back(url);
  const auto page = pages.find(url);
  if (page == pages.end()) {
    if (error) *error = "not found: " + url;
    return -1;
  }
  std::ofstream out(targetPath, std::ios::binary | std::ios::trunc);
  out.write(page->second.data(), static_cast<std::streamsize>(page->second.size()));
  if (!out) {
    if (error) *error = "cannot write " + targetPath;
    return -2;
  }
  return 0;
}

}  // namespace vrk
