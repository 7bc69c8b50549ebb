#include "app/tool/ToolModel.h"

#include <openssl/evp.h>
#include <stdlib.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "app/tool/ToolCommon.h"
#include "markup/TTAGNode.h"
#include "model/HolderFileIO.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoPackage.h"
#include "model/ModelServices.h"
#include "model/TContent.h"
#include "platform/Path.h"
#include "platform/SjisBridge.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/StringEX.h"

namespace vrk::tool {
namespace {

namespace fs = std::filesystem;

// A folder of the temporary directory, removed with its contents at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    // The model's temporary directory: the TempDir setting, $TMPDIR or /tmp/.
    std::string pattern = toOsPath_(MemoBasic().getTempDir()).value_or("/tmp/") + "vrk-tool-XXXXXX";
    if (::mkdtemp(pattern.data()))
      path_ = fromOsPath_(pattern).value_or("");
    else
      why_ = "cannot make a temporary folder " + pattern + ": " + std::strerror(errno);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(*toOsPath_(path_), ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Stored path of the folder ending in "/"; empty when it could not be made.
  std::string path() const { return path_.empty() ? path_ : path_ + "/"; }
  const std::string& why() const { return why_; }

 private:
  std::string path_;
  std::string why_;
};

// An input file read into the model: a memo file with every holder loaded as
// far as its file allows, or a lone holder listed in `file` as its host.
struct Opened {
  MemoFile file;
  MemoHolder* lone = nullptr;
  std::string lonePath;  // the lone holder's input file
  StringList errors;
  std::string notWhole;  // why the input did not read whole; empty when it did
};

// The file at path, read since errors had `before` lines, did not read whole:
// the reasons given since then say why.
void noteNotWhole(Opened& in, std::size_t before, const std::string& path) {
  if (!in.notWhole.empty()) return;
  std::string why;
  for (std::size_t i = before; i < in.errors.size(); ++i)
    why += (why.empty() ? "" : " ") + in.errors[i];
  in.notWhole = why.find(path) != std::string::npos ? why : path + ": " + why;
}

bool isHolderExt(const std::string& ext) { return ext == ".mxh" || ext == ".mhz"; }
bool isMemoFileExt(const std::string& ext) { return ext == ".mxa" || ext == ".mxv"; }
std::string lowerExt(std::string_view path) { return lowerCase_(extractFileExt_(path)); }

void complain(const std::string& message) {
  std::fprintf(stderr, "vrk-tool: %s\n", message.c_str());
}

// An input that cannot be opened at all: the command cannot run.
int cannotOpen(const std::string& message) {
  complain(message);
  return kExitUsage;
}

// Something the command could not read or write: it goes on, and the reason
// goes to the errors of its output (and to stderr at the end).
int lose(StringList& errors, const std::string& why) {
  errors.push_back(why);
  return kExitIncomplete;
}

std::optional<std::string> storedArg(const std::string& arg) {
  std::optional<std::string> stored = fromOsPath_(arg);
  if (!stored) complain("cannot name " + arg + " in Shift_JIS");
  return stored;
}

// Looks for the file's Holder element in text fed piece by piece.
class HolderNameScan {
 public:
  // 0, or -1 once the element was seen (nothing more is needed).
  int feed(std::string_view text) {
    constexpr std::size_t kPiece = 4096;
    for (std::size_t at = 0; at < text.size() && !name_; at += kPiece) {
      scanner_.feed(text.substr(at, kPiece));
      for (const std::string& word : words_) {
        const SplitTag tag = splitTag_(word);
        if (tag.name != "Holder" || tag.isEndTag) continue;
        name_.emplace();
        for (const std::string& attr : tag.attrs) {
          if (sameText_(attr.substr(0, attr.find('=')), "name")) {
            *name_ = unquote_(trim_(attr.substr(attr.find('=') + 1)));
            break;
          }
        }
        break;
      }
      words_.clear();
    }
    return name_ ? -1 : 0;
  }
  std::string name() const { return name_.value_or(""); }

