#include "model/MemoBasic.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "markup/TTAGNode.h"
#include "model/ModelServices.h"
#include "model/TContent.h"
#include "platform/Path.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/Format.h"
#include "text/LineLists.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

int writeBytes(std::string_view storedPath, std::string_view bytes) {
  const std::optional<std::string> os = toOsPath_(storedPath);
  return os ? writeFileAtomic_(*os, bytes) : -1;
}

// Whether the file goes to the memo (text) or to the content (bytes).
enum class Target { memo, content };

struct AttachRow {
  std::string_view type;
  std::string_view encoding;
  Target target;
  std::string_view extensions;  // blank-separated, lower case
};

// Attach table by extension; the sgml type is spelt "test/sgml" in stored files.
constexpr std::array<AttachRow, 19> kAttachTable{{
    {"image/jpeg", "binary", Target::content, ".jpe .jpg .jpeg"},
    {"image/bmp", "binary", Target::content, ".bmp"},
    {"image/png", "binary", Target::content, ".png"},
    {"image/tiff", "binary", Target::content, ".tif"},
    {"image/gif", "binary", Target::content, ".gif"},
    {"image/ico", "binary", Target::content, ".ico"},
    {"image/x-wmf", "binary", Target::content, ".wmf .emf"},
    {"text/plain", "8bit", Target::memo, ".txt .log"},
    {"text/plain", "8bit", Target::memo,
     ".asm .awk .csh .dtd .sh .eml .el .lsp .lisp .ini .bat .wsh .pas .inc .pl .bas .c .cpp .h "
     ".hpp .py .rb .php .csv"},
    {"text/plain", "Poser", Target::memo, ".cr2 .lt2 .pz3 .pz2 .pp2 .hd2 .fc2"},
    {"text/plain", "PoserLike", Target::memo, ".tv"},
    {"text/html", "8bit", Target::memo, ".html .htm .shtml .shtm .phtml .phtm"},
    {"text/xml", "8bit", Target::memo, ".xml"},
    {"test/sgml", "8bit", Target::memo, ".sgm .sgml"},
    {"text/css", "8bit", Target::memo, ".css"},
    {"text/javascript", "8bit", Target::memo, ".js"},
    {"text/x-java-source", "8bit", Target::memo, ".java"},
    {"application/x-tex", "8bit", Target::memo, ".tex"},
    {"application/octet-stream", "binary", Target::content, ""},  // any other
}};

const AttachRow& attachRowFor(std::string_view path) {
  const std::string ext = lowerCase_(extractFileExt_(path));
  if (ext.empty() || ext == ".") return kAttachTable.back();
  for (const AttachRow& row : kAttachTable) {
    for (std::size_t pos = row.extensions.find(ext); pos != std::string_view::npos;
         pos = row.extensions.find(ext, pos + 1)) {
      const std::size_t end = pos + ext.size();
      if (end == row.extensions.size() || row.extensions[end] == ' ') return row;
    }
  }
  return kAttachTable.back();
}

// The attach step on a local file: the content's size, 0 for a text file
// read into the memo, -1 vanished, -2 unreadable.
int attachFile(MemoBasic& record, const std::string& path, const AttachRow& row) {
  if (row.target == Target::content) return record.loadContentFile_(path, row.type, row.encoding);
  std::string bytes;
  const std::optional<std::string> os = toOsPath_(path);
  if (!os || readFileBytes_(*os, bytes) != 0) return -2;
  bytesToLines_(bytes, record.aMemo);
  return 0;
}

bool isKey(std::string_view line, std::string_view key) {
  const std::size_t eq = line.find('=');
  return eq == key.size() && sameText_(line.substr(0, eq), key);
}

// Appends a key as an attribute name that reads back unchanged.
void appendAttributeKey(std::string& out, std::string_view key) {
  for (const char c : key)
    out +=
        isBlankByte(static_cast<unsigned char>(c)) || c == '\'' || c == '"' || c == '>' ? '_' : c;
}

