#include "commands/TFormMainVRKX13c.h"

#include <QMenu>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "shell/MemoFileUI.h"
#include "shell/MemoHolderUI.h"
#include "shell/TFrameMemoHolder.h"

namespace vrk {

void TFormMainVRKX13c::formCreate() {
  TFormMainMenu::formCreate();
  auto* central = new QWidget(this);
  FrameMemoHolder1 = new TFrameMemoHolder(*this, central);
  TabControl1 = new QTabBar(central);
  TabControl1->setShape(QTabBar::RoundedSouth);
  TabControl1->setExpanding(false);
  TabControl1->setFocusPolicy(Qt::NoFocus);  // the Tab key never switches holders
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(FrameMemoHolder1, 1);
  layout->addWidget(TabControl1);
  setCentralWidget(central);
  connect(TabControl1, &QTabBar::currentChanged, this,
          [this](int index) { guard_("TabControl1", [&] { tabChanged_(index); }); });
  TabControl1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(TabControl1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenuTab->popup(TabControl1->mapToGlobal(at)); });

  aFile = std::make_unique<MemoFileUI>();
  aFile->putName_("noname");
  aFile->aMainWindow = this;
}

void TFormMainVRKX13c::mouseCursor(int cursor) {
  TFormMainMenu::mouseCursor(cursor);
  const QCursor shape(cursorShape_(cursor));
  FrameMemoHolder1->mouseCursor_(shape);
  TabControl1->setCursor(shape);
}

void TFormMainVRKX13c::setCheckListBox_(QWidget* view) { FrameMemoHolder1->installView_(view); }
void TFormMainVRKX13c::setTreeView_(QWidget* view) { FrameMemoHolder1->installView_(view); }
void TFormMainVRKX13c::setListView_(QWidget* view) { FrameMemoHolder1->installView_(view); }

HolderFrameSlot* TFormMainVRKX13c::getFrameMemoHolder() { return FrameMemoHolder1; }

int TFormMainVRKX13c::switchHolderView_(NodesMode mode) {
  if (!FrameMemoHolder1->holder()) return -1;
  FrameMemoHolder1->switchViewMode_(mode);
  return 0;
}

void TFormMainVRKX13c::showHolder_(MemoHolder* holder) {
  auto& shown = static_cast<MemoHolderUI&>(*holder);
  const NodesMode mode =
      shown.getMode() == NodesMode::Nodes ? NodesMode::CheckListBox : shown.getMode();
  QWidget* view = shown.buildView_(mode, FrameMemoHolder1->viewPanel());
  if (mode == NodesMode::TreeView)
    setTreeView_(view);
  else if (mode == NodesMode::ListView)
    setListView_(view);
  else
    setCheckListBox_(view);
  FrameMemoHolder1->serve_(holder);
  shown.showView();
  shown.mouseCursor_(QCursor(Qt::ArrowCursor));
  const QSignalBlocker quiet(TabControl1);
  TabControl1->setCurrentIndex(aFile->indexOfHolder_(holder));
  if (view->isVisible()) view->setFocus();
}

void TFormMainVRKX13c::hideHolder_(MemoHolder* holder) {
  static_cast<MemoHolderUI*>(holder)->hideView();
}

void TFormMainVRKX13c::newMemoFile_() {
  // The nodes are about to go: nothing may keep showing or pointing at them.
  for (int i = 0; i < aFile->countOfHolders(); ++i)
    static_cast<MemoHolderUI*>(aFile->holderAt_(i))->closeNodeWindows();
  aFile->aCurMemoNode = nullptr;
  FrameMemoHolder1->nodeEditor().showNode_(nullptr);
  aHistory.clear();
  aFile->clear();
  aFile->bindTabControl_(TabControl1);
  MemoHolder* holder = newHolder_(-1);
  holder->putCurNode_(holder->newNode());
  aFile->flagChanged = false;
  _changeCurrentHolder__(holder, true);
  updateCaption();
}

void TFormMainVRKX13c::tabChanged_(int index) {
  MemoHolder* holder = aFile->holderAt_(index);
  if (!holder || holder == getCurHolder()) return;
  if (isBusy()) {
    showCurrentTab_();
    return;
  }
  messageDoing_("Changing Holder " + holder->getName());
  _changeCurrentHolder_(holder, true);
  messageDoing_(holder->getName());
  showCurrentTab_();
}

void TFormMainVRKX13c::showCurrentTab_() {
  const QSignalBlocker quiet(TabControl1);
  TabControl1->setCurrentIndex(aFile->indexOfHolder_(getCurHolder()));
}

}  // namespace vrk
