#pragma once
// The side effects of the model behind one switchable set of ports: vrk-tool
// keeps the defaults (or plugs in its own), tests plug in fixed ones, and the
// main window puts its own Services here through ModelPorts (shell/Services.h),
// the one window-side writer.
#include <string>

#include "platform/Clock.h"
#include "platform/Ports.h"

namespace vrk {

struct ModelServices {
  const Clock* clock = nullptr;
  Rng* rng = nullptr;
  MessageSink* messages = nullptr;
  Downloader* downloader = nullptr;
  std::string tempDir;  // the TempDir setting; empty: $TMPDIR, else /tmp/
};

// Defaults: the system clock, a randomly seeded generator, messages to
// stderr, a downloader that always fails with -1, no TempDir setting.
ModelServices& modelServices();

// Replaces the services for its lifetime; null pointers keep the current
// ones, tempDir is always taken.
class ScopedModelServices {
 public:
  explicit ScopedModelServices(const ModelServices& replacement);
  ~ScopedModelServices();
  ScopedModelServices(const ScopedModelServices&) = delete;
  ScopedModelServices& operator=(const ScopedModelServices&) = delete;

 private:
  ModelServices saved_;
};

}  // namespace vrk
