#include "model/MemoHolder.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_set>

#include "markup/TTAGNode.h"
#include "model/MemoFile.h"
#include "model/ModelServices.h"
#include "platform/Path.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::string_view kTrue = "\"true\"";
constexpr std::string_view kNewName = "*New*";
constexpr std::size_t kPieceBytes = std::size_t(1) << 16;  // written to the file at a time

const Clock& clock() { return *modelServices().clock; }

std::string nowText(std::string_view pattern) { return formatNow_(pattern, clock()); }

// The decimal value of a quoted field; 0 when empty or unreadable.
int fieldNumber(std::string_view raw) {
  const std::string text = trim_(unquote_(raw));
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// "YYYYMMDD hhnnss" as stored; now when empty or unreadable.
LocalTime fieldTime(std::string_view raw) {
  return parseTimeStamp_(replaceAll_(unquote_(raw), " ", ""), clock());
}

// A stored value goes into the file as it is only when it cannot break the
// markup: quoted at both ends, quotes balanced, no entity, line break or half
// character, and nothing between two quoted runs that ends an attribute.
// Anything else is written quoted and escaped, and reads back quoted.
bool isSafeRaw(std::string_view raw) {
  if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"' ||
      std::count(raw.begin(), raw.end(), '"') % 2 != 0 ||
      raw.find_first_of("&\r\n") != std::string_view::npos)
    return false;
  bool quoted = false;
  for (std::size_t i = 0; i < raw.size(); i += charLengthAt(raw, i)) {
    if (isHalfCharAt(raw, i)) return false;
    const char c = raw[i];
    if (c == '"')
      quoted = !quoted;
    else if (!quoted &&
             (isBlankByte(static_cast<unsigned char>(c)) || c == '<' || c == '>' || c == '/'))
      return false;  // between quoted runs it would end the attribute or the tag
  }
  return true;
}

std::string settingValue(std::string_view raw) {
  return isSafeRaw(raw) ? std::string(raw) : quoted_(escapeXML_(unquote_(raw)));
}

std::string settingLine(std::string_view indent, std::string_view key, std::string_view value) {
  return std::string(indent) + "  <Field " + std::string(key) + "=" + std::string(value) + "/>";
}

MemoNode* asNode(TObjectNamed* object) { return static_cast<MemoNode*>(object); }

std::unique_ptr<MemoNode> asNode(std::unique_ptr<TObjectNamed> object) {
  return std::unique_ptr<MemoNode>(asNode(object.release()));
}

}  // namespace

MemoHolder::MemoHolder(TObjectNamed* owner)
    : MemoBasic(owner), TimeReLoad(clock().now()), TimeSaved(TimeReLoad) {}

MemoHolder::~MemoHolder() = default;

int MemoHolder::clear() {
  MemoBasic::clear();
  curNode = nullptr;
  // flagParseFailed stays: it speaks for the file, which clearing does not touch.
  flagChanged = flagLoaded = flagAccount = flagAutoReLoad = flagAutoSave = false;
  ReloadMinutes = SaveMinutes = CountSave = 0;
  TimeReLoad = TimeSaved = clock().now();
  aUIDIndex.reset();
  aNodes.clear();
  return 0;
}

std::string MemoHolder::getNameChild_(const TObjectNamed* child) const {
  return aNodes.getNameChild_(child);
}

std::string MemoHolder::putNameChild_as_(TObjectNamed* child, std::string_view name) {
  return aNodes.putNameChild_as_(child, name);
}

std::unique_ptr<TObjectNamed> MemoHolder::deepCopy() const {
  auto copy = std::make_unique<MemoHolder>(aOwner);
  copy->assign_(*this);
  return copy;
}

