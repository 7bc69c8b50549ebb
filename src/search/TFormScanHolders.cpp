#include "search/TFormScanHolders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <unordered_set>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/NameEdits.h"
#include "platform/Path.h"
#include "platform/qt/QtSjis.h"
#include "search/ScanSupport.h"
#include "shell/TFormMainBaseVRK.h"

namespace vrk {

TFormScanHolders::TFormScanHolders(TFormMainBaseVRK& form, StringList& history, QWidget* parent)
    : TFormScanHolders(form, history, parent, true) {}

TFormScanHolders::TFormScanHolders(TFormMainBaseVRK& form, StringList& history, QWidget* parent,
                                   bool allHolders)
    : QWidget(parent, Qt::Window), aForm(form), aHistory(history), flagAll(allHolders) {
  setObjectName(flagAll ? QStringLiteral("FormScanHolders") : QStringLiteral("FormScanHolder"));
  build_();
}

void TFormScanHolders::build_() {
  ComboBoxKeyWord = new QComboBox(this);
  ComboBoxKeyWord->setEditable(true);
  ComboBoxKeyWord->setInsertPolicy(QComboBox::NoInsert);
  EditReplace = new QLineEdit(this);
  PageControl = new QTabWidget(this);
  ListBoxResult = new QListWidget(this);
  ListGrep = new QListWidget(this);
  PageControl->addTab(ListBoxResult, QStringLiteral("List"));
  PageControl->addTab(ListGrep, QStringLiteral("Grep"));
  StatusBar = new ClickClearLabel(this);

  auto* words = new QGridLayout;
  words->addWidget(new QLabel(QStringLiteral("KeyWord"), this), 0, 0);
  words->addWidget(ComboBoxKeyWord, 0, 1);
  words->addWidget(new QLabel(QStringLiteral("ReplaceWord"), this), 1, 0);
  words->addWidget(EditReplace, 1, 1);

  auto* parts = new QHBoxLayout;
  for (const char* caption : {"Name", "Memo", "Comment", "Field", "Ignore"}) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), this);
    box->setChecked(true);
    aChecks.push_back(box);
    parts->addWidget(box);
  }
  const auto addButton = [this](QBoxLayout* row, const char* caption, auto action) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, action] { aForm.guard_("TFormScanHolders", [this, action] { action(); }); });
    aButtons.push_back(button);
    row->addWidget(button);
  };
  auto* runs = new QHBoxLayout;
  addButton(runs, "Scan", [this] { scan(); });
  addButton(runs, "Replace", [this] { replace(); });
  addButton(runs, "Grep", [this] { grep(); });
  addButton(runs, "ALL ON", [this] { allParts_(true); });
  addButton(runs, "ALL OFF", [this] { allParts_(false); });
  auto* actions = new QHBoxLayout;
  addButton(actions, "Mark", [this] { mark_(true); });
  addButton(actions, "Unmark", [this] { mark_(false); });
  addButton(actions, "Edit Select", [this] { editSelect(); });
  addButton(actions, "New Node", [this] { newNode(); });
  addButton(actions, "Clear", [this] { clearPage(); });
  const std::string copyText = flagAll ? "Still  Not Impliment" : "Still Not Impliment";
  addButton(actions, "Copy Holder",
            [this, copyText] { aForm.services.prompter->inform(copyText); });
  addButton(actions, "Move Holder",
            [this] { aForm.services.prompter->inform("Still Not Impliment"); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(words);
  layout->addLayout(parts);
  layout->addLayout(runs);
  layout->addLayout(actions);
  if (flagAll) {
    CheckListHolders = new QListWidget(this);
    auto* holders = new QHBoxLayout;
    addButton(holders, "Update", [this] { updateHolders(); });
    addButton(holders, "Current", [this] { checkCurrent(); });
    addButton(holders, "ALL", [this] { checkAll_(true); });
    addButton(holders, "UnSelect", [this] { checkAll_(false); });
    auto* front = new QCheckBox(QStringLiteral("Front"), this);
    aChecks.push_back(front);
    holders->addWidget(front);
    connect(front, &QCheckBox::toggled, this, [this](bool on) {
      const bool shown = isVisible();
      setWindowFlag(Qt::WindowStaysOnTopHint, on);
      if (shown) show();
    });
    auto* split = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(holders);
    left->addWidget(CheckListHolders);
    split->addLayout(left, 1);
    split->addWidget(PageControl, 2);
    layout->addLayout(split, 1);
  } else {
    layout->addWidget(PageControl, 1);
  }
  layout->addWidget(StatusBar);
  connect(ListBoxResult, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    aForm.guard_("TFormScanHolders", [&] { clickEntry_(ListBoxResult->row(item), false); });
  });
  connect(ListGrep, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    aForm.guard_("TFormScanHolders", [&] { clickEntry_(ListGrep->row(item), true); });
  });
  resize(640, 480);
}

// --- small parts

std::string TFormScanHolders::statusText() const {
  return qStringToSjis(StatusBar->text()).value_or("");
}

