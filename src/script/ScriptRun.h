#pragma once
// One run of a script: its tokens, its own variables and flags. Internal to
// the interpreter (DErevAzozev*.cpp).
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "script/DErevAzozev.h"
#include "script/TPPAParser.h"

namespace vrk {

enum class Keyword : std::uint8_t {
  None,
  Begin,
  End,
  If,
  Then,
  Else,
  For,
  To,
  Downto,
  Do,
  While,
  Repeat,
  Until,
  Case,
  Of,
  Break,
  Continue,
  Exit,
  Var,
  Not,
  Div,
  Mod,
  And,
  Or,
  Xor,
  Shl,
  Shr,
  Integer,
  Real,
  String,
};

enum class Op : std::uint8_t {
  None,
  Assign,
  Le,
  Ne,
  Ge,
  DotDot,
  Lt,
  Gt,
  Eq,
  Plus,
  Minus,
  Star,
  Slash,
  LParen,
  RParen,
  Comma,
  Semicolon,
  Colon,
};

struct ScriptToken {
  TokenKind kind = TokenKind::End;
  Keyword keyword = Keyword::None;
  Op op = Op::None;
  std::int64_t intValue = 0;
  double realValue = 0;
  std::string text;   // as written
  std::string upper;  // identifiers
  std::string value;  // strings, decoded
};

// A value of any of the three types.
struct ScriptValue {
  ScriptType type = ScriptType::Integer;
  std::int64_t i = 0;
  double d = 0;
  std::string s;
};

constexpr int kMaxScriptDepth = 256;

struct DErevAzozev::Run {
  explicit Run(DErevAzozev& component) : owner(component) {}

  // Prepares the source (comments out, one blank after each token) and
  // tokenizes it.
  void prepare(const StringList& source);
  // The VAR section, then the program.
  void main();

  // Statements over token ranges [b, e).
  void runList(std::size_t b, std::size_t e);
  void runStatement(std::size_t b, std::size_t e);
  std::int64_t assign(ScriptVariable& v, std::size_t at, std::size_t e);
  void runFor(std::size_t b, std::size_t e);
  void runWhile(std::size_t b, std::size_t e);
  void runRepeat(std::size_t b, std::size_t e);
  void runCase(std::size_t b, std::size_t e);
  bool loopEnds() const { return flagStopped || flagExit || flagBreak; }

  // Expressions: a cursor over [pos, end); tokens past a complete expression
  // are left to the caller.
  struct Cursor {
    std::size_t pos;
    std::size_t end;
  };
  const ScriptToken& at(const Cursor& c) const { return c.pos < c.end ? t[c.pos] : endToken; }
  const ScriptToken& at(std::size_t pos, std::size_t end) const {
    return pos < end ? t[pos] : endToken;
  }
  ScriptType familyOf(const Cursor& c);
  std::int64_t evalInteger(Cursor& c);  // by the family of the first token, then converted
  std::int64_t evalInteger(std::size_t b, std::size_t e) {
    Cursor c{b, e};
    return evalInteger(c);
  }
  std::int64_t intRelation(Cursor& c);
  std::int64_t intSum(Cursor& c);
  std::int64_t intTerm(Cursor& c);
  std::int64_t intFactor(Cursor& c);
  double realRelation(Cursor& c);
  double realSum(Cursor& c);
  double realTerm(Cursor& c);
  double realFactor(Cursor& c);
  // The string family writes into the caller's buffer (strFactor appends).
  void strRelation(Cursor& c, std::string& out);
  std::string strRelation(Cursor& c);
  void strSum(Cursor& c, std::string& out);
  void strFactor(Cursor& c, std::string& out);
  std::int64_t toInteger(double value);

  // Calls the routine named at c.pos; `result` receives a function's value.
  void call(Cursor& c, const ScriptRoutine& routine, ScriptValue* result);
  void callBuiltIn(const ScriptRoutine& r, const ScriptToken& name, ScriptArguments& args,
                   ScriptValue* result);
  [[noreturn]] void hostError(int code);

  // Variables.
  std::int64_t getInt(ScriptVariable& v);
  double getReal(ScriptVariable& v);
  std::string getStr(ScriptVariable& v);
  void setInt(ScriptVariable& v, std::int64_t value);
  void setReal(ScriptVariable& v, double value);

  // Names resolved once per token while the tables stay the same.
  struct Resolution {
    std::uint64_t generation = 0;
    ScriptVariable* variable = nullptr;
    std::shared_ptr<ScriptRoutine> procedure;
    std::shared_ptr<ScriptRoutine> function;
  };
  Resolution& resolve(std::size_t pos) {
    Resolution& r = resolutions[pos];
    return r.generation == owner.generation_ ? r : resolveAgain(pos);
  }
  Resolution& resolveAgain(std::size_t pos);

  // Structure.
  std::size_t matching(std::size_t opener, std::size_t e);  // END / UNTIL, or npos
  std::size_t findKeyword(std::size_t b, std::size_t e, Keyword k) const;
  using Statements = std::vector<std::pair<std::size_t, std::size_t>>;
  const Statements& statementsOf(std::size_t b, std::size_t e) {
    const Split& first = splitAt[b];
    return first.end == e ? first.statements : split(b, e);
  }
  const Statements& split(std::size_t b, std::size_t e);

  // Nesting of blocks and parentheses is capped: scripts come from other
  // people's files, and a crafted one must not overflow the stack.
  struct Depth {
    Depth(Run& r, const ScriptToken& at) : run(r) {
      if (++run.depth > kMaxScriptDepth) run.tooDeep(at);
    }
    ~Depth() { --run.depth; }
    Run& run;
  };
  [[noreturn]] void tooDeep(const ScriptToken& at);

  DErevAzozev& owner;
  std::vector<ScriptToken> t;
  ScriptToken endToken;
  std::map<std::string, std::unique_ptr<ScriptVariable>> variables;
  std::vector<Resolution> resolutions;
  std::vector<std::size_t> matches;  // per opener: unlimited scan result (+1), 0 unknown
  // Statement lists by their first token (most lists start at one place only),
  // other ranges by both ends.
  struct Split {
    std::size_t end = static_cast<std::size_t>(-1);
    std::vector<std::pair<std::size_t, std::size_t>> statements;
  };
  std::vector<Split> splitAt;
  std::unordered_map<std::uint64_t, std::vector<std::pair<std::size_t, std::size_t>>> splits;
  // An IF statement's parts by its token.
  struct IfShape {
    std::size_t end = static_cast<std::size_t>(-1);
    std::size_t then = 0;
    std::size_t stop = 0;
  };
  std::vector<IfShape> ifShapes;
  std::vector<std::shared_ptr<ScriptRoutine>> retired;
  std::deque<ScriptArguments> argumentPool;  // per call depth
  std::size_t countOfCalls = 0;
  std::string scratch;  // string assignments are built here
  int depth = 0;
  bool flagStopped = false;
  bool flagBreak = false;
  bool flagContinue = false;
  bool flagExit = false;
};

}  // namespace vrk
