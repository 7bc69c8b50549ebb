#include "shell/MemoFileUI.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSignalBlocker>

#include "model/MemoHolder.h"
#include "platform/qt/QtSjis.h"
#include "shell/MemoHolderUI.h"

namespace vrk {
namespace {

constexpr std::string_view kTabControl = "TabControl";

Colour colourOf(const QColor& colour) {
  return static_cast<Colour>(colour.red()) | static_cast<Colour>(colour.green()) << 8 |
         static_cast<Colour>(colour.blue()) << 16;
}

}  // namespace

int MemoFileUI::clear() {
  const bool tabs = getHoldersView() == kTabControl;
  if (aTabControl) {
    const QSignalBlocker quiet(aTabControl.data());
    while (aTabControl->count() > 0) aTabControl->removeTab(0);
  }
  aCurMemoNode = nullptr;
  MemoFile::clear();
  if (tabs) putHoldersView_(kTabControl);
  return 0;
}

std::string MemoFileUI::putNameChild_as_(TObjectNamed* child, std::string_view name) {
  std::string given = MemoFile::putNameChild_as_(child, name);
  refreshTabsWhenShown();
  return given;
}

std::string MemoFileUI::getTempDir() const {
  return aMainWindow ? aMainWindow->getTempDir() : MemoFile::getTempDir();
}

Colour MemoFileUI::getColor() const {
  if (!getField_("Color").empty()) return MemoFile::getColor();
  if (aMainWindow) return aMainWindow->getTopPanelColour();
  return colourOf(QGuiApplication::palette().color(QPalette::Button));
}

std::unique_ptr<MemoHolder> MemoFileUI::createHolder() {
  return std::make_unique<MemoHolderUI>(this);
}

std::unique_ptr<MemoHolder> MemoFileUI::removeHolder_(const MemoHolder* holder) {
  std::unique_ptr<MemoHolder> removed = MemoFile::removeHolder_(holder);
  refreshTabsWhenShown();
  return removed;
}

std::string MemoFileUI::insertHolder_(int index, std::unique_ptr<MemoHolder> holder,
                                      std::string_view name) {
  std::string given = MemoFile::insertHolder_(index, std::move(holder), name);
  refreshTabsWhenShown();
  return given;
}

void MemoFileUI::moveHolderUp_(int index) {
  MemoFile::moveHolderUp_(index);
  refreshTabsWhenShown();
}

void MemoFileUI::moveHolderDown_(int index) {
  MemoFile::moveHolderDown_(index);
  refreshTabsWhenShown();
}

void MemoFileUI::moveHolderFirst_(int index) {
  MemoFile::moveHolderFirst_(index);
  refreshTabsWhenShown();
}

void MemoFileUI::moveHolderLast_(int index) {
  MemoFile::moveHolderLast_(index);
  refreshTabsWhenShown();
}

void MemoFileUI::moveHolder_(int from, int to) {
  MemoFile::moveHolder_(from, to);
  refreshTabsWhenShown();
}

void MemoFileUI::writeFileXML_(StringList& lines) {
  const MemoHolder* current = getCurHolder();
  putField_("CurrentHolder", quoted_(current ? current->getName() : std::string()));
  if (aMainWindow) putField_("Version", quoted_(aMainWindow->getVersionText()));
  MemoFile::writeFileXML_(lines);
}

void MemoFileUI::bindTabControl_(QTabBar* tabRow) {
  aTabControl = tabRow;
  if (!flagTabsBound) {
    flagTabsBound = true;
    refreshTabs_();
  }
  putHoldersView_(kTabControl);
}

void MemoFileUI::refreshTabs_() {
  if (!flagTabsBound || !aTabControl) return;
  const QSignalBlocker quiet(aTabControl.data());
  while (aTabControl->count() > 0) aTabControl->removeTab(0);
  HolderList holders;
  listHolders_(holders);
  for (const auto& entry : holders) aTabControl->addTab(sjisToQString(entry.first));
  const int current = indexOfHolder_(getCurHolder());
  if (current >= 0) aTabControl->setCurrentIndex(current);
}

void MemoFileUI::refreshTabsWhenShown() {
  if (getHoldersView() == kTabControl) refreshTabs_();
}

MemoHolder* MemoFileUI::getCurHolder() const {
  const MemoNode* node = aCurMemoNode.get();
  return node ? dynamic_cast<MemoHolder*>(node->getHolder()) : nullptr;
}

int MemoFileUI::saveChangedHolders_(bool force, StringList& log) {
  int saved = 0;
  bool failed = false;
  HolderList holders;
  listHolders_(holders);
  for (const auto& [name, holder] : holders) {
    if (!holder->flagChanged && !force) continue;
    // A holder never read is not written empty over its file: unchanged, its
    // file already holds it; changed, it is read first.
    if (!holder->flagLoaded && !holder->flagChanged) continue;
    if (ensureHolderLoaded_(*holder, log) != 0 || holder->flagParseFailed) {
      log.push_back("Not Saved MemoHolder: " + holder->getFileName());
      failed = true;
      continue;
    }
    const std::string path = holder->getFileName();  // as its file, once read, names it
    if (const MemoHolder* first = earlierHolderOfFile_(*holder)) {
      log.push_back(sharedFileText_(*first, *holder));
      failed = true;
      continue;
    }
    std::string why;
    if (holder->saveFile_(path, &why) < 0) {
      log.push_back("Failure: Save MemoHolder: " + why);
      failed = true;
      continue;
    }
    log.insert(log.end(), holder->aWriteLosses.begin(), holder->aWriteLosses.end());
    holder->flagChanged = false;
    ++saved;
  }
  return failed ? -1 : saved;
}

}  // namespace vrk