void TFormScanHolders::status_(std::string_view text) {
  StatusBar->setText(sjisToQString(text));
  StatusBar->repaint();  // progress over many holders stays visible
}

QPushButton* TFormScanHolders::button_(std::string_view caption) const {
  return findCaption_(aButtons, caption);
}

QCheckBox* TFormScanHolders::check_(std::string_view caption) const {
  return findCaption_(aChecks, caption);
}

bool TFormScanHolders::part_(std::string_view caption) const {
  return check_(caption)->isChecked();
}

void TFormScanHolders::allParts_(bool flag) {
  for (const char* caption : {"Name", "Memo", "Comment", "Field"})
    check_(caption)->setChecked(flag);
}

bool TFormScanHolders::keywordOrWarn_(std::string& keyword) {
  keyword = qStringToSjis(ComboBoxKeyWord->currentText()).value_or("");
  if (!keyword.empty()) return true;
  status_("KeyWord is Empty.");
  aForm.services.prompter->ask(BoxKind::Warning, "KeyWord is Empty.", Buttons(Answer::Ok));
  return false;
}

void TFormScanHolders::rememberKeyword_(const std::string& keyword) {
  pushFrontUnique_(aHistory, keyword, true);
  fillHistory_(*ComboBoxKeyWord, aHistory, keyword);
}

std::vector<MemoHolder*> TFormScanHolders::targets_() {
  std::vector<MemoHolder*> holders;
  if (!flagAll) {
    if (MemoHolder* holder = aForm.getCurHolder()) holders.push_back(holder);
    return holders;
  }
  return checkedHolders_(*CheckListHolders, aHolderRows);
}

void TFormScanHolders::showList_() {
  fillEntries_(*ListBoxResult, aList);
  PageControl->setCurrentIndex(0);
}

void TFormScanHolders::showGrep_() {
  fillEntries_(*ListGrep, aGrep);
  PageControl->setCurrentIndex(1);
}

// --- runs

int TFormScanHolders::scan() {
  if (aForm.isBusy()) return -1;
  std::string keyword;
  if (!keywordOrWarn_(keyword)) return -1;
  aList.clear();
  status_("*Scanning* " + keyword);
  rememberKeyword_(keyword);
  const bool ignore = part_("Ignore"), fields = part_("Field"), comment = part_("Comment"),
             memo = part_("Memo"), name = part_("Name");
  for (MemoHolder* holder : targets_()) {
    if (flagAll) status_("*Scanning* " + keyword + " " + holder->getName());
    if (!aForm.loadTargetHolder_(*holder)) continue;
    const std::string head = flagAll ? holder->getName() + " " : " ";
    for (int i = 0; i < holder->countOfNodes(); ++i) {
      MemoNode* node = holder->nodeAt_(i);
      if (node->findKeyword_(keyword, ignore, fields, comment, memo, name))
        aList.push_back({head + node->getName(), node});
    }
  }
  showList_();
  const int count = static_cast<int>(aList.size());
  if (count == 0) {
    const std::string text =
        flagAll ? "*Done Scan* No match KeyWord=" + keyword : "*Done Scan* No match";
    status_(text);
    aForm.services.prompter->ask(flagAll ? BoxKind::Confirmation : BoxKind::Warning, text,
                                 Buttons(Answer::Ok));
  } else {
    status_(flagAll ? "*Done Scan* count=" + std::to_string(count) + " keyWord=" + keyword
                    : "*Done Scan* " + keyword + " " + std::to_string(count));
  }
  return count;
}

int TFormScanHolders::replace() {
  if (aForm.isBusy()) return -1;
  if (aForm.checkUIReadOnly()) {
    status_("UI ReadOnly");
    return -1;
  }
  std::string keyword;
  if (!keywordOrWarn_(keyword)) return -1;
  const std::string replacement = qStringToSjis(EditReplace->text()).value_or("");
  aForm.UI2Model();
  aList.clear();
  status_("*Replacing* " + keyword + " " + replacement);
  rememberKeyword_(keyword);
  const bool ignore = part_("Ignore"), fields = part_("Field"), comment = part_("Comment"),
             memo = part_("Memo"), name = part_("Name");
  for (MemoHolder* holder : targets_()) {
    if (flagAll) status_("*Scanning* " + keyword + " " + holder->getName());
    // A read-only holder, or one whose file did not read whole, is left as it is.
    if (!aForm.loadTargetHolder_(*holder) || holder->isReadOnlyHolder()) continue;
    bool changed = false;
    for (int i = 0; i < holder->countOfNodes(); ++i) {
      MemoNode* node = holder->nodeAt_(i);
      if (node->isReadOnly()) continue;
      StringList log;
      node->replaceKeyword_(keyword, replacement, log, fields, comment, memo, name, ignore);
      const std::string head =
          (flagAll ? holder->getName() : std::string()) + ":" + node->getName() + ":";
      for (const std::string& line : log) aList.push_back({head + line, node});
      changed = changed || !log.empty();
    }
    if (changed) holder->flagChanged = true;
  }
  showList_();
  const int count = static_cast<int>(aList.size());
  if (count == 0) {
    const std::string text = "*Done Replace* No match KeyWord=" + keyword;
    status_(text);
    aForm.services.prompter->ask(BoxKind::Confirmation, text, Buttons(Answer::Ok));
  } else {
    status_("*Done Replace* count=" + std::to_string(count) + " KeyWord=" + keyword);
    aForm.Model2UI();
  }
  return count;
}

