#include "platform/qt/QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

#include "platform/Path.h"
#include "platform/qt/QtSjis.h"

namespace vrk {
namespace {

constexpr std::pair<Answer, QMessageBox::StandardButton> kButtons[] = {
    {Answer::Ok, QMessageBox::Ok},
    {Answer::Yes, QMessageBox::Yes},
    {Answer::No, QMessageBox::No},
    {Answer::Cancel, QMessageBox::Cancel},
    {Answer::YesToAll, QMessageBox::YesToAll},
};

QMessageBox::Icon iconOf(BoxKind box) {
  switch (box) {
    case BoxKind::Warning:
      return QMessageBox::Warning;
    case BoxKind::Confirmation:
      return QMessageBox::Question;
    case BoxKind::Error:
      return QMessageBox::Critical;
    case BoxKind::Information:
      break;
  }
  return QMessageBox::Information;
}

Answer askBox(const QString& title, const Prompt& question) {
  QMessageBox box(iconOf(question.box), title, sjisToQString(question.text), QMessageBox::NoButton,
                  QApplication::activeWindow());
  for (const auto& [answer, button] : kButtons)
    if (question.buttons & static_cast<Buttons>(answer)) box.addButton(button);
  box.exec();
  const QMessageBox::StandardButton chosen = box.standardButton(box.clickedButton());
  for (const auto& [answer, button] : kButtons)
    if (button == chosen) return answer;
  return Answer::Cancel;
}

// A path the user chose, as a stored path; a name Shift_JIS cannot hold is
// refused with a message rather than mangled.
Reply chosenPath(const QString& path) {
  if (path.isEmpty()) return {};
  const std::optional<std::string> stored = fromOsPath_(path.toStdString());
  if (!stored) {
    QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("vrk"),
                         QStringLiteral("This name cannot be stored: ") + path);
    return {};
  }
  return Reply{Answer::Ok, *stored, -1};
}

QString osPath(const std::string& stored) {
  return QString::fromStdString(toOsPath_(stored).value_or(std::string()));
}

bool isPatternField(const QString& field) {
  if (field.isEmpty()) return false;
  for (const QString& piece : field.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString glob = piece.trimmed();
    if (glob.isEmpty() || glob.contains(QLatin1Char(' ')) || glob.contains(QLatin1Char('(')) ||
        !(glob.contains(QLatin1Char('*')) || glob.contains(QLatin1Char('.'))))
      return false;
  }
  return true;
}

QString globsOf(const QString& patterns) {
  QStringList globs;
  for (const QString& piece : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString glob = piece.trimmed();
    globs << (glob == QStringLiteral("*.*") ? QStringLiteral("*") : glob);
  }
  return globs.join(QLatin1Char(' '));
}

// "MXA files (*.mxa)" as the text "MXA files" and the patterns "*.mxa".
std::pair<QString, QString> splitDescription(const QString& text) {
  const qsizetype open = text.lastIndexOf(QLatin1Char('('));
  if (open < 0 || !text.endsWith(QLatin1Char(')'))) return {text, QString()};
  return {text.left(open).trimmed(), text.mid(open + 1, text.size() - open - 2).trimmed()};
}

}  // namespace

QString qtFileFilter_(std::string_view filter) {
  const QString all = sjisToQString(filter);
  if (!all.contains(QLatin1Char('|'))) return all;
  QStringList out;
  QString text;  // a description waiting for its pattern
  bool waiting = false;
  const auto add = [&](const QString& description, const QString& patterns) {
    auto [name, own] = splitDescription(description);
    const QString globs = globsOf(patterns.isEmpty() ? own : patterns);
    if (name.isEmpty()) name = globs.isEmpty() ? QStringLiteral("All") : globs;
    out << name + QStringLiteral(" (") + (globs.isEmpty() ? QStringLiteral("*") : globs) +
               QLatin1Char(')');
  };
  for (const QString& piece : all.split(QLatin1Char('|'))) {
    const QString field = piece.trimmed();
    if (field.isEmpty()) continue;
    if (isPatternField(field)) {
      add(waiting ? text : QString(), field);
      waiting = false;
      continue;
    }
    if (waiting) add(text, QString());
    text = field;
    waiting = true;
  }
  if (waiting) add(text, QString());
  return out.join(QStringLiteral(";;"));
}

Reply QtPrompter::prompt(const Prompt& question) {
  QWidget* parent = QApplication::activeWindow();
  const QString title = question.title.empty() ? title_ : sjisToQString(question.title);
  bool ok = false;
  switch (question.kind) {
    case Prompt::Kind::Message:
      return Reply{askBox(title, question), {}, -1};
    case Prompt::Kind::Input: {
      const QString text =
          QInputDialog::getText(parent, title, sjisToQString(question.text),
                                question.secret ? QLineEdit::Password : QLineEdit::Normal,
                                sjisToQString(question.initial), &ok);
      if (!ok) return {};
      const std::optional<std::string> stored = qStringToSjis(text);
      if (!stored) {
        QMessageBox::warning(parent, title_, QStringLiteral("This text cannot be stored: ") + text);
        return {};
      }
      return Reply{Answer::Ok, *stored, -1};
    }
    case Prompt::Kind::OpenFile:
      return chosenPath(QFileDialog::getOpenFileName(parent, title, osPath(question.initial),
                                                     qtFileFilter_(question.filter)));
    case Prompt::Kind::SaveFile:
      return chosenPath(QFileDialog::getSaveFileName(parent, title, osPath(question.initial),
                                                     qtFileFilter_(question.filter)));
    case Prompt::Kind::Directory:
      return chosenPath(QFileDialog::getExistingDirectory(parent, title, osPath(question.initial)));
    case Prompt::Kind::Choice: {
      QStringList items;
      for (const std::string& item : question.items) items << sjisToQString(item);
      const QString chosen = QInputDialog::getItem(
          parent, title, sjisToQString(question.text), items,
          std::max(0, static_cast<int>(items.indexOf(sjisToQString(question.initial)))), false,
          &ok);
      if (!ok) return {};
      return Reply{Answer::Ok, {}, static_cast<int>(items.indexOf(chosen))};
    }
  }
  return {};
}

}  // namespace vrk