 private:
  StringList words_;
  WordScanner scanner_{words_, false};
  std::optional<std::string> name_;
};

// The name of the file's Holder element, empty without one. Only what comes
// before it is read: plain text from the file, a compressed one (read whole)
// as far as it inflates. A file that does not inflate is looked at as text.
int holderNameOf(const std::string& osPath, std::string& name, std::string& why) {
  std::ifstream in(osPath, std::ios::binary);
  if (!in) {
    why = "cannot open " + osPath + ": " + std::strerror(errno);
    return -1;
  }
  std::string piece(std::size_t(1) << 16, '\0');
  const auto readPiece = [&] {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    return std::string_view(piece.data(), static_cast<std::size_t>(in.gcount()));
  };
  std::string head;
  while (isBlank_(head) && in) head += readPiece();
  if (in.bad()) {
    why = "cannot read " + osPath + ": " + std::strerror(errno);
    return -1;
  }
  const std::string_view lead = trimView_(head);
  std::optional<HolderNameScan> scan(std::in_place);
  if (lead.starts_with('<')) {
    for (std::string_view text = head; !text.empty() && scan->feed(text) == 0; text = readPiece()) {
    }
  } else {
    std::string bytes = std::move(head);
    for (std::string_view text = readPiece(); !text.empty(); text = readPiece()) bytes += text;
    const ByteSink feed = [&scan](std::string_view text) { return scan->feed(text); };
    if (inflateTo_(bytes, feed) == -1) scan.emplace().feed(bytes);
  }
  name = scan->name();
  return 0;
}

int openHolder(const std::string& source, const std::string& logical, Opened& in) {
  std::string name, why;
  if (holderNameOf(*toOsPath_(source), name, why) != 0) return cannotOpen(why);
  in.file.putFileName_(extractFilePath_(logical) + "host.mxa");
  std::unique_ptr<MemoHolder> holder = in.file.createHolder();
  in.lone = holder.get();
  in.lonePath = logical;
  in.file.addHolder_(std::move(holder), name);
  const std::size_t before = in.errors.size();
  // The text streams through the reader; it is never held whole.
  if (readHolderFile_(*in.lone, source, in.errors) != 0) {
    // The reader's lines say what, not which file.
    lose(in.errors, "MemoHolder \"" + in.lone->getName() + "\" could not be read: " + logical);
    noteNotWhole(in, before, logical);
  }
  return 0;
}

void loadEveryHolder(Opened& in) {
  for (int i = 0; i < in.file.countOfHolders(); ++i) {
    MemoHolder& holder = *in.file.holderAt_(i);
    const std::size_t before = in.errors.size();
    in.file.ensureHolderLoaded_(holder, in.errors);
    // The reader's lines say what, not which file.
    if (holder.flagParseFailed) {
      lose(in.errors,
           "MemoHolder \"" + holder.getName() + "\" could not be read: " + holder.getFileName());
      noteNotWhole(in, before, holder.getFileName());
    }
  }
}

// Markup errors stay in the errors of the dump; a text that is no memo file
// at all stops the command.
int openMemoFile(const std::string& source, Opened& in) {
  const std::size_t before = in.errors.size();
  switch (readMemoFile_(in.file, source, in.errors)) {
    case 0:
      if (!in.file.incompleteFile.empty()) noteNotWhole(in, before, source);
      return 0;
    case -1:
      return cannotOpen(in.errors.empty() ? "cannot read " + source : in.errors.back());
    case -2:
      return cannotOpen("too short for a memo file: " + source);
    default:
      return cannotOpen("no File element: " + source);
  }
}

// A package opens as if unpacked beside it: its parts are read from a scratch
// folder, then the memo file takes the name it would have there.
int openPackage(const std::string& source, const std::string& logical, const std::string& scratch,
                Opened& in) {
  UnpackedPackage parts;
  std::string why;
  // A scratch folder, removed afterwards: nothing is synced.
  const int unpacked =
      unpackPackage_(source, scratch + "package", nullptr, parts, &why, UnpackSync::None);
  // A cut package still shows its whole parts, and says it is cut.
  if (unpacked != 0 && unpacked != -3) return cannotOpen(why);
  if (parts.memoFilePath.empty()) return cannotOpen("no memo file in " + logical);
  if (unpacked == -3) {
    in.errors.push_back(why);
    in.notWhole = why;
  }
  const std::size_t before = in.errors.size();
  if (const int failed = openMemoFile(parts.memoFilePath, in)) return failed;
  for (const std::string& name : parts.refused)
    lose(in.errors, "not unpacked, no usable file name: " + name);
  loadEveryHolder(in);
  // Files are named where the package would unpack, not in the scratch folder.
  const std::string folder = extractFilePath_(parts.memoFilePath);
  for (std::size_t i = before; i < in.errors.size(); ++i)
    in.errors[i] = replaceAll_(in.errors[i], folder, extractFilePath_(logical));
  in.notWhole = replaceAll_(in.notWhole, folder, extractFilePath_(logical));
  in.file.putFileName_(extractFilePath_(logical) + extractFileName_(parts.memoFilePath));
  return 0;
}

// Reads any of the formats, also wrapped in ".z" (unwrapped into the scratch
// folder rather than beside the input).
int openInput(const std::string& arg, const ScratchFolder& scratch, Opened& in) {
  const std::optional<std::string> stored = storedArg(arg);
  if (!stored) return kExitUsage;
  if (scratch.path().empty()) return cannotOpen(scratch.why());
  std::string logical = *stored, source = *stored;
  if (lowerExt(logical) == ".z") {
    logical.resize(logical.size() - 2);
    source = scratch.path() + extractFileName_(logical);
    std::string why;
    if (decompressFile_(arg, *toOsPath_(source), &why) != 0) return cannotOpen(why);
  }
  const std::string ext = lowerExt(logical);
  if (isHolderExt(ext)) return openHolder(source, logical, in);
  if (ext == ".maz") return openPackage(source, logical, scratch.path(), in);
  if (!isMemoFileExt(ext)) {
    std::fprintf(stderr, "vrk-tool: not a memo file, holder or package: %s\n", arg.c_str());
    return kExitUsage;
  }
  if (const int failed = openMemoFile(source, in)) return failed;
  if (source != logical) in.file.putFileName_(logical);  // holders live beside the original
  loadEveryHolder(in);
  return 0;
}

// --- dump

std::string sha256Hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

void writeLines(std::ostream& out, const StringList& lines) {
  out << '[';
  for (std::size_t i = 0; i < lines.size(); ++i) out << (i ? "," : "") << jsonString(lines[i]);
  out << ']';
}

// Each pass over the holders (reading, then saving) logs a missing file again.
void writeErrors(std::ostream& out, const StringList& errors) {
  StringList once;
  std::unordered_set<std::string> seen;
  for (const std::string& line : errors)
    if (seen.insert(line).second) once.push_back(line);
  writeLines(out, once);
}

// Type and encoding as the record's fields tell them (a content read from a
// holder file keeps none of its own), else as the content itself holds them.
std::string contentFacet(const MemoNode& node, std::string_view key, const std::string& own) {
  const std::string field = unquote_(node.getField_(key));
  return field.empty() ? own : field;
}

void writeContent(std::ostream& out, const MemoNode& node) {
  const TContent* content = node.aContent.get();
  if (!content) {
    out << "null";
    return;
  }
  const std::string& data = content->aData ? *content->aData : std::string();
  out << "{\"type\":" << jsonString(contentFacet(node, "Content-Type", content->contentType))
      << ",\"encoding\":"
      << jsonString(contentFacet(node, "Content-Transfer-Encoding", content->transferEncoding))
      << ",\"size\":" << data.size() << ",\"sha256\":\"" << sha256Hex(data)
      << "\",\"parts\":" << (content->aParts ? content->aParts->aChildren.size() : 0) << '}';
}

void writeNode(std::ostream& out, const MemoNode& node) {
  out << "{\"name\":" << jsonString(node.getName()) << ",\"fields\":";
  writeLines(out, node.aFields);
  out << ",\"memo\":";
  writeLines(out, node.aMemo);
  out << ",\"comment\":";
  if (node.aComment)
    writeLines(out, *node.aComment);
  else
    out << "null";
  out << ",\"content\":";
  writeContent(out, node);
  out << '}';
}

// The members of a HOLDER object, without its braces.
void writeHolderMembers(std::ostream& out, MemoHolder& holder, const std::string& file) {
  out << "\"name\":" << jsonString(holder.getName()) << ",\"file\":" << jsonString(file)
      << ",\"loaded\":" << (holder.flagLoaded ? "true" : "false") << ",\"fields\":";
  writeLines(out, holder.aFields);
  out << ",\"nodes\":[";
  for (int i = 0; i < holder.countOfNodes(); ++i) {
    if (i) out << ',';
    writeNode(out, *holder.nodeAt_(i));
  }
  out << ']';
}

void writeDump(std::ostream& out, Opened& in) {
  if (in.lone) {
    out << "{\"kind\":\"holder\",";
    writeHolderMembers(out, *in.lone, in.lonePath);
  } else {
    MemoFile& file = in.file;
    out << "{\"kind\":\"memofile\",\"name\":" << jsonString(file.getName()) << ",\"fields\":";
    writeLines(out, file.aFields);
    out << ",\"memo\":";
    writeLines(out, file.aMemo);
    out << ",\"holders\":[";
    for (int i = 0; i < file.countOfHolders(); ++i) {
      MemoHolder& holder = *file.holderAt_(i);
      out << (i ? ",{" : "{");
      writeHolderMembers(out, holder, holder.getFileName());
      out << '}';
    }
    out << ']';
  }
  out << ",\"errors\":";
  writeErrors(out, in.errors);
  out << "}\n";
}

// --- convert

std::optional<LocalTime> parseTimeArg(std::string_view text) {
  static constexpr int kWidths[] = {4, 2, 2, 2, 2, 2, 3};
  LocalTime time;
  int* fields[] = {&time.year,   &time.month,  &time.day,        &time.hour,
                   &time.minute, &time.second, &time.millisecond};
  if (text.size() != 17) return std::nullopt;
  std::size_t at = 0;
  for (int i = 0; i < 7; ++i) {
    const char* begin = text.data() + at;
    const auto [end, ec] = std::from_chars(begin, begin + kWidths[i], *fields[i]);
    if (ec != std::errc() || end != begin + kWidths[i]) return std::nullopt;
    at += kWidths[i];
  }
  return time.isValid() ? std::optional<LocalTime>(time) : std::nullopt;
}

struct ConvertArgs {
  std::vector<std::string> files;
  std::optional<LocalTime> time;
  std::optional<std::uint32_t> seed;
};

bool parseConvertArgs(const std::vector<std::string>& args, ConvertArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--time" && hasValue) {
      parsed.time = parseTimeArg(args[++i]);
      if (!parsed.time) return false;
    } else if (args[i] == "--seed" && hasValue) {
      const std::string& text = args[++i];
      std::uint32_t seed = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seed);
      if (ec != std::errc() || end != text.data() + text.size()) return false;
      parsed.seed = seed;
    } else {
      parsed.files.push_back(args[i]);
    }
  }
  return parsed.files.size() == 2;
}

