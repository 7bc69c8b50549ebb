#pragma once
// The host's routines as the main window declares them, and the pool of extra
// runners that play ".ppa" nodes while the main interpreter is busy. Each
// runner keeps what PrintBuf writes in a buffer of its own; the command that
// started it takes the buffer as the text of a new node.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "script/DErevAzozev.h"
#include "text/StringList.h"

namespace vrk {

// The main interpreter's DeclarePrototype lines, blank lines between groups.
const StringList& hostPrototypes_();

// The index of the runner's read-only PPAID variable.
constexpr int kPPAIDIndex = 5000;

class PPACoRunner {
 public:
  explicit PPACoRunner(std::string name) : aName(std::move(name)) {}
  const std::string& name() const { return aName; }
  DErevAzozev& interpreter() { return aPPA; }
  const DErevAzozev& interpreter() const { return aPPA; }
  // Runs the lines: 0, or -1 with the error kept in lastError().
  int Play(const StringList& memo);
  const std::string& lastError() const { return aLastError; }
  StringList aBuffer;

 private:
  std::string aName;
  DErevAzozev aPPA;
  std::string aLastError;
};

class PPACo {
 public:
  // The runners get copies of master's prototypes, Define, events and ports,
  // taken when each is created.
  explicit PPACo(const DErevAzozev& master) : aMaster(master) {}
  PPACo(const PPACo&) = delete;
  PPACo& operator=(const PPACo&) = delete;

  // The first runner that is not running, else a new one (PPA00, PPA01, ...).
  PPACoRunner* getFree_();
  PPACoRunner* first() { return aRunners.empty() ? nullptr : aRunners.front().get(); }
  PPACoRunner* find_(const std::string& name);
  std::size_t countOfRunners() const { return aRunners.size(); }
  PPACoRunner& at(std::size_t i) { return *aRunners[i]; }
  // Stops every running runner (each Stop throws to its own caller; not here).
  void stopAll();

 private:
  const DErevAzozev& aMaster;
  std::vector<std::unique_ptr<PPACoRunner>> aRunners;
};

}  // namespace vrk
