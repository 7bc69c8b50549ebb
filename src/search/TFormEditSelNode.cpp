#include "search/TFormEditSelNode.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_set>

#include "model/MemoHolder.h"
#include "model/NameEdits.h"
#include "platform/qt/QtSjis.h"
#include "search/ScanSupport.h"
#include "shell/TFormMainBaseVRK.h"
#include "text/CharEX.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

std::string textOf(const QComboBox& box) { return qStringToSjis(box.currentText()).value_or(""); }
std::string textOf(const QPlainTextEdit& box) {
  return qStringToSjis(box.toPlainText()).value_or("");
}

StringList linesOf(const std::string& text) {
  StringList lines;
  std::size_t start = 0;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', start)) {
    lines.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

TFormEditSelNode::TFormEditSelNode(TFormMainBaseVRK& form, QWidget* parent)
    : QWidget(parent, Qt::Window),
      aForm(form),
      ListBoxNodes(new QListWidget(this)),
      ComboBoxName(new QComboBox(this)),
      MemoMemo(new QPlainTextEdit(this)),
      MemoComment(new QPlainTextEdit(this)),
      ComboBoxField(new QComboBox(this)),
      ComboBoxValue(new QComboBox(this)),
      StatusBar(new ClickClearLabel(this)) {
  setObjectName(QStringLiteral("FormEditSelNode"));
  setWindowTitle(QStringLiteral("FormEditSelNode"));
  for (QComboBox* box : {ComboBoxName, ComboBoxField, ComboBoxValue}) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
  }
  const auto button = [this](QBoxLayout* row, const char* caption, auto action) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this,
            [this, action] { aForm.guard_("TFormEditSelNode", [&] { action(); }); });
    row->addWidget(b);
  };
  auto* pages = new QTabWidget(this);
  auto* namePage = new QWidget(this);
  auto* nameRow = new QHBoxLayout;
  button(nameRow, "Insert Head", [this] { editName_(NameEdit::InsertHead); });
  button(nameRow, "Insert Head+", [this] { editName_(NameEdit::InsertHeadPlus); });
  button(nameRow, "Replace", [this] { editName_(NameEdit::Replace); });
  button(nameRow, "Add Tail", [this] { editName_(NameEdit::AddTail); });
  button(nameRow, "Add Tail+", [this] { editName_(NameEdit::AddTailPlus); });
  auto* nameLayout = new QVBoxLayout(namePage);
  nameLayout->addWidget(ComboBoxName);
  nameLayout->addLayout(nameRow);
  nameLayout->addStretch();
  pages->addTab(namePage, QStringLiteral("Name"));
  for (const bool comment : {false, true}) {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout;
    button(row, "Insert Head", [this, comment] { editLines_(LinesEdit::InsertHead, comment); });
    button(row, "Replace", [this, comment] { editLines_(LinesEdit::Replace, comment); });
    button(row, "Add Tail", [this, comment] { editLines_(LinesEdit::AddTail, comment); });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(comment ? MemoComment : MemoMemo);
    layout->addLayout(row);
    pages->addTab(page, comment ? QStringLiteral("Comment") : QStringLiteral("Memo"));
  }
  auto* fieldPage = new QWidget(this);
  auto* fieldRow = new QHBoxLayout;
  button(fieldRow, "Update Field", [this] { updateFieldNames(); });
  button(fieldRow, "Set", [this] { setField(); });
  button(fieldRow, "Delete", [this] { deleteField(); });
  auto* fieldLayout = new QVBoxLayout(fieldPage);
  fieldLayout->addWidget(new QLabel(QStringLiteral("Field"), this));
  fieldLayout->addWidget(ComboBoxField);
  fieldLayout->addWidget(new QLabel(QStringLiteral("Value"), this));
  fieldLayout->addWidget(ComboBoxValue);
  fieldLayout->addLayout(fieldRow);
  fieldLayout->addStretch();
  pages->addTab(fieldPage, QStringLiteral("Field"));
  auto* split = new QHBoxLayout;
  split->addWidget(ListBoxNodes, 1);
  split->addWidget(pages, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(split, 1);
  layout->addWidget(StatusBar);
  resize(640, 400);
}

void TFormEditSelNode::putNodes_(const ScanEntries& entries, bool byPosition) {
  aNodes.clear();
  for (std::size_t i = 0; i < entries.size(); ++i)
    aNodes.push_back({byPosition ? std::to_string(i) : entries[i].text, entries[i].node});
  fillEntries_(*ListBoxNodes, aNodes);
}

std::string TFormEditSelNode::statusText() const {
  return qStringToSjis(StatusBar->text()).value_or("");
}

void TFormEditSelNode::status_(std::string_view text) { StatusBar->setText(sjisToQString(text)); }

bool TFormEditSelNode::begin_(std::vector<MemoNode*>& nodes) {
  if (aNodes.empty()) {
    status_("No MemoNode selected.");
    return false;
  }
  if (aForm.checkUIReadOnly()) {
    status_("UI ReadOnly");
    return false;
  }
  aForm.UI2Model();
  for (MemoNode* node : distinctNodes_(aNodes))
    if (isEditable_(*node)) nodes.push_back(node);
  return true;
}

void TFormEditSelNode::end_(const std::vector<MemoNode*>& changed) {
  for (MemoNode* node : changed)
    if (auto* holder = dynamic_cast<MemoHolder*>(node->getHolder())) holder->flagChanged = true;
  aForm.Model2UI();
}

