#include "app/tool/ToolCommon.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <unordered_set>

#include "platform/SjisBridge.h"
#include "text/Basic.h"
#include "text/FileIO.h"

namespace vrk::tool {

bool readTextLines(const std::string& path, StringList& lines) {
  std::string bytes, error;
  if (readFileBytes_(path, bytes, &error) != 0) {
    std::fprintf(stderr, "vrk-tool: cannot read %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  bytesToLines_(bytes, lines);
  return true;
}

int exitWith(const StringList& errors) {
  std::unordered_set<std::string> seen;
  for (const std::string& line : errors)
    if (seen.insert(line).second) std::fprintf(stderr, "vrk-tool: %s\n", sjisToUtf8(line).c_str());
  return errors.empty() ? 0 : kExitIncomplete;
}

std::string jsonString(std::string_view sjis) {
  return nlohmann::json(sjisToUtf8(sjis)).dump();
}

}  // namespace vrk::tool
