#include "markup/TTAGNode.h"

#include <utility>

#include "platform/SJ.h"
#include "text/CharEX.h"
#include "text/StringEX.h"

namespace vrk {

namespace {

bool isQuote(char c) { return c == '"' || c == '\''; }

bool isTagBlank(char c) { return c == ' ' || c == '\t'; }

// The form nearly every tag has, a name and key="value" pairs apart by blanks,
// read in one pass into what the general reader below would make of it. False
// for anything else (other quotes, bare keys, blanks around "=", control
// bytes), which the general reader then takes.
bool splitSimpleTag(std::string_view rest, SplitTag& tag) {
  const std::size_t n = rest.size();
  const auto plain = [&](std::size_t at) {
    const auto c = static_cast<unsigned char>(rest[at]);
    return !isBlankByte(c) && !isQuote(rest[at]);
  };
  std::size_t i = 0;
  while (i < n && isTagBlank(rest[i])) ++i;
  const std::size_t nameStart = i;
  for (; i < n && !isTagBlank(rest[i]); i += charLengthAt(rest, i))
    if (!plain(i)) return false;
  if (i == nameStart) return false;
  // A blank swallowed as the trail of a lead byte goes, as the general reader
  // trims every piece but the last.
  const std::string_view name = rest.substr(nameStart, i - nameStart);
  tag.name.assign(i < n ? trimView_(name) : name);
  for (;;) {
    while (i < n && isTagBlank(rest[i])) ++i;
    if (i == n) return true;
    const std::size_t keyStart = i;
    for (; i < n && rest[i] != '='; i += charLengthAt(rest, i))
      if (!plain(i)) return false;
    if (i == keyStart || i + 1 >= n || rest[i + 1] != '"') return false;
    for (i += 2; i < n && rest[i] != '"'; i += charLengthAt(rest, i)) {
    }
    if (i++ == n || (i < n && !isTagBlank(rest[i]))) return false;
    const std::string_view attr = rest.substr(keyStart, i - keyStart);
    tag.attrs.push_back(attr.find('&') == std::string_view::npos ? std::string(attr)
                                                                 : unescapeXML_(attr));
  }
}

}  // namespace

namespace {

// Bytes that end a run of plain bytes, outside a tag and inside one.
struct RunEnds {
  bool text[256] = {};
  bool tag[256] = {};
  constexpr RunEnds() {
    for (const unsigned char c : {'<', '\r', '\n'}) text[c] = true;
    for (const unsigned char c : {'>', '"', '\r', '\n'}) tag[c] = true;
  }
};
constexpr RunEnds kRunEnds;

// Room the word buffer keeps between words; beyond it a word is handed over.
constexpr std::size_t kKeptRoom = std::size_t(1) << 16;

}  // namespace

// A word of the buffer goes to the list; the buffer is left empty. Short words
// are copied so that the buffer keeps its room for the next one; a long one is
// handed over whole rather than held twice.
void WordScanner::cutWord() {
  if (buffer_.capacity() <= kKeptRoom) {
    words_.push_back(buffer_);
  } else {
    words_.push_back(std::move(buffer_));
    buffer_ = std::string();
  }
  buffer_.clear();
}

// One streaming pass over the bytes, in pieces of any size. Runs of plain bytes
// are appended at once.
void WordScanner::feed(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (inQuote_) {  // breaks and ">" inside a quoted value belong to the tag
      const std::size_t close = text.find('"', i);
      const std::size_t end = close == std::string_view::npos ? text.size() : close + 1;
      buffer_.append(text.substr(i, end - i));
      inQuote_ = close == std::string_view::npos;
      i = end;
      continue;
    }
    const bool* ends = inTag_ ? kRunEnds.tag : kRunEnds.text;
    std::size_t run = i;
    while (run < text.size() && !ends[static_cast<unsigned char>(text[run])]) ++run;
    if (run > i) {
      buffer_.append(text.substr(i, run - i));
      breakOpen_ = false;
      i = run;
      continue;
    }
    const char c = text[i++];
    if (c == '\r' || c == '\n') {
      // CR LF, LF CR, CR CR and LF LF are one break each.
      breakOpen_ = !breakOpen_;
      if (breakOpen_ && keepBreaks_ && !inTag_) {
        if (!buffer_.empty()) cutWord();
        words_.push_back("<CR/>");
      }
      continue;
    }
    breakOpen_ = false;
    if (!inTag_) {  // c is "<"
      if (!isBlank_(buffer_)) cutWord();
      if (buffer_.capacity() > kKeptRoom) buffer_ = std::string();  // after a long blank run
      buffer_.assign(1, c);
      inTag_ = true;
      continue;
    }
    buffer_ += c;
    if (c == '>') {
      // From its "<" to its ">": nothing to trim.
      cutWord();
      inTag_ = false;
    } else {  // c is a double quote
      inQuote_ = true;
    }
  }
}

