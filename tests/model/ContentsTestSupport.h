#pragma once
// Helpers of the content tests: a scratch folder, reference programs run
// through the shell, and text split into lines the way files are read.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "support/ScratchDir.h"
#include "text/StringList.h"

namespace vrk::contenttest {

using vrk::ScratchDir;
inline bool hasProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Standard output of a shell command; nullopt when it does not exit with 0.
inline std::optional<std::string> runCapture(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return std::nullopt;
  std::string out;
  std::array<char, 65536> buffer;
  while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe.get()))
    out.append(buffer.data(), n);
  const int status = ::pclose(pipe.release());
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return out;
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// LF or CR LF ends a line; a last line without an ending is kept.
inline StringList splitLines(std::string_view text) {
  StringList lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace vrk::contenttest
