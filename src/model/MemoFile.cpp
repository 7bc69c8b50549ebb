#include "model/MemoFile.h"

#include <filesystem>
#include <optional>
#include <unordered_map>

#include "markup/TTAGNode.h"
#include "model/Base64.h"
#include "model/HolderFileIO.h"
#include "model/MemoHolder.h"
#include "model/ModelServices.h"
#include "platform/Path.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>";

bool inside(int index, int count) { return index >= 0 && index < count; }

std::unique_ptr<MemoHolder> asHolder(std::unique_ptr<TObjectNamed> object) {
  return std::unique_ptr<MemoHolder>(static_cast<MemoHolder*>(object.release()));
}

// A stored path made absolute against the current directory.
std::string absolutePath(std::string_view path) {
  return isAbsolutePath_(path) ? std::string(path) : expandFileName_(path, currentDirectory_());
}

int writeStored(std::string_view storedPath, std::string_view bytes, std::string* error) {
  const std::optional<std::string> os = toOsPath_(storedPath);
  if (!os) {
    if (error) *error = "cannot name " + std::string(storedPath) + " in this system's encoding";
    return -1;
  }
  return writeFileAtomic_(*os, bytes, error);
}

// The package boundary: local time with the month again at the end, then five
// random digits.
std::string packageBoundary() {
  const ModelServices& services = modelServices();
  return formatNow_("yyyymmddhhmmssmm", *services.clock) +
         *formatInteger_("%.5d", services.rng->below(99999));
}

}  // namespace

MemoFile::MemoFile(TObjectNamed* owner) : MemoBasic(owner) {}

MemoFile::~MemoFile() = default;

int MemoFile::clear() {
  MemoBasic::clear();
  incompleteFile.clear();
  aFileKeys.clear();
  holdersView.clear();
  flagChanged = false;
  aCurHolder = nullptr;
  aHolders.clear();
  return 0;
}

std::string MemoFile::getNameChild_(const TObjectNamed* child) const {
  return aHolders.getNameChild_(child);
}

std::string MemoFile::putNameChild_as_(TObjectNamed* child, std::string_view name) {
  return aHolders.putNameChild_as_(child, name);
}

std::string MemoFile::getName() const { return aOwner ? MemoBasic::getName() : ownName; }

std::string MemoFile::putName_(std::string_view name) {
  if (aOwner) return MemoBasic::putName_(name);
  ownName = name;
  return ownName;
}

int MemoFile::_writeTSL_deep_(StringList& lines, std::string_view indent) {
  writeFileElement_(lines, indent, true);
  return 0;
}

void MemoFile::writeFileElement_(StringList& lines, std::string_view indent, bool ownPaths) {
  const std::string in(indent);
  lines.push_back(in + "<File name=\"" + escapeXML_(getName()) + "\">");
  writeFields_(lines, indent);
  writeMemo_(lines, indent);
  for (const ChildEntry& entry : aHolders.aChildren) {
    const auto& holder = static_cast<const MemoHolder&>(*entry.object);
    lines.push_back(in + "  <Holder name=\"" + escapeXML_(entry.name) + "\">");
    lines.push_back(in + "    <Field FlagLoaded=\"false\" />");
    if (holder.isReadOnly()) lines.push_back(in + "    <Field FlagReadOnly=\"true\"/>");
    const std::string ext = holder.getField_("FileExt");
    if (!ext.empty() && ext != "\".mxh\"") lines.push_back(in + "    <Field FileExt=" + ext + "/>");
    // A holder that lives at a path of its own (opened from another folder or
    // from a file its name does not give) is found there again after
    // reopening; readers that know no FlagAbsolutePath look beside the file.
    if (ownPaths && holder.hasOwnPath()) {
      lines.push_back(in + "    <Field FlagAbsolutePath=\"true\"/>");
      lines.push_back(in + "    <Field Filename=\"" + escapeXML_(holder.fileNameAs_(entry.name)) +
                      "\"/>");
    }
    lines.push_back(in + "  </Holder>");
  }
  lines.push_back(in + "</File>");
}

void MemoFile::readTagNode_(const TTAGNode& element) {
  if (trim_(element.tagName) != "File") return;
  std::string pending;
  for (const TTAGNode::TagEntry& entry : element.entries()) {
    if (!entry.node) {
      pending += entry.text;
      continue;
    }
    const TTAGNode& child = *entry.node;
    const std::string tag = trim_(child.tagName);
    if (tag == "Holder") {
      const std::string raw = child.getAttr_("name");
      const std::string name =
          raw.empty() ? formatNow_("YYYYMMDD hhmmss", *modelServices().clock) + " " : unquote_(raw);
      std::unique_ptr<MemoHolder> holder = createHolder();
      MemoHolder& read = *holder;
      addHolder_(std::move(holder), name);
      read.readTagNode_(child);
    } else if (tag == "Field") {
      for (int i = 0; i < child.countOfAttrs(); ++i) {
        std::string key, value;
        child.splitAttrAt_(i, key, value);
        putField_(key, value);
      }
    } else if (tag == "BR") {
      aMemo.push_back(std::move(pending));
      pending.clear();
    }
  }
  if (aHolders.aChildren.empty()) return;
  const std::string current = unquote_(getField_("CurrentHolder"));
  aCurHolder =
      current.empty() ? holderAt_(0) : static_cast<MemoHolder*>(aHolders.findChildTrim_(current));
}

