#pragma once
// The operating system's clock. The Clock port, and the fixed clock that tests
// and reproducible conversions hand in, are in text/LocalTime.h.
#include "text/LocalTime.h"

namespace vrk {

// The operating system's local time, with milliseconds.
class SystemClock final : public Clock {
 public:
  LocalTime now() const override;
  int utcOffsetMinutes() const override;
  static const SystemClock& instance();
};

}  // namespace vrk
