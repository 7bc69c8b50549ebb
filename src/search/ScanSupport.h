#pragma once
// What the search and bulk-edit windows share: the status label that clears
// when clicked, filling boxes and lists, and the steps on result entries that
// must treat every window alike (weak handles, read-only holders and nodes,
// changed flags, loads without autoexec).
#include <QLabel>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "model/LiveRegistry.h"
#include "search/ScanEntry.h"
#include "text/StringList.h"

class QComboBox;
class QListWidget;

namespace vrk {

class MemoFile;
class MemoHolder;
class TFormMainBaseVRK;

// A status bar: clicking it clears it.
class ClickClearLabel final : public QLabel {
 public:
  explicit ClickClearLabel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    setFrameShape(QFrame::Panel);
  }

 protected:
  void mousePressEvent(QMouseEvent*) override { clear(); }
};

// The widget of the list whose text is caption; null when none.
template <class Widget>
Widget* findCaption_(const std::vector<Widget*>& widgets, std::string_view caption) {
  const QString text = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
  for (Widget* widget : widgets)
    if (widget->text() == text) return widget;
  return nullptr;
}

// The box's drop-down becomes the history; its text stays text.
void fillHistory_(QComboBox& box, const StringList& history, const std::string& text);
void fillEntries_(QListWidget& list, const ScanEntries& entries);
// The memo file's holders as a check list, those in checked checked.
void fillHolderList_(QListWidget& list, std::vector<WeakRef<MemoHolder>>& rows,
                     const MemoFile& file, const std::unordered_set<const MemoHolder*>& checked);
void checkHolderRow_(QListWidget& list, const std::vector<WeakRef<MemoHolder>>& rows,
                     const MemoHolder* holder);
// The checked holders still alive, in list order.
std::vector<MemoHolder*> checkedHolders_(const QListWidget& list,
                                         const std::vector<WeakRef<MemoHolder>>& rows);

// An unloaded holder read for grep only, from its own file (".mhz" too); it
// counts as loaded only when it read whole. No autoexec runs.
void readHolderForGrep_(TFormMainBaseVRK& form, MemoHolder& holder);
// Sets or clears the marked flag of each entry's node: nodes freed since and
// read-only holders and nodes are skipped; each holder changed is flagged.
// The number of entries marked.
int markEntries_(const ScanEntries& entries, bool flag);
// Whether a bulk edit may change the node: alive, in a holder that is not
// read-only, not read-only itself.
bool isEditable_(MemoNode& node);
// A new node in the current holder with lines as its memo, shown. 0, or the
// new-node command's refusal.
int putIntoNewNode_(TFormMainBaseVRK& form, const StringList& lines);
// The entry's holder becomes current (with history) when it is another one,
// then its node; nothing for a node freed since.
void gotoEntry_(TFormMainBaseVRK& form, const ScanEntry& entry);

}  // namespace vrk
