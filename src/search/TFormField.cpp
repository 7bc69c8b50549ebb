#include "search/TFormField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_set>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/NameEdits.h"
#include "platform/qt/QtSjis.h"
#include "search/ScanSupport.h"
#include "shell/TFormMainBaseVRK.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/LineLists.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

std::string textOf(const QComboBox& box) { return qStringToSjis(box.currentText()).value_or(""); }

void remember(QComboBox& box, StringList& history, const std::string& text) {
  pushFrontUnique_(history, text, true);
  fillHistory_(box, history, text);
}

// The value as stored: in double quotes, a quoted text unquoted first.
std::string quotedValue(const std::string& typed) {
  return typed.empty() ? "\"\"" : "\"" + unquote_(typed) + "\"";
}

}  // namespace

TFormField::TFormField(TFormMainBaseVRK& form, QWidget* parent)
    : QWidget(parent, Qt::Window),
      aForm(form),
      ComboBoxField(new QComboBox(this)),
      ComboBoxValue(new QComboBox(this)),
      ComboBoxReplace(new QComboBox(this)),
      ComboBoxScanOp(new QComboBox(this)),
      ComboBoxValueOp(new QComboBox(this)),
      CheckBoxIgnore(new QCheckBox(QStringLiteral("Ignore"), this)),
      CheckListHolders(new QListWidget(this)),
      ListBoxResult(new QListWidget(this)),
      StatusBar(new ClickClearLabel(this)) {
  setObjectName(QStringLiteral("FormScanField"));
  for (QComboBox* box : {ComboBoxField, ComboBoxValue, ComboBoxReplace}) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
  }
  ComboBoxScanOp->addItems({QStringLiteral("Field"), QStringLiteral("Both")});
  ComboBoxValueOp->addItems({QStringLiteral("Equal"), QStringLiteral("Include")});
  CheckBoxIgnore->setChecked(true);
  const auto button = [this](QBoxLayout* row, const char* caption, auto action) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this,
            [this, action] { aForm.guard_("TFormField", [&] { action(); }); });
    aButtons.push_back(b);
    row->addWidget(b);
  };
  auto* boxes = new QGridLayout;
  boxes->addWidget(new QLabel(QStringLiteral("Field"), this), 0, 0);
  boxes->addWidget(ComboBoxField, 0, 1);
  boxes->addWidget(new QLabel(QStringLiteral("Value"), this), 1, 0);
  boxes->addWidget(ComboBoxValue, 1, 1);
  boxes->addWidget(new QLabel(QStringLiteral("Replace"), this), 2, 0);
  boxes->addWidget(ComboBoxReplace, 2, 1);
  auto* ops = new QHBoxLayout;
  ops->addWidget(new QLabel(QStringLiteral("Scan Op"), this));
  ops->addWidget(ComboBoxScanOp);
  ops->addWidget(new QLabel(QStringLiteral("Value Op"), this));
  ops->addWidget(ComboBoxValueOp);
  ops->addWidget(CheckBoxIgnore);
  button(ops, "Field Name", [this] { fieldNames(); });
  button(ops, "Value", [this] { fieldValues_(*ComboBoxValue); });
  button(ops, "Replace Val", [this] { fieldValues_(*ComboBoxReplace); });
  auto* runs = new QHBoxLayout;
  button(runs, "Scan", [this] { scan_(false); });
  button(runs, "Scan Not", [this] { scan_(true); });
  button(runs, "Replace", [this] { replace(); });
  button(runs, "Set", [this] { set(); });
  button(runs, "Delete", [this] { remove(); });
  auto* actions = new QHBoxLayout;
  button(actions, "Mark", [this] { mark_(true); });
  button(actions, "Unmark", [this] { mark_(false); });
  button(actions, "New Node", [this] { newNode(); });
  button(actions, "Edit Sel", [this] { editSel(); });
  button(actions, "Clear", [this] {
    aEntries.clear();
    ListBoxResult->clear();
  });
  button(actions, "CopyHolder",
         [this] { aForm.services.prompter->inform("Should Not Implemented"); });
  button(actions, "MoveHolder",
         [this] { aForm.services.prompter->inform("Should Not Implemented"); });
  auto* holders = new QHBoxLayout;
  button(holders, "Up Holder", [this] { upHolder(); });
  button(holders, "Current", [this] { checkCurrent(); });
  button(holders, "ALL", [this] { checkAll_(true); });
  button(holders, "UnSelect", [this] { checkAll_(false); });
  auto* left = new QVBoxLayout;
  left->addLayout(holders);
  left->addWidget(CheckListHolders);
  auto* split = new QHBoxLayout;
  split->addLayout(left, 1);
  split->addWidget(ListBoxResult, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(boxes);
  layout->addLayout(ops);
  layout->addLayout(runs);
  layout->addLayout(actions);
  layout->addLayout(split, 1);
  layout->addWidget(StatusBar);
  connect(ListBoxResult, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    aForm.guard_("TFormField", [&] { clickEntry_(ListBoxResult->row(item)); });
  });
  resize(720, 480);
}

