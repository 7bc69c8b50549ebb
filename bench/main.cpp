// vrk-bench: our code and its peers, timed on the same bytes in the same run.
#include <cstdio>
#include <string>
#include <vector>

#include "Bench.h"
#ifdef VRK_BENCH_GUI
#include "Views.h"
#endif

namespace {

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>&);
  const char* usage;
};

constexpr Command kCommands[] = {
    {"load-save", vrk::bench::runLoadSave,
     "load-save [--nodes N]   holder load and save against pugixml, zlib and plain I/O"},
    {"load-rss", vrk::bench::runLoadRss, nullptr},
    {"script", vrk::bench::runScript,
     "script [--iterations N]  a loop-heavy script against the same loop in Lua 5.4"},
    {"scan", vrk::bench::runScan,
     "scan [--nodes N]        scan and grep of a generated memo file against GNU grep -F -c"},
#ifdef VRK_BENCH_GUI
    {"views", vrk::bench::runViewsBench,
     "views [--nodes N]       node views filled from a generated holder against bare Qt widgets"},
#endif
};

int usage() {
  std::fprintf(stderr, "usage: vrk-bench COMMAND ...\n");
  for (const auto& c : kCommands)
    if (c.usage) std::fprintf(stderr, "  %s\n", c.usage);
  return 2;
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
