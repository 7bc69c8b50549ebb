#include "platform/qt/QtSjis.h"

#include <QByteArray>

#include "platform/SjisBridge.h"

namespace vrk {

QString sjisToQString(std::string_view sjis) {
  const std::string utf8 = sjisToUtf8(sjis);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> qStringToSjis(const QString& text, QString* bad) {
  const QByteArray utf8 = text.toUtf8();
  EncodeFailure failure;
  auto sjis = utf8ToSjis(std::string_view(utf8.constData(), utf8.size()), &failure);
  if (!sjis && bad) *bad = QString::fromStdString(failure.character);
  return sjis;
}

}  // namespace vrk
