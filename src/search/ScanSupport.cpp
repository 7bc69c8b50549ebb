#include "search/ScanSupport.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/Path.h"
#include "platform/qt/QtSjis.h"
#include "shell/TFormMainBaseVRK.h"

namespace vrk {

void fillHistory_(QComboBox& box, const StringList& history, const std::string& text) {
  const QSignalBlocker blocker(&box);
  box.clear();
  for (const std::string& item : history) box.addItem(sjisToQString(item));
  box.setCurrentText(sjisToQString(text));
}

void fillEntries_(QListWidget& list, const ScanEntries& entries) {
  list.setUpdatesEnabled(false);
  list.clear();
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(entries.size()));
  for (const ScanEntry& entry : entries) texts.push_back(sjisToQString(entry.text));
  list.addItems(texts);
  list.setUpdatesEnabled(true);
}

void fillHolderList_(QListWidget& list, std::vector<WeakRef<MemoHolder>>& rows,
                     const MemoFile& file, const std::unordered_set<const MemoHolder*>& checked) {
  list.clear();
  rows.clear();
  for (int i = 0; i < file.countOfHolders(); ++i) {
    MemoHolder* holder = file.holderAt_(i);
    auto* item = new QListWidgetItem(sjisToQString(holder->getName()), &list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked.count(holder) ? Qt::Checked : Qt::Unchecked);
    rows.emplace_back(holder);
  }
}

void checkHolderRow_(QListWidget& list, const std::vector<WeakRef<MemoHolder>>& rows,
                     const MemoHolder* holder) {
  for (std::size_t row = 0; row < rows.size() && static_cast<int>(row) < list.count(); ++row)
    if (holder && rows[row].get() == holder)
      list.item(static_cast<int>(row))->setCheckState(Qt::Checked);
}

std::vector<MemoHolder*> checkedHolders_(const QListWidget& list,
                                         const std::vector<WeakRef<MemoHolder>>& rows) {
  std::vector<MemoHolder*> holders;
  for (std::size_t row = 0; row < rows.size() && static_cast<int>(row) < list.count(); ++row) {
    if (list.item(static_cast<int>(row))->checkState() != Qt::Checked) continue;
    if (MemoHolder* holder = rows[row].get()) holders.push_back(holder);
  }
  return holders;
}

void readHolderForGrep_(TFormMainBaseVRK& form, MemoHolder& holder) {
  const std::string path = holder.getFileName();
  if (holder.flagLoaded || holder.countOfNodes() > 0 || !isFile_(path)) return;
  if (form._readHolderFile_(holder, path) != 0 || holder.flagParseFailed) return;
  if (holder.countOfNodes() == 0) holder.newNode();  // as every load leaves a holder
  holder.flagLoaded = true;
}

bool isEditable_(MemoNode& node) {
  auto* holder = dynamic_cast<MemoHolder*>(node.getHolder());
  return holder && !holder->isReadOnlyHolder() && !node.isReadOnly();
}

int markEntries_(const ScanEntries& entries, bool flag) {
  int count = 0;
  for (const ScanEntry& entry : entries) {
    MemoHolder* holder = holderOfEntry_(entry);
    MemoNode* node = entry.node.get();
    if (!holder || !isEditable_(*node)) continue;
    node->putMarked_(flag);
    holder->flagChanged = true;
    ++count;
  }
  return count;
}

int putIntoNewNode_(TFormMainBaseVRK& form, const StringList& lines) {
  const int made = form.newMemoNode_();
  if (made < 0) return made;
  if (MemoNode* node = form.getCurMemoNode()) {
    node->aMemo = lines;
    form.Model2UI();
  }
  return 0;
}

void gotoEntry_(TFormMainBaseVRK& form, const ScanEntry& entry) {
  MemoHolder* holder = holderOfEntry_(entry);
  if (!holder) return;
  if (holder != form.getCurHolder() && !form._changeCurrentHolder_(holder, true)) return;
  form.gotoMemoNode(entry.node.get());
}

}  // namespace vrk