void MemoHolder::assign_(const TObjectNamed& source) {
  const auto* holder = dynamic_cast<const MemoHolder*>(&source);
  if (!holder || holder == this) return;
  MemoBasic::assign_(source);
  flagChanged = holder->flagChanged;
  flagLoaded = holder->flagLoaded;
  flagAccount = holder->flagAccount;
  flagAutoReLoad = holder->flagAutoReLoad;
  ReloadMinutes = holder->ReloadMinutes;
  TimeReLoad = holder->TimeReLoad;
  flagAutoSave = holder->flagAutoSave;
  SaveMinutes = holder->SaveMinutes;
  TimeSaved = holder->TimeSaved;
  for (int i = 0; i < holder->countOfNodes(); ++i) {
    const MemoNode* node = holder->nodeAt_(i);
    addNode_(node->cloneNode(), node->getName());
  }
  putField_("ModeNodesMngr", "\"Nodes\"");
  const MemoNode* sourceCurrent = holder->getCurNode();
  if (!sourceCurrent) return;
  MemoNode* current = nodeAt_(holder->indexOfNode_(sourceCurrent));
  putCurNode_(current ? current : firstNode());
}

void MemoHolder::readTagNode_(const TTAGNode& element) {
  if (trim_(element.tagName) != "Holder") return;
  ReadState read;
  for (const TTAGNode::TagEntry& entry : element.entries())
    readHolderEntry_(entry.text, entry.node.get(), read);
  commitRead_(read);
}

std::string MemoHolder::getTempDir() const {
  const MemoFile* file = getMemoFile();
  return file ? file->getTempDir() : MemoBasic::getTempDir();
}

// --- nodes

std::unique_ptr<MemoNode> MemoHolder::createNode() { return std::make_unique<MemoNode>(this); }

std::unique_ptr<MemoNode> MemoHolder::removeNode_(MemoNode* node) {
  if (!isListed_(node)) return nullptr;
  if (aUIDIndex) {
    const auto it = aUIDIndex->find(lowerCase_(unquote_(node->getField_("UID"))));
    if (it != aUIDIndex->end() && it->second.get() == node) aUIDIndex->erase(it);
  }
  if (curNode == node) curNode = nullptr;
  return asNode(aNodes.removeChild_(node));
}

void MemoHolder::checkUID_(StringList* log) {
  aUIDIndex.emplace();
  for (int i = 0; i < countOfNodes(); ++i) {
    MemoNode* node = nodeAt_(i);
    std::string uid = unquote_(node->getField_("UID"));
    const char* repair = uid.empty()                            ? "genUID"
                         : aUIDIndex->contains(lowerCase_(uid)) ? "genUniqUID"
                                                                : nullptr;
    if (repair) {
      uid = genUniqUID();
      node->putField_("UID", quoted_(uid));
      if (log) log->push_back(std::string(repair) + ":" + node->getName());
    }
    aUIDIndex->emplace(lowerCase_(uid), node);
  }
}

std::string MemoHolder::uniqueNodeName_(std::string_view name) const {
  if (getField_("FlagSameName") == kTrue) return std::string(name);
  return aNodes.uniqueChildName_(name);
}

std::string MemoHolder::getFormatDate() const {
  const std::string format = getField_("FormatDate");
  return format.empty() ? "\"YYYYMMDD\"" : format;
}

std::string MemoHolder::getFormatNumber() const {
  const std::string format = getField_("FormatNumber");
  return format.empty() ? "\"%.5d\"" : format;
}

MemoNode* MemoHolder::newChild_(MemoNode* parent) {
  MemoNode* node = newNode();
  node->setParentNode_(parent);
  return node;
}

int MemoHolder::countOfNodes() const { return static_cast<int>(aNodes.aChildren.size()); }

int MemoHolder::countOfMarked() const {
  int count = 0;
  for (int i = 0; i < countOfNodes(); ++i) count += nodeAt_(i)->isMarked() ? 1 : 0;
  return count;
}

void MemoHolder::listMarked_(NodeList& list) const {
  for (int i = 0; i < countOfNodes(); ++i) {
    MemoNode* node = nodeAt_(i);
    if (node->isMarked()) list.emplace_back(node->getName(), node);
  }
}

void MemoHolder::setNodeList_(NodeList& list) const {
  for (int i = 0; i < countOfNodes(); ++i) list.emplace_back(nodeAt_(i)->getName(), nodeAt_(i));
}

int MemoHolder::indexOfNode_(const MemoNode* node) const { return aNodes.aChildren.indexOf(node); }

