#pragma once
// The memo file the window shows: its holders are view-aware, it records the
// window's current node, and it keeps the holder tab row in step with its
// holder list.
#include <QPointer>
#include <QTabBar>
#include <memory>
#include <string>
#include <string_view>

#include "model/LiveRegistry.h"
#include "model/MemoFile.h"
#include "model/MemoNode.h"

namespace vrk {

class MemoHolder;

// What the memo file asks of the window that shows it.
class MemoFileHost {
 public:
  virtual ~MemoFileHost() = default;
  virtual std::string getTempDir() const = 0;  // ends in "/"
  virtual Colour getTopPanelColour() const = 0;
  virtual std::string getVersionText() const = 0;  // Shift_JIS
};

class MemoFileUI : public MemoFile {
 public:
  using MemoFile::MemoFile;

  WeakRef<MemoNode> aCurMemoNode;       // the window's current node
  MemoFileHost* aMainWindow = nullptr;  // not owned
  QPointer<QTabBar> aTabControl;        // the holder tab row, not owned
  bool flagTabsBound = false;           // the tab row holds the holder names

  // --- overrides of MemoFile
  // Keeps the "TabControl" display mode and the binding; the tab row empties.
  int clear() override;
  // Renaming a holder renames its tab.
  std::string putNameChild_as_(TObjectNamed* child, std::string_view name) override;
  std::string getTempDir() const override;  // the window's, else the model's
  // Color when set, else the window's top panel, else the button face.
  Colour getColor() const override;
  std::unique_ptr<MemoHolder> createHolder() override;  // a MemoHolderUI
  // These keep the tabs in step while the file is shown as tabs.
  std::unique_ptr<MemoHolder> removeHolder_(const MemoHolder* holder) override;
  std::string insertHolder_(int index, std::unique_ptr<MemoHolder> holder,
                            std::string_view name) override;
  void moveHolderUp_(int index) override;
  void moveHolderDown_(int index) override;
  void moveHolderFirst_(int index) override;
  void moveHolderLast_(int index) override;
  void moveHolder_(int from, int to) override;
  // CurrentHolder and (with a window) Version are set first.
  void writeFileXML_(StringList& lines) override;

  // --- the tab row
  // Binds once: fills the tab row with the holder names; the display mode
  // becomes "TabControl".
  void bindTabControl_(QTabBar* tabRow);
  // Refills the tab row and selects the current holder's tab, silently.
  void refreshTabs_();
  MemoHolder* getCurHolder() const;  // the holder of aCurMemoNode

  // Saves every changed holder (every holder when forced) to its file, in list
  // order, and clears its flagChanged. A holder that was never loaded is
  // loaded first when it changed (unchanged, its file already holds it, so
  // it is left alone); one whose file does not load cleanly is not written.
  // Answers the number saved, or -1 when any could not be (reasons in log).
  int saveChangedHolders_(bool force, StringList& log);

 private:
  void refreshTabsWhenShown();
};

}  // namespace vrk
