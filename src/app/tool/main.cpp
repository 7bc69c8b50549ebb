// vrk-tool: the memo model on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "app/tool/ToolCommon.h"
#include "app/tool/ToolMail.h"
#include "app/tool/ToolGrep.h"
#include "app/tool/ToolMarkup.h"
#include "app/tool/ToolModel.h"
#ifdef VRK_TOOL_QT
#include "app/tool/ToolPrint.h"
#include "app/tool/ToolRunScript.h"
#endif
#include "app/tool/ToolScript.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>&);
  const char* usage;
};

constexpr Command kCommands[] = {
    {"words", vrk::tool::runWords, "words FILE           word list of a markup file"},
    {"tree", vrk::tool::runTree, "tree [--html] FILE   tag tree (XML or HTML dictionary mode)"},
    {"dump", vrk::tool::runDump, "dump FILE            memo file, package or holder as JSON"},
    {"convert", vrk::tool::runConvert,
     "convert IN OUT [--time YYYYMMDDhhnnsszzz] [--seed N]   write IN in OUT's format"},
    {"unpack", vrk::tool::runUnpack, "unpack PACKAGE.maz DIR   extract a package's files"},
    {"mail", vrk::tool::runMail,
     "mail MEMOFILE HOLDER NODE [--send HOST:PORT]   the node's mail, printed or sent"},
#ifdef VRK_TOOL_QT
    {"print", vrk::tool::runPrint,
     "print FILE --pdf OUT.pdf [--holder NAME] [--node NAME] [--settings vrkprint.ini]   memo "
     "text into a PDF"},
    {"run-script", vrk::tool::runRunScript,
     "run-script MEMOFILE SCRIPT [--save] [--trust]   run a script in the main window, "
     "offscreen"},
#endif
    {"eval", vrk::tool::runEval, "eval SCRIPT          run a script; Print writes to stdout"},
    {"grep", vrk::tool::runGrep,
     "grep MEMOFILE KEYWORD [--ignore-case] [--holder NAME]   lines holding KEYWORD"},
};

int usage() {
  std::fprintf(stderr, "usage: vrk-tool COMMAND ...\n");
  for (const auto& c : kCommands) std::fprintf(stderr, "  %s\n", c.usage);
  return vrk::tool::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string name = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const auto& c : kCommands)
    if (name == c.name) return c.run(args);
  return usage();
}
