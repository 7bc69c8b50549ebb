// views: filling the check list, the tree and the list of a generated holder,
// against a bare QListWidget and QTreeWidget given the same texts at once.
#include "Views.h"

#include <malloc.h>
#include <QApplication>
#include <QListWidget>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "ViewTestWindow.h"
#include "model/ModelServices.h"
#include "platform/qt/QtSjis.h"
#include "shell/MemoHolderUI.h"

namespace vrk::bench {
namespace {

constexpr int kRuns = 5;

// Best wall time of the runs in seconds; setup runs untimed before each.
template <class Setup, class Work>
double bestOf(Setup&& setup, Work&& work) {
  double best = 1e300;
  for (int i = 0; i < kRuns; ++i) {
    setup();
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int runViewsBench(const std::vector<std::string>& args) {
  int n = 100000;
  for (std::size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--nodes") n = std::max(1, std::stoi(args[i + 1]));

  // Freed memory stays with the process, so that after the first run neither
  // side pays for first-touch page faults (costly under virtualisation).
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "vrk-bench";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QApplication> app;
  if (!QApplication::instance()) app = std::make_unique<QApplication>(argc, argv);

  FixedClock clock(LocalTime{2024, 12, 8, 10, 10, 10, 0});
  SeededRng rng(1);
  ScopedModelServices scope(ModelServices{&clock, &rng, nullptr, nullptr, {}});

  // Each run fills the views of a holder that was never shown, as a holder
  // is on its first showing; making it is not timed.
  std::unique_ptr<MemoHolderUI> holder;
  const auto fresh = [&] {
    holder.reset();
    holder = std::make_unique<MemoHolderUI>();
    fillSampleHolder_(*holder, n);
  };
  const auto view = [&](NodesMode mode) {
    return bestOf(fresh, [&] { holder->buildView_(mode, nullptr); });
  };
  const double checklistS = view(NodesMode::CheckListBox);
  const double treeS = view(NodesMode::TreeView);
  const double listS = view(NodesMode::ListView);

  // The bare widgets get the same texts, made beforehand. They also go before
  // a fresh holder is made, as a holder's views go with it, so that both
  // sides fill into memory in the same state.
  QStringList texts;
  const auto freshTexts = [&] {
    fresh();
    texts.clear();
    for (int i = 0; i < holder->countOfNodes(); ++i)
      texts << sjisToQString(holder->nodeAt_(i)->getName());
  };
  std::unique_ptr<QListWidget> bareList;
  const double bareListS = bestOf(
      [&] {
        bareList.reset();
        freshTexts();
        bareList = std::make_unique<QListWidget>();
      },
      [&] { bareList->addItems(texts); });
  bareList.reset();
  std::unique_ptr<QTreeWidget> bareTree;
  const double bareTreeS = bestOf(
      [&] {
        bareTree.reset();
        freshTexts();
        bareTree = std::make_unique<QTreeWidget>();
      },
      [&] {
        QList<QTreeWidgetItem*> items;
        items.reserve(texts.size());
        for (const QString& text : texts) items.push_back(new QTreeWidgetItem(QStringList{text}));
        bareTree->addTopLevelItems(items);
      });
  bareTree.reset();

  const nlohmann::json out = {
      {"nodes", texts.size()},
      {"checklist_s", checklistS},
      {"tree_s", treeS},
      {"list_s", listS},
      {"bare_list_s", bareListS},
      {"bare_tree_s", bareTreeS},
      // The list view shows its report style, a column view like a bare tree.
      {"list_bare_widget", "QTreeWidget"},
      {"ratios",
       {{"checklist_vs_bare", checklistS / bareListS},
        {"tree_vs_bare", treeS / bareTreeS},
        {"list_vs_bare", listS / bareTreeS}}},
  };
  std::printf("%s\n", out.dump(2).c_str());
  return 0;
}

}  // namespace vrk::bench
