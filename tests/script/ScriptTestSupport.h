#pragma once
// A script component wired for tests: Print collects lines, a host records
// waits and runs queued actions in them, ports record what they are asked.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/SjisBridge.h"
#include "platform/WindowPorts.h"
#include "script/DErevAzozev.h"
#include "script/ScriptHost.h"

namespace vrk::scripttest {

// Each wait runs the next queued action (a window event); with none left the
// host has no events, so an unlimited wait answers false.
class TestScriptHost final : public ScriptHost {
 public:
  void processMessages() override { ++countOfProcessed; }
  bool waitEvents(int milliseconds) override {
    waits.push_back(milliseconds);
    if (events.empty()) return milliseconds != kForever;
    auto event = std::move(events.front());
    events.pop_front();
    event();
    return true;
  }
  void wake() override { ++countOfWakes; }
  std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override {
    asked.push_back(caption + "|" + prompt + "|" + initial);
    return inputAnswer;
  }
  int messageBox(const std::string& text, const std::string& caption,
                 std::uint32_t flags) override {
    asked.push_back(text + "|" + caption + "|" + std::to_string(flags));
    return messageAnswer;
  }

  std::deque<std::function<void()>> events;
  std::vector<int> waits;
  std::vector<std::string> asked;
  std::optional<std::string> inputAnswer;
  int messageAnswer = kIdOk;
  int countOfProcessed = 0;
  int countOfWakes = 0;
};

class RecordingProcessRunner final : public ProcessRunner {
 public:
  int run(const std::string& program, const StringList& arguments, const std::string&,
          std::string*) override {
    std::string call = program;
    for (const std::string& a : arguments) call += "|" + a;
    calls.push_back(call);
    return result;
  }
  StringList calls;
  int result = 0;
};

// Print(S) appends S to `printed`; other host routines can be added to
// DeclarePrototype and answered through `functions`.
struct ScriptRig {
  ScriptRig() {
    script.setPorts(ScriptPorts{&host, nullptr, nullptr});
    script.DeclarePrototype.push_back("procedure Print(S:String);Index 1;");
    script.ProcParam = [this](const std::string& name, int index, const ScriptArguments& a,
                              int& err) {
      if (index == 1) {
        printed.push_back(a.at(0).strValue);
        if (onPrint) onPrint(a.at(0).strValue);
      } else {
        calls.push_back(name + "#" + std::to_string(index));
        err = procedureError;
      }
    };
  }

  // Runs UTF-8 source; the lines printed (UTF-8) joined by "|", or "ERROR: " and
  // the message.
  std::string run(const std::string& utf8) {
    script.Source.clear();
    const std::string sjis = *utf8ToSjis(utf8);
    for (std::size_t start = 0;;) {
      const std::size_t end = sjis.find('\n', start);
      script.Source.push_back(sjis.substr(start, end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    printed.clear();
    try {
      script.Execute();
    } catch (const ScriptError& e) {
      return "ERROR: " + sjisToUtf8(e.what());
    }
    std::string out;
    for (std::size_t i = 0; i < printed.size(); ++i) out += (i ? "|" : "") + sjisToUtf8(printed[i]);
    return out;
  }

  DErevAzozev script;
  TestScriptHost host;
  StringList printed;
  StringList calls;
  int procedureError = 0;
  std::function<void(const std::string&)> onPrint;
};

}  // namespace vrk::scripttest
