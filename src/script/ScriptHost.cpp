#include "script/ScriptHost.h"

#include <chrono>
#include <thread>

namespace vrk {
namespace {

enum : std::uint32_t {
  kMbOkCancel = 1,
  kMbAbortRetryIgnore = 2,
  kMbYesNoCancel = 3,
  kMbYesNo = 4,
  kMbRetryCancel = 5,
  kMbIconHand = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconExclamation = 0x30,
};

}  // namespace

MessageBoxQuestion messageBoxQuestion_(std::uint32_t flags) {
  MessageBoxQuestion q;
  switch (flags & 0xF) {
    case kMbOkCancel:
    case kMbRetryCancel:
      q.buttons = Answer::Ok | Answer::Cancel;
      break;
    case kMbAbortRetryIgnore:
    case kMbYesNoCancel:
      q.buttons = Answer::Yes | Answer::No | Answer::Cancel;
      break;
    case kMbYesNo:
      q.buttons = Answer::Yes | Answer::No;
      break;
    default:
      break;
  }
  switch (flags & 0xF0) {
    case kMbIconHand:
      q.box = BoxKind::Error;
      break;
    case kMbIconQuestion:
      q.box = BoxKind::Confirmation;
      break;
    case kMbIconExclamation:
      q.box = BoxKind::Warning;
      break;
    default:
      break;
  }
  return q;
}

int messageBoxAnswer_(std::uint32_t flags, Answer answer) {
  switch (flags & 0xF) {
    case kMbOkCancel:
      return answer == Answer::Ok ? kIdOk : kIdCancel;
    case kMbRetryCancel:
      return answer == Answer::Ok ? kIdRetry : kIdCancel;
    case kMbAbortRetryIgnore:
      return answer == Answer::Yes ? kIdAbort : answer == Answer::No ? kIdRetry : kIdIgnore;
    case kMbYesNoCancel:
      return answer == Answer::Yes ? kIdYes : answer == Answer::No ? kIdNo : kIdCancel;
    case kMbYesNo:
      return answer == Answer::Yes ? kIdYes : kIdNo;
    default:
      return kIdOk;
  }
}

bool HeadlessScriptHost::waitEvents(int milliseconds) {
  if (milliseconds < 0) return false;
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  return true;
}

}  // namespace vrk
