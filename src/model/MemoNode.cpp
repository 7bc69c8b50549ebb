#include "model/MemoNode.h"

#include <unordered_set>
#include <vector>

#include "markup/TTAGNode.h"
#include "model/MemoHolderBase.h"
#include "model/ModelServices.h"
#include "model/TContent.h"
#include "platform/Path.h"
#include "platform/SJ.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::string_view kEncodingKey = "Content-Transfer-Encoding";

// The node whose UID is node's ParentNodeID, without any cycle check.
MemoNode* directParentOf(const MemoNode& node) {
  MemoHolderBase* holder = node.getHolderBase();
  const std::string uid = unquote_(node.getField_("ParentNodeID"));
  return holder && !uid.empty() ? holder->findNodeByUID_(uid) : nullptr;
}

// "$name" up to the first separator, blank or tab; the rest starts there.
std::pair<std::string, std::string> splitVariable(const std::string& value) {
  const std::size_t end = findCharOf_(value, "\\/ \t");
  if (end == std::string::npos) return {value, {}};
  return {value.substr(0, end), value.substr(end)};
}

bool isParentVariable(const std::string& value) {
  return startsWith_(value, "$") && sameText_(splitVariable(value).first, "$parent");
}

// base's directory without its trailing separator, joined with rest.
std::string replaceFileName(const std::string& base, const std::string& rest) {
  if (rest.empty()) return base;
  std::string dir = extractFilePath_(base);
  if (!dir.empty() && isPathSeparatorAt(dir, dir.size() - 1)) dir.pop_back();
  return normalizePath_(dir + rest);
}

// Steps of a normalized absolute path; the root ("C:" or "") first.
std::vector<std::string> pathSteps(std::string_view path) {
  std::vector<std::string> steps;
  const std::string normal = expandFileName_(path, "");
  std::size_t pos = 0;
  for (;;) {
    const std::size_t next = normal.find('/', pos);
    steps.push_back(normal.substr(pos, next - pos));
    if (next == std::string::npos) break;
    pos = next + 1;
  }
  while (steps.size() > 1 && steps.back().empty()) steps.pop_back();
  return steps;
}

// Relative path from directory to path, both absolute; empty when their roots
// differ. Drive paths compare ignoring letter case, as their file systems do.
std::string relativePath(std::string_view path, std::string_view directory) {
  const std::vector<std::string> to = pathSteps(path);
  const std::vector<std::string> from = pathSteps(directory);
  const bool drive = to.front().size() == 2 && to.front()[1] == ':';
  const auto same = [drive](const std::string& a, const std::string& b) {
    return drive ? sameText_(a, b) : a == b;
  };
  if (!same(to.front(), from.front())) return {};
  std::size_t common = 1;
  while (common < to.size() && common < from.size() && same(to[common], from[common])) ++common;
  std::string out;
  for (std::size_t i = common; i < from.size(); ++i) out += "../";
  for (std::size_t i = common; i < to.size(); ++i) out += to[i] + (i + 1 < to.size() ? "/" : "");
  return out;
}

}  // namespace

int MemoNode::clear() {
  flagContentLoaded = false;
  return MemoBasic::clear();
}

std::unique_ptr<TObjectNamed> MemoNode::deepCopy() const { return cloneNode(); }

void MemoNode::readTagNode_(const TTAGNode& element) {
  if (trim_(element.tagName) != "Record") return;
  std::string pending;  // text after the last <BR/> is dropped
  for (const TTAGNode::TagEntry& entry : element.entries()) {
    if (!entry.node) {
      pending += entry.text;
      continue;
    }
    const std::string tag = trim_(entry.node->tagName);
    if (tag == "Field") {
      readFieldTag_(*entry.node);
    } else if (tag == "Comment") {
      readCommentTag_(*entry.node);
    } else if (tag == "BR") {
      aMemo.push_back(std::move(pending));
      pending.clear();
    } else {
      keepElementAsText_(entry.text, *entry.node, pending, aMemo);
    }
  }
  decodeContent();
}

std::string MemoNode::getTempDir() const {
  const MemoHolderBase* holder = getHolderBase();
  return holder ? holder->getTempDir() : MemoBasic::getTempDir();
}

std::unique_ptr<MemoNode> MemoNode::cloneNode() const {
  auto copy = std::make_unique<MemoNode>(aOwner);
  copy->assign_(*this);
  return copy;
}

void MemoNode::setParentNode_(MemoNode* parent) {
  if (!parent) {
    removeField_("ParentNodeID");
    return;
  }
  std::string uid = unquote_(parent->getField_("UID"));
  if (uid.empty()) {
    MemoHolderBase* holder = getHolderBase();
    if (!holder) return;
    uid = holder->genUniqUID();
    parent->putField_("UID", quoted_(uid));
  }
  putField_("ParentNodeID", quoted_(uid));
}