// A memo or comment line as written: escaped, then "<BR/>", in one string,
// since saving makes one for every line of every record.
std::string brLine(std::string_view line) {
  std::string out;
  out.reserve(line.size() + 8);
  appendEscapedXML_(out, line);
  out += "<BR/>";
  return out;
}

}  // namespace

std::string quoted_(std::string_view value) {
  std::string quoted(1, '"');
  return quoted.append(value).append(1, '"');
}

MemoBasic::MemoBasic(TObjectNamed* owner) : TObjectNamed(owner) {}

MemoBasic::~MemoBasic() = default;

int MemoBasic::clear() {
  aMemo.clear();
  aFields.clear();
  if (aContent) aContent->clear();
  return TObjectNamed::clear();
}

std::unique_ptr<TObjectNamed> MemoBasic::deepCopy() const {
  auto copy = std::make_unique<MemoBasic>(aOwner);
  copy->assign_(*this);
  return copy;
}

void MemoBasic::assign_(const TObjectNamed& source) {
  const auto* record = dynamic_cast<const MemoBasic*>(&source);
  if (!record || record == this) return;
  aFields = record->aFields;
  if (record->aComment)
    aComment = record->aComment;
  else if (aComment)
    aComment->clear();
  aMemo = record->aMemo;
  if (record->aContent) {
    if (!aContent) aContent = std::make_unique<TContent>();
    aContent->assign_(*record->aContent);
  } else if (aContent) {
    aContent->clear();
    aContent.reset();
  }
}

int MemoBasic::_writeTSL_deep_(StringList& lines, std::string_view indent) {
  writeFields_(lines, indent);
  writeMemo_(lines, indent);
  writeComment_(lines, indent);
  return 0;
}

void MemoBasic::readTagNode_(const TTAGNode&) {}

int MemoBasic::loadContent_(std::string_view source, std::string_view fileName) {
  const std::string prefix = lowerCase_(source.substr(0, 5));
  std::string path(source);
  std::optional<std::string> downloaded;  // the copy's system name, deleted after reading
  if (prefix == "http:" || prefix == "https") {
    path = getTempDir() + urlToFileName_(source);
    downloaded = toOsPath_(path);
    if (!downloaded ||
        modelServices().downloader->download(std::string(source), *downloaded, nullptr) != 0)
      return -8;
  } else if (prefix == "file:") {
    path = normalizePath_(source);
    if (!isFile_(path)) return -7;
  } else if (!isFile_(path)) {
    return -6;
  }

  const AttachRow& row = attachRowFor(path);
  const int result = attachFile(*this, path, row);
  if (downloaded) {
    std::error_code ec;
    fs::remove(*downloaded, ec);
  }
  if (result >= 0) putContentFields_(fileName.empty() ? source : fileName, row.type, row.encoding);
  return result;
}

int MemoBasic::saveContent_(std::string_view path) {
  const std::string enc = getField_("Content-Transfer-Encoding");
  const std::string ext = lowerCase_(extractFileExt_(path));
  const bool zTarget = ext == ".z";
  const bool zSource = zTarget && lowerCase_(extractFileExt_(getFilename())) == ".z";

  const std::string dir = extractFilePath_(path);
  if (!dir.empty()) {
    const std::optional<std::string> osDir = toOsPath_(dir);
    std::error_code ec;
    if (!osDir) return -1;
    fs::create_directories(*osDir, ec);
    if (!fs::is_directory(*osDir, ec)) return -1;
  }

  // A .z target only ever receives a content that is itself a .z file.
  if (enc == "\"binary\"") {
    if (!aContent || !aContent->aData || (zTarget && !zSource)) return -2;
    if (writeBytes(path, *aContent->aData) != 0) return -1;
    return static_cast<int>(aContent->aData->size());
  }
  StringList page;
  if (enc == "\"URL\"")
    writeLinkHTML_(page, getName(), getField_("Filename"));
  else if (aMemo.empty() || (zTarget && !zSource))
    return -1;
  const std::string text = linesToBytes_(enc == "\"URL\"" ? page : aMemo);
  if (writeBytes(path, text) != 0) return -1;
  return static_cast<int>(text.size());
}

