// vrk-tool run-script: a script run by the real main window, offscreen, on a
// memo file. Nobody answers its questions: they are echoed to stderr and
// cancelled (an input box takes its default). The log window's lines, Print
// among them, go to stdout.
#include "app/tool/ToolRunScript.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <cstdio>
#include <memory>

#include "app/tool/ToolCommon.h"
#include "commands/TFormMainRegular14.h"
#include "platform/Path.h"
#include "platform/SjisBridge.h"
#include "platform/qt/QtSjis.h"
#include "shell/MemoFileUI.h"
#include "shell/Services.h"

namespace vrk::tool {
namespace {

class EchoPrompter final : public Prompter {
 protected:
  Reply prompt(const Prompt& question) override {
    std::string line = "vrk-tool: asked: " + sjisToUtf8(question.title);
    if (!question.title.empty()) line += ": ";
    line += sjisToUtf8(question.text);
    if (question.kind == Prompt::Kind::Input) {
      line += " -> " + sjisToUtf8(question.initial) + "\n";
      std::fputs(line.c_str(), stderr);
      return Reply{Answer::Ok, question.initial, -1};
    }
    std::fputs((line + " -> Cancel\n").c_str(), stderr);
    return Reply{};
  }
};

}  // namespace

int runRunScript(const std::vector<std::string>& args) {
  std::string memoFile, scriptFile;
  bool flagSave = false, flagTrust = false;
  for (const std::string& a : args) {
    if (a == "--save") {
      flagSave = true;
    } else if (a == "--trust") {
      flagTrust = true;
    } else if (a.starts_with("--") || (!memoFile.empty() && !scriptFile.empty())) {
      scriptFile.clear();
      break;
    } else {
      (memoFile.empty() ? memoFile : scriptFile) = a;
    }
  }
  if (memoFile.empty() || scriptFile.empty()) {
    std::fprintf(stderr, "usage: vrk-tool run-script MEMOFILE SCRIPT [--save] [--trust]\n");
    return kExitUsage;
  }
  StringList script;
  if (!readTextLines(scriptFile, script)) return kExitUsage;
  const std::optional<std::string> stored = fromOsPath_(memoFile);
  if (!stored || !isFile_(*stored)) {
    std::fprintf(stderr, "vrk-tool: cannot open %s\n", memoFile.c_str());
    return kExitUsage;
  }

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "vrk-tool";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  RealServices real;
  EchoPrompter prompter;
  PrompterMessageSink messages(prompter);
  Services services = real.services();
  services.prompter = &prompter;
  services.messages = &messages;
  auto form = TFormMainRegular14::create(services);
  form->aAutoexecAnswer = flagTrust;  // autoexec scripts run only when trusted

  int result = 0;
  if (form->_loadMemoFile_(*stored) != 0) {
    std::fprintf(stderr, "vrk-tool: cannot read %s\n", memoFile.c_str());
    result = kExitIncomplete;
  } else if (const auto error = form->runOnPP1_(script)) {
    std::fprintf(stderr, "vrk-tool: %s\n", sjisToUtf8(*error).c_str());
    result = kExitIncomplete;
  }
  // The log window's lines, the script's Print among them.
  const std::string log = form->getLogMemo()->toPlainText().toStdString();
  if (!log.empty()) std::fprintf(stdout, "%s\n", log.c_str());
  std::fflush(stdout);

  if (flagSave && result == 0) {
    form->UI2Model();
    if (form->UISaveAllHolders() < 0 || form->UISaveFileWithoutMSG() < 0) {
      std::fprintf(stderr, "vrk-tool: could not save %s\n", memoFile.c_str());
      result = kExitIncomplete;
    }
  }
  return result;
}

}  // namespace vrk::tool