void toWordList_(const StringList& lines, StringList& words, bool keepBreaks) {
  WordScanner scanner(words, keepBreaks);
  for (const std::string& line : lines) {
    scanner.feed(line);
    scanner.feed("\r\n");
  }
  // Whatever is still pending (trailing text, an unterminated tag) is dropped.
}

SplitTag splitTag_(std::string_view word) {
  SplitTag tag;
  std::string_view rest = trimView_(word);
  if (rest.starts_with('<')) rest.remove_prefix(1);
  if (rest.ends_with('>')) rest.remove_suffix(1);
  if (rest.ends_with('/')) {
    rest.remove_suffix(1);
    tag.isEmptyElement = true;
  }
  if (!splitSimpleTag(rest, tag)) {
    tag.name.clear();
    tag.attrs.clear();
    StringList tokens;
    splitQuoted_(rest, " \t", tokens);
    std::erase_if(tokens, [](const std::string& token) { return isBlank_(token); });
    if (tokens.empty()) return tag;
    tag.name = std::move(tokens.front());
    tokens.erase(tokens.begin());
    tag.attrs = joinAttrs_(tokens);
    for (std::string& attr : tag.attrs) attr = unescapeXML_(attr);
  }
  if (tag.name.starts_with('/')) {
    tag.isEndTag = true;
    tag.name.erase(0, 1);
  }
  return tag;
}

StringList joinAttrs_(const StringList& tokens) {
  StringList attrs;
  std::string a;
  auto emit = [&](std::string attr) {
    attrs.push_back(std::move(attr));
    a.clear();
  };
  std::size_t i = 0;
  while (i < tokens.size()) {
    if (a.empty()) a = trim_(tokens[i]);
    if (i + 1 == tokens.size()) {
      emit(a);
      break;
    }
    if (!a.empty() && isQuote(a.front())) {
      emit(a);
      i += 1;
      continue;
    }
    const std::string b = trim_(tokens[i + 1]);
    const bool hasEquals = a.find('=') != std::string::npos;
    const bool endsWithEquals = a.ends_with('=');
    const bool bQuoted = !b.empty() && isQuote(b.front());
    if (hasEquals && isQuote(a.back())) {  // key="value"
      emit(a);
      i += 1;
    } else if (endsWithEquals && bQuoted) {  // key= "value"
      emit(a + b);
      i += 2;
    } else if (endsWithEquals) {  // key= value: value stands on its own
      emit(a + "\"\"");
      i += 1;
    } else if (hasEquals) {  // key=value
      emit(a);
      i += 1;
    } else if (b.starts_with('=')) {  // key ="value", key = "value"
      a += b;
      i += 1;
    } else {  // bare attribute
      emit(a + "=\"\"");
      i += 1;
    }
  }
  return attrs;
}

TTAGNode::~TTAGNode() { clearTree(); }

void TTAGNode::addText_(std::string text) { addEntry_({std::move(text), nullptr}); }

void TTAGNode::addEntry_(TagEntry entry) {
  // Room for a few children at once: an element that has any mostly has several.
  if (entries_.capacity() == 0) entries_.reserve(8);
  entries_.push_back(std::move(entry));
}

std::string TTAGNode::text() const {
  std::string all;
  for (const TagEntry& entry : entries_) {
    if (!entry.node) all += entry.text;
  }
  return all;
}

