// The component's built-in routines, selected by index.
#include <chrono>
#include <cmath>
#include <thread>

#include "platform/WindowPorts.h"
#include "script/BuiltinRoutines.h"
#include "script/ScriptHost.h"
#include "script/ScriptMessages.h"
#include "script/ScriptRun.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

using namespace script;
using Run = DErevAzozev::Run;

// Integer arguments of Copy, Delete, Insert, Sleep and MessageBox use their low 32 bits.
std::int32_t low32(std::int64_t value) { return static_cast<std::int32_t>(value); }

// What the shell answers: more than 32 for success, as scripts test it; 2 (file
// not found) for a failure.
constexpr int kShellDone = 42;
constexpr int kShellFailed = 2;

}  // namespace

void Run::callBuiltIn(const ScriptRoutine& r, const ScriptToken& name, ScriptArguments& a,
                      ScriptValue* result) {
  const ScriptPorts& ports = owner.ports();
  const auto arg = [&](std::size_t k) -> ScriptArgument& {
    if (k >= a.size())
      fail_(r.flagFunction ? kNoBuiltInFunction() : kNoBuiltInProcedure(), name.text);
    return a[k];
  };
  if (!r.flagFunction) {
    switch (r.index) {
      case 0x0001:
        if (ports.host) ports.host->processMessages();
        return;
      case 0x0002: {
        const std::int32_t ms = low32(arg(0).intValue);
        if (ms <= 0) return;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!flagStopped) {
          const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
              deadline - std::chrono::steady_clock::now());
          if (left.count() <= 0) break;
          const int wait = static_cast<int>(left.count());
          if (ports.host) {
            if (!ports.host->waitEvents(wait)) break;
          } else {
            std::this_thread::sleep_for(left);
          }
        }
        return;
      }
      case 0x0003:
        owner.flagPaused_ = true;
        if (owner.PauseProc) owner.PauseProc();
        while (owner.flagPaused_ && !flagStopped) {
          if (!ports.host || !ports.host->waitEvents(ScriptHost::kForever)) {
            owner.flagPaused_ = false;  // nothing could ever resume it
            break;
          }
        }
        return;
      default:
        fail_(kNoBuiltInProcedure(), name.text);
    }
  }

  ScriptValue v;
  switch (r.index) {
    case 0x1001:
      v.type = ScriptType::String;
      v.s = pascalCopy_(arg(0).strValue, low32(arg(1).intValue), low32(arg(2).intValue));
      break;
    case 0x1002:
      v.type = ScriptType::String;
      v.s = pascalDelete_(arg(0).strValue, low32(arg(1).intValue), low32(arg(2).intValue));
      break;
    case 0x1003:
      v.type = ScriptType::String;
      if (ports.host) {
        v.s = ports.host->inputBox(arg(0).strValue, arg(1).strValue, arg(2).strValue)
                  .value_or(arg(2).strValue);
      } else {
        v.s = arg(2).strValue;
      }
      break;
    case 0x1004:
      v.type = ScriptType::String;
      v.s = pascalInsert_(arg(0).strValue, arg(1).strValue, low32(arg(2).intValue));
      break;
    case 0x1005:
      v.type = ScriptType::String;
      v.s = std::to_string(arg(0).intValue);
      break;
    case 0x1006:
      v.type = ScriptType::String;
      v.s = lowerCase_(arg(0).strValue);
      break;
    case 0x1007:
      v.type = ScriptType::String;
      v.s = trim_(arg(0).strValue);
      break;
    case 0x1008:
      v.type = ScriptType::String;
      v.s = trimLeft_(arg(0).strValue);
      break;
    case 0x1009:
      v.type = ScriptType::String;
      v.s = trimRight_(arg(0).strValue);
      break;
    case 0x100A:
      v.type = ScriptType::String;
      v.s = upperCase_(arg(0).strValue);
      break;
    case 0x100B:
      v.type = ScriptType::String;
      v.s = floatToStr_(arg(0).realValue);
      break;
    case 0x2001:
      v.i = compareStr_(arg(0).strValue, arg(1).strValue);
      break;
    case 0x2002: {
      const std::string& path = arg(0).strValue;
      const StringList args = splitCommandLine_(arg(1).strValue);
      if (arg(2).intValue == -1) {
        const int code = ports.processes ? ports.processes->run(path, args, "", nullptr) : -1;
        v.i = code == -1 ? 0 : code;
      } else {
        const int started = ports.shell ? ports.shell->startDetached(path, args, "") : -1;
        v.i = started == 0 ? -1 : 0;
      }
      break;
    }
    case 0x2003:
      v.i = static_cast<std::int64_t>(arg(0).strValue.size());
      break;
    case 0x2004: {
      const auto flags = static_cast<std::uint32_t>(low32(arg(2).intValue));
      v.i = ports.host ? ports.host->messageBox(arg(0).strValue, arg(1).strValue, flags) : kIdOk;
      break;
    }
    case 0x2005: {
      const std::size_t at = findText_(arg(1).strValue, arg(0).strValue);
      v.i = at == std::string::npos ? 0 : static_cast<std::int64_t>(at) + 1;
      break;
    }
    case 0x2006: {
      int done = -1;
      if (ports.shell) {
        const std::string& path = arg(0).strValue;
        done = isBlank_(arg(1).strValue)
                   ? ports.shell->openDocument(path, "")
                   : ports.shell->startDetached(path, splitCommandLine_(arg(1).strValue), "");
      }
      v.i = done == 0 ? kShellDone : kShellFailed;
      break;
    }
    case 0x2007:
      v.i = textToInteger_(arg(0).strValue).value_or(0);
      break;
    case 0x2008: {
      v.i = 0;
      for (const std::string& line : owner.Define)
        if (sameText_(line, arg(0).strValue)) v.i = -1;
      break;
    }
    case 0x2009:
      v.i = toInteger(arg(0).realValue);
      break;
    case 0x200A: {
      const auto rounded = roundToInteger_(arg(0).realValue);
      if (!rounded) fail_(kNotAnInteger(), floatToStr_(arg(0).realValue));
      v.i = *rounded;
      break;
    }
    case 0x3001:
      v.type = ScriptType::Real;
      v.d = fracOf_(arg(0).realValue);
      break;
    case 0x3002:
      v.type = ScriptType::Real;
      v.d = intOf_(arg(0).realValue);
      break;
    case 0x3003:
      v.type = ScriptType::Real;
      v.d = textToReal_(arg(0).strValue).value_or(0.0);
      break;
    default:
      fail_(kNoBuiltInFunction(), name.text);
  }
  // A host may declare a built-in index with another result type.
  ScriptValue& out = *result;
  out.type = r.resultType;
  switch (r.resultType) {
    case ScriptType::Integer:
      out.i = v.type == ScriptType::Integer ? v.i
              : v.type == ScriptType::Real  ? toInteger(v.d)
                                            : textToInteger_(v.s).value_or(-1);
      break;
    case ScriptType::Real:
      out.d = v.type == ScriptType::Real      ? v.d
              : v.type == ScriptType::Integer ? static_cast<double>(v.i)
                                              : textToReal_(v.s).value_or(0.0);
      break;
    case ScriptType::String:
      out.s = v.type == ScriptType::String    ? std::move(v.s)
              : v.type == ScriptType::Integer ? std::to_string(v.i)
                                              : floatToStr_(v.d);
      break;
  }
}

}  // namespace vrk