std::string TFormField::statusText() const { return qStringToSjis(StatusBar->text()).value_or(""); }

void TFormField::status_(std::string_view text) {
  StatusBar->setText(sjisToQString(text));
  StatusBar->repaint();
}

QPushButton* TFormField::button_(std::string_view caption) const {
  return findCaption_(aButtons, caption);
}

int TFormField::scan_(bool negate) {
  const std::string field = textOf(*ComboBoxField);
  const std::string value = textOf(*ComboBoxValue);
  if (field.empty()) {
    status_("Field is Empty.");
    aForm.services.prompter->ask(BoxKind::Warning, "Field is Empty.", Buttons(Answer::Ok));
    return -1;
  }
  const bool ignore = CheckBoxIgnore->isChecked();
  const std::vector<MemoHolder*> holders = checkedHolders_(*CheckListHolders, aHolderRows);
  if (holders.empty()) {
    status_("no MemoHolder selected.");
    return -1;
  }
  remember(*ComboBoxField, aFieldHistory, field);
  remember(*ComboBoxValue, aValueHistory, value);
  aForm.UI2Model();
  aEntries.clear();
  aHolderNames.clear();
  const bool both = ComboBoxScanOp->currentIndex() == 1;
  const bool include = ComboBoxValueOp->currentIndex() == 1;
  for (MemoHolder* holder : holders) {
    if (!aForm.loadTargetHolder_(*holder)) continue;
    for (int i = 0; i < holder->countOfNodes(); ++i) {
      MemoNode* node = holder->nodeAt_(i);
      bool hit;
      if (both) {
        const std::string x = unquote_(node->getField_(field));
        hit = include ? findKeywordIn_(x, value, ignore) != std::string::npos
                      : (ignore ? sameText_(x, value) : x == value);
      } else {
        hit = findKeywordIn_(linesToBytes_(node->aFields), field, ignore) != std::string::npos;
      }
      if (hit == negate) continue;
      aEntries.push_back({holder->getName() + " : " + node->getName() + " : " + field + "=" +
                              node->getField_(field),
                          node});
      aHolderNames.push_back(holder->getName());
    }
  }
  fillEntries_(*ListBoxResult, aEntries);
  const int count = static_cast<int>(aEntries.size());
  status_(std::string("*Done:") + (negate ? " Not " : " ") +
          (count == 0 ? "Scan Filed No match"
                      : "Scan Field count=" + std::to_string(count) + " KeyWord=" + field));
  return count;
}

bool TFormField::scanForEdit_(int& count) {
  if (aForm.checkUIReadOnly()) {
    status_("UI ReadOnly");
    return false;
  }
  count = scan_(false);
  if (count < 0) return false;
  if (count == 0) {
    status_("No MemoNode.");
    return false;
  }
  return true;
}

std::string TFormField::entryHead_(const ScanEntry& entry) const {
  const std::size_t index = static_cast<std::size_t>(&entry - aEntries.data());
  MemoNode* node = entry.node.get();
  return aHolderNames[index] + " : " + (node ? node->getName() : std::string());
}

int TFormField::replace() {
  int count = 0;
  if (!scanForEdit_(count)) return -1;
  const std::string field = textOf(*ComboBoxField);
  const std::string find = textOf(*ComboBoxValue);
  const std::string replacement = textOf(*ComboBoxReplace);
  remember(*ComboBoxReplace, aReplaceHistory, replacement);
  int changed = 0;
  for (ScanEntry& entry : aEntries) {
    MemoNode* node = entry.node.get();
    if (!node || !isEditable_(*node)) continue;
    const std::string old = node->getField_(field);
    // An empty find text finds nothing, so it changes nothing.
    const std::string now = find.empty() ? old : replaceAll_(old, find, replacement, true);
    if (now != old) {
      node->putField_(field, now);
      holderOfEntry_(entry)->flagChanged = true;
      ++changed;
    }
    entry.text = entryHead_(entry) + " : " + field + "=" + now;
  }
  fillEntries_(*ListBoxResult, aEntries);
  status_("*Done: Replace count=" + std::to_string(changed) + "/" + std::to_string(count) +
          " KeyWord=" + field);
  aForm.Model2UI();
  return changed;
}

