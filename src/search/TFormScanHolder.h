#pragma once
// The scan window over the current holder: TFormScanHolders without the
// holder list, its entries without the holder's name.
#include "search/TFormScanHolders.h"

namespace vrk {

class TFormScanHolder final : public TFormScanHolders {
  Q_OBJECT

 public:
  TFormScanHolder(TFormMainBaseVRK& form, StringList& history, QWidget* parent)
      : TFormScanHolders(form, history, parent, false) {}
};

}  // namespace vrk
