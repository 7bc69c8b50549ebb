#include "script/DErevAzozev.h"

#include "platform/SJ.h"
#include "script/ScriptHost.h"
#include "script/ScriptMessages.h"
#include "script/TPPAParser.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

using namespace script;

// The component's own routines; their indices select what runs.
constexpr const char* kBuiltIns[] = {
    "procedure ProcessMessages;Index $0001;",
    "procedure Sleep(Milliseconds:Integer);Index $0002;",
    "procedure Pause;Index $0003;",
    "function Copy(S:String;Start,Length:Integer):String;Index $1001;",
    "function Delete(S:String;Index,Count:Integer):String;Index $1002;",
    "function InputBox(ACaption,APrompt,ADefault:String):String;Index $1003;",
    "function Insert(Source:String;S:String;Index:Integer):String;Index $1004;",
    "function IntToStr(Value:Integer):String;Index $1005;",
    "function LowerCase(S:String):String;Index $1006;",
    "function Trim(S:String):String;Index $1007;",
    "function TrimLeft(S:String):String;Index $1008;",
    "function TrimRight(S:String):String;Index $1009;",
    "function UpperCase(S:String):String;Index $100A;",
    "function FloatToStr(Value:Real):String;Index $100B;",
    "function CompareStr(S1,S2:String):Integer;Index $2001;",
    "function Exec(Path,CmdLine:String;Wait:Integer):Integer;Index $2002;",
    "function Length(S:String):Integer;Index $2003;",
    "function MessageBox(Text,Caption:String;Flags:Integer):Integer;Index $2004;",
    "function Pos(Substr:String;S:String): Integer;Index $2005;",
    "function Shell(Path,CmdLine:String):Integer;Index $2006;",
    "function StrToInt(S: String):Integer;Index $2007;",
    "function IsDefine(S:String):Integer;Index $2008;",
    "function Trunc(X:Real):Integer;Index $2009;",
    "function Round(X:Real):Integer;Index $200A;",
    "function Frac(X:Real):Real;Index $3001;",
    "function Int(X:Real):Real;Index $3002;",
    "function StrToFloat(S:String):Real;Index $3003;",
};

bool typeOf(std::string_view upperName, ScriptType& type) {
  if (upperName == "INTEGER")
    type = ScriptType::Integer;
  else if (upperName == "REAL")
    type = ScriptType::Real;
  else if (upperName == "STRING")
    type = ScriptType::String;
  else
    return false;
  return true;
}

}  // namespace

DErevAzozev::DErevAzozev() {
  AddIntVar("True", true, -1);
  AddIntVar("False", true, 0);
  AddStrVar("Nil", "", true);
  declareBuiltIns();
}

DErevAzozev::~DErevAzozev() = default;

void DErevAzozev::declareBuiltIns() {
  for (const char* line : kBuiltIns) Declare(line, true);
}

