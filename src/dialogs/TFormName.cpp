#include "dialogs/TFormName.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "model/NameEdits.h"
#include "platform/Clock.h"
#include "platform/SjisBridge.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtSjis.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

QDate toQDate(const LocalTime& t) { return QDate(t.year, t.month, t.day); }

LocalTime fromQDate(const QDate& d) {
  LocalTime t;
  t.year = d.year();
  t.month = d.month();
  t.day = d.day();
  return t;
}

QWidget* groupBox(const QString& title, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QGridLayout(box);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(2);
  return box;
}

}  // namespace

TFormName::TFormName(QWidget* parent)
    : QDialog(parent),
      ComboBox_Name(new QComboBox(this)),
      MonthCalendar1(new QCalendarWidget(this)) {
  setObjectName(QStringLiteral("FormName"));
  ComboBox_Name->setObjectName(QStringLiteral("ComboBox_Name"));
  ComboBox_Name->setEditable(true);
  ComboBox_Name->setInsertPolicy(QComboBox::NoInsert);  // the history is ours
  ComboBox_Name->setMinimumWidth(420);
  MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));

  auto* marks1 = groupBox(QStringLiteral("$1"), this);
  for (const char* mark : {"★", "☆", "*", "▲", "URL", "●", "Image", "◎", "DIR", "○", "■", "□"}) {
    const std::string caption = utf8LiteralToSjis(mark);
    connect(
        addButton_(marks1, QStringLiteral("$1"), caption), &QPushButton::clicked, this,
        [this, caption] { edit_([&](const std::string& t) { return putMark1_(t, caption); }); });
  }
  connect(addButton_(marks1, QStringLiteral("$1"), "cut1"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& t) { return cutWord1_(t); }); });
  connect(addButton_(marks1, QStringLiteral("$1"), "Inc"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& t) { return countWord1_(t, true); }); });
  connect(addButton_(marks1, QStringLiteral("$1"), "Dec"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& t) { return countWord1_(t, false); }); });

  auto* marks2 = groupBox(QStringLiteral("$2"), this);
  for (const char* mark :
       {"★", "☆", "▲", "●", "◎", "○", "日", "月", "火", "水", "木", "金", "土"}) {
    const std::string caption = utf8LiteralToSjis(mark);
    connect(
        addButton_(marks2, QStringLiteral("$2"), caption), &QPushButton::clicked, this,
        [this, caption] { edit_([&](const std::string& t) { return putMark2_(t, caption); }); });
  }
  connect(addButton_(marks2, QStringLiteral("$2"), "cut2"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& t) { return cutWord2_(t); }); });
  connect(addButton_(marks2, QStringLiteral("$2"), "Inc"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& t) { return countWord2_(t, true); }); });
  connect(addButton_(marks2, QStringLiteral("$2"), "Dec"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& t) { return countWord2_(t, false); }); });

  auto* marks3 = groupBox(QStringLiteral("$3"), this);
  for (const char* mark : {"★", "☆", "▲", "●", "◎", "○"}) {
    const std::string caption = utf8LiteralToSjis(mark);
    connect(
        addButton_(marks3, QStringLiteral("$3"), caption), &QPushButton::clicked, this,
        [this, caption] { edit_([&](const std::string& t) { return putMark3_(t, caption); }); });
  }
  connect(addButton_(marks3, QStringLiteral("$3"), "cut3"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& t) { return cutWord3_(t); }); });

  auto* calendarBox = groupBox(QStringLiteral("Calendar"), this);
  connect(addButton_(calendarBox, QStringLiteral("Calendar"), "<<"), &QPushButton::clicked, this,
          [this] { setCalendarDate_(addYears_(calendarDate(), -1)); });
  connect(addButton_(calendarBox, QStringLiteral("Calendar"), ">>"), &QPushButton::clicked, this,
          [this] { setCalendarDate_(addYears_(calendarDate(), 1)); });
  connect(addButton_(calendarBox, QStringLiteral("Calendar"), "Today"), &QPushButton::clicked, this,
          [this] { setCalendarDate_(clock().now()); });
  connect(addButton_(calendarBox, QStringLiteral("Calendar"), "Set"), &QPushButton::clicked, this,
          [this] { setDate(); });

  auto* tools = groupBox(QString(), this);
  const QString t = QStringLiteral("Tools");
  connect(addButton_(tools, t, "Reset"), &QPushButton::clicked, this,
          [this] { putNameText_(aNameReset); });
  connect(addButton_(tools, t, "Clear"), &QPushButton::clicked, this, [this] { putNameText_(""); });
  connect(addButton_(tools, t, "*"), &QPushButton::clicked, this, [this] { putNameText_("*"); });
  connect(addButton_(tools, t, "All"), &QPushButton::clicked, this, [this] {
    ComboBox_Name->lineEdit()->selectAll();
    ComboBox_Name->setFocus();
  });
  connect(addButton_(tools, t, "COPY"), &QPushButton::clicked, this, [this] {
    const QString selected = ComboBox_Name->lineEdit()->selectedText();
    if (!selected.isEmpty()) QApplication::clipboard()->setText(selected);
  });
  connect(addButton_(tools, t, "Paste"), &QPushButton::clicked, this,
          [this] { ComboBox_Name->lineEdit()->insert(QApplication::clipboard()->text()); });
  connect(addButton_(tools, t, "ExtractFilename"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& s) { return extractNamePart_(s); }); });
  connect(addButton_(tools, t, "ChangeFileExt,''"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& s) { return removeNameExt_(s); }); });
  connect(addButton_(tools, t, "Cut Head"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& s) { return cutNameHead_(s); }); });
  connect(addButton_(tools, t, "Cut Tail"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& s) { return cutNameTail_(s); }); });
  connect(addButton_(tools, t, "CH2"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& s) { return cutNameHead_(cutNameHead_(s)); }); });
  connect(addButton_(tools, t, "CH1"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& s) { return cutHeadChar_(s); }); });
  connect(addButton_(tools, t, "CT1"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& s) { return cutTailChar_(s); }); });
  connect(addButton_(tools, t, "Inc10"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& s) { return countTens_(s, true); }); });
  connect(addButton_(tools, t, "Dec10"), &QPushButton::clicked, this,
          [this] { edit_([](const std::string& s) { return countTens_(s, false); }); });

  auto* okButton = new QPushButton(QStringLiteral("OK"), this);
  QFont bold = okButton->font();
  bold.setBold(true);
  okButton->setFont(bold);
  okButton->setDefault(true);
  auto* cancelButton = new QPushButton(QStringLiteral("CANCEL"), this);
  connect(okButton, &QPushButton::clicked, this, [this] { ok(); });
  connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });

  auto* top = new QVBoxLayout(this);
  top->addWidget(ComboBox_Name);
  top->addWidget(tools);
  auto* middle = new QHBoxLayout;
  auto* wordGroups = new QVBoxLayout;
  wordGroups->addWidget(marks1);
  wordGroups->addWidget(marks2);
  wordGroups->addWidget(marks3);
  middle->addLayout(wordGroups, 1);
  auto* calendarColumn = new QVBoxLayout;
  calendarColumn->addWidget(MonthCalendar1);
  calendarColumn->addWidget(calendarBox);
  middle->addLayout(calendarColumn);
  top->addLayout(middle);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(okButton);
  bottom->addWidget(cancelButton);
  top->addLayout(bottom);
}

