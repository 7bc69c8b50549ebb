#pragma once
// The frame every user command runs in. A command names what it checks; the
// frame refuses it while a task runs ("Now Doing " and the time), while the
// "ReadOnly" switch is on ("UI ReadOnly") or while the current holder is
// read-only, commits the node editor before and shows the model again after,
// and stops any exception that escapes the command: it becomes a failure
// message on the status line and in the log, and a negative result. A long
// command begins its task with a TaskScope inside the body, so the task ends
// exactly once on every path, an exception's included.
//
// It lives beside the window's first level and needs nothing but that
// level's virtual interface, so that every level, the first ones included,
// runs its commands in it.
#include <functional>
#include <optional>
#include <string_view>

namespace vrk {

class TFormMainBase0007;

enum CommandCheck : unsigned {
  kCheckNone = 0,
  kCheckBusy = 1,            // refused while a task runs
  kCheckUIReadOnly = 2,      // refused while the "ReadOnly" switch is on
  kCheckHolderReadOnly = 4,  // refused when the current holder is read-only (or none)
  kCommitBefore = 8,         // UI2Model first
  kRefreshAfter = 16,        // Model2UI afterwards
  kCheckHolder = 32,         // refused when there is no current holder (read-only or not)
};

// The results of the frame's own refusals; a command's own codes are its own.
constexpr int kRefusedBusy = -1;
constexpr int kRefusedHolderReadOnly = -7;
constexpr int kRefusedUIReadOnly = -8;
constexpr int kRefusedNoHolder = -7;
constexpr int kCommandFailed = -1;  // an exception escaped

struct CommandSpec {
  std::string_view name;  // for the failure message
  unsigned checks = kCheckNone;
  int busyResult = kRefusedBusy;  // some commands answer their own code when busy
  // Some answer one code of their own when a read-only or holder check
  // refuses (a count answers 0 things made).
  std::optional<int> refusedResult = std::nullopt;
};

// Runs body in the frame: its result, or the refusal's code.
int runCommand_(TFormMainBase0007& form, const CommandSpec& spec, const std::function<int()>& body);

// The frame's checks alone, in the frame's order, for an operation that
// answers something other than a code: the code runCommand_ would answer,
// nothing when no check refuses.
std::optional<int> refusalOf_(TFormMainBase0007& form, const CommandSpec& spec);

}  // namespace vrk
