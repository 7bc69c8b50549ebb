// load-save: a generated holder loaded and saved by our code, and the same
// bytes through pugixml, zlib and plain file I/O.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "Bench.h"
#include "model/HolderFileIO.h"
#include "model/ModelServices.h"
#include "model/MemoHolder.h"
#include "model/TContent.h"
#include "platform/SJ.h"
#include "text/FileIO.h"

namespace vrk::bench {
namespace {

constexpr int kRuns = 5;
constexpr int kAdded = 1000;

// Trail bytes 0x5C and 0x7C (表, ソ, ポ) and markup characters are in on purpose.
const std::vector<std::string>& memoLines() {
  static const std::vector<std::string> lines{
      SJ(u8"今日の打ち合わせで表示ソフトの設定を決めた。"),
      "Meeting notes: compare a < b & c > d before \"release\".",
      SJ(u8"ポスターの締め切りは来週の金曜日、予算表を添付。"),
      "TODO: check the holder file after saving, then reload it.",
      SJ(u8"東京都千代田区一丁目　電話 03-1234-5678"),
      "http://example.com/docs/index.html?id=42&lang=ja",
  };
  return lines;
}

// n nodes with fields, memo lines, comments on one in three, a small binary
// content on one in ten, and a parent on every second node. The numbering rule
// makes new names unique at the first try, so adding measures the holder.
void generate(MemoHolder& holder, int n, std::uint32_t seed) {
  FixedClock clock(LocalTime{2024, 12, 8, 10, 10, 10, 0});
  SeededRng uidRng(seed);
  ScopedModelServices scope(ModelServices{&clock, &uidRng, nullptr, nullptr, {}});
  std::mt19937 rng(seed);
  const std::vector<std::string>& lines = memoLines();
  holder.putField_("NewNodeName", "\"Number\"");
  std::vector<MemoNode*> nodes;
  nodes.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    clock.advanceMs(7);
    std::unique_ptr<MemoNode> node = holder.createNode();
    MemoNode* raw = node.get();
    holder.addNode_(std::move(node), SJ(u8"メモ") + std::to_string(i));
    raw->putField_("UID", quoted_(holder.genUniqUID()));
    raw->putField_("Created", "\"20241208 101010123\"");
    raw->putField_("flagMarked", i % 7 == 0 ? "\"true\"" : "\"false\"");
    raw->putField_("Authors", SJ(u8"\"山田\""));
    if (i % 2 == 1) raw->setParentNode_(nodes[static_cast<std::size_t>(i / 2)]);
    const std::size_t count = 2 + rng() % 4;
    for (std::size_t k = 0; k < count; ++k) raw->aMemo.push_back(lines[(i + k) % lines.size()]);
    if (i % 3 == 0)
      raw->aComment = StringList{lines[(i + 2) % lines.size()], "see also #" + std::to_string(i)};
    if (i % 10 == 0) {
      std::string data(64 + rng() % 192, '\0');
      for (char& c : data) c = static_cast<char>(rng());
      raw->putField_("Content-Type", "\"image/png\"");
      raw->putField_("Filename", "\"C:\\img\\p" + std::to_string(i) + ".png\"");
      raw->putField_("Content-Transfer-Encoding", "\"binary\"");
      raw->aContent = std::make_unique<TContent>();
      raw->aContent->aData = std::move(data);
    }
    nodes.push_back(raw);
  }
  holder.putCurNode_(nodes[nodes.size() / 2]);
}

std::string readAll(const std::string& path) {
  std::string bytes;
  if (readFileBytes_(path, bytes) != 0) throw std::runtime_error("cannot read " + path);
  return bytes;
}

void load(MemoHolder& holder, const std::string& path) {
  StringList errors;
  if (readHolderFile_(holder, path, errors) != 0) throw std::runtime_error("cannot load " + path);
}

void save(MemoHolder& holder, const std::string& path) {
  if (holder.saveFile_(path) < 0) throw std::runtime_error("cannot save " + path);
}

void addNodes(MemoHolder& holder) {
  for (int i = 0; i < kAdded; ++i) holder.newNode();
}

// A plain write: no temporary file, no sync.
void writePlain(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    throw std::runtime_error("cannot write " + path);
  ::close(fd);
}

// A plain read into a buffer of the file's size.
void readPlain(const std::string& path, std::string& into) {
  std::ifstream in(path, std::ios::binary);
  if (!in.read(into.data(), static_cast<std::streamsize>(into.size())))
    throw std::runtime_error("cannot read " + path);
}

// The best time of each subject, in seconds.
class Best {
 public:
  template <class Work>
  void time(const std::string& subject, Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    auto [it, fresh] = best_.emplace(subject, took.count());
    if (!fresh) it->second = std::min(it->second, took.count());
  }
  double operator[](const std::string& subject) const { return best_.at(subject); }