void DErevAzozev::Declare(const std::string& prototype, bool flagBuiltIn) {
  std::string line = upperCase_(trim_(prototype));
  std::string rest;
  bool flagFunction = false;
  if (startsWith_(line, "PROCEDURE ")) {
    rest = line.substr(10);
  } else if (startsWith_(line, "FUNCTION ")) {
    rest = line.substr(9);
    flagFunction = true;
  } else {
    fail_(kDefinitionError());
  }
  if (rest.empty() || rest.back() != ';') fail_(kDefinitionError());
  rest.pop_back();

  TPPAParser p(rest);
  if (p.kind() != TokenKind::Identifier) fail_(kDefinitionError());
  auto routine = std::make_shared<ScriptRoutine>();
  routine->name = std::string(p.token());
  routine->flagBuiltIn = flagBuiltIn;
  routine->flagFunction = flagFunction;
  if (procedures_.count(routine->name) || functions_.count(routine->name))
    fail_(kDuplicateRoutine(), routine->name);
  p.nextToken();

  if (p.token() == "(") {
    if (rest.find(')') == std::string::npos) fail_(kDefinitionError());
    p.nextToken();
    if (p.token() == ")") {
      p.nextToken();
    } else {
      for (;;) {
        // names , names : TYPE
        const std::size_t first = routine->parameters.size();
        for (;;) {
          if (p.kind() != TokenKind::Identifier) fail_(kSyntaxError(), p.token());
          const std::string name(p.token());
          for (const ScriptArgument& a : routine->parameters)
            if (a.name == name) fail_(kDuplicateParameter(), name);
          ScriptArgument a;
          a.name = name;
          routine->parameters.push_back(std::move(a));
          p.nextToken();
          if (p.token() != ",") break;
          p.nextToken();
        }
        if (p.token() != ":") fail_(kSyntaxError(), p.token());
        p.nextToken();
        ScriptType type;
        if (p.kind() != TokenKind::Identifier || !typeOf(p.token(), type))
          fail_(kSyntaxError(), p.token());
        for (std::size_t k = first; k < routine->parameters.size(); ++k)
          routine->parameters[k].type = type;
        p.nextToken();
        if (p.token() == ";") {
          p.nextToken();
          continue;
        }
        if (p.token() == ")") {
          p.nextToken();
          break;
        }
        fail_(kSyntaxError(), p.token());
      }
    }
  }
  if (flagFunction) {
    if (p.token() != ":") fail_(kDefinitionError());
    p.nextToken();
    if (p.kind() != TokenKind::Identifier || !typeOf(p.token(), routine->resultType))
      fail_(kDefinitionError());
    p.nextToken();
  }
  if (p.token() == ";") {
    p.nextToken();
    if (p.token() == "INDEX") {
      p.nextToken();
      if (p.kind() == TokenKind::Integer || p.kind() == TokenKind::HexInteger)
        routine->index = static_cast<int>(integerLiteral_(p.token()));
    }
  }
  (flagFunction ? functions_ : procedures_)[routine->name] = std::move(routine);
  ++generation_;
}

ScriptVariable& DErevAzozev::addVariable(const std::string& name, ScriptType type) {
  const std::string key = upperCase_(name);
  if (variables_.count(key)) fail_(kDuplicateVariable(), name);
  auto variable = std::make_unique<ScriptVariable>();
  variable->name = key;
  variable->flagPredefined = true;
  variable->type = type;
  ScriptVariable& added = *variable;
  variables_[key] = std::move(variable);
  ++generation_;
  return added;
}

void DErevAzozev::AddIntVar(const std::string& name, bool flagReadOnly, std::int64_t value) {
  ScriptVariable& v = addVariable(name, ScriptType::Integer);
  v.flagReadOnly = flagReadOnly;
  v.intValue = value;
}

void DErevAzozev::AddIntVar(const std::string& name, bool flagReadOnly, std::int64_t value,
                            int index) {
  ScriptVariable& v = addVariable(name, ScriptType::Integer);
  v.flagReadOnly = flagReadOnly;
  v.intValue = value;
  v.flagHostBound = true;
  v.index = index;
}

void DErevAzozev::AddStrVar(const std::string& name, const std::string& value, bool flagReadOnly) {
  ScriptVariable& v = addVariable(name, ScriptType::String);
  v.flagReadOnly = flagReadOnly;
  v.strValue = value;
}

void DErevAzozev::AddStrObj(const std::string& name, const std::string& value, int index,
                            bool flagReadOnly) {
  ScriptVariable& v = addVariable(name, ScriptType::String);
  v.flagReadOnly = flagReadOnly;
  v.strValue = value;
  v.flagHostBound = true;
  v.index = index;
}

ScriptVariable* DErevAzozev::findPredefined_(const std::string& upperName) {
  const auto it = variables_.find(upperName);
  return it == variables_.end() ? nullptr : it->second.get();
}

const std::shared_ptr<ScriptRoutine>* DErevAzozev::findRoutine_(const std::string& upperName,
                                                                bool flagFunction) const {
  const auto& table = flagFunction ? functions_ : procedures_;
  const auto it = table.find(upperName);
  return it == table.end() ? nullptr : &it->second;
}

void DErevAzozev::removeHostRoutines_() {
  std::erase_if(procedures_, [](const auto& e) { return !e.second->flagBuiltIn; });
  std::erase_if(functions_, [](const auto& e) { return !e.second->flagBuiltIn; });
  ++generation_;
}

}  // namespace vrk