int MemoNode::getLevel() const { return -1; }

MemoNode* MemoNode::getParentNode() const {
  MemoNode* parent = directParentOf(*this);
  // Walk up until the chain ends or repeats; reaching this node again means it
  // lies on a cycle, where no node is anyone's parent.
  std::unordered_set<const MemoNode*> seen{this};
  for (const MemoNode* up = parent; up; up = directParentOf(*up)) {
    if (up == this) return nullptr;
    if (!seen.insert(up).second) break;
  }
  return parent;
}

void MemoNode::putMarked_(bool flag) { putField_("flagMarked", quoted_(boolText_(flag))); }

// --- the Record element

void MemoNode::writeRecord_(StringList& lines, std::string_view indent) {
  const std::string name = trim_(getName());
  lines.push_back(std::string(indent) + "<Record name=\"" + escapeXML_(name) + "\">");
  const std::string cte = getField_(kEncodingKey);
  // Filename="" names no file: such a link is no link, and such a URL keeps
  // its memo. The template node "*" keeps its flag for the nodes made from it.
  const bool hasFile = !isBlank_(getFilename());
  bool link = getField_("FlagLink") == "\"true\"";
  const bool dropLink = link && !hasFile && name != "*";
  if (dropLink) link = false;

  // The fields are copied only when the written ones differ.
  const bool embed = cte == "\"binary\"" && !link;
  StringList edited;
  if (embed || dropLink) edited = aFields;
  const StringList& fields = embed || dropLink ? edited : aFields;

  if (cte == "\"URL\"" && hasFile) aMemo.clear();
  if (embed) {
    const int index = getIndexField_(kEncodingKey);
    edited[index] = edited[index].substr(0, kEncodingKey.size() + 1) + "\"base64\"";
    aMemo.clear();
    if (aContent && aContent->aData) TContent::encodeBase64_(aContent->aData, aMemo);
  }
  if (dropLink) edited.erase(edited.begin() + getIndexField_("FlagLink"));  // after the edit above

  writeFieldLines_(fields, lines, indent);
  if (!link) writeMemo_(lines, indent);
  writeComment_(lines, indent);
  if (cte == "\"binary\"") aMemo.clear();
  lines.push_back(std::string(indent) + "</Record>");
}

int MemoNode::decodeContent() {
  if (!sameText_(getField_(kEncodingKey), "\"base64\"")) return -1;
  if (!aContent) aContent = std::make_unique<TContent>();
  if (!aContent->aData) aContent->aData.emplace();
  TContent::decodeBase64_(aContent->aData, aMemo);
  putField_(kEncodingKey, "\"binary\"");
  aMemo.clear();
  return 0;
}

bool MemoNode::isMarked() const { return getField_("flagMarked") == "\"true\""; }

std::string MemoNode::getContentType() const {
  const std::string type = getField_("Content-Type");
  return type.empty() ? "\"text\"" : type;
}

std::string MemoNode::getContentEncoding() const {
  const std::string encoding = getField_(kEncodingKey);
  return encoding.empty() ? "\"8bit\"" : encoding;
}

void MemoNode::putContentType_(std::string_view type) {
  putField_("Content-Type", quoted_(trim_(type)));
}

// --- the holder

MemoHolderBase* MemoNode::getHolderBase() const { return dynamic_cast<MemoHolderBase*>(aOwner); }

std::string MemoNode::getHolderName() const { return aOwner ? aOwner->getName() : std::string(); }

bool MemoNode::isReadOnlyInherited() const {
  // A node's own flag, "true" or "false", decides; only without one the holder does.
  if (!getField_("FlagReadOnly").empty()) return isReadOnly();
  const MemoHolderBase* holder = getHolderBase();
  return holder && holder->isReadOnlyHolder();
}

std::string MemoNode::getFieldInherited_(std::string_view key) const {
  if (key.empty()) return {};
  std::string value = getField_(key);
  const MemoHolderBase* holder = getHolderBase();
  return value.empty() && holder ? holder->getFieldInherited_(key) : value;
}

// --- paths

std::string MemoNode::baseDirectory_() const {
  MemoHolderBase* holder = getHolderBase();
  const std::string cwd = currentDirectory_();
  if (!holder) return cwd;
  const std::string dir = extractFilePath_(holder->getFileName());
  const std::string absolute = isAbsolutePath_(dir) ? normalizePath_(dir) : joinPath_(cwd, dir);
  return absolute.ends_with('/') ? absolute : absolute + "/";
}

