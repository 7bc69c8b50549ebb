#include "shell/NodeDrops.h"

#include <filesystem>
#include <optional>

#include "model/MemoBasic.h"
#include "platform/Path.h"
#include "text/Basic.h"
#include "text/FileIO.h"
#include "text/StringEX.h"

namespace vrk {

namespace fs = std::filesystem;

void dropLinkIntoFields_(StringList& fieldLines, std::string_view path) {
  MemoBasic record;
  record.aFields = std::move(fieldLines);
  record.putField_("Link", quoted_(path));
  fieldLines = std::move(record.aFields);
}

int dropFileIntoComment_(StringList& commentLines, std::string_view path, std::string* message) {
  const std::optional<std::string> os = toOsPath_(path);
  std::error_code ec;
  const auto size = os ? fs::file_size(*os, ec) : std::uintmax_t(0);
  if (!os || ec) {
    if (message) *message = "Could Not Open " + std::string(path);
    return -1;
  }
  if (size > kMaxDroppedText) {
    if (message) *message = "Too Large 3MB Over " + std::string(path);
    return -1;
  }
  std::string bytes, why;
  if (readFileBytes_(*os, bytes, &why) != 0) {
    if (message) *message = "Could Not Open " + std::string(path);
    return -1;
  }
  StringList lines;
  bytesToLines_(bytes, lines);
  commentLines.insert(commentLines.end(), lines.begin(), lines.end());
  return 0;
}

}  // namespace vrk