std::string MemoBasic::getTempDir() const {
  std::string dir = modelServices().tempDir;
  if (dir.empty()) {
    const char* env = std::getenv("TMPDIR");
    if (env && *env) dir = fromOsPath_(env).value_or("");
  }
  if (dir.empty()) return "/tmp/";
  if (!isPathSeparatorAt(dir, dir.size() - 1)) dir += '/';
  return dir;
}

Colour MemoBasic::getColor() const {
  const std::string text = unquote_(getField_("Color"));
  return text.empty() ? Colour{0xFFFFFF} : textToColour_(text);
}

// --- fields

int MemoBasic::getIndexField_(std::string_view key) const {
  const auto it = std::find_if(aFields.begin(), aFields.end(),
                               [key](const std::string& line) { return isKey(line, key); });
  return it == aFields.end() ? -1 : static_cast<int>(it - aFields.begin());
}

std::string MemoBasic::getField_(std::string_view key) const {
  const int index = getIndexField_(key);
  return index < 0 ? std::string() : aFields[index].substr(key.size() + 1);
}

int MemoBasic::putField_(std::string_view key, std::string_view value) {
  const int index = getIndexField_(key);
  if (index < 0) {
    aFields.push_back(std::string(key) + "=" + std::string(value));
    return static_cast<int>(aFields.size()) - 1;
  }
  if (value.empty())
    aFields.erase(aFields.begin() + index);
  else
    aFields[index] = aFields[index].substr(0, key.size() + 1) + std::string(value);
  return index;
}

std::string MemoBasic::removeField_(std::string_view key) {
  const int index = getIndexField_(key);
  if (index < 0) return {};
  std::string line = std::move(aFields[index]);
  aFields.erase(aFields.begin() + index);
  return line;
}

bool MemoBasic::isReadOnly() const { return getField_("FlagReadOnly") == "\"true\""; }

void MemoBasic::putReadOnly_(bool flag) { putField_("FlagReadOnly", quoted_(boolText_(flag))); }

std::string MemoBasic::getFilename() const { return unquote_(getField_("Filename")); }

// --- keyword search

namespace {

bool linesHaveKeyword(const StringList& lines, std::string_view keyword, bool ignore) {
  // Lines are searched as one text joined by CR LF; only a keyword that holds
  // a line break can match across lines, so the others go line by line.
  if (keyword.find_first_of("\r\n") != std::string_view::npos) {
    return findKeywordIn_(linesToBytes_(lines), keyword, ignore) != std::string_view::npos;
  }
  for (const std::string& line : lines) {
    if (findKeywordIn_(line, keyword, ignore) != std::string_view::npos) return true;
  }
  return false;
}

bool grepPart(const StringList& lines, std::string_view keyword, bool ignore, StringList& out,
              std::string_view label) {
  StringList hits;
  grepLines_(&lines, keyword, &hits, ignore, true, false, kMatchContains);
  for (std::size_t k = 0; k < hits.size(); ++k) {
    out.push_back(std::string(label) + *formatInteger_("%.6d", static_cast<std::int64_t>(k + 1)) +
                  ":" + hits[k]);
  }
  return !hits.empty();
}

int replacePart(StringList& lines, std::string_view find, std::string_view replacement, bool ignore,
                StringList& log, std::string_view label) {
  int changed = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (findKeywordIn_(lines[i], find, ignore) == std::string_view::npos) continue;
    std::string replaced = replaceAll_(lines[i], find, replacement, ignore);
    if (replaced == lines[i]) continue;
    lines[i] = std::move(replaced);
    log.push_back(std::string(label) + *formatInteger_("%.6d", static_cast<std::int64_t>(i + 1)));
    ++changed;
  }
  return changed;
}

}  // namespace