std::string MemoNode::resolveValue_(const std::string& value) const {
  if (startsWith_(value, ".")) return expandFileName_(value, baseDirectory_());
  if (!startsWith_(value, "$")) return value;
  const auto [name, rest] = splitVariable(value);
  MemoHolderBase* holder = getHolderBase();
  std::string base = name;
  if (holder) {
    const MemoNode* variables = holder->findNode_("*$");
    base = variables ? unquote_(variables->getField_(name)) : std::string();
  }
  return replaceFileName(base, rest);
}

std::string MemoNode::resolvePath_(std::string_view key) const {
  const std::string value = unquote_(getField_(key));
  if (!isParentVariable(value)) return resolveValue_(value);
  // Iterative, so that a long chain of "$parent" paths cannot exhaust the
  // stack; getParentNode never loops, the seen set guards the walk anyway.
  std::vector<std::string> rests{splitVariable(value).second};
  std::string base;
  std::unordered_set<const MemoNode*> seen{this};
  for (const MemoNode* up = getParentNode(); up && seen.insert(up).second;
       up = up->getParentNode()) {
    const std::string upValue = unquote_(up->getField_("Filename"));
    if (isParentVariable(upValue)) {
      rests.push_back(splitVariable(upValue).second);
      continue;
    }
    base = up->resolveValue_(upValue);
    if (!base.empty()) break;
  }
  if (base.empty()) base = baseDirectory_();
  for (auto rest = rests.rbegin(); rest != rests.rend(); ++rest)
    base = replaceFileName(base, *rest);
  return base;
}

std::string MemoNode::makePathRelative_(std::string_view key, std::string_view baseDirectory) {
  const std::string value = trim_(unquote_(getField_(key)));
  if (!isAbsolutePath_(value) || startsWithText_(value, "http")) return {};
  std::string relative = relativePath(value, baseDirectory);
  if (relative.empty()) return {};
  if (!startsWith_(relative, ".")) relative = "./" + relative;
  const std::string stored = quoted_(relative);
  putField_(key, stored);
  return stored;
}

int MemoNode::makeParentRelative_(std::string_view key) {
  const std::string path = unquote_(getField_(key));
  if (path.empty()) return -10;
  if (startsWith_(path, ".")) return -9;
  if (startsWith_(path, "$")) return -8;
  const std::string byName = quoted_("$Parent/" + extractFileName_(path));
  const MemoNode* parent = getParentNode();
  if (!parent) {
    putField_(key, byName);
    return -3;
  }
  const std::string parentDir = normalizePath_(extractFilePath_(parent->resolvePath_(key)));
  const std::string normal = normalizePath_(path);
  if (parentDir.empty() || !startsWithText_(extractFilePath_(normal), parentDir)) {
    putField_(key, byName);
    return -2;
  }
  putField_(key, quoted_("$Parent/" + normal.substr(parentDir.size())));
  return 0;
}

std::string MemoNode::getHeadline() const {
  const auto firstHeadline = [](const StringList& lines) {
    for (const std::string& line : lines) {
      const std::string trimmed = trim_(line);
      if (trimmed.size() > 1 && startsWith_(trimmed, SJ("●"))) return trimmed;
    }
    return std::string();
  };
  std::string headline;
  if (getContentEncoding() != "\"binary\"") headline = firstHeadline(aMemo);
  if (headline.empty() && aComment) headline = firstHeadline(*aComment);
  return headline;
}

int MemoNode::loadLinkedContent() {
  const std::string fileName = getFilename();
  if (fileName.empty()) return 0;
  // Filename keeps the form it was written in ("." or "$" forms included).
  const int result = loadContent_(getFilePath(), fileName);
  flagContentLoaded = true;
  return result + 1;
}

int MemoNode::expandTemplate_(const TObjectNamed& target, StringList& lines) const {
  const Clock& clock = *modelServices().clock;
  for (const std::string& line : aMemo) {
    if (line.find('%') == std::string::npos) {
      lines.push_back(line);
      continue;
    }
    std::string out = line;
    if (aOwner) out = replaceAll_(out, "%HOLDER.NAME%", aOwner->getName(), true);
    out = replaceAll_(out, "%NODE.NAME%", target.getName(), true);
    const LocalTime now = clock.now();
    out = replaceAll_(out, "%DATE%", formatDateTime_("yyyy/mm/dd", now), true);
    out = replaceAll_(out, "%TIME%", formatDateTime_("hh:nn:ss", now), true);
    lines.push_back(std::move(out));
  }
  return 0;
}

}  // namespace vrk
