#pragma once
// Shift_JIS bytes to and from QString, through the one bridge.
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace vrk {

QString sjisToQString(std::string_view sjis);
// nullopt when the text holds a character Shift_JIS cannot hold; `bad` names it.
std::optional<std::string> qStringToSjis(const QString& text, QString* bad = nullptr);

}  // namespace vrk