// Writes the opened input to out by its extension; paths written go to
// written, what could not be written to the errors. -1 when out's extension
// is not one the input can be written as. The holders of a memo file are
// written first and the memo file last, and only once every holder is: it
// names them, so it never names a file that is not there (or still old).
int writeOutput(Opened& in, const std::string& out, StringList& written) {
  const std::string ext = lowerExt(out);
  std::string why;
  if (in.lone) {
    if (!isHolderExt(ext)) return -1;
    if (in.lone->saveFile_(out, &why) < 0) return lose(in.errors, why);
    in.errors.insert(in.errors.end(), in.lone->aWriteLosses.begin(), in.lone->aWriteLosses.end());
    written.push_back(out);
    return 0;
  }
  if (ext != ".maz" && !isMemoFileExt(ext)) return -1;
  if (ext != ".maz") {
    in.file.putFileName_(out);  // the holders' files go beside it
    StringList failed;
    // Every holder is written: the shared files are found in one pass.
    std::unordered_map<const MemoHolder*, const MemoHolder*> firstOfShared;
    for (const auto& [first, later] : in.file.sharedHolderFiles_()) firstOfShared[later] = first;
    for (int i = 0; i < in.file.countOfHolders(); ++i) {
      MemoHolder& holder = *in.file.holderAt_(i);
      const std::string path = holder.getFileName();
      const auto shared = firstOfShared.find(&holder);
      if (holder.flagParseFailed) {
        lose(in.errors, "not converted, its file could not be read: " + path);
      } else if (shared != firstOfShared.end()) {
        lose(in.errors, sharedFileText_(*shared->second, holder));
      } else if (!holder.flagLoaded) {
        lose(in.errors, "not converted, never loaded: " + holder.getName());
      } else if (holder.saveFile_(path, &why) < 0) {
        lose(in.errors, why);
        failed.push_back(path);
      } else {
        in.errors.insert(in.errors.end(), holder.aWriteLosses.begin(), holder.aWriteLosses.end());
        written.push_back(path);
      }
    }
    if (!failed.empty())
      return lose(in.errors, "not written, " + std::to_string(failed.size()) +
                                 " of its holders could not be written: " + out);
  }
  if (in.file.saveAs_(out, in.errors, &why) < 0) return lose(in.errors, why);
  written.push_back(in.file.getFilename());
  return 0;
}

}  // namespace