MemoNode* MemoHolder::prevNode_(const MemoNode* node) const {
  const int index = indexOfNode_(node);
  return index > 0 ? nodeAt_(index - 1) : nullptr;
}

MemoNode* MemoHolder::nextNode_(const MemoNode* node) const {
  const int index = indexOfNode_(node);
  return index >= 0 ? nodeAt_(index + 1) : nullptr;
}

MemoNode* MemoHolder::firstNode() const { return nodeAt_(0); }

MemoNode* MemoHolder::lastNode() const { return nodeAt_(countOfNodes() - 1); }

MemoNode* MemoHolder::nodeAt_(int index) const {
  if (index < 0 || index >= countOfNodes()) return nullptr;
  return asNode(aNodes.aChildren.objectAt(static_cast<std::size_t>(index)));
}

MemoNode* MemoHolder::findNode_(std::string_view name) { return asNode(aNodes.findChild_(name)); }

MemoNode* MemoHolder::findNodeByUID_(std::string_view uid) {
  if (!aUIDIndex) checkUID_(nullptr);
  if (MemoNode* node = lookupUID_(uid)) return node;
  // A UID given since the index was built (setParentNode_) is found after a rebuild.
  checkUID_(nullptr);
  return lookupUID_(uid);
}

std::unique_ptr<MemoNode> MemoHolder::deleteNode_(MemoNode* node) {
  std::unique_ptr<MemoNode> removed = removeNode_(node);
  curNode = nullptr;
  return removed;
}

int MemoHolder::addNode_(std::unique_ptr<MemoNode> node, std::string_view name) {
  node->aOwner = this;
  if (getField_("FlagSameName") == kTrue)
    aNodes.addChildSame_(std::move(node), name);
  else
    aNodes.addChild_(std::move(node), name);
  return 0;
}

int MemoHolder::insertNode_(std::unique_ptr<MemoNode> node, std::string_view name, int index) {
  node->aOwner = this;
  // A negative index appends, as an index past the end does.
  const std::size_t at = index < 0 ? aNodes.aChildren.size() : static_cast<std::size_t>(index);
  if (getField_("FlagSameName") == kTrue)
    aNodes.insertChildSame_(at, std::move(node), name);
  else
    aNodes.insertChild_(at, std::move(node), name);
  return 0;
}

MemoNode* MemoHolder::getCurNode() const { return curNode; }

int MemoHolder::putCurNode_(MemoNode* node) {
  curNode = node;
  return node ? indexOfNode_(node) : -1;
}

void MemoHolder::putColor_(Colour colour) { putField_("Color", quoted_(colourToText_(colour))); }

MemoNode* MemoHolder::lookupUID_(std::string_view uid) const {
  const auto it = aUIDIndex->find(lowerCase_(uid));
  if (it == aUIDIndex->end()) return nullptr;
  // The node may have been freed, moved away or given another UID since.
  MemoNode* node = it->second.get();
  return node && isListed_(node) && sameText_(unquote_(node->getField_("UID")), uid) ? node
                                                                                     : nullptr;
}

bool MemoHolder::isListed_(const MemoNode* node) const {
  return node && aNodes.aChildren.nameOf(node) != nullptr;
}

// --- MemoHolderBase

std::string MemoHolder::genUniqUID() {
  Rng& rng = *modelServices().rng;
  for (;;) {
    std::string uid = nowText("yyyymmdd_hhnnsszzz") + "_" +
                      formatInteger_("%.8d", 1 + rng.below(99999998)).value_or("");
    if (!aUIDIndex || !aUIDIndex->contains(lowerCase_(uid))) return uid;
  }
}

std::string MemoHolder::getFileName() { return fileName_(); }

std::string MemoHolder::fileName_() const { return fileNameAs_(getName()); }

bool MemoHolder::isReadOnlyHolder() const {
  const MemoFile* file = getMemoFile();
  return isReadOnly() || (file && file->isReadOnly());
}

std::string MemoHolder::getFieldInherited_(std::string_view key) const {
  const std::string value = getField_(key);
  const MemoFile* file = getMemoFile();
  return value.empty() && file ? file->getField_(key) : value;
}

