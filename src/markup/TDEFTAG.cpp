#include "markup/TDEFTAG.h"

#include <algorithm>
#include <utility>

#include "markup/TTAGNode.h"
#include "text/CharEX.h"

namespace vrk {

void TDEFTAG::write_(const TTAGNode& element, StringList& lines) const {
  writeElement_(element, this, lines);
}

bool TDEFTAG::writeOpen_(const TTAGNode& element, StringList& lines) const {
  lines.push_back(startTagLine(element));
  return false;
}

void TDEFTAG::writeClose_(const TTAGNode&, StringList&) const {}

std::string TDEFTAG::startTagLine(const TTAGNode& element) const {
  if (element.countOfAttrs() == 0) return "<" + name_ + ">";
  std::string line = "<" + name_ + " ";
  for (const std::string& attr : *element.aAttrs) line += attr + " ";
  return line + ">";
}

bool TDEFTAG01::writeOpen_(const TTAGNode& element, StringList& lines) const {
  lines.push_back(startTagLine(element));
  return true;
}

void TDEFTAG01::writeClose_(const TTAGNode&, StringList& lines) const {
  lines.push_back(endTagLine());
}

bool TDEFTAG02::writeOpen_(const TTAGNode& element, StringList& lines) const {
  lines.push_back(startTagLine(element));
  for (const TTAGNode::TagEntry& entry : element.entries()) lines.push_back(entry.text);
  return false;
}

void TDEFTAG02::writeClose_(const TTAGNode&, StringList& lines) const {
  lines.push_back(endTagLine());
}

void writeElement_(const TTAGNode& element, const TDEFTAG* def, StringList& lines) {
  struct Frame {
    const TTAGNode* node;
    const TDEFTAG* def;
    std::size_t next;
  };
  std::vector<Frame> stack;
  auto open = [&](const TTAGNode& node, const TDEFTAG* nodeDef) {
    if (nodeDef == nullptr || nodeDef->writeOpen_(node, lines)) {
      stack.push_back({&node, nodeDef, 0});
    } else {
      nodeDef->writeClose_(node, lines);
    }
  };
  open(element, def);
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next == top.node->count()) {
      if (top.def != nullptr) top.def->writeClose_(*top.node, lines);
      stack.pop_back();
      continue;
    }
    const TTAGNode::TagEntry& entry = top.node->entries()[top.next++];
    if (entry.node) {
      open(*entry.node, entry.node->aDef);  // may grow the stack: top is not used after this
    } else if (top.def != nullptr) {
      lines.push_back(entry.text);
    }
  }
}

void TagDictionary::add_(std::string_view name, std::string_view kind,
                         std::unique_ptr<TDEFTAG> def) {
  if (!def) {
    std::string upper = upperCase_(name);
    const char digit = kind.empty() ? '\0' : kind.front();
    if (digit == '1') {
      def = std::make_unique<TDEFTAG01>(upper);
    } else if (digit == '2') {
      def = std::make_unique<TDEFTAG02>(upper);
    } else {
      def = std::make_unique<TDEFTAG03>(upper);
    }
  }
  Entry entry{lowerCase_(name), std::string(name), std::string(kind), std::move(def)};
  auto at = std::lower_bound(entries_.begin(), entries_.end(), entry.key,
                             [](const Entry& e, const std::string& key) { return e.key < key; });
  if (at != entries_.end() && at->key == entry.key) {
    *at = std::move(entry);
  } else {
    entries_.insert(at, std::move(entry));
  }
}

const TDEFTAG* TagDictionary::find_(std::string_view name) const {
  const std::string key = lowerCase_(name);
  auto at = std::lower_bound(entries_.begin(), entries_.end(), key,
                             [](const Entry& e, const std::string& k) { return e.key < k; });
  return at != entries_.end() && at->key == key ? at->def.get() : nullptr;
}

std::string TagDictionary::entryAt(std::size_t i) const {
  return entries_[i].name + "=" + entries_[i].kind;
}

TagDictionary initTagDict() {
  static constexpr std::pair<const char*, const char*> kTags[] = {
      {"A", "1"},      {"ADDRESS", "1"},  {"B", "1"},        {"BODY", "1"},     {"CAPTION", "1"},
      {"CENTER", "1"}, {"COLGROUP", "1"}, {"COL", "1"},      {"DIV", "1"},      {"FONT", "1"},
      {"FORM", "1"},   {"FRAMESET", "1"}, {"H1", "1"},       {"H2", "1"},       {"H3", "1"},
      {"H4", "1"},     {"HEAD", "1"},     {"HTML", "1"},     {"I", "1"},        {"IFRAME", "1"},
      {"ILAYER", "1"}, {"LAYER", "1"},    {"NOFLAMES", "1"}, {"NOLAYER", "1"},  {"OPTION", "1"},
      {"SCRIPT", "1"}, {"SELECT", "1"},   {"SMALL", "1"},    {"STYLE", "1"},    {"TABLE", "1"},
      {"TBODY", "1"},  {"TFOOT", "1"},    {"THEAD", "1"},    {"TD", "1"},       {"TH", "1"},
      {"TR", "1"},     {"TITLE", "2"},    {"!--", "3"},      {"!DOCTYPE", "3"}, {"BASEFONT", "3"},
      {"HR", "3"},     {"INPUT", "3"},    {"IMG", "3"},      {"META", "3"},     {"SPAN", "3"},
      {"BR", "4"},     {"LI", "4"},       {"P", "4"},
  };
  TagDictionary dict;
  for (const auto& [name, kind] : kTags) dict.add_(name, kind);
  return dict;
}

const TagDictionary& aTagDict() {
  static const TagDictionary dict = initTagDict();
  return dict;
}

}  // namespace vrk
