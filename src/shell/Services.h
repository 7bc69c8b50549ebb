#pragma once
// Every side effect of the windows goes through one of these ports, handed to
// the main window at creation: the program passes the real ones, tests pass
// fixed time, scripted answers and recorders.
#include <memory>
#include <string>

#include "model/ModelServices.h"

#include "platform/Clock.h"
#include "platform/Ports.h"
#include "platform/WindowPorts.h"
#include "platform/qt/QtPrinters.h"

namespace vrk {

struct Services {
  const Clock* clock = nullptr;
  Rng* rng = nullptr;
  Prompter* prompter = nullptr;
  DesktopShell* desktop = nullptr;
  ProcessRunner* processes = nullptr;
  Downloader* downloader = nullptr;
  MessageSink* messages = nullptr;  // the model's fixed message boxes
  Printers* printers = nullptr;
};

// The one way from the window's ports to the model's. Model objects are
// made deep inside readers that know no window, so the model takes its
// clock, random source, message boxes, downloader and TempDir setting from
// the process-wide ModelServices. The window is the only one to write there,
// and only through this: at creation it puts its own Services there for its
// lifetime, and a changed TempDir setting follows the same way. Window code
// reads its Services, never ModelServices.
class ModelPorts {
 public:
  explicit ModelPorts(const Services& services);
  void putTempDir_(const std::string& dir);

 private:
  ScopedModelServices scope_;
};

// The model's message boxes shown as the prompter's.
class PrompterMessageSink final : public MessageSink {
 public:
  explicit PrompterMessageSink(Prompter& prompter) : prompter_(prompter) {}
  void showMessage(const std::string& text) override { prompter_.inform(text); }

 private:
  Prompter& prompter_;
};

// The program's ports, owned together.
class RealServices {
 public:
  RealServices();
  ~RealServices();
  const Services& services() const { return services_; }

 private:
  std::unique_ptr<Rng> rng_;
  std::unique_ptr<Prompter> prompter_;
  std::unique_ptr<DesktopShell> desktop_;
  std::unique_ptr<ProcessRunner> processes_;
  std::unique_ptr<Downloader> downloader_;
  std::unique_ptr<MessageSink> messages_;
  std::unique_ptr<Printers> printers_;
  Services services_;
};

}  // namespace vrk