MemoHolderBase* MemoHolder::findHolderOfMemoFile_(std::string_view name) {
  MemoFile* file = getMemoFile();
  MemoHolder* holder = file ? file->findHolder_(name) : nullptr;
  if (!holder) return nullptr;
  StringList ignored;  // a holder that cannot be loaded answers with what it has
  file->ensureHolderLoaded_(*holder, ignored);
  return holder;
}

// --- new nodes

MemoNode* MemoHolder::newNode() {
  const std::string option = lowerCase_(unquote_(getField_("NewNodeOption")));
  std::unique_ptr<MemoNode> node;
  if (option != "plain") {
    const MemoNode* model = nullptr;
    if (option.empty() || option == "normal") {
      model = findNode_("*");
    } else if (option == "current") {
      model = getCurNode();
    } else if (option == "select") {
      const std::string selected = unquote_(getField_("SelectNodeName"));
      if (!selected.empty()) model = findNode_(selected);
    }
    if (!model) model = findNode_("*");
    if (model) node = model->cloneNode();
  }
  if (!node) node = createNode();

  const std::string rule = lowerCase_(unquote_(getField_("NewNodeName")));
  std::string name(kNewName);
  if (rule.empty() || rule == "daily") {
    name = nowText(unquote_(getFormatDate()));
  } else if (rule == "glossary") {
    if (const MemoNode* current = getCurNode()) name = current->getName();
  } else if (rule == "number") {
    const std::int64_t count = countOfNodes();
    name =
        formatInteger_(unquote_(getFormatNumber()), count).value_or(*formatInteger_("%.5d", count));
  }
  name = uniqueNodeName_(name);

  MemoNode* added = node.get();
  if (const MemoNode* current = getCurNode())
    insertNode_(std::move(node), name, indexOfNode_(current));
  else
    addNode_(std::move(node), name);

  if (!added->getField_("Created").empty())
    added->putField_("Created", quoted_(nowText("yyyymmdd hhnnsszzz")));
  const std::string uid = genUniqUID();
  added->putField_("UID", quoted_(uid));
  if (!aUIDIndex) aUIDIndex.emplace();
  aUIDIndex->insert_or_assign(lowerCase_(uid), added);
  return added;
}

// --- settings

bool MemoHolder::getFlagSort() const { return aNodes.flagSort; }

bool MemoHolder::getFlagAscending() const { return aNodes.flagAscending; }

void MemoHolder::putFlagSort_(bool flag) {
  aNodes.flagSort = flag;
  putField_("flagSort", quoted_(boolText_(flag)));
}

void MemoHolder::putFlagAscending_(bool flag) {
  aNodes.flagAscending = flag;
  putField_("flagAscending", quoted_(boolText_(flag)));
}

std::string MemoHolder::getFileExt() const {
  const std::string ext = getField_("FileExt");
  return ext.empty() ? "\".mxh\"" : ext;
}

std::string MemoHolder::getNewNodeName() const {
  const std::string rule = getField_("NewNodeName");
  return rule.empty() ? "\"Daily\"" : rule;
}

std::string MemoHolder::getNewNodeOption() const {
  const std::string option = getField_("NewNodeOption");
  return option.empty() ? "\"Normal\"" : option;
}

std::string MemoHolder::getModeNodesMngr() const {
  const std::string mode = getField_("ModeNodesMngr");
  return mode.empty() ? "\"Nodes\"" : mode;
}

MemoFile* MemoHolder::getMemoFile() const {
  if (auto* file = dynamic_cast<MemoFile*>(aOwner)) return file;
  const auto* list = dynamic_cast<const TObjectParent*>(aOwner);
  return list ? dynamic_cast<MemoFile*>(list->aOwner) : nullptr;
}

// --- the holder file

std::string MemoHolder::defaultFileName() const { return defaultFileNameAs(getName()); }

