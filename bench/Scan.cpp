// scan: a generated memo file of many nodes scanned (findKeyword_) and
// grepped (grepKeyword_) by our code, and its holder file's text counted by
// GNU grep -F -c, in the same run.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "Bench.h"
#include "model/HolderFileIO.h"
#include "model/MemoHolder.h"
#include "model/ModelServices.h"
#include "platform/SJ.h"

namespace vrk::bench {
namespace {

constexpr int kRuns = 5;

// Trail bytes 0x5C and 0x7C (表, ソ, ポ) are in on purpose: matches must
// respect character boundaries at full speed.
const std::vector<std::string>& lines() {
  static const std::vector<std::string> list{
      SJ(u8"今日の打ち合わせで表示ソフトの設定を決めた。"),
      "Meeting notes: compare a < b & c > d before the next milestone.",
      SJ(u8"ポスターの締め切りは来週の金曜日、予算表を添付。"),
      "TODO: check the holder file after saving, then reload it.",
      SJ(u8"東京都千代田区一丁目　電話 03-1234-5678"),
      "http://example.com/docs/index.html?id=42&lang=ja",
  };
  return list;
}

// n nodes of 2 to 5 memo lines, fields, a comment on one in three; the
// keyword stands in one node in 50.
void generate(MemoHolder& holder, int n, const std::string& keyword) {
  std::mt19937 rng(7);
  for (int i = 0; i < n; ++i) {
    std::unique_ptr<MemoNode> node = holder.createNode();
    MemoNode* raw = node.get();
    holder.addNode_(std::move(node), SJ(u8"メモ") + std::to_string(i));
    raw->putField_("UID", "\"20241208_101010000_" + std::to_string(10000000 + i) + "\"");
    raw->putField_("Authors", SJ(u8"\"山田\""));
    const std::size_t count = 2 + rng() % 4;
    for (std::size_t k = 0; k < count; ++k)
      raw->aMemo.push_back(lines()[(static_cast<std::size_t>(i) + k) % lines().size()]);
    if (i % 50 == 0) raw->aMemo.push_back("release " + keyword + " today");
    if (i % 3 == 0) raw->aComment = StringList{lines()[(i + 2) % 6], "see #" + std::to_string(i)};
  }
}

template <class F>
double bestOf(F&& run) {
  double best = 1e30;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

long gnuGrepCount(const std::string& keyword, const std::string& path) {
  const std::string command = "LC_ALL=C grep -F -c -- '" + keyword + "' '" + path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) throw std::runtime_error("cannot run grep");
  long count = -1;
  if (std::fscanf(pipe.get(), "%ld", &count) != 1) throw std::runtime_error("grep gave nothing");
  return count;
}

}  // namespace

int runScan(const std::vector<std::string>& args) {
  int nodes = 100000;
  for (std::size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--nodes") nodes = std::stoi(args[i + 1]);
  const std::string keyword = "zebrafish";
  namespace fs = std::filesystem;
  std::string folder = (fs::temp_directory_path() / "vrk-bench-scan-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    std::fprintf(stderr, "vrk-bench: cannot make a temporary folder\n");
    return 1;
  }
  const std::string path = folder + "/big.mxh";
  try {
    MemoHolder made;
    generate(made, nodes, keyword);
    if (made.saveFile_(path) < 0) throw std::runtime_error("cannot save " + path);
    MemoHolder holder;
    StringList errors;
    if (readHolderFile_(holder, path, errors) != 0) throw std::runtime_error("cannot load");

    int found = 0;
    const double scan = bestOf([&] {
      found = 0;
      for (int i = 0; i < holder.countOfNodes(); ++i)
        found += holder.nodeAt_(i)->findKeyword_(keyword, false, true, true, true, true);
    });
    StringList out;
    const double grep = bestOf([&] {
      out.clear();
      for (int i = 0; i < holder.countOfNodes(); ++i)
        holder.nodeAt_(i)->grepKeyword_(keyword, false, out, true, true, true, true);
    });
    long gnuCount = 0;
    const double gnu = bestOf([&] { gnuCount = gnuGrepCount(keyword, path); });

    nlohmann::json doc;
    doc["nodes"] = nodes;
    doc["bytes"] = fs::file_size(path);
    doc["keyword"] = keyword;
    doc["scan_hits"] = found;
    doc["grep_lines"] = out.size();
    doc["gnu_grep_count"] = gnuCount;
    doc["scan_s"] = scan;
    doc["grep_s"] = grep;
    doc["gnu_grep_s"] = gnu;
    doc["ratios"]["scan_vs_gnu_grep"] = scan / gnu;
    doc["ratios"]["grep_vs_gnu_grep"] = grep / gnu;
    std::printf("%s\n", doc.dump(2).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vrk-bench: %s\n", e.what());
    fs::remove_all(folder);
    return 1;
  }
  fs::remove_all(folder);
  return 0;
}

}  // namespace vrk::bench