std::unique_ptr<MemoHolder> MemoFile::createHolder() { return std::make_unique<MemoHolder>(this); }

int MemoFile::countOfHolders() const { return static_cast<int>(aHolders.aChildren.size()); }

int MemoFile::indexOfHolder_(const MemoHolder* holder) const {
  return aHolders.aChildren.indexOf(holder);
}

MemoHolder* MemoFile::holderAt_(int index) const {
  return inside(index, countOfHolders())
             ? static_cast<MemoHolder*>(aHolders.aChildren.objectAt(index))
             : nullptr;
}

MemoHolder* MemoFile::findHolder_(std::string_view name) const {
  return static_cast<MemoHolder*>(aHolders.findChild_(name));
}

void MemoFile::listHolders_(HolderList& list) const {
  for (const ChildEntry& entry : aHolders.aChildren)
    list.emplace_back(entry.name, static_cast<MemoHolder*>(entry.object.get()));
}

std::string MemoFile::uniqueHolderName_(std::string_view name) const {
  return aHolders.uniqueChildName_(name);
}

MemoHolder* MemoFile::newHolderAt_(int index) {
  std::unique_ptr<MemoHolder> holder = createHolder();
  MemoHolder* made = holder.get();
  made->flagLoaded = true;  // made while running: there is no file to read
  const std::string name = freeHolderName_(*made, "new");
  insertHolder_(inside(index, countOfHolders()) ? index : countOfHolders(), std::move(holder),
                name);
  return made;
}

std::unique_ptr<MemoHolder> MemoFile::removeHolder_(const MemoHolder* holder) {
  aCurHolder = nullptr;
  return asHolder(aHolders.removeChild_(holder));
}

std::string MemoFile::addHolder_(std::unique_ptr<MemoHolder> holder, std::string_view name) {
  return insertHolder_(countOfHolders(), std::move(holder), name);
}

std::string MemoFile::insertHolder_(int index, std::unique_ptr<MemoHolder> holder,
                                    std::string_view name) {
  holder->aOwner = this;
  return aHolders.insertChild_(index < 0 ? aHolders.aChildren.size() : std::size_t(index),
                               std::move(holder), name);
}

void MemoFile::writeFileXML_(StringList& lines) {
  lines.emplace_back(kXmlDeclaration);
  lines.push_back("<!-- " + formatNow_("yyyymmdd hhnnss", *modelServices().clock) + " -->");
  lines.emplace_back("<!DOCTYPE File [<!ENTITY quot \"&#34;\">]>");
  _writeTSL_deep_(lines, "");
}

void MemoFile::moveHolderUp_(int index) {
  if (inside(index, countOfHolders()) && index > 0) aHolders.aChildren.move(index, index - 1);
}

void MemoFile::moveHolderDown_(int index) {
  if (inside(index + 1, countOfHolders()) && index >= 0) aHolders.aChildren.move(index, index + 1);
}

void MemoFile::moveHolderFirst_(int index) {
  if (inside(index, countOfHolders())) aHolders.aChildren.move(index, 0);
}

void MemoFile::moveHolderLast_(int index) {
  if (inside(index + 1, countOfHolders()) && index >= 0)
    aHolders.aChildren.move(index, countOfHolders() - 1);
}

void MemoFile::moveHolder_(int from, int to) {
  if (inside(from, countOfHolders()) && inside(to, countOfHolders()))
    aHolders.aChildren.move(from, to);
}

int MemoFile::ensureHolderLoaded_(MemoHolder& holder, StringList& log) {
  return holder.flagLoaded ? 0 : loadHolder_(holder, log);
}

int MemoFile::loadHolder_(MemoHolder& holder, StringList& errors) {
  const std::string path = holder.getFileName();
  if (!isFile_(path)) {
    errors.push_back("Not Found MemoHolder: " + path);
    return -1;
  }
  return readHolderFile_(holder, path, errors) == 0 ? 0 : -2;
}

const std::string& MemoFile::fileKeyOf_(std::string_view path) const {
  const auto [it, fresh] = aFileKeys.try_emplace(std::string(path));
  if (fresh) it->second = fileKey_(path);
  return it->second;
}