std::string MemoHolder::defaultFileNameAs(std::string_view holderName) const {
  const MemoFile* file = getMemoFile();
  // A memo file without a name yet lives in the current directory; an empty
  // folder here would leave the file to whatever directory a save runs in.
  std::string directory = file ? file->getDirectory() : std::string();
  if (directory.empty()) directory = currentDirectory_();
  const std::string name = changeFileExt_(safeFileName_(holderName), unquote_(getFileExt()));
  return joinPath_(directory, name.empty() ? "noname.mxh" : name);
}

bool MemoHolder::hasOwnPath() const {
  return (getField_("FlagExtra") == kTrue || getField_("FlagAbsolutePath") == kTrue) &&
         !getFilename().empty();
}

std::string MemoHolder::fileNameAs_(std::string_view name) const {
  if (!hasOwnPath()) return defaultFileNameAs(name);
  const std::string path = getFilename();
  return isAbsolutePath_(path) ? path : joinPath_(currentDirectory_(), path);
}

void MemoHolder::writeSettings_(StringList& lines, std::string_view indent) const {
  const auto setting = [&](std::string_view key, std::string_view raw) {
    lines.push_back(settingLine(indent, key, settingValue(raw)));
  };
  const auto setIf = [&](std::string_view key, bool when) {
    if (when) setting(key, getField_(key));
  };
  const auto escaped = [&](std::string_view key, std::string_view value) {
    lines.push_back(settingLine(indent, key, quoted_(escapeXML_(value))));
  };
  const auto isSet = [this](std::string_view key) { return !getField_(key).empty(); };
  const auto unquotedLower = [this](std::string_view key) {
    return lowerCase_(unquote_(getField_(key)));
  };

  if (curNode) escaped("curIndex", trim_(curNode->getName()));
  setting("NewNodeName", trim_(getNewNodeName()));
  setIf("FormatDate", isSet("FormatDate") && unquotedLower("FormatDate") != "yyyymmdd");
  setIf("FormatNumber", isSet("FormatNumber") && unquotedLower("FormatNumber") != "%.5d");
  const bool extra = getField_("FlagExtra") == kTrue;
  if (extra) setting("FlagExtra", kTrue);
  if (getField_("FlagSameName") == kTrue) setting("FlagSameName", kTrue);
  setIf("FileExt", isSet("FileExt") && getField_("FileExt") != "\".mxh\"");
  if (isReadOnly()) setting("FlagReadOnly", kTrue);
  setIf("NewNodeOption", isSet("NewNodeOption") && getField_("NewNodeOption") != "\"Normal\"");
  // As stored: a relative name stays relative in the file.
  if (extra) escaped("FileName", getFilename().empty() ? fileName_() : getFilename());
  const std::string mode = getField_("ModeNodesMngr");
  setIf("ModeNodesMngr", !mode.empty() && mode != "\"Nodes\"" && mode != "\"CheckListBox\"");
  setIf("Color", isSet("Color"));
  setIf("QueryNode", isSet("QueryNode"));
  setIf("SelectNodeName", isSet("SelectNodeName"));
  const auto timeText = [](const LocalTime& t) { return formatDateTime_("yyyymmdd hhnnss", t); };
  escaped("flagSort", boolText_(aNodes.flagSort));
  escaped("flagAscending", boolText_(aNodes.flagAscending));
  escaped("flagAccount", boolText_(flagAccount));
  escaped("flagAutoReLoad", boolText_(flagAutoReLoad));
  escaped("ReloadMinutes", std::to_string(ReloadMinutes));
  escaped("TimeReLoad", timeText(TimeReLoad));
  escaped("flagAutoSave", boolText_(flagAutoSave));
  escaped("SaveMinutes", std::to_string(SaveMinutes));
  escaped("TimeSaved", timeText(TimeSaved));
  escaped("CountSave", std::to_string(CountSave));
}

void MemoHolder::writeHolder_(StringList& lines, std::string_view indent) {
  writeHolderTo_(lines, indent, nullptr);
}

void MemoHolder::writeFile_(StringList& lines) { writeFileTo_(lines, nullptr); }

