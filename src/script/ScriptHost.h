#pragma once
// What a running script needs from the program around it: window events, a
// wait that lets them run, input and message boxes. The window's host fills
// it with the event loop and the Prompter; HeadlessScriptHost serves the
// command line. Texts are Shift_JIS.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/WindowPorts.h"

namespace vrk {

class ScriptHost {
 public:
  static constexpr int kForever = -1;

  virtual ~ScriptHost() = default;
  // Runs the window events that are waiting, and returns. Called at the start
  // of every statement list, so once per loop iteration: it must be cheap when
  // nothing waits.
  virtual void processMessages() = 0;
  // Runs window events until `milliseconds` have passed (kForever: no limit) or
  // wake() is called, without spinning. false when nothing could ever end an
  // unlimited wait (no events at all): the caller must not wait again.
  virtual bool waitEvents(int milliseconds) = 0;
  // Ends a waitEvents in progress (a script was stopped or resumed).
  virtual void wake() = 0;
  // The text entered; nullopt when cancelled.
  virtual std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& initial) = 0;
  // A message box with the Windows flags (MB_OKCANCEL 1, MB_ICONQUESTION 0x20,
  // ...); answers the Windows button code (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7),
  // since scripts test these numbers. messageBoxQuestion_ and messageBoxAnswer_
  // translate for a Prompter.
  virtual int messageBox(const std::string& text, const std::string& caption,
                         std::uint32_t flags) = 0;
};

// Windows message box codes.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

struct MessageBoxQuestion {
  BoxKind box = BoxKind::Information;
  Buttons buttons = static_cast<Buttons>(Answer::Ok);
};
// The box and buttons for Windows flags. Abort/Retry/Ignore is offered as
// Yes/No/Cancel in that order, Retry/Cancel as OK/Cancel.
MessageBoxQuestion messageBoxQuestion_(std::uint32_t flags);
// The Windows code of an answer to a box with those flags. A box closed
// without a choice answers as Windows does: IDOK for an OK box, else the
// box's cancelling button (IDNO for Yes/No).
int messageBoxAnswer_(std::uint32_t flags, Answer answer);

// For the command line: no events; Sleep really sleeps, a Pause ends at once,
// an input box answers its default, a message box IDOK.
class HeadlessScriptHost final : public ScriptHost {
 public:
  void processMessages() override {}
  bool waitEvents(int milliseconds) override;
  void wake() override {}
  std::optional<std::string> inputBox(const std::string&, const std::string&,
                                      const std::string& initial) override {
    return initial;
  }
  int messageBox(const std::string&, const std::string&, std::uint32_t) override { return kIdOk; }
};

}  // namespace vrk