int runDump(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: vrk-tool dump FILE\n");
    return kExitUsage;
  }
  const ScratchFolder scratch;
  Opened in;
  if (const int failed = openInput(args[0], scratch, in)) return failed;
  writeDump(std::cout, in);
  return exitWith(in.errors);
}

int withOpenedInput(const std::string& arg, StringList& errors,
                    const std::function<int(MemoFile& file, MemoHolder* lone)>& use) {
  const ScratchFolder scratch;
  Opened in;
  if (const int failed = openInput(arg, scratch, in)) return failed;
  const int result = use(in.file, in.lone);
  errors.insert(errors.begin(), in.errors.begin(), in.errors.end());
  return result;
}

int runConvert(const std::vector<std::string>& args) {
  ConvertArgs parsed;
  if (!parseConvertArgs(args, parsed)) {
    std::fprintf(stderr, "usage: vrk-tool convert IN OUT [--time YYYYMMDDhhnnsszzz] [--seed N]\n");
    return kExitUsage;
  }
  std::optional<FixedClock> clock;
  std::optional<SeededRng> rng;
  if (parsed.time) clock.emplace(*parsed.time);
  if (parsed.seed) rng.emplace(*parsed.seed);
  const ScopedModelServices scope(ModelServices{clock ? &*clock : nullptr, rng ? &*rng : nullptr,
                                                nullptr, nullptr, modelServices().tempDir});
  const std::optional<std::string> out = storedArg(parsed.files[1]);
  if (!out) return kExitUsage;
  const ScratchFolder scratch;
  Opened in;
  if (const int failed = openInput(parsed.files[0], scratch, in)) return failed;
  // What did not read whole is not written anywhere as if it were all.
  if (!in.notWhole.empty()) {
    complain(sjisToUtf8("not converted: " + in.notWhole));
    return kExitIncomplete;
  }
  StringList written;
  if (writeOutput(in, *out, written) < 0) {
    std::fprintf(stderr, "vrk-tool: cannot convert %s to %s: not a format it can be written as\n",
                 parsed.files[0].c_str(), parsed.files[1].c_str());
    return kExitUsage;
  }
  std::cout << "{\"written\":";
  writeLines(std::cout, written);
  std::cout << ",\"errors\":";
  writeErrors(std::cout, in.errors);
  std::cout << "}\n";
  return exitWith(in.errors);
}

