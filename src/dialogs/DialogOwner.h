#pragma once
// What a dialog asks of the main window that opens it. Dialogs sit below the
// window's levels and know none of them; the first level answers for all.
#include <string>

#include "text/LocalTime.h"

namespace vrk {

class DialogOwner {
 public:
  // The window's clock (its ports, so that tests fix the time).
  virtual const Clock& dialogClock_() const = 0;
  // The current holder's date pattern without quotes; empty when there is no
  // current holder.
  virtual std::string dialogDatePattern_() = 0;

 protected:
  ~DialogOwner() = default;
};

}  // namespace vrk
