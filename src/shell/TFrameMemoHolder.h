#pragma once
// The holder frame: the current holder's node list (check list, tree or list)
// with its status line on the left, the node editor on the right. It turns
// what the user does on the list into the window's operations: selecting and
// checking nodes, reordering by drag and drop, Left/Right to the neighbour
// holder, walking the nodes with the wheel, the small name commands, clones,
// the list's query columns and styles, and the list saved as CSV. Each view
// kind has its pop-up menu: "LB" (check list), "TV" (tree), "LV" (list).
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

#include "model/LiveRegistry.h"
#include "shell/FrameSlots.h"
#include "shell/MemoHolderUI.h"
#include "shell/NodeViews.h"

class QLabel;
class QMenu;
class QPoint;
class QSplitter;

namespace vrk {

class TFormMainBaseVRK;

// --- the name rules of the Rename submenus, on Shift_JIS names (marks and
// counted words are NameEdits')

// The trimmed name without its first word and the blanks after it; nullopt
// when nothing would remain.
std::optional<std::string> cutFirstWord_(std::string_view name);
// The text without line breaks; nullopt when that is blank.
std::optional<std::string> pastedName_(std::string_view text);

class TFrameMemoHolder final : public QWidget, public HolderFrameSlot {
  Q_OBJECT

 public:
  enum class NameCommand { MarkCircle, MarkStar, Cut1, Inc1, Dec1, ExtractFilename, Copy, Paste };
  enum class MenuKind { LB, TV, LV };

  TFrameMemoHolder(TFormMainBaseVRK& form, QWidget* parent);

  // --- HolderFrameSlot
  QWidget* widget() override { return this; }
  QWidget* viewPanel() override { return aViewPanel; }
  // On the panel, filling it, hidden and disabled, with its pop-up menu,
  // dragging and the handlers below (wired once per view).
  void installView_(QWidget* view) override;
  void serve_(MemoHolder* holder) override;
  // The status line: "[outline]   " in tree mode, then the position from 1,
  // " / " and the count. Answers the position from 0.
  int showNodeInList_(MemoNode* node) override;
  NodeEditorSlot& nodeEditor() override { return *FrameMemoNode1; }

  MemoHolderUI* holder() const;
  void mouseCursor_(const QCursor& cursor);
  void message_(std::string_view text);
  std::string statusText() const;

  // The holder's view of the new mode, built from the current order,
  // installed and shown in place of the current one.
  void switchViewMode_(NodesMode mode);

  // --- what the views report
  // A node the user selected becomes current with history.
  void selectNode_(MemoNode* node);
  // The user ticked (unticked) a check-list item.
  void checkNode_(MemoNodeUI& node, bool checked);
  // Drops at a point of the view's viewport; true when the drop was taken.
  bool dropOnCheckList_(TCheckListBoxUI& list, const QPoint& at);
  bool dropOnTree_(TTreeViewUI& tree, const QPoint& at);
  // The holder step places away (-1 previous, +1 next), with history.
  void switchHolder_(int step);
  // One wheel notch over the frame that nothing else took.
  void wheelStep_(bool down);

  // --- menu commands
  void nameCommand_(NameCommand command);
  int cloneX();
  void newChildGrepAny();
  // 0; -1 refused (busy, no list view).
  int showQuery();
  void setListStyle_(ListStyle style);
  // 0; -1 refused, cancelled or failed.
  int saveAsCSV();

  QMenu* menu(MenuKind kind) const;
  // The clone count of the X items, last entered.
  std::string cloneCountText = "15";

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void buildMenus_();  // TFrameMemoHolderMenus.cpp
  void wireView_(QWidget* view);
  void watch_(QWidget* view, QWidget* target);
  void popUp_(QWidget* view, QAbstractItemView* at, const QPoint& pos);
  bool handleDrag_(QWidget* view, QEvent* event);
  MemoNodeUI* currentNode() const;
  void afterRename_(MemoNodeUI& node, const std::string& name);

  TFormMainBaseVRK& aForm;
  WeakRef<MemoHolder> aHolder;  // the holder may go while it is served
  QSplitter* aSplitter;
  QWidget* aViewPanel;
  QLabel* aStatus;
  NodeEditorSlot* FrameMemoNode1;
  QMenu* aMenuLB = nullptr;
  QMenu* aMenuTV = nullptr;
  QMenu* aMenuLV = nullptr;
  int aWheelDelta = 0;  // the part of a notch not walked yet
};

}  // namespace vrk