int TFormEditSelNode::editName_(NameEdit how) {
  const std::string text = textOf(*ComboBoxName);
  if (aNodes.empty()) {
    status_("No MemoNode selected.");
    return -1;
  }
  if (trim_(text).empty()) {
    status_("Empty KeyWord");
    return -1;
  }
  std::vector<MemoNode*> nodes;
  if (!begin_(nodes)) return -1;
  pushFrontUnique_(aNameHistory, text, true);
  fillHistory_(*ComboBoxName, aNameHistory, text);
  for (MemoNode* node : nodes) {
    const std::string name = node->getName();
    switch (how) {
      case NameEdit::InsertHead:
        node->putName_(text + name);
        break;
      case NameEdit::InsertHeadPlus:
        node->putName_(text + " " + name);
        break;
      case NameEdit::Replace:
        node->putName_(text);
        break;
      case NameEdit::AddTail:
        node->putName_(name + text);
        break;
      case NameEdit::AddTailPlus:
        node->putName_(name + " " + text);
        break;
    }
  }
  end_(nodes);
  const std::string count = std::to_string(nodes.size());
  static constexpr const char* kDone[] = {"Done: Insert Head Name ", "Done: Insert Head Name+ ",
                                          "Done: Replace Name ", "Done: Add Tail Name ",
                                          "Done: Add Tail Name+"};
  status_(kDone[static_cast<int>(how)] + count);
  return static_cast<int>(nodes.size());
}

int TFormEditSelNode::editLines_(LinesEdit how, bool comment) {
  const std::string text = textOf(comment ? *MemoComment : *MemoMemo);
  if (aNodes.empty()) {
    status_("No MemoNode selected.");
    return -1;
  }
  if (trim_(text).empty()) {
    status_("Empty!");
    return -1;
  }
  std::vector<MemoNode*> nodes;
  if (!begin_(nodes)) return -1;
  const StringList lines = linesOf(text);
  std::vector<MemoNode*> changed;
  for (MemoNode* node : nodes) {
    // A binary node's memo is no text.
    if (!comment && node->getField_("Content-Transfer-Encoding") == "\"binary\"") continue;
    if (comment && !node->aComment) node->aComment.emplace();
    StringList& target = comment ? *node->aComment : node->aMemo;
    if (how == LinesEdit::InsertHead)
      target.insert(target.begin(), lines.begin(), lines.end());
    else if (how == LinesEdit::Replace)
      target = lines;
    else
      target.insert(target.end(), lines.begin(), lines.end());
    changed.push_back(node);
  }
  end_(changed);
  static constexpr const char* kDone[] = {"Done: Insert Head ", "Done: Replace ",
                                          "Done: Insert add Tail "};
  status_(std::string(kDone[static_cast<int>(how)]) + (comment ? "Comment " : "Memo ") +
          std::to_string(changed.size()));
  return static_cast<int>(changed.size());
}

int TFormEditSelNode::setField() {
  const std::string field = textOf(*ComboBoxField);
  const std::string value = textOf(*ComboBoxValue);
  if (aNodes.empty()) {
    status_("No MemoNode selected.");
    return -1;
  }
  if (field.empty()) {
    status_("Field is Empty.");
    aForm.services.prompter->ask(BoxKind::Warning, "Field is Empty.", Buttons(Answer::Ok));
    return -1;
  }
  std::vector<MemoNode*> nodes;
  if (!begin_(nodes)) return -1;
  const std::string stored = value.empty() ? "\"\"" : "\"" + unquote_(value) + "\"";
  pushFrontUnique_(aFieldHistory, field, true);
  pushFrontUnique_(aValueHistory, value, true);
  fillHistory_(*ComboBoxField, aFieldHistory, field);
  fillHistory_(*ComboBoxValue, aValueHistory, value);
  for (MemoNode* node : nodes) node->putField_(field, stored);
  end_(nodes);
  status_("*Done Set Field count=" + std::to_string(nodes.size()) + " Field=" + field +
          " Value=" + stored);
  return static_cast<int>(nodes.size());
}

int TFormEditSelNode::deleteField() {
  const std::string field = textOf(*ComboBoxField);
  const std::string value = textOf(*ComboBoxValue);
  if (aNodes.empty()) {
    status_("No MemoNode selected.");
    return -1;
  }
  if (field.empty()) {
    status_("Field is Empty.");
    aForm.services.prompter->ask(BoxKind::Warning, "Field is Empty.", Buttons(Answer::Ok));
    return -1;
  }
  std::vector<MemoNode*> nodes;
  if (!begin_(nodes)) return -1;
  pushFrontUnique_(aFieldHistory, field, true);
  pushFrontUnique_(aValueHistory, value, true);
  fillHistory_(*ComboBoxField, aFieldHistory, field);
  fillHistory_(*ComboBoxValue, aValueHistory, value);
  for (MemoNode* node : nodes) node->removeField_(field);
  end_(nodes);
  status_("*Done: Delete Field count=" + std::to_string(nodes.size()) + " KeyWord=" + field);
  return static_cast<int>(nodes.size());
}

void TFormEditSelNode::updateFieldNames() {
  MemoHolder* holder = aForm.getCurHolder();
  if (!holder) return;
  StringList names;
  holder->getFieldNames_(names);
  std::sort(names.begin(), names.end());
  fillHistory_(*ComboBoxField, names, textOf(*ComboBoxField));
}

}  // namespace vrk
