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

}  // namespace

Reply QtPrompter::prompt(const Prompt& question) {
  QWidget* parent = QApplication::activeWindow();
  const QString title = question.title.empty() ? title_ : sjisToQString(question.title);
  bool ok = false;
  switch (question.kind) {
    case Prompt::Kind::Message:
      return Reply{askBox(title, question), {}, -1};
    case Prompt::Kind::Input: {
      const QString text =
          QInputDialog::getText(parent, title, sjisToQString(question.text), QLineEdit::Normal,
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
                                                     QString::fromStdString(question.filter)));
    case Prompt::Kind::SaveFile:
      return chosenPath(QFileDialog::getSaveFileName(parent, title, osPath(question.initial),
                                                     QString::fromStdString(question.filter)));
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
