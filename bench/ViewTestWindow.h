#pragma once
// A small host for the node views that the benchmark times them in: the holder
// tab row over a row of panels, one per shown holder. The views do not depend on it.
#include <QTabBar>
#include <QWidget>

#include "shell/MemoFileUI.h"
#include "shell/MemoHolderUI.h"

class QHBoxLayout;

namespace vrk {

class ViewTestWindow : public QWidget {
 public:
  // The file's holders become the tab row.
  explicit ViewTestWindow(MemoFileUI& file, QWidget* parent = nullptr);

  // Builds the holder's view of mode on a new panel beside the others, titled
  // with the holder's name, and shows it.
  QWidget* showHolder_(MemoHolderUI& holder, NodesMode mode);
  QTabBar* tabRow() const { return aTabs; }

 private:
  QTabBar* aTabs;
  QHBoxLayout* aPanels;
};

// count nodes: two icon nodes, then memos with Japanese names in an outline
// (sections of four: a top node and three children, one in two sections with
// a grandchild), every fifth marked, icons on every fourth.
// UIDs come from the model's clock and random source.
void fillSampleHolder_(MemoHolder& holder, int count);

}  // namespace vrk