void MemoHolder::writeHolderTo_(StringList& lines, std::string_view indent, const Flush& flush) {
  // The escapers drop half characters (the file would not read back): their
  // count tells which parts lost some.
  const std::size_t droppedBefore = countOfDroppedHalfChars();
  lines.push_back(std::string(indent) + "<Holder name=\"" + escapeXML_(getName()) + "\">");
  writeSettings_(lines, indent);
  const bool holderLost = countOfDroppedHalfChars() != droppedBefore;
  const std::string recordIndent = std::string(indent) + "  ";
  std::string firstLoser;
  int losers = 0;
  for (int i = 0; i < countOfNodes(); ++i) {
    MemoNode& node = *nodeAt_(i);
    const std::size_t dropped = countOfDroppedHalfChars();
    node.writeRecord_(lines, recordIndent);
    if (countOfDroppedHalfChars() != dropped && losers++ == 0) firstLoser = node.getName();
    if (flush) flush(lines);
  }
  lines.push_back(std::string(indent) + "</Holder>");
  aWriteLosses.clear();
  const std::string holder = "MemoHolder \"" + getName() + "\"";
  if (holderLost) aWriteLosses.push_back("Half characters dropped on save: " + holder);
  if (losers > 0) {
    aWriteLosses.push_back("Half characters dropped on save: " + holder + ", MemoNode \"" +
                           firstLoser + "\"" +
                           (losers > 1 ? " and " + std::to_string(losers - 1) + " more" : ""));
  }
}

void MemoHolder::writeFileTo_(StringList& lines, const Flush& flush) {
  lines.push_back("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>");
  lines.push_back("<!-- " + nowText("yyyymmdd hhnnss") + " -->");
  lines.push_back("<!DOCTYPE Holder [<!ENTITY quot \"&#34;\">]>");
  writeHolderTo_(lines, "", flush);
}

int MemoHolder::saveFile_(std::string_view path, std::string* error) {
  const auto fail = [error](std::string why) {
    if (error) *error = std::move(why);
    return -1;
  };
  if (flagParseFailed) {  // the file on disk holds what we could not read
    fail("not written over, its file could not be read: " + std::string(path));
    return -2;
  }
  ++CountSave;
  TimeSaved = clock().now();
  const std::string ext = lowerCase_(extractFileExt_(path));
  if (ext != ".mxh" && ext != ".mhz")
    return fail("not a holder file name (.mxh or .mhz): " + std::string(path));
  const std::optional<std::string> os = toOsPath_(path);
  if (!os) return fail("cannot name " + std::string(path) + " in this system's encoding");

  // The text streams out as it is made, a piece at a time, so the file never
  // exists whole in memory; the target is replaced only once all is written.
  AtomicFileWriter file(*os);
  if (file.failed()) return file.commit(error);  // refused or no place: say why at once
  std::optional<DeflateStream> deflater;
  if (ext == ".mhz")
    deflater.emplace([&file](std::string_view packed) { return file.write(packed); });
  std::size_t size = 0;
  std::string piece;
  const auto emit = [&] {
    size += piece.size();
    if (deflater)
      deflater->feed(piece);
    else
      file.write(piece);
    piece.clear();
  };
  StringList lines;
  const Flush flush = [&](StringList& written) {
    for (const std::string& line : written) piece.append(line).append("\r\n");
    written.clear();
    if (piece.size() >= kPieceBytes) emit();
  };
  writeFileTo_(lines, flush);
  flush(lines);
  emit();
  // The deflater refuses a stream the readers would refuse (by size or by
  // ratio): such a file would never load again.
  if (deflater && deflater->finish() != 0 && !file.failed())
    return fail("cannot compress (more than a reader accepts for its size): " + std::string(path));
  return file.commit(error) == 0 ? static_cast<int>(size) : -1;
}

int MemoHolder::collectFieldKeys_(StringList& list) const {
  std::unordered_set<std::string> known;
  for (const std::string& key : list) known.insert(lowerCase_(key));
  int added = 0;
  for (int i = 0; i < countOfNodes(); ++i) {
    for (const std::string& line : nodeAt_(i)->aFields) {
      std::string key = trim_(line.substr(0, line.find('=')));
      if (!known.insert(lowerCase_(key)).second) continue;
      list.push_back(std::move(key));
      ++added;
    }
  }
  return added;
}