bool MemoBasic::findKeyword_(std::string_view keyword, bool ignore, bool inFields, bool inComment,
                             bool inMemo, bool inName) const {
  if (keyword.empty()) return false;
  if (inName && findKeywordIn_(getName(), keyword, ignore) != std::string_view::npos) return true;
  if (inMemo && linesHaveKeyword(aMemo, keyword, ignore)) return true;
  if (inComment && aComment && linesHaveKeyword(*aComment, keyword, ignore)) return true;
  return inFields && linesHaveKeyword(aFields, keyword, ignore);
}

bool MemoBasic::grepKeyword_(std::string_view keyword, bool ignore, StringList& out, bool inFields,
                             bool inComment, bool inMemo, bool inName) const {
  if (keyword.empty()) return false;
  bool found = false;
  if (inName) {
    const std::string name = getName();
    if (findKeywordIn_(name, keyword, ignore) != std::string_view::npos) {
      out.push_back("Name:" + name);
      found = true;
    }
  }
  if (inMemo) found = grepPart(aMemo, keyword, ignore, out, "Memo:") || found;
  if (inComment && aComment) found = grepPart(*aComment, keyword, ignore, out, "Comment:") || found;
  if (inFields) found = grepPart(aFields, keyword, ignore, out, "Fields:") || found;
  return found;
}

int MemoBasic::replaceKeyword_(std::string_view find, std::string_view replacement, StringList& log,
                               bool inFields, bool inComment, bool inMemo, bool inName,
                               bool ignore) {
  if (find.empty()) return 0;
  int changed = 0;
  if (inName) {
    const std::string name = getName();
    const std::string renamed = replaceAll_(name, find, replacement, ignore);
    if (renamed != name) {
      putName_(renamed);
      log.push_back("replace name " + renamed);
      ++changed;
    }
  }
  if (inMemo) changed += replacePart(aMemo, find, replacement, ignore, log, "replace Memo ");
  if (inComment && aComment) {
    changed += replacePart(*aComment, find, replacement, ignore, log, "replace Comment ");
  }
  if (inFields) changed += replacePart(aFields, find, replacement, ignore, log, "replace Field ");
  return changed;
}

// --- markup

int MemoBasic::writeComment_(StringList& lines, std::string_view indent) const {
  if (!aComment || std::all_of(aComment->begin(), aComment->end(),
                               [](const std::string& line) { return isBlank_(line); }))
    return -1;
  lines.push_back(std::string(indent) + "  <Comment>");
  for (const std::string& line : *aComment) lines.push_back(brLine(line));
  lines.push_back(std::string(indent) + "  </Comment>");
  return static_cast<int>(aComment->size());
}

int MemoBasic::writeFields_(StringList& lines, std::string_view indent) const {
  return writeFieldLines_(aFields, lines, indent);
}

int MemoBasic::writeFieldLines_(const StringList& fields, StringList& lines,
                                std::string_view indent) {
  // Only "key=value" lines make attributes; without one no element is written
  // (an empty one would not read back as a field).
  if (std::none_of(fields.begin(), fields.end(),
                   [](const std::string& line) { return line.find('=') != std::string::npos; }))
    return -1;
  // Built in one string: this runs for every record of every save.
  std::size_t size = indent.size() + 12;
  for (const std::string& field : fields) size += field.size() + 4;
  std::string element;
  element.reserve(size);
  element.append(indent).append("  <Field ");
  int count = 0;
  for (const std::string& field : fields) {
    const std::string_view line = trimView_(field);
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    appendAttributeKey(element, trimView_(line.substr(0, eq)));
    element += "=\"";
    appendEscapedXML_(element, unquoteView_(trimView_(line.substr(eq + 1))));
    element += "\" ";
    ++count;
  }
  element += "/>";
  lines.push_back(std::move(element));
  return count;
}

