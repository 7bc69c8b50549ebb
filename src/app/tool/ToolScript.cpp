#include "app/tool/ToolScript.h"

#include <cstdio>

#include "app/tool/ToolCommon.h"
#include "platform/PosixProcessRunner.h"
#include "platform/SjisBridge.h"
#include "script/DErevAzozev.h"
#include "script/ScriptHost.h"

namespace vrk::tool {

int runEval(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: vrk-tool eval SCRIPT\n");
    return kExitUsage;
  }
  DErevAzozev script;
  if (!readTextLines(args[0], script.Source)) return kExitUsage;
  HeadlessScriptHost host;
  PosixProcessRunner processes;
  script.setPorts(ScriptPorts{&host, &processes, nullptr});
  script.DeclarePrototype.push_back("procedure Print(S:String);Index 1;");
  script.ProcParam = [](const std::string&, int index, const ScriptArguments& argument,
                        int& errorCode) {
    if (index != 1 || argument.size() != 1) {
      errorCode = -1;
      return;
    }
    const std::string line = sjisToUtf8(argument[0].strValue) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  };
  try {
    script.Execute();
  } catch (const ScriptError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "vrk-tool: %s\n", sjisToUtf8(e.what()).c_str());
    return kExitIncomplete;
  }
  return 0;
}

}  // namespace vrk::tool