int MemoHolder::collectFieldValues_(std::string_view key, StringList& list) const {
  std::unordered_set<std::string> known(list.begin(), list.end());
  for (int i = 0; i < countOfNodes(); ++i) {
    std::string value = unquote_(nodeAt_(i)->getField_(key));
    if (!value.empty() && known.insert(value).second) list.push_back(std::move(value));
  }
  return 0;
}

int MemoHolder::getFieldNames_(StringList& list) const {
  std::unordered_set<std::string> known;
  for (const std::string& name : list) known.insert(lowerCase_(name));
  for (int i = 0; i < countOfNodes(); ++i) {
    for (const std::string& line : nodeAt_(i)->aFields) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      std::string name = trim_(std::string_view(line).substr(0, equals));
      if (known.insert(lowerCase_(name)).second) list.push_back(std::move(name));
    }
  }
  return static_cast<int>(list.size());
}

int MemoHolder::getFieldValues_(std::string_view name, StringList& list) const {
  std::unordered_set<std::string> known;
  for (const std::string& value : list) known.insert(lowerCase_(value));
  int added = 0;
  for (int i = 0; i < countOfNodes(); ++i) {
    std::string value = unquote_(nodeAt_(i)->getField_(name));
    if (value.empty() || !known.insert(lowerCase_(value)).second) continue;
    list.push_back(std::move(value));
    ++added;
  }
  return added;
}

// --- reading

void MemoHolder::readHolderEntry_(const std::string& text, const TTAGNode* element,
                                  ReadState& read) {
  if (!element) {  // stray text continues the memo of the node read last
    if (!read.nodes.empty()) read.nodes.back().second->aMemo.push_back(text);
    read.afterElement = false;
    return;
  }
  const std::string tag = trim_(element->tagName);
  if (tag == "Record") {
    const std::string written = element->getAttr_("name");
    std::string name = unquote_(written);
    if (name.empty()) name = nowText("yyyymmdd hhmmss") + " " + written;
    std::unique_ptr<MemoNode> node = createNode();
    node->readTagNode_(*element);
    read.nodes.emplace_back(std::move(name), std::move(node));
  } else if (tag == "Field") {
    read.settings.readFieldTag_(*element);
  } else if (tag == "BR" && read.afterElement) {
    read.memo.emplace_back();
  }
  read.afterElement = true;
}

void MemoHolder::commitRead_(ReadState& read) {
  if (aFields.empty()) {
    aFields = std::move(read.settings.aFields);
  } else {
    for (const std::string& line : read.settings.aFields) {
      const std::size_t eq = line.find('=');
      if (eq != std::string::npos) putField_(line.substr(0, eq), line.substr(eq + 1));
    }
  }
  aMemo.insert(aMemo.end(), std::make_move_iterator(read.memo.begin()),
               std::make_move_iterator(read.memo.end()));
  aNodes.aChildren.reserve(aNodes.aChildren.size() + read.nodes.size());
  for (auto& [name, node] : read.nodes) addNode_(std::move(node), name);
  read.nodes.clear();

  curNode = nullptr;
  const std::string current = unquote_(getField_("curIndex"));
  if (!current.empty()) curNode = findNode_(current);
  putFlagSort_(getField_("flagSort") == kTrue);
  // Files that never wrote the setting sort ascending.
  const std::string ascending = getField_("flagAscending");
  putFlagAscending_(ascending.empty() || ascending == kTrue);
  flagAccount = getField_("flagAccount") == kTrue;
  flagAutoReLoad = getField_("flagAutoReLoad") == kTrue;
  flagAutoSave = getField_("flagAutoSave") == kTrue;
  ReloadMinutes = fieldNumber(getField_("Reloadminutes"));
  SaveMinutes = fieldNumber(getField_("SaveMinutes"));
  CountSave = fieldNumber(getField_("CountSave"));
  TimeReLoad = fieldTime(getField_("TimeReload"));
  TimeSaved = fieldTime(getField_("TimeSaved"));
}

}  // namespace vrk
