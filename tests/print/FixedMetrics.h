#pragma once
// Text measured with fixed widths: every byte 10 pixels (a double-byte
// character 20), rows 20 pixels high. Text longer than `measurable` bytes
// measures negative, as a platform's measuring of a very long line may.
#include <cstddef>
#include <string_view>

#include "print/PrintLayout.h"

namespace vrk {

class FixedMetrics final : public PrintMetrics {
 public:
  int textWidth(std::string_view sjis) const override {
    if (sjis.size() > measurable) return -1;
    return static_cast<int>(sjis.size()) * 10;
  }
  int lineHeight() const override { return 20; }
  int averageCharWidth() const override { return 10; }
  bool italic() const override { return flagItalic; }

  std::size_t measurable = static_cast<std::size_t>(-1);
  bool flagItalic = false;
};

}  // namespace vrk