 private:
  std::map<std::string, double> best_;
};

// Peak resident memory of a fresh process that loads the file.
long long loadRssOf(const std::string& path) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  FILE* pipe = ::popen(("'" + self + "' load-rss '" + path + "'").c_str(), "r");
  long long bytes = -1;
  if (!pipe || std::fscanf(pipe, "%lld", &bytes) != 1) bytes = -1;
  if (pipe) ::pclose(pipe);
  return bytes;
}

class TempDir {
 public:
  TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vrk-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace

int runLoadSave(const std::vector<std::string>& args) {
  int n = 100000;
  for (std::size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--nodes") n = std::max(1, std::stoi(args[i + 1]));

  const TempDir dir;
  const std::string mxh = dir.file("bench.mxh");
  const std::string mhz = dir.file("bench.mhz");
  {
    MemoHolder generated;
    generate(generated, n, 1);
    save(generated, mxh);
  }
  const std::string bytes = readAll(mxh);
  std::string packed(compressBound(bytes.size()), '\0');
  std::string unpacked(bytes.size(), '\0');
  const std::string pugiOut = dir.file("pugi.xml");
  const std::string plain = dir.file("plain.bin");

  // Every round times each subject once, so that ours and the peers meet the
  // same state of the machine; each figure is the best round.
  Best best;
  for (int round = 0; round < kRuns; ++round) {
    // Both loads start from the same heap: the holder before is freed.
    auto loaded = std::make_unique<MemoHolder>();
    best.time("load_s", [&] { load(*loaded, mxh); });
    best.time("save_s", [&] { save(*loaded, dir.file("save.mxh")); });
    best.time("mhz_save_s", [&] { save(*loaded, mhz); });
    best.time("add_large_s", [&] { addNodes(*loaded); });
    loaded = std::make_unique<MemoHolder>();
    best.time("mhz_load_s", [&] { load(*loaded, mhz); });
    loaded.reset();

    pugi::xml_document doc;
    best.time("pugixml_parse_s", [&] {
      if (!doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8))
        throw std::runtime_error("pugixml cannot parse the holder");
    });
    best.time("pugixml_save_s", [&] {
      if (!doc.save_file(pugiOut.c_str(), "", pugi::format_raw, pugi::encoding_utf8))
        throw std::runtime_error("pugixml cannot save");
    });
    doc.reset();

    uLongf packedSize = packed.size();
    best.time("zlib_deflate_s", [&] {
      compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                reinterpret_cast<const Bytef*>(bytes.data()), bytes.size(), Z_DEFAULT_COMPRESSION);
    });
    best.time("zlib_inflate_s", [&] {
      uLongf size = unpacked.size();
      uncompress(reinterpret_cast<Bytef*>(unpacked.data()), &size,
                 reinterpret_cast<const Bytef*>(packed.data()), packedSize);
    });
    best.time("write_s", [&] { writePlain(plain, bytes); });
    best.time("read_s", [&] { readPlain(plain, unpacked); });

    MemoHolder small;
    generate(small, 100, 2);
    best.time("add_small_s", [&] { addNodes(small); });
  }
  const long long rss = loadRssOf(mxh);

  nlohmann::ordered_json out;
  out["nodes"] = n;
  out["file_bytes"] = bytes.size();
  for (const char* key :
       {"load_s", "save_s", "mhz_load_s", "mhz_save_s", "pugixml_parse_s", "pugixml_save_s",
        "zlib_inflate_s", "zlib_deflate_s", "write_s", "read_s"})
    out[key] = best[key];
  out["rss_bytes"] = rss;
  out["add_small_s"] = best["add_small_s"];
  out["add_large_s"] = best["add_large_s"];
  // The ".mhz" ratios set what compression adds to a plain load or save
  // against zlib doing the same work alone.
  out["ratios"] = {
      {"load_vs_pugixml_parse", best["load_s"] / best["pugixml_parse_s"]},
      {"save_vs_pugixml_save", best["save_s"] / best["pugixml_save_s"]},
      {"mhz_load_vs_inflate", (best["mhz_load_s"] - best["load_s"]) / best["zlib_inflate_s"]},
      {"mhz_save_vs_deflate", (best["mhz_save_s"] - best["save_s"]) / best["zlib_deflate_s"]},
      {"rss_vs_file", static_cast<double>(rss) / static_cast<double>(bytes.size())},
      {"add_large_vs_small", best["add_large_s"] / best["add_small_s"]},
  };
  std::puts(out.dump(2).c_str());
  return 0;
}

int runLoadRss(const std::vector<std::string>& args) {
  if (args.size() != 1) return 2;
  MemoHolder holder;
  load(holder, args[0]);
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) {
      std::printf("%lld\n", std::stoll(line.substr(6)) * 1024);
      return 0;
    }
  }
  return 1;
}

}  // namespace vrk::bench