TFormName& TFormName::instanceFor_(QWidget* window) {
  if (auto* existing = window->findChild<TFormName*>(QString(), Qt::FindDirectChildrenOnly))
    return *existing;
  return *new TFormName(window);
}

QPushButton* TFormName::addButton_(QWidget* panel, const QString& group,
                                   const std::string& caption) {
  auto* grid = static_cast<QGridLayout*>(panel->layout());
  auto* button = new QPushButton(sjisToQString(caption), panel);
  button->setObjectName(group + QLatin1Char('|') + sjisToQString(caption));
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::NoFocus);  // the name box keeps the focus and its selection
  const int index = grid->count();
  grid->addWidget(button, index / 8, index % 8);
  return button;
}

QPushButton* TFormName::button_(std::string_view group, std::string_view caption) const {
  const QString name = QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size())) +
                       QLatin1Char('|') + sjisToQString(caption);
  return findChild<QPushButton*>(name);
}

const Clock& TFormName::clock() const {
  // Without a window there are no ports but the system's.
  return aOwner ? aOwner->dialogClock_() : SystemClock::instance();
}

std::string TFormName::today_() const { return formatDateTime_("YYYYMMDD", clock().now()); }

std::optional<std::string> TFormName::getNameText() const {
  const QString text = ComboBox_Name->currentText();
  if (text == aShownText) return aShownBytes;
  return qStringToSjis(text);
}

void TFormName::putNameText_(std::string_view text) {
  aShownBytes = std::string(text);
  aShownText = sjisToQString(text);
  ComboBox_Name->setEditText(aShownText);
}

template <class Edit>
void TFormName::edit_(Edit edit) {
  const std::optional<std::string> text = getNameText();
  if (text) putNameText_(edit(*text));
}

LocalTime TFormName::calendarDate() const { return fromQDate(MonthCalendar1->selectedDate()); }

bool TFormName::setCalendarDate_(const LocalTime& date) {
  const QDate day = toQDate(date);
  if (!day.isValid() || day < MonthCalendar1->minimumDate() || day > MonthCalendar1->maximumDate())
    return false;
  MonthCalendar1->setSelectedDate(day);
  return MonthCalendar1->selectedDate() == day;
}

int TFormName::putObject_(MemoNode* node) {
  if (!node) return -1;
  aNameReset = node->getName();
  putNameText_(aNameReset + " ");
  std::string caption = "Change MemoNode's Name : ";
  auto* holder = dynamic_cast<MemoHolder*>(node->getHolder());
  QPalette colours = QApplication::palette(this);
  if (MemoFile* file = holder ? holder->getMemoFile() : nullptr) {
    caption += file->getName();
    if (!file->getField_("Color").empty())
      colours.setColor(QPalette::Window, toQColor_(file->getColor()));
  }
  setPalette(colours);
  if (holder) caption += " : " + holder->getName();
  setWindowTitle(sjisToQString(caption));
  return setCalendarDate_(dateOfName_(aNameReset, clock())) ? 0 : -1;
}

int TFormName::applyObject() { return 0; }

void TFormName::setDate() {
  if (!aOwner) return;
  std::string pattern = aOwner->dialogDatePattern_();
  if (pattern.empty()) pattern = "YYYYMMDD";
  const std::string date = formatDateTime_(pattern, calendarDate());
  edit_([&](const std::string& text) { return putDateWord_(text, date); });
}

void TFormName::ok() {
  applyObject();
  accept();
  const std::optional<std::string> text = getNameText();
  if (!text) return;
  pushFrontUnique_(aHistory, *text, true);
  const QSignalBlocker quiet(ComboBox_Name);
  ComboBox_Name->clear();
  for (const std::string& name : aHistory) ComboBox_Name->addItem(sjisToQString(name));
  putNameText_(*text);
}

void TFormName::cancel() { reject(); }

}  // namespace vrk