void TTAGNode::clearTree() {
  // Detach grandchildren before a child dies, so no destructor ever recurses.
  std::vector<std::unique_ptr<TTAGNode>> doomed;
  auto detachChildren = [&doomed](std::vector<TagEntry>& entries) {
    for (TagEntry& entry : entries) {
      if (entry.node) doomed.push_back(std::move(entry.node));
    }
    entries.clear();
  };
  detachChildren(entries_);
  while (!doomed.empty()) {
    std::unique_ptr<TTAGNode> node = std::move(doomed.back());
    doomed.pop_back();
    detachChildren(node->entries_);
  }
}

// The reader of both modes: XML mode without a dictionary, HTML dictionary
// mode with one.
int TTAGNode::Builder::addWord_(std::string word) {
  const bool xml = dict_ == nullptr;
  const std::size_t i = index_++;
  TTAGNode*& current = current_;
  auto fail = [&](std::string message) {
    errors_.push_back(std::to_string(i) + ":" + word);
    errors_.push_back(std::move(message));
    return -1;
  };
  if (!word.starts_with('<')) {
    if (current == nullptr) {
      return fail(lastName_ + (xml ? " aTTNC = nil in TTAGNode._FromXMLWordList_aOUT_"
                                   : " in TTAGNode._FromWordList_aDict_"));
    }
    current->addText_(xml && word.find('&') != std::string::npos ? unescapeXML_(word)
                                                                 : std::move(word));
    return 0;
  }

  SplitTag tag = splitTag_(word);
  // "</ >" is an end tag with an empty name (it closes the root); any other
  // word without a name stops the read.
  if (tag.name.empty() && !tag.isEndTag) return -1;
  if (!xml) {
    tag.name = upperCase_(tag.name);
    if (tag.name.starts_with("!--")) tag.name = "!--";
  }
  lastName_ = tag.name;
  const std::string& name = tag.name;

  if (xml && (name.starts_with('?') || name.starts_with('!') || tag.isEmptyElement)) {
    TTAGNode::addNew___(current, name, std::move(tag.attrs), std::move(word), &errors_);
    return 0;
  }
  if (tag.isEndTag) {
    if (current == nullptr) {
      return fail(SJ(u8"いきなり終了タグがあらわれた。") + name + "  in TTAGNode." +
                  (xml ? "_fromXMLWorldList_aOUT_" : "_fromWorldList_aDict_"));
    }
    current->endTagName = name;
    const bool same = xml ? current->tagName == name : upperCase_(current->tagName) == name;
    if (!same) {
      return fail(SJ(u8" タグの開始と終了が一致しない。") + current->tagName + " " + name +
                  " in TTAGNode." + (xml ? "_fromXMLWorldList_aOUT_" : "_fromWorldList_aDict_"));
    }
    current = current->aParent;
    if (depth_ > 0) --depth_;
    return 0;
  }
  const auto tooDeep = [&] {
    return fail("tags nested deeper than " + std::to_string(kMaxDepth) + " in TTAGNode." +
                (xml ? "_fromXMLWorldList_aOUT_" : "_fromWorldList_aDict_"));
  };
  if (xml) {
    if (current == nullptr) {
      errors_.push_back("ERROR Current TAG is nil. Probabry TAG's ireko not matichline number = " +
                        std::to_string(i) + " word=" + word + " in  _FromXMLWordList_aOUT_ ");
      return -1;
    }
    if (depth_ == kMaxDepth) return tooDeep();
    current = TTAGNode::addNew___(current, name, std::move(tag.attrs), std::move(word));
    ++depth_;
    return 0;
  }

  const TDEFTAG* def = dict_->find_(name);
  if (def == nullptr) {
    return fail(SJ(u8"未知のタグを見つけた ") + name + " in TTAGNode._FromWordList_aDict_");
  }
  if (current == nullptr) {
    errors_.push_back(
        SJ(u8"ERROR カレントタグが nil になった。恐らくタグの入れ子が不一致 line number = ") +
        std::to_string(i) + " word=" + word + " in  _FromWordList_aDict_aOUT_ ");
    return -1;
  }
  const bool enters = dynamic_cast<const TDEFTAG01*>(def) || dynamic_cast<const TDEFTAG02*>(def);
  if (!enters && !dynamic_cast<const TDEFTAG03*>(def)) {
    return fail(name + SJ(u8"　未知の型定義 in TTAGNode._FromWordList_aDict_"));
  }
  if (enters && depth_ == kMaxDepth) return tooDeep();
  TTAGNode* added = TTAGNode::addNew___(current, def, std::move(tag.attrs), std::move(word));
  if (enters) {
    current = added;
    ++depth_;
  }
  return 0;
}