MemoHolder* MemoFile::holderOfFile_(std::string_view path, const MemoHolder* except) const {
  const std::string wanted = fileKeyOf_(path);
  for (const ChildEntry& entry : aHolders.aChildren) {
    auto& holder = static_cast<MemoHolder&>(*entry.object);
    if (&holder != except && fileKeyOf_(holder.getFileName()) == wanted) return &holder;
  }
  return nullptr;
}

MemoHolder* MemoFile::earlierHolderOfFile_(MemoHolder& holder) const {
  MemoHolder* first = holderOfFile_(holder.getFileName());
  return first == &holder ? nullptr : first;
}

std::string MemoFile::freeHolderName_(const MemoHolder& holder, std::string_view name) const {
  const auto nameFree = [&](std::string_view candidate) {
    const MemoHolder* named = findHolder_(candidate);
    return !named || named == &holder;
  };
  const auto fileFree = [&](std::string_view candidate) {
    return !holderOfFile_(holder.fileNameAs_(candidate), &holder);
  };
  const std::string unique = nameFree(name) ? std::string(name) : uniqueHolderName_(name);
  if (holder.hasOwnPath() || fileFree(unique)) return unique;
  // Distinct candidates without a dot have distinct files, so this ends
  // within twice the number of holders.
  const std::string base = replaceAll_(name, ".", "_");
  for (int counter = 0;; ++counter) {
    const std::string candidate =
        counter == 0 ? base : base + "_" + formatInteger_("%.2d", counter).value_or("");
    if (nameFree(candidate) && fileFree(candidate)) return candidate;
  }
}

std::vector<std::pair<MemoHolder*, MemoHolder*>> MemoFile::sharedHolderFiles_() const {
  std::vector<std::pair<MemoHolder*, MemoHolder*>> shared;
  std::unordered_map<std::string, MemoHolder*> firstOf;
  for (const ChildEntry& entry : aHolders.aChildren) {
    auto* holder = static_cast<MemoHolder*>(entry.object.get());
    const auto [it, fresh] = firstOf.emplace(fileKeyOf_(holder->getFileName()), holder);
    if (!fresh) shared.emplace_back(it->second, holder);
  }
  return shared;
}

int MemoFile::putFileName_(std::string_view path) {
  // Any relative path, not only a bare name or a "." one: the process may
  // change its current directory later.
  const std::string full = absolutePath(path);
  putField_("Filename", quoted_(full));
  putName_(changeFileExt_(extractFileName_(full), ""));
  return 0;
}

std::string MemoFile::getFilePathMXA() const {
  const std::string path = getFilename();
  return path.empty() ? safeFileName_(getName()) + ".mxa" : path;
}

std::string MemoFile::getDirectory() const { return extractFilePath_(getFilename()); }

bool MemoFile::refusesToWrite_(std::string_view path, StringList& log) const {
  if (incompleteFile.empty() || !isSameFile_(path, incompleteFile)) return false;
  log.push_back("MemoFile not saved over " + incompleteFile +
                ": it was not read whole, and what it holds beyond that would be lost");
  return true;
}

int MemoFile::saveAs_(std::string_view path, StringList& log, std::string* error) {
  const std::string ext = lowerCase_(extractFileExt_(path));
  const bool package = ext == ".maz";
  if (!package && ext != ".mxa" && ext != ".mxv") {
    if (error) *error = "not a memo file name (.mxa, .mxv or .maz): " + std::string(path);
    return -1;
  }
  if (refusesToWrite_(path, log)) {
    if (error && !log.empty()) *error = log.back();
    return -2;
  }
  // Holders not yet read still live beside the old name: read them from there
  // before the name moves, or they would be looked for (and saved empty) at
  // the new place.
  if (package ||
      normalizePath_(extractFilePath_(absolutePath(path))) != normalizePath_(getDirectory())) {
    loadUnloadedHolders_(log);
  }
  const std::string oldFilename = getField_("Filename");
  const std::string oldName = getName();
  putFileName_(path);
  int result = -1;
  if (package) {
    // Not loaded again from the new folder: a file found there is not this holder's.
    result = packHolders_(path, log, error);
  } else {
    StringList lines;
    writeFileXML_(lines);
    const std::string text = linesToBytes_(lines);
    if (writeStored(path, text, error) == 0) result = static_cast<int>(text.size());
  }
  if (result < 0) {  // nothing was written: the file keeps the name it is saved under
    putField_("Filename", oldFilename);
    putName_(oldName);
  }
  return result;
}

int MemoFile::writePackage_(std::string_view path, StringList& log, std::string* error) {
  loadUnloadedHolders_(log);
  return packHolders_(path, log, error);
}