int runUnpack(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: vrk-tool unpack PACKAGE.maz DIR\n");
    return kExitUsage;
  }
  const std::optional<std::string> package = storedArg(args[0]);
  const std::optional<std::string> folder = storedArg(args[1]);
  if (!package || !folder) return kExitUsage;
  UnpackedPackage parts;
  StringList errors;
  std::string why;
  // Without a person to ask, an existing file is never replaced. The parts
  // are new files: one sync at the end, not one per part.
  switch (unpackPackage_(*package, *folder, nullptr, parts, &why, UnpackSync::AtEnd)) {
    case 0:
      break;
    case -1:
      return cannotOpen(why);
    default:
      lose(errors, why);
  }
  for (const std::string& path : parts.kept) lose(errors, "not replaced, the file exists: " + path);
  for (const std::string& name : parts.refused)
    lose(errors, "not unpacked, no usable file name: " + name);
  std::cout << "{\"memofile\":" << jsonString(parts.memoFilePath) << ",\"written\":";
  writeLines(std::cout, parts.written);
  std::cout << ",\"kept\":";
  writeLines(std::cout, parts.kept);
  std::cout << ",\"refused\":";
  writeLines(std::cout, parts.refused);
  std::cout << ",\"errors\":";
  writeErrors(std::cout, errors);
  std::cout << "}\n";
  return exitWith(errors);
}

}  // namespace vrk::tool
