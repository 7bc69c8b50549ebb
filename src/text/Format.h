#pragma once
// Checked formatters for patterns that come from user data: nothing here ever
// reaches printf.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/LocalTime.h"

namespace vrk {

// printf-style pattern with at most one conversion %[-][0][w][.p](d|u|x|X),
// "%%" and literal bytes. Anything else (a second conversion, %s, a width over
// 255) gives nullopt. u, x and X show the value as 64 unsigned bits.
std::optional<std::string> formatInteger_(std::string_view pattern, std::int64_t value);

// Date pattern: yyyy, yy, mm, dd, ddd (short day name), hh, nn, ss, zzz, with
// letter case ignored; "mm" right after "hh" means minutes. Other bytes are
// copied (character-aware).
std::string formatDateTime_(std::string_view pattern, const LocalTime& time);
std::string formatNow_(std::string_view pattern, const Clock& clock);

}  // namespace vrk
