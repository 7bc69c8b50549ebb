#pragma once
// The model's colours (0x00BBGGRR) to and from QColor.
#include <QColor>

#include "text/Basic.h"

namespace vrk {

inline QColor toQColor_(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

inline Colour fromQColor_(const QColor& colour) {
  return static_cast<Colour>(colour.red()) | static_cast<Colour>(colour.green()) << 8 |
         static_cast<Colour>(colour.blue()) << 16;
}

}  // namespace vrk