int TFormScanHolders::grep() {
  if (aForm.isBusy()) return -1;
  std::string keyword;
  if (!keywordOrWarn_(keyword)) return -1;
  aGrep.clear();
  PageControl->setCurrentIndex(1);
  status_("*Grep* " + keyword);
  rememberKeyword_(keyword);
  const bool ignore = part_("Ignore"), fields = part_("Field"), comment = part_("Comment"),
             memo = part_("Memo"), name = part_("Name");
  StringList lines;
  for (MemoHolder* holder : targets_()) {
    if (flagAll) status_("*Grep* " + keyword + " " + holder->getName());
    if (!holder->flagLoaded) readHolderForGrep_(aForm, *holder);
    for (int i = 0; i < holder->countOfNodes(); ++i) {
      MemoNode* node = holder->nodeAt_(i);
      lines.clear();
      node->grepKeyword_(keyword, ignore, lines, fields, comment, memo, name);
      const std::string head = holder->getName() + ":" + node->getName() + ":";
      for (const std::string& line : lines) aGrep.push_back({head + line, node});
    }
  }
  showGrep_();
  const int count = static_cast<int>(aGrep.size());
  if (count == 0) {
    const std::string text = flagAll ? "No match" : "*Done Grep* No match KeyWord=" + keyword;
    status_(text);
    aForm.services.prompter->ask(BoxKind::Confirmation, text, Buttons(Answer::Ok));
  } else if (!flagAll) {
    status_("*Done Grep* count=" + std::to_string(count) + " KeyWord=" + keyword);
  }
  return count;
}

// --- actions on the results

int TFormScanHolders::mark_(bool flag) {
  if (aForm.checkUIReadOnly()) {
    status_("UI ReadOnly");
    return -1;
  }
  const int count = markEntries_(aList, flag);
  status_((flag ? "Done: Mark count=" : "Done: Unmark count=") + std::to_string(count));
  return count;
}

int TFormScanHolders::editSelect() {
  if (aList.empty()) {
    status_("No MemoNode selected.");
    return -1;
  }
  if (!aEditSelect || !aEditSelect(aList)) {
    aForm.messageDoing_("ERROR FormEditSelNode");
    status_(flagAll ? "ERROR: FormEditSelNode = nil in TFormScanHolders."
                    : "ERROR: FormEditSelNode = nil.");
    return -1;
  }
  return static_cast<int>(aList.size());
}

int TFormScanHolders::newNode() {
  const ScanEntries& entries = PageControl->currentIndex() == 1 ? aGrep : aList;
  StringList lines;
  for (const ScanEntry& entry : entries) lines.push_back(entry.text);
  return putIntoNewNode_(aForm, lines);
}

void TFormScanHolders::clearPage() {
  if (PageControl->currentIndex() == 1) {
    aGrep.clear();
    ListGrep->clear();
  } else {
    aList.clear();
    ListBoxResult->clear();
  }
}

void TFormScanHolders::clickEntry_(int row, bool grepPage) {
  const ScanEntries& entries = grepPage ? aGrep : aList;
  if (row < 0 || row >= static_cast<int>(entries.size())) return;
  gotoEntry_(aForm, entries[static_cast<std::size_t>(row)]);
}

// --- the holder list

void TFormScanHolders::updateHolders() {
  if (!CheckListHolders) return;
  std::unordered_set<const MemoHolder*> checked;
  for (int row = 0; row < CheckListHolders->count(); ++row) {
    if (CheckListHolders->item(row)->checkState() == Qt::Checked)
      checked.insert(aHolderRows[static_cast<std::size_t>(row)].get());
  }
  checked.erase(nullptr);
  fillHolderList_(*CheckListHolders, aHolderRows, *aForm.getFile(), checked);
}

void TFormScanHolders::checkCurrent() {
  if (CheckListHolders) checkHolderRow_(*CheckListHolders, aHolderRows, aForm.getCurHolder());
}

void TFormScanHolders::checkAll_(bool flag) {
  if (!CheckListHolders) return;
  for (int row = 0; row < CheckListHolders->count(); ++row)
    CheckListHolders->item(row)->setCheckState(flag ? Qt::Checked : Qt::Unchecked);
}

void TFormScanHolders::showFor_() {
  std::string caption = "FormScanHolder " + aForm.getFile()->getName();
  if (!flagAll && aForm.getCurHolder()) caption += " : " + aForm.getCurHolder()->getName();
  setWindowTitle(sjisToQString(caption));
  if (flagAll) {
    updateHolders();
    checkCurrent();
  }
  show();
  raise();
  activateWindow();
}

}  // namespace vrk