int TFormField::set() {
  int count = 0;
  if (!scanForEdit_(count)) return -1;
  const std::string field = textOf(*ComboBoxField);
  const std::string typed = textOf(*ComboBoxReplace);
  remember(*ComboBoxReplace, aReplaceHistory, typed);
  const std::string value = quotedValue(typed);
  for (ScanEntry& entry : aEntries) {
    MemoNode* node = entry.node.get();
    if (!node || !isEditable_(*node)) continue;
    node->putField_(field, value);
    holderOfEntry_(entry)->flagChanged = true;
    entry.text = entryHead_(entry) + " : " + field + "=" + value;
  }
  fillEntries_(*ListBoxResult, aEntries);
  status_("*Done: Set count=" + std::to_string(count) + " KeyWord=" + field);
  aForm.Model2UI();
  return count;
}

int TFormField::remove() {
  int count = 0;
  if (!scanForEdit_(count)) return -1;
  const std::string field = textOf(*ComboBoxField);
  for (ScanEntry& entry : aEntries) {
    MemoNode* node = entry.node.get();
    if (!node || !isEditable_(*node)) continue;
    node->removeField_(field);
    holderOfEntry_(entry)->flagChanged = true;
    entry.text = entryHead_(entry);
  }
  fillEntries_(*ListBoxResult, aEntries);
  status_("*Done: Delete Field count=" + std::to_string(count) + " KeyWord=" + field);
  aForm.Model2UI();
  return count;
}

void TFormField::mark_(bool flag) {
  if (aForm.checkUIReadOnly()) {
    status_("UI ReadOnly");
    return;
  }
  markEntries_(aEntries, flag);
}

int TFormField::newNode() {
  StringList lines;
  for (const ScanEntry& entry : aEntries) lines.push_back(entry.text);
  return putIntoNewNode_(aForm, lines);
}

int TFormField::editSel() {
  if (aEntries.empty()) {
    status_("No MemoNode selected.");
    return -1;
  }
  if (!aEditSelect || !aEditSelect(aEntries)) {
    aForm.messageDoing_("ERROR FormEditSelNode");
    status_("ERROR: FromEditSelNode = nil in TFormField.");
    return -1;
  }
  return static_cast<int>(aEntries.size());
}

void TFormField::upHolder() {
  fillHolderList_(*CheckListHolders, aHolderRows, *aForm.getFile(), {});
  checkCurrent();
}

void TFormField::checkCurrent() {
  checkHolderRow_(*CheckListHolders, aHolderRows, aForm.getCurHolder());
}

void TFormField::checkAll_(bool flag) {
  for (int row = 0; row < CheckListHolders->count(); ++row)
    CheckListHolders->item(row)->setCheckState(flag ? Qt::Checked : Qt::Unchecked);
}

void TFormField::fieldNames() {
  MemoHolder* holder = aForm.getCurHolder();
  if (!holder) return;
  StringList names;
  holder->getFieldNames_(names);
  std::sort(names.begin(), names.end());
  fillHistory_(*ComboBoxField, names, names.empty() ? std::string() : names.front());
}

void TFormField::fieldValues_(QComboBox& box) {
  const std::string field = trim_(textOf(*ComboBoxField));
  if (field.empty()) {
    status_("Field name is empty.");
    return;
  }
  MemoHolder* holder = aForm.getCurHolder();
  if (!holder) return;
  StringList values;
  holder->getFieldValues_(field, values);
  std::sort(values.begin(), values.end());
  fillHistory_(box, values, values.empty() ? std::string() : values.front());
}

void TFormField::clickEntry_(int row) {
  if (row >= 0 && row < static_cast<int>(aEntries.size()))
    gotoEntry_(aForm, aEntries[static_cast<std::size_t>(row)]);
}

void TFormField::showFor_() {
  setWindowTitle(sjisToQString("FormScanField " + aForm.getFile()->getName()));
  upHolder();
  show();
  raise();
}

}  // namespace vrk
