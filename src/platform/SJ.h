#pragma once
// SJ("...") turns a UTF-8 literal of the sources into Shift_JIS bytes, once per
// call site, and caches it.
#include <string>

#include "platform/SjisBridge.h"

namespace vrk::detail {
inline std::string sjLiteral(const char* utf8) { return utf8LiteralToSjis(utf8); }
inline std::string sjLiteral(const char8_t* utf8) {
  return utf8LiteralToSjis(reinterpret_cast<const char*>(utf8));
}
}  // namespace vrk::detail

#define SJ(literal)                                                          \
  ([]() -> const std::string& {                                              \
    static const std::string converted = ::vrk::detail::sjLiteral(literal); \
    return converted;                                                        \
  }())
