// A fresh directory under the system's temporary folder, removed with
// everything in it when the scope ends. Its path is canonical, so tests may
// compare it with what the system reports as a working directory.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace vrk {

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vrk-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = std::filesystem::canonical(pattern).string();
  }
  ~ScratchDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
  std::string write(std::string_view name, std::string_view bytes) const {
    std::ofstream(file(name), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file(name);
  }

 private:
  std::string path_;
};

}  // namespace vrk