namespace {

int readWordList(TTAGNode* root, const StringList& words, const TagDictionary* dict,
                 StringList& errors) {
  TTAGNode::Builder builder(root, dict, errors);
  for (const std::string& word : words)
    if (builder.addWord_(word) < 0) return -1;
  return 0;
}

}  // namespace

TTAGNode* TTAGNode::newChild_(TTAGNode* current, std::string_view name, const TDEFTAG* def,
                              StringList attrs, std::string tagWord, StringList* errors) {
  if (current == nullptr) {
    if (errors != nullptr) {
      errors->push_back("ERROR: self = nil word = " + tagWord + " in TTAGNode.addNew___ ");
    }
    return nullptr;
  }
  auto node = std::make_unique<TTAGNode>();
  node->aParent = current;
  node->tagName = name;
  node->aDef = def;
  node->aAttrs = std::move(attrs);
  TTAGNode* added = node.get();
  current->addEntry_({std::move(tagWord), std::move(node)});
  return added;
}

int TTAGNode::_FromXMLWordList_aOUT_(TTAGNode* root, const StringList& words, StringList& errors) {
  return readWordList(root, words, nullptr, errors);
}

int TTAGNode::_FromWordList_aDict_(TTAGNode* root, const StringList& words,
                                   const TagDictionary& dict, StringList& errors) {
  return readWordList(root, words, &dict, errors);
}

int TTAGNode::fromHTMLWordList_(TTAGNode* root, const StringList& words, StringList& errors) {
  return _FromWordList_aDict_(root, words, aTagDict(), errors);
}

TTAGNode* TTAGNode::addNew___(TTAGNode* current, std::string_view name, StringList attrs,
                              std::string tagWord, StringList* errors) {
  return newChild_(current, name, nullptr, std::move(attrs), std::move(tagWord), errors);
}

TTAGNode* TTAGNode::addNew___(TTAGNode* current, const TDEFTAG* def, StringList attrs,
                              std::string tagWord, StringList* errors) {
  return newChild_(current, def->name(), def, std::move(attrs), std::move(tagWord), errors);
}

TTAGNode* TTAGNode::findTag_(std::string_view name) const {
  if (isBlank_(name)) return nullptr;
  for (const TagEntry& entry : entries_) {
    if (entry.node && entry.node->tagName == name) return entry.node.get();
  }
  return nullptr;
}

std::string TTAGNode::getAttr_(std::string_view key) const {
  std::string attrKey;
  std::string value;
  for (int i = 0; i < countOfAttrs(); ++i) {
    splitAttrAt_(i, attrKey, value);
    if (sameText_(attrKey, key)) return value;
  }
  return {};
}

std::string TTAGNode::getAttrAt_(int index) const {
  if (index < 0 || index >= countOfAttrs()) return {};
  return (*aAttrs)[static_cast<std::size_t>(index)];
}

int TTAGNode::splitAttrAt_(int index, std::string& key, std::string& value) const {
  if (!aAttrs) return -1;
  if (index < 0 || index >= countOfAttrs()) return -2;
  const std::string& attr = (*aAttrs)[static_cast<std::size_t>(index)];
  const std::size_t equals = attr.find('=');
  if (equals == std::string::npos) {
    key = attr;
    value.clear();
    return 0;
  }
  key = trim_(std::string_view(attr).substr(0, equals));
  value = trim_(std::string_view(attr).substr(equals + 1));
  return index;
}

std::string TTAGNode::getAttrText() const {
  std::string text;
  for (int i = 0; i < countOfAttrs(); ++i) text += getAttrAt_(i) + "\r\n";
  return text;
}

int TTAGNode::countOfAttrs() const { return aAttrs ? static_cast<int>(aAttrs->size()) : 0; }

void TTAGNode::writeTree_(StringList& lines) const { writeElement_(*this, aDef, lines); }

}  // namespace vrk