int MemoBasic::writeMemo_(StringList& lines, std::string_view) const {
  for (const std::string& line : aMemo) lines.push_back(brLine(line));
  return static_cast<int>(aMemo.size());
}

void MemoBasic::readFieldTag_(const TTAGNode& element) {
  if (!element.aAttrs) return;
  if (aFields.empty()) {
    aFields = *element.aAttrs;
    return;
  }
  // Later Field elements merge into the fields read so far.
  for (const std::string& attr : *element.aAttrs) {
    const std::size_t eq = attr.find('=');
    if (eq != std::string::npos) putField_(attr.substr(0, eq), attr.substr(eq + 1));
  }
}

void MemoBasic::readCommentTag_(const TTAGNode& element) {
  if (aComment)
    aComment->clear();
  else
    aComment.emplace();
  std::string pending;
  for (const TTAGNode::TagEntry& entry : element.entries()) {
    if (!entry.node) {
      pending += entry.text;
    } else if (trim_(entry.node->tagName) == "BR") {
      aComment->push_back(std::move(pending));
      pending.clear();
    } else {
      keepElementAsText_(entry.text, *entry.node, pending, *aComment);
    }
  }
}

void MemoBasic::keepElementAsText_(std::string_view tagWord, const TTAGNode& element,
                                   std::string& pending, StringList& lines) {
  // Iterative, so that no nesting depth can exhaust the stack.
  struct Open {
    const TTAGNode* node;
    std::size_t next;
  };
  std::vector<Open> open{{&element, 0}};
  pending += tagWord;
  while (!open.empty()) {
    Open& top = open.back();
    if (top.next == top.node->count()) {
      // An element written empty ("<x/>") has no end tag to give back.
      if (!top.node->endTagName.empty()) pending += "</" + top.node->endTagName + ">";
      open.pop_back();
      continue;
    }
    const TTAGNode::TagEntry& entry = top.node->entries()[top.next++];
    if (!entry.node) {
      pending += entry.text;
    } else if (trim_(entry.node->tagName) == "BR") {
      lines.push_back(std::move(pending));
      pending.clear();
    } else {
      pending += entry.text;
      open.push_back({entry.node.get(), 0});
    }
  }
}

// --- contents

int MemoBasic::loadContentFile_(std::string_view file, std::string_view type,
                                std::string_view encoding) {
  if (!aContent) aContent = std::make_unique<TContent>();
  aContent->contentType = type;
  aContent->transferEncoding = encoding;
  return aContent->loadFile_(std::string(file));
}

int MemoBasic::loadContentStream_(std::string_view bytes, std::string_view type,
                                  std::string_view encoding) {
  if (!aContent) aContent = std::make_unique<TContent>();
  aContent->contentType = type;
  aContent->transferEncoding = encoding;
  return aContent->loadStream_(bytes);
}

void MemoBasic::putContentFields_(std::string_view fileName, std::string_view type,
                                  std::string_view encoding) {
  putField_("Content-Type", quoted_(type));
  putField_("Filename", quoted_(fileName));
  putField_("Content-Transfer-Encoding", quoted_(encoding));
}

int MemoBasic::makeBlankImage() {
  // The content object keeps "8bit" while the record's field says binary.
  const int size = loadContentStream_(makeBlankBmp(), "image/bmp", "8bit");
  putField_("Content-Transfer-Encoding", "\"binary\"");
  putField_("Content-Type", "\"image/bmp\"");
  return size;
}

int MemoBasic::parseContentFromMemo() {
  if (getField_("Content-Type").empty() && aContent) {
    aContent->clear();
    aContent.reset();
    return -1;
  }
  if (!aContent) {
    aContent = std::make_unique<TContent>();
    aContent->parseMIME_(aMemo);
  }
  return 0;
}

}  // namespace vrk
