// script: a loop-heavy script (integer arithmetic, string building, a built-in
// call per iteration) run by our interpreter and the same loop in Lua 5.4,
// timed inside Lua with os.clock; ours is timed in processor seconds too. Both
// print their results, which must agree.
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "Bench.h"
#include "script/DErevAzozev.h"
#include "script/ScriptHost.h"

namespace vrk::bench {
namespace {

constexpr int kRuns = 3;

std::string scriptSource(int n) {
  return "var i, n, h, w: integer; s: string;\n"
         "begin\n"
         "  n := 0; w := 0; s := '';\n"
         "  for i := 1 to " +
         std::to_string(n) +
         " do\n"
         "  begin\n"
         "    n := (n * 31 + i) mod 1000003;\n"
         "    h := Length(s);\n"
         "    if h > 64 then begin w := w + h; s := '' end else s := s + 'x';\n"
         "  end;\n"
         "  Print(IntToStr(n) + ' ' + IntToStr(w) + ' ' + IntToStr(Length(s)));\n"
         "end.\n";
}

std::string luaSource(int n) {
  return "local t0 = os.clock()\n"
         "local n, w, s = 0, 0, ''\n"
         "for i = 1, " +
         std::to_string(n) +
         " do\n"
         "  n = (n * 31 + i) % 1000003\n"
         "  local h = string.len(s)\n"
         "  if h > 64 then w = w + h; s = '' else s = s .. 'x' end\n"
         "end\n"
         "local t1 = os.clock()\n"
         "print(n .. ' ' .. w .. ' ' .. string.len(s))\n"
         "print(t1 - t0)\n";
}

// Runs lua5.4 on the source; its two output lines.
bool runLua(const std::string& source, std::string& result, double& seconds) {
  char path[] = "/tmp/vrk-bench-lua-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return false;
  close(fd);
  std::ofstream(path) << source;
  const std::string command = std::string("lua5.4 ") + path;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  std::array<char, 256> buffer;
  while (pipe && fgets(buffer.data(), buffer.size(), pipe.get())) out += buffer.data();
  const int status = pipe ? pclose(pipe.release()) : -1;
  unlink(path);
  std::istringstream lines(out);
  std::string time;
  if (status != 0 || !std::getline(lines, result) || !std::getline(lines, time)) return false;
  seconds = std::stod(time);
  return true;
}

// Processor time of this process, as Lua's os.clock measures it, so that a
// busy machine weighs on both alike.
double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

int runScript(const std::vector<std::string>& args) {
  int n = 1000000;
  for (std::size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--iterations") n = std::max(1, std::stoi(args[i + 1]));

  DErevAzozev script;
  HeadlessScriptHost host;
  script.setPorts(ScriptPorts{&host, nullptr, nullptr});
  script.DeclarePrototype.push_back("procedure Print(S:String);Index 1;");
  std::string ours;
  script.ProcParam = [&](const std::string&, int, const ScriptArguments& a, int&) {
    ours = a.at(0).strValue;
  };
  script.Source.push_back(scriptSource(n));
  const std::string lua = luaSource(n);

  // Each round runs both, so that they meet the same state of the machine;
  // each figure is the best round.
  double bestScript = 1e300, bestLua = 1e300;
  std::string luaResult;
  for (int round = 0; round < kRuns; ++round) {
    const double start = cpuSeconds();
    script.Execute();
    bestScript = std::min(bestScript, cpuSeconds() - start);
    double seconds = 0;
    if (!runLua(lua, luaResult, seconds)) {
      std::fprintf(stderr, "vrk-bench: lua5.4 did not run (scripts/setup.sh installs it)\n");
      return 1;
    }
    bestLua = std::min(bestLua, seconds);
  }
  if (ours != luaResult) {
    std::fprintf(stderr, "vrk-bench: results differ: script \"%s\", lua \"%s\"\n", ours.c_str(),
                 luaResult.c_str());
    return 1;
  }
  nlohmann::ordered_json out;
  out["iterations"] = n;
  out["result"] = ours;
  out["script_s"] = bestScript;
  out["lua_s"] = bestLua;
  out["ratios"] = {{"script_vs_lua", bestScript / bestLua}};
  std::puts(out.dump(2).c_str());
  return 0;
}

}  // namespace vrk::bench