void MemoFile::loadUnloadedHolders_(StringList& log) {
  for (const ChildEntry& entry : aHolders.aChildren)
    ensureHolderLoaded_(static_cast<MemoHolder&>(*entry.object), log);
}

int MemoFile::packHolders_(std::string_view path, StringList& log, std::string* error) {
  const std::string boundary = packageBoundary();
  const std::string delimiter = "--" + boundary;
  StringList lines{
      "MIME-Version: 1.0",
      "Content-Type: multipart/mixed;",
      "  boundary=\"" + boundary + "\"",
      "Content-Transfer-Encoding: 8bit",
      "",
      delimiter,
      "Content-Type: text/xml; charset=x-sjis",
      "Content-Transfer-Encoding: 8bit",
      "Content-Disposition: inline;",
      "  filename=\"" + changeFileExt_(getFilePathMXA(), ".mxa") + "\"",
      "",
  };
  // A package is unpacked elsewhere: its holders are found beside its memo file.
  writeFileElement_(lines, "", false);
  lines.emplace_back();
  lines.push_back(delimiter);
  for (int i = 0; i < countOfHolders(); ++i) {
    MemoHolder& holder = *holderAt_(i);
    const std::string fileName = holder.getFileName();
    // A holder whose file is missing or did not read has no part: unpacked,
    // an empty part would become a file standing for nodes it never held.
    if (!holder.flagLoaded) {
      showModelMessage_("Not Loaded: " + fileName);
      log.push_back("Not packed, not loaded: " + fileName);
      continue;
    }
    if (holder.flagParseFailed) {
      log.push_back("Not packed, its file could not be read: " + fileName);
      continue;
    }
    lines.insert(lines.end(), {
                                  "Content-Type: text/xml; charset=x-sjis",
                                  "Content-Transfer-Encoding: base64",
                                  "Content-Disposition: attachment;",
                                  "  filename=\"" + fileName + "\"",
                                  "",
                              });
    StringList holderLines;
    holder.writeFile_(holderLines);
    log.insert(log.end(), holder.aWriteLosses.begin(), holder.aWriteLosses.end());
    encodeBase64Lines_(linesToBytes_(holderLines), lines);
    lines.emplace_back();
    lines.push_back(delimiter);
  }
  // The closing delimiter tells a whole package from a cut one.
  lines.back() += "--";
  const std::string text = linesToBytes_(lines);
  std::string packed;
  if (deflateBytes_(text, packed) != 0) {
    if (error) *error = "cannot compress " + std::string(path);
    return -1;
  }
  if (writeStored(path, packed, error) != 0) return -1;
  return static_cast<int>(text.size());
}

std::string MemoFile::getHoldersView() const {
  return holdersView.empty() ? std::string("Holders") : holdersView;
}

void MemoFile::putHoldersView_(std::string_view view) { holdersView = view; }

int readMemoFile_(MemoFile& file, const std::string& storedPath, StringList& errors) {
  file.clear();
  std::string bytes, why;
  const std::optional<std::string> os = toOsPath_(storedPath);
  if (!os || readFileBytes_(*os, bytes, &why) != 0) {
    errors.push_back(os ? why : "cannot name " + storedPath);
    return -1;
  }
  if (bytes.size() < 100) return -2;
  StringList lines, words;
  bytesToLines_(bytes, lines);
  bytes.clear();
  toWordList_(lines, words, false);
  if (words.size() <= 4) return -2;
  TTAGNode root;
  // On a markup error the tree built so far is still read.
  TTAGNode::Builder builder(&root, nullptr, errors);
  bool failed = false;
  for (std::string& word : words)
    if (builder.addWord_(std::move(word)) < 0) {
      failed = true;
      break;
    }
  const TTAGNode* element = root.findTag_("File");
  if (!element) return -3;
  file.readTagNode_(*element);
  file.putFileName_(storedPath);
  // Cut before </File>, or stopped by a markup error: holders listed after
  // that point are not here, so the file must not be written over as if this
  // were all of it.
  const TTAGNode* open = builder.current();
  if (failed || (open && open != &root)) {
    if (!failed) errors.push_back(endsEarly_("</File>", storedPath));
    file.incompleteFile = file.getFilePathMXA();
  }
  file.flagChanged = false;
  return 0;
}

std::string sharedFileText_(const MemoHolder& first, MemoHolder& second) {
  return "MemoHolder \"" + second.getName() + "\" shares the file " + second.getFileName() +
         " with \"" + first.getName() + "\": it is not saved until it is renamed.";
}

MemoHolder* ensureOneHolder_(MemoFile& file) {
  if (file.countOfHolders() > 0) return nullptr;
  MemoHolder* holder = file.newHolderAt_(0);
  holder->newNode();
  file.aCurHolder = holder;
  return holder;
}

}  // namespace vrk
