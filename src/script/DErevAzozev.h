#pragma once
// The script interpreter: a small Pascal-like language with integer, real and
// string variables, structured statements, built-in routines and routines
// that the host declares as prototype lines and carries out in its events.
//
// The prepared script is tokenized once per run; statements, loop bodies and
// arguments are ranges of those tokens, evaluated afresh each time they run.
// Errors end the run with a ScriptError whose message is Shift_JIS.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "text/StringList.h"

namespace vrk {

class ScriptHost;
class ProcessRunner;
class DesktopShell;

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ScriptType : std::uint8_t { Integer, Real, String };

// One parameter of a routine: its name and, during a call, the argument.
struct ScriptArgument {
  std::string name;  // upper case
  ScriptType type = ScriptType::Integer;
  std::int64_t intValue = 0;
  double realValue = 0;
  std::string strValue;  // whole, NUL bytes included
};
using ScriptArguments = std::vector<ScriptArgument>;

// The host's events; names and parameter names as the host knows them.
using TProcParam = std::function<void(const std::string& ProcName, int Index,
                                      const ScriptArguments& Argument, int& Err_CD)>;
using TIntFuncParam =
    std::function<void(const std::string& FuncName, int Index, const ScriptArguments& Argument,
                       int& Err_CD, std::int64_t& ResultValue)>;
using TRealFuncParam =
    std::function<void(const std::string& FuncName, int Index, const ScriptArguments& Argument,
                       int& Err_CD, double& ResultValue)>;
using TStrFuncParam =
    std::function<void(const std::string& FuncName, int Index, const ScriptArguments& Argument,
                       int& Err_CD, std::string& ResultValue)>;
using TErrorProc = std::function<void(int Error_CD, std::string& Err_Message)>;
// GS_Mode: 0 read, 1 write.
using TIntObjParam = std::function<void(const std::string& ObjName, int Index, std::uint8_t GS_Mode,
                                        int& Err_CD, std::int64_t& Value)>;
using TRealObjParam = std::function<void(const std::string& ObjName, int Index,
                                         std::uint8_t GS_Mode, int& Err_CD, double& Value)>;
using TStrObjParam = std::function<void(const std::string& ObjName, int Index, std::uint8_t GS_Mode,
                                        int& Err_CD, std::string& Value)>;
using TPauseProc = std::function<void()>;

struct ScriptVariable {
  std::string name;
  bool flagPredefined = false;  // added by the component or the host: kept from run to run
  bool flagReadOnly = false;
  bool flagHostBound = false;  // read and written through the object events
  ScriptType type = ScriptType::Integer;
  std::int64_t intValue = 0;
  double realValue = 0;
  std::string strValue;
  int index = 0;  // passed to the object events
};

struct ScriptRoutine {
  std::string name;  // upper case
  bool flagBuiltIn = false;
  bool flagFunction = false;
  int index = 0;
  ScriptArguments parameters;
  ScriptType resultType = ScriptType::Integer;
};

// Where the built-ins reach the outside. Null ports: Sleep sleeps, Pause ends at
// once, boxes answer as HeadlessScriptHost does, Exec and Shell fail.
struct ScriptPorts {
  ScriptHost* host = nullptr;
  ProcessRunner* processes = nullptr;
  DesktopShell* shell = nullptr;
};

class DErevAzozev {
 public:
  DErevAzozev();
  ~DErevAzozev();
  DErevAzozev(const DErevAzozev&) = delete;
  DErevAzozev& operator=(const DErevAzozev&) = delete;

  StringList Define;            // names IsDefine finds
  StringList Source;            // the script
  StringList DeclarePrototype;  // the host's routines, one prototype a line
  TProcParam ProcParam;
  TIntFuncParam IntFuncParam;
  TRealFuncParam RealFuncParam;
  TStrFuncParam StrFuncParam;
  TErrorProc ErrorProc;
  TIntObjParam IntObjParam;
  TRealObjParam RealObjParam;
  TStrObjParam StrObjParam;
  TPauseProc PauseProc;

  void setPorts(const ScriptPorts& ports) { ports_ = ports; }
  const ScriptPorts& ports() const { return ports_; }

  // Runs Source; the first error ends the run with a ScriptError. An Execute
  // from within a running script (an event of it) runs in a context of its
  // own: the outer run goes on afterwards.
  void Execute();
  bool IsRunning() const { return countOfRuns_ > 0; }
  // Ends every run in progress at its next statement or loop step, ends a
  // Pause, and throws "実行を中断しました" to the caller. Nothing when idle.
  void Stop();

  // One routine from a prototype line ("function F(S:String):Integer;Index 5;").
  void Declare(const std::string& prototype, bool flagBuiltIn);
  void AddIntVar(const std::string& name, bool flagReadOnly, std::int64_t value);
  // Host-bound: reads and writes go through IntObjParam with `index`.
  void AddIntVar(const std::string& name, bool flagReadOnly, std::int64_t value, int index);
  void AddStrVar(const std::string& name, const std::string& value, bool flagReadOnly);
  // Host-bound String variable (StrObjParam with `index`).
  void AddStrObj(const std::string& name, const std::string& value, int index, bool flagReadOnly);

  // True while a script waits in Pause.
  bool IsPaused() const { return flagPaused_; }
  // The routine declared under the upper-case name, or null.
  const std::shared_ptr<ScriptRoutine>* findRoutine_(const std::string& upperName,
                                                     bool flagFunction) const;

  struct Run;  // one run's state (script/ScriptRun.h)

 private:
  ScriptVariable* findPredefined_(const std::string& upperName);
  void removeHostRoutines_();
  std::uint64_t generation() const { return generation_; }
  ScriptVariable& addVariable(const std::string& name, ScriptType type);
  void declareBuiltIns();

  ScriptPorts ports_;
  std::map<std::string, std::unique_ptr<ScriptVariable>> variables_;
  std::map<std::string, std::shared_ptr<ScriptRoutine>> procedures_;
  std::map<std::string, std::shared_ptr<ScriptRoutine>> functions_;
  std::uint64_t generation_ = 1;  // changes with every change of the tables
  int countOfRuns_ = 0;
  bool flagPaused_ = false;
  std::vector<Run*> runs_;  // in progress, outermost first
};

}  // namespace vrk
