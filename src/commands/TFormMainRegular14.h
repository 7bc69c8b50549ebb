#pragma once
// The main window the program creates: the last level of the chain.
#include "commands/TFormMainVRKX13c.h"

namespace vrk {

class TFormMainRegular14 : public TFormMainVRKX13c {
  Q_OBJECT

 public:
  using TFormMainVRKX13c::TFormMainVRKX13c;

  // The window, created level by level, with the ports it works through.
  static std::unique_ptr<TFormMainRegular14> create(const Services& services) {
    return TFormMainBase0007::create<TFormMainRegular14>(services);
  }

  // The empty memo file is remembered as made, so that opening a file over
  // it while nobody touched it (start-up, a drop) asks nothing.
  void newMemoFile_() override {
    TFormMainVRKX13c::newMemoFile_();
    rememberEmptyMemoFile_();
  }
};

}  // namespace vrk
