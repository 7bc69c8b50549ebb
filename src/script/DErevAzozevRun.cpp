// The interpreter proper: preparation, statements and the three expression
// families over the tokens of one run.
#include <cmath>
#include <unordered_map>

#include "script/BuiltinRoutines.h"
#include "script/ScriptHost.h"
#include "script/ScriptMessages.h"
#include "script/ScriptRun.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

using namespace script;
using Run = DErevAzozev::Run;
constexpr std::size_t npos = static_cast<std::size_t>(-1);
constexpr std::size_t kUnknown = npos - 1;

Keyword keywordOf(const std::string& upper) {
  static const std::unordered_map<std::string, Keyword> kKeywords{
      {"BEGIN", Keyword::Begin},     {"END", Keyword::End},
      {"IF", Keyword::If},           {"THEN", Keyword::Then},
      {"ELSE", Keyword::Else},       {"FOR", Keyword::For},
      {"TO", Keyword::To},           {"DOWNTO", Keyword::Downto},
      {"DO", Keyword::Do},           {"WHILE", Keyword::While},
      {"REPEAT", Keyword::Repeat},   {"UNTIL", Keyword::Until},
      {"CASE", Keyword::Case},       {"OF", Keyword::Of},
      {"BREAK", Keyword::Break},     {"CONTINUE", Keyword::Continue},
      {"EXIT", Keyword::Exit},       {"VAR", Keyword::Var},
      {"NOT", Keyword::Not},         {"DIV", Keyword::Div},
      {"MOD", Keyword::Mod},         {"AND", Keyword::And},
      {"OR", Keyword::Or},           {"XOR", Keyword::Xor},
      {"SHL", Keyword::Shl},         {"SHR", Keyword::Shr},
      {"INTEGER", Keyword::Integer}, {"REAL", Keyword::Real},
      {"STRING", Keyword::String},
  };
  const auto it = kKeywords.find(upper);
  return it == kKeywords.end() ? Keyword::None : it->second;
}

Op opOf(std::string_view s) {
  static const std::unordered_map<std::string_view, Op> kOps{
      {":=", Op::Assign}, {"<=", Op::Le},    {"<>", Op::Ne},   {">=", Op::Ge},
      {"..", Op::DotDot}, {"<", Op::Lt},     {">", Op::Gt},    {"=", Op::Eq},
      {"+", Op::Plus},    {"-", Op::Minus},  {"*", Op::Star},  {"/", Op::Slash},
      {"(", Op::LParen},  {")", Op::RParen}, {",", Op::Comma}, {";", Op::Semicolon},
      {":", Op::Colon},
  };
  const auto it = kOps.find(s);
  return it == kOps.end() ? Op::None : it->second;
}

bool isRelation(Op op) {
  return op == Op::Eq || op == Op::Ne || op == Op::Lt || op == Op::Le || op == Op::Gt ||
         op == Op::Ge;
}

template <typename T>
bool compare(Op op, const T& a, const T& b) {
  switch (op) {
    case Op::Eq:
      return a == b;
    case Op::Ne:
      return a != b;
    case Op::Lt:
      return a < b;
    case Op::Le:
      return a <= b;
    case Op::Gt:
      return a > b;
    default:
      return a >= b;
  }
}

bool opens(Keyword k) { return k == Keyword::Begin || k == Keyword::Repeat || k == Keyword::Case; }
bool closes(Keyword k) { return k == Keyword::End || k == Keyword::Until; }

// Two's complement arithmetic: overflow wraps instead of being undefined.
std::int64_t wrapAdd(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}
std::int64_t wrapSub(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}
std::int64_t wrapMul(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
}

}  // namespace

// ---------------------------------------------------------------- preparation

void Run::prepare(const StringList& source) {
  std::string prepared;
  for (const std::string& line : source) {
    std::string out;
    for (TPPAParser p(line); p.kind() != TokenKind::End; p.nextToken()) {
      if (p.kind() == TokenKind::Comment) continue;
      out.append(p.token());
      out.push_back(' ');
    }
    if (isBlank_(out)) continue;
    prepared += out;
    prepared += "\r\n";
  }
  for (TPPAParser p(prepared); p.kind() != TokenKind::End; p.nextToken()) {
    if (p.kind() == TokenKind::Comment) continue;  // only where a string swallowed a line end
    ScriptToken tok;
    tok.kind = p.kind();
    tok.text = std::string(p.token());
    switch (tok.kind) {
      case TokenKind::Identifier:
        tok.upper = upperCase_(tok.text);
        tok.keyword = keywordOf(tok.upper);
        break;
      case TokenKind::String:
        tok.value = decodeStringToken_(tok.text);
        break;
      case TokenKind::Integer:
      case TokenKind::HexInteger:
        tok.intValue = integerLiteral_(tok.text);
        tok.realValue = tok.kind == TokenKind::Integer ? textToReal_(tok.text).value_or(0.0)
                                                       : static_cast<double>(tok.intValue);
        break;
      case TokenKind::Real:
        tok.realValue = textToReal_(tok.text).value_or(0.0);
        if (std::isinf(tok.realValue)) tok.realValue = 0.0;  // no valid real
        break;
      case TokenKind::Symbol:
        tok.op = opOf(tok.text);
        break;
      default:
        break;
    }
    t.push_back(std::move(tok));
  }
  resolutions.assign(t.size(), Resolution{});
  splitAt.assign(t.size() + 1, Split{});
  ifShapes.assign(t.size(), IfShape{});
  matches.assign(t.size(), kUnknown);
}

void Run::main() {
  const std::size_t n = t.size();
  if (n == 0) return;
  if (t[0].keyword != Keyword::Var) {
    runList(0, n);
    return;
  }
  std::size_t pos = 1;
  while (pos < n && t[pos].keyword != Keyword::Begin) {
    std::vector<std::size_t> names;
    for (;;) {
      if (at(pos, n).kind != TokenKind::Identifier) fail_(kSyntaxError(), at(pos, n).text);
      names.push_back(pos++);
      if (at(pos, n).op != Op::Comma) break;
      ++pos;
    }
    if (at(pos, n).op != Op::Colon) fail_(kSyntaxError(), at(pos, n).text);
    ++pos;
    ScriptType type;
    switch (at(pos, n).keyword) {
      case Keyword::Integer:
        type = ScriptType::Integer;
        break;
      case Keyword::Real:
        type = ScriptType::Real;
        break;
      case Keyword::String:
        type = ScriptType::String;
        break;
      default:
        fail_(kSyntaxError(), at(pos, n).text);
    }
    ++pos;
    if (at(pos, n).op != Op::Semicolon) fail_(kSyntaxError(), at(pos, n).text);
    ++pos;
    for (const std::size_t k : names) {
      const std::string& key = t[k].upper;
      if (variables.count(key) || owner.findPredefined_(key))
        fail_(kDuplicateVariable(), t[k].text);
      auto v = std::make_unique<ScriptVariable>();
      v->name = key;
      v->type = type;
      variables[key] = std::move(v);
    }
  }
  std::size_t last = npos;
  for (std::size_t k = n; k-- > pos;) {
    if (t[k].keyword == Keyword::End) {
      last = k;
      break;
    }
  }
  if (pos >= n || last == npos) fail_(kNoEnd(), "Block");
  runList(pos + 1, last);
}

// ---------------------------------------------------------------- structure

void Run::tooDeep(const ScriptToken& at) {
  --depth;
  fail_(kTooDeep(), at.text);
}

std::size_t Run::matching(std::size_t opener, std::size_t e) {
  std::size_t& known = matches[opener];
  if (known == kUnknown) {
    known = npos;
    int level = 0;
    for (std::size_t i = opener; i < t.size(); ++i) {
      if (opens(t[i].keyword)) {
        ++level;
      } else if (closes(t[i].keyword) && --level == 0) {
        known = i;
        break;
      }
    }
  }
  return known < e ? known : npos;
}

std::size_t Run::findKeyword(std::size_t b, std::size_t e, Keyword k) const {
  for (std::size_t i = b; i < e; ++i)
    if (t[i].keyword == k) return i;
  return npos;
}

const Run::Statements& Run::split(std::size_t b, std::size_t e) {
  Split& first = splitAt[b];
  const std::uint64_t key = (static_cast<std::uint64_t>(b) << 32) | e;
  const auto found = splits.find(key);
  if (found != splits.end()) return found->second;
  std::vector<std::pair<std::size_t, std::size_t>> list;
  int level = 0;
  std::size_t start = b;
  for (std::size_t i = b; i < e; ++i) {
    if (opens(t[i].keyword))
      ++level;
    else if (closes(t[i].keyword))
      --level;
    else if (level == 0 && t[i].op == Op::Semicolon) {
      if (i > start) list.emplace_back(start, i);
      start = i + 1;
    }
  }
  if (e > start) list.emplace_back(start, e);
  if (first.end == npos) {
    first.end = e;
    first.statements = std::move(list);
    return first.statements;
  }
  return splits.emplace(key, std::move(list)).first->second;
}

Run::Resolution& Run::resolveAgain(std::size_t pos) {
  Resolution& r = resolutions[pos];
  // A routine in use may be replaced (a run inside this one declares the
  // host's routines afresh): the old one lives as long as this run.
  if (r.procedure) retired.push_back(std::move(r.procedure));
  if (r.function) retired.push_back(std::move(r.function));
  r.generation = owner.generation();
  const std::string& name = t[pos].upper;
  const auto v = variables.find(name);
  r.variable = v != variables.end() ? v->second.get() : owner.findPredefined_(name);
  const auto* p = owner.findRoutine_(name, false);
  r.procedure = p ? *p : nullptr;
  const auto* f = owner.findRoutine_(name, true);
  r.function = f ? *f : nullptr;
  return r;
}

// ---------------------------------------------------------------- statements

void Run::runList(std::size_t b, std::size_t e) {
  Depth depthGuard(*this, at(b, e));
  if (ScriptHost* host = owner.ports().host) host->processMessages();
  const auto& statements = statementsOf(b, e);
  for (const auto& [sb, se] : statements) {
    if (flagStopped || flagBreak || flagContinue || flagExit) return;
    runStatement(sb, se);
  }
}

void Run::runStatement(std::size_t b, std::size_t e) {
  for (;;) {
    if (t[b].kind != TokenKind::Identifier) fail_(kSyntaxError(), t[b].text);
    Cursor c{b, e};
    bool done = false;
    {
      Resolution& r = resolve(b);
      if (r.procedure) {
        call(c, *r.procedure, nullptr);
        done = true;
      } else if (r.function) {
        ScriptValue dropped;
        call(c, *r.function, &dropped);
        done = true;
      }
    }
    if (at(c).kind == TokenKind::Identifier) {
      if (ScriptVariable* v = resolve(c.pos).variable) {
        assign(*v, c.pos, e);
        return;
      }
    }
    const std::size_t k = c.pos;
    if (at(c).kind == TokenKind::Identifier) {
      switch (t[k].keyword) {
        case Keyword::Begin: {
          const std::size_t end = matching(k, e);
          runList(k + 1, end == npos ? e : end);
          return;
        }
        case Keyword::If: {
          IfShape& shape = ifShapes[k];
          if (shape.end != e) {
            shape.end = npos;
            shape.then = findKeyword(k + 1, e, Keyword::Then);
            if (shape.then == npos) fail_(kSyntaxError(), "if");
            const std::size_t s = shape.then + 1;
            if (s >= e) fail_(kSyntaxError(), "if");
            shape.stop = e;
            if (t[s].keyword == Keyword::Begin) {
              const std::size_t end = matching(s, e);
              shape.stop = end == npos ? e : end + 1;
            } else {
              int level = 0;
              bool flagOwnIf = false;
              for (std::size_t i = s; i < e; ++i) {
                const Keyword kw = t[i].keyword;
                if (opens(kw))
                  ++level;
                else if (closes(kw))
                  --level;
                else if (level == 0 && kw == Keyword::If)
                  flagOwnIf = true;
                else if (level == 0 && kw == Keyword::Else && !flagOwnIf) {
                  shape.stop = i;
                  break;
                }
              }
            }
            shape.end = e;
          }
          const std::size_t then = shape.then;
          const std::size_t s = then + 1;
          const std::size_t stop = shape.stop;
          const bool flagElse = stop < e && t[stop].keyword == Keyword::Else;
          if (stop == s || (flagElse && stop + 1 >= e)) fail_(kSyntaxError(), "if");
          if (evalInteger(k + 1, then) != 0) {
            e = stop;
            b = s;
          } else if (flagElse) {
            b = stop + 1;
          } else {
            return;
          }
          continue;  // the chosen statement, without growing the stack
        }
        case Keyword::For:
          runFor(k, e);
          return;
        case Keyword::While:
          runWhile(k, e);
          return;
        case Keyword::Repeat:
          runRepeat(k, e);
          return;
        case Keyword::Case:
          runCase(k, e);
          return;
        case Keyword::Break:
          flagBreak = true;
          return;
        case Keyword::Continue:
          flagContinue = true;
          return;
        case Keyword::Exit:
          flagExit = true;
          return;
        default:
          break;
      }
    }
    if (!done) fail_(kSyntaxError(), at(c).text);
    return;
  }
}

std::int64_t Run::assign(ScriptVariable& v, std::size_t name, std::size_t e) {
  if (v.flagReadOnly) fail_(kReadOnly(), t[name].text);
  Cursor c{name + 1, e};
  if (at(c).op != Op::Assign) fail_(kSyntaxError(), at(c).text);
  ++c.pos;
  switch (v.type) {
    case ScriptType::Integer: {
      const std::int64_t value = evalInteger(c);
      setInt(v, value);
      return value;
    }
    case ScriptType::Real:
      setReal(v, realRelation(c));
      break;
    case ScriptType::String:
      // Built in a buffer that then trades places with the old value: no
      // allocation once both have grown.
      strRelation(c, scratch);
      v.strValue.swap(scratch);
      if (v.flagHostBound && owner.StrObjParam) {
        int err = 0;
        std::string copy = v.strValue;
        owner.StrObjParam(v.name, v.index, 1, err, copy);
      }
      break;
  }
  return 0;
}

void Run::runFor(std::size_t b, std::size_t e) {
  ScriptVariable* v =
      at(b + 1, e).kind == TokenKind::Identifier ? resolve(b + 1).variable : nullptr;
  if (!v || v->type != ScriptType::Integer || v->flagReadOnly) fail_(kSyntaxError(), "for");
  std::size_t to = b + 1;
  while (to < e && t[to].keyword != Keyword::To && t[to].keyword != Keyword::Downto) ++to;
  if (to >= e || at(b + 2, e).op != Op::Assign) fail_(kSyntaxError(), "for");
  const bool flagDown = t[to].keyword == Keyword::Downto;
  const std::size_t doAt = findKeyword(to + 1, e, Keyword::Do);
  if (doAt == npos) fail_(kSyntaxError(), "for");
  const std::int64_t start = assign(*v, b + 1, to);
  const std::int64_t limit = evalInteger(to + 1, doAt);
  // A 32-bit count, reckoned in 64 bits so that bounds near the limits do not overflow.
  const auto first = static_cast<std::int32_t>(start);
  const auto last = static_cast<std::int32_t>(limit);
  const std::int64_t count =
      flagDown ? std::int64_t(first) - last + 1 : std::int64_t(last) - first + 1;
  std::int64_t counter = first;
  for (std::int64_t k = 0; k < count; ++k) {
    if (flagStopped) break;
    setInt(*v, counter);
    flagContinue = false;
    runList(doAt + 1, e);
    if (loopEnds()) break;
    counter += flagDown ? -1 : 1;
  }
  flagBreak = flagContinue = false;
}

void Run::runWhile(std::size_t b, std::size_t e) {
  const std::size_t doAt = findKeyword(b + 1, e, Keyword::Do);
  if (doAt == npos) fail_(kSyntaxError(), "while");
  while (!flagStopped && evalInteger(b + 1, doAt) != 0) {
    flagContinue = false;
    runList(doAt + 1, e);
    if (loopEnds()) break;
  }
  flagBreak = flagContinue = false;
}

void Run::runRepeat(std::size_t b, std::size_t e) {
  const std::size_t until = matching(b, e);
  const std::size_t bodyEnd = until == npos ? e : until;
  const std::size_t condition = until == npos ? e : until + 1;
  while (!flagStopped) {
    flagContinue = false;
    runList(b + 1, bodyEnd);
    if (loopEnds()) break;
    if (evalInteger(condition, e) != 0) break;
  }
  flagBreak = flagContinue = false;
}

void Run::runCase(std::size_t b, std::size_t e) {
  const std::size_t of = findKeyword(b + 1, e, Keyword::Of);
  if (of == npos) fail_(kNoOf(), "case");
  const std::size_t end = matching(b, e);
  if (end == npos) fail_(kNoEnd(), "case");
  const std::int64_t selector = evalInteger(b + 1, of);
  bool flagMatched = false;
  std::size_t p = of + 1;
  while (p < end) {
    if (flagStopped || flagBreak || flagContinue || flagExit) return;
    if (t[p].keyword == Keyword::Else) {
      if (!flagMatched) runList(p + 1, end);
      return;
    }
    // labels ":" statement ";"
    std::size_t colon = npos;
    std::size_t stop = end;
    {
      int parens = 0;
      for (std::size_t i = p; i < end; ++i) {
        if (t[i].op == Op::LParen)
          ++parens;
        else if (t[i].op == Op::RParen)
          --parens;
        else if (parens == 0 && t[i].op == Op::Colon) {
          colon = i;
          break;
        } else if (t[i].op == Op::Semicolon) {
          break;
        }
      }
    }
    if (colon == npos) fail_(kBadExpression(), "case");
    {
      int level = 0;
      for (std::size_t i = colon + 1; i < end; ++i) {
        if (opens(t[i].keyword))
          ++level;
        else if (closes(t[i].keyword))
          --level;
        else if (level == 0 && t[i].op == Op::Semicolon) {
          stop = i;
          break;
        }
      }
    }
    bool flagHit = false;
    for (std::size_t q = p; q < colon && !flagHit;) {
      std::size_t labelEnd = q;
      std::size_t range = npos;
      for (int parens = 0; labelEnd < colon; ++labelEnd) {
        const Op op = t[labelEnd].op;
        if (op == Op::LParen)
          ++parens;
        else if (op == Op::RParen)
          --parens;
        else if (parens == 0 && op == Op::Comma)
          break;
        else if (parens == 0 && op == Op::DotDot && range == npos)
          range = labelEnd;
      }
      if (range == npos) {
        flagHit = evalInteger(q, labelEnd) == selector;
      } else {
        const std::int64_t low = evalInteger(q, range);
        const std::int64_t high = evalInteger(range + 1, labelEnd);
        flagHit = low <= selector && selector <= high;
      }
      q = labelEnd + 1;
    }
    if (flagHit) {
      flagMatched = true;
      runList(colon + 1, stop);
    }
    p = stop + 1;
  }
}

// ---------------------------------------------------------------- variables

void Run::hostError(int code) {
  std::string message;
  if (owner.ErrorProc) owner.ErrorProc(code, message);
  throw ScriptError(message);
}

std::int64_t Run::getInt(ScriptVariable& v) {
  if (v.flagHostBound && owner.IntObjParam) {
    int err = 0;
    std::int64_t value = v.intValue;
    owner.IntObjParam(v.name, v.index, 0, err, value);
    if (err != 0) hostError(err);
    v.intValue = value;
  }
  return v.intValue;
}

double Run::getReal(ScriptVariable& v) {
  if (v.flagHostBound && owner.RealObjParam) {
    int err = 0;
    double value = v.realValue;
    owner.RealObjParam(v.name, v.index, 0, err, value);
    if (err != 0) hostError(err);
    v.realValue = value;
  }
  return v.realValue;
}

std::string Run::getStr(ScriptVariable& v) {
  if (v.flagHostBound && owner.StrObjParam) {
    int err = 0;
    std::string value = v.strValue;
    owner.StrObjParam(v.name, v.index, 0, err, value);
    if (err != 0) hostError(err);
    v.strValue = value;
  }
  return v.strValue;
}

// Writes tell the host; its error code is not looked at.
void Run::setInt(ScriptVariable& v, std::int64_t value) {
  v.intValue = value;
  if (v.flagHostBound && owner.IntObjParam) {
    int err = 0;
    owner.IntObjParam(v.name, v.index, 1, err, value);
  }
}

void Run::setReal(ScriptVariable& v, double value) {
  v.realValue = value;
  if (v.flagHostBound && owner.RealObjParam) {
    int err = 0;
    owner.RealObjParam(v.name, v.index, 1, err, value);
  }
}

// ---------------------------------------------------------------- expressions

ScriptType Run::familyOf(const Cursor& c) {
  const ScriptToken& tok = at(c);
  switch (tok.kind) {
    case TokenKind::String:
      return ScriptType::String;
    case TokenKind::Real:
      return ScriptType::Real;
    case TokenKind::Identifier: {
      const Resolution& r = resolve(c.pos);
      if (r.variable) return r.variable->type;
      if (r.function) return r.function->resultType;
      return ScriptType::Integer;
    }
    default:
      return ScriptType::Integer;
  }
}

std::int64_t Run::toInteger(double value) {
  const auto i = truncToInteger_(value);
  if (!i) fail_(kNotAnInteger(), floatToStr_(value));
  return *i;
}

std::int64_t Run::evalInteger(Cursor& c) {
  switch (familyOf(c)) {
    case ScriptType::String:
      return textToInteger_(strRelation(c)).value_or(-1);
    case ScriptType::Real:
      return toInteger(realRelation(c));
    default:
      return intRelation(c);
  }
}

std::int64_t Run::intRelation(Cursor& c) {
  std::int64_t value = intSum(c);
  while (isRelation(at(c).op)) {
    const Op op = t[c.pos++].op;
    const std::int64_t right = intSum(c);
    value = compare(op, value, right) ? -1 : 0;
  }
  return value;
}

std::int64_t Run::intSum(Cursor& c) {
  const auto signedTerm = [&] {
    const Op sign = at(c).op;
    if (sign == Op::Plus || sign == Op::Minus) ++c.pos;
    const std::int64_t term = intTerm(c);
    return sign == Op::Minus ? wrapSub(0, term) : term;
  };
  std::int64_t value = signedTerm();
  for (;;) {
    const ScriptToken& tok = at(c);
    if (tok.op == Op::Plus) {
      ++c.pos;
      value = wrapAdd(value, signedTerm());
    } else if (tok.op == Op::Minus) {
      ++c.pos;
      value = wrapSub(value, signedTerm());
    } else if (tok.keyword == Keyword::Or) {
      ++c.pos;
      value |= signedTerm();
    } else if (tok.keyword == Keyword::Xor) {
      ++c.pos;
      value ^= signedTerm();
    } else {
      return value;
    }
  }
}

std::int64_t Run::intTerm(Cursor& c) {
  const bool flagNot = at(c).keyword == Keyword::Not;
  if (flagNot) ++c.pos;
  std::int64_t value = intFactor(c);
  if (flagNot) value = ~value;
  for (;;) {
    const ScriptToken& tok = at(c);
    if (tok.op == Op::Star) {
      ++c.pos;
      value = wrapMul(value, intFactor(c));
      continue;
    }
    const Keyword kw = tok.keyword;
    if (kw != Keyword::Div && kw != Keyword::Mod && kw != Keyword::And && kw != Keyword::Shl &&
        kw != Keyword::Shr)
      return value;
    ++c.pos;
    const std::int64_t right = intFactor(c);
    switch (kw) {
      case Keyword::Div:
      case Keyword::Mod:
        if (right == 0) fail_(kDivisionByZero(), tok.text);
        if (right == -1) {  // INT64_MIN div -1 would trap
          value = kw == Keyword::Div ? wrapSub(0, value) : 0;
        } else {
          value = kw == Keyword::Div ? value / right : value % right;
        }
        break;
      case Keyword::And:
        value &= right;
        break;
      case Keyword::Shl:
        value = static_cast<std::uint64_t>(right) >= 64
                    ? 0
                    : static_cast<std::int64_t>(static_cast<std::uint64_t>(value) << right);
        break;
      default:  // shr shifts in zeros
        value = static_cast<std::uint64_t>(right) >= 64
                    ? 0
                    : static_cast<std::int64_t>(static_cast<std::uint64_t>(value) >> right);
        break;
    }
  }
}

std::int64_t Run::intFactor(Cursor& c) {
  const ScriptToken& tok = at(c);
  switch (tok.kind) {
    case TokenKind::Integer:
    case TokenKind::HexInteger:
      ++c.pos;
      return tok.intValue;
    case TokenKind::Identifier: {
      Resolution& r = resolve(c.pos);
      if (r.variable) {
        if (r.variable->type != ScriptType::Integer) fail_(kVariableType(), tok.text);
        ++c.pos;
        return getInt(*r.variable);
      }
      if (r.function) {
        if (r.function->resultType != ScriptType::Integer) fail_(kFunctionType(), tok.text);
        ScriptValue result;
        call(c, *r.function, &result);
        return result.i;
      }
      fail_(kUndefined(), tok.text);
    }
    default:
      break;
  }
  if (tok.op != Op::LParen) fail_(kSyntaxError(), tok.text);
  Depth depthGuard(*this, tok);
  ++c.pos;
  const std::int64_t value = evalInteger(c);
  if (at(c).op != Op::RParen) fail_(kNoRightParen());
  ++c.pos;
  return value;
}

double Run::realRelation(Cursor& c) {
  double value = realSum(c);
  while (isRelation(at(c).op)) {
    const Op op = t[c.pos++].op;
    const double right = realSum(c);
    value = compare(op, value, right) ? -1.0 : 0.0;
  }
  return value;
}

double Run::realSum(Cursor& c) {
  const auto signedTerm = [&] {
    const Op sign = at(c).op;
    if (sign == Op::Plus || sign == Op::Minus) ++c.pos;
    const double term = realTerm(c);
    return sign == Op::Minus ? -term : term;
  };
  double value = signedTerm();
  for (;;) {
    const Op op = at(c).op;
    if (op != Op::Plus && op != Op::Minus) return value;
    ++c.pos;
    const double right = signedTerm();
    value = op == Op::Plus ? value + right : value - right;
  }
}

double Run::realTerm(Cursor& c) {
  double value = realFactor(c);
  for (;;) {
    const ScriptToken& tok = at(c);
    if (tok.op != Op::Star && tok.op != Op::Slash) return value;
    ++c.pos;
    const double right = realFactor(c);
    if (tok.op == Op::Star) {
      value *= right;
    } else {
      if (right == 0) fail_(kDivisionByZero(), tok.text);
      value /= right;
    }
  }
}

double Run::realFactor(Cursor& c) {
  const ScriptToken& tok = at(c);
  switch (tok.kind) {
    case TokenKind::Integer:
    case TokenKind::HexInteger:
    case TokenKind::Real:
      ++c.pos;
      return tok.realValue;
    case TokenKind::Identifier: {
      Resolution& r = resolve(c.pos);
      if (r.variable) {
        ScriptVariable& v = *r.variable;
        if (v.type == ScriptType::String) fail_(kVariableType(), tok.text);
        ++c.pos;
        return v.type == ScriptType::Integer ? static_cast<double>(getInt(v)) : getReal(v);
      }
      if (r.function) {
        if (r.function->resultType == ScriptType::String) fail_(kFunctionType(), tok.text);
        const ScriptRoutine& routine = *r.function;
        ScriptValue result;
        call(c, routine, &result);
        return routine.resultType == ScriptType::Integer ? static_cast<double>(result.i) : result.d;
      }
      fail_(kUndefined(), tok.text);
    }
    default:
      break;
  }
  if (tok.op != Op::LParen) fail_(kSyntaxError(), tok.text);
  Depth depthGuard(*this, tok);
  ++c.pos;
  double value = 0;
  switch (familyOf(c)) {
    case ScriptType::String:
      // A text that is no number counts as 0, as StrToFloat has it.
      value = textToReal_(strRelation(c)).value_or(0.0);
      break;
    case ScriptType::Real:
      value = realRelation(c);
      break;
    default:
      value = static_cast<double>(intRelation(c));
      break;
  }
  if (at(c).op != Op::RParen) fail_(kNoRightParen());
  ++c.pos;
  return value;
}

void Run::strRelation(Cursor& c, std::string& out) {
  strSum(c, out);
  if (!isRelation(at(c).op)) return;
  std::string right;
  while (isRelation(at(c).op)) {
    const Op op = t[c.pos++].op;
    strSum(c, right);
    const bool flagTrue = compare(op, out, right);
    out = flagTrue ? "-1" : "0";
  }
}

std::string Run::strRelation(Cursor& c) {
  std::string value;
  strRelation(c, value);
  return value;
}

void Run::strSum(Cursor& c, std::string& out) {
  out.clear();
  strFactor(c, out);
  while (at(c).op == Op::Plus) {
    ++c.pos;
    strFactor(c, out);
  }
}

void Run::strFactor(Cursor& c, std::string& out) {
  const ScriptToken& tok = at(c);
  switch (tok.kind) {
    case TokenKind::String:
      // 'a'#13#10'b' is one string.
      for (; at(c).kind == TokenKind::String; ++c.pos) out += t[c.pos].value;
      return;
    case TokenKind::Identifier: {
      Resolution& r = resolve(c.pos);
      if (r.variable) {
        ScriptVariable& v = *r.variable;
        if (v.type != ScriptType::String) fail_(kVariableType(), tok.text);
        ++c.pos;
        if (v.flagHostBound) {
          out += getStr(v);
        } else {
          out += v.strValue;
        }
        return;
      }
      if (r.function) {
        if (r.function->resultType != ScriptType::String) fail_(kFunctionType(), tok.text);
        ScriptValue result;
        call(c, *r.function, &result);
        out += result.s;
        return;
      }
      fail_(kUndefined(), tok.text);
    }
    default:
      break;
  }
  if (tok.op != Op::LParen) fail_(kSyntaxError(), tok.text);
  Depth depthGuard(*this, tok);
  ++c.pos;
  std::string inner;
  strRelation(c, inner);
  if (at(c).op != Op::RParen) fail_(kNoRightParen());
  ++c.pos;
  out += inner;
}

// ---------------------------------------------------------------- calls

void Run::call(Cursor& c, const ScriptRoutine& routine, ScriptValue* result) {
  const ScriptToken& name = t[c.pos++];
  // Argument lists are kept per call depth and reused, strings and all.
  if (argumentPool.size() <= countOfCalls) argumentPool.emplace_back();
  ScriptArguments& args = argumentPool[countOfCalls];
  struct Level {
    std::size_t& count;
    ~Level() { --count; }
  } level{++countOfCalls};
  args.resize(routine.parameters.size());
  for (std::size_t k = 0; k < args.size(); ++k) {
    args[k].name = routine.parameters[k].name;
    args[k].type = routine.parameters[k].type;
    args[k].intValue = 0;
    args[k].realValue = 0;
    args[k].strValue.clear();
  }
  if (!args.empty()) {
    if (at(c).op != Op::LParen) fail_(kSyntaxError(), at(c).text);
    ++c.pos;
    Depth depthGuard(*this, name);
    for (std::size_t k = 0; k < args.size(); ++k) {
      // The argument: up to the next "," or ")" outside parentheses.
      std::size_t end = c.pos;
      for (int parens = 0; end < c.end; ++end) {
        const Op op = t[end].op;
        if (op == Op::LParen) {
          ++parens;
        } else if (op == Op::RParen) {
          if (parens == 0) break;
          --parens;
        } else if (op == Op::Comma && parens == 0) {
          break;
        }
      }
      Cursor a{c.pos, end};
      ScriptArgument& arg = args[k];
      switch (arg.type) {
        case ScriptType::Integer:
          arg.intValue = evalInteger(a);
          break;
        case ScriptType::Real:
          arg.realValue = realRelation(a);
          break;
        case ScriptType::String:
          strRelation(a, arg.strValue);
          break;
      }
      c.pos = end;
      if (k + 1 < args.size() && at(c).op == Op::Comma) ++c.pos;
    }
    if (at(c).op != Op::RParen) fail_(kSyntaxError(), at(c).text);
    ++c.pos;
  }
  if (routine.flagBuiltIn) {
    callBuiltIn(routine, name, args, result);
    return;
  }
  int err = 0;
  if (!routine.flagFunction) {
    if (owner.ProcParam) owner.ProcParam(routine.name, routine.index, args, err);
  } else {
    ScriptValue& out = *result;
    out.type = routine.resultType;
    switch (routine.resultType) {
      case ScriptType::Integer:
        if (owner.IntFuncParam) owner.IntFuncParam(routine.name, routine.index, args, err, out.i);
        break;
      case ScriptType::Real:
        if (owner.RealFuncParam) owner.RealFuncParam(routine.name, routine.index, args, err, out.d);
        break;
      case ScriptType::String:
        if (owner.StrFuncParam) owner.StrFuncParam(routine.name, routine.index, args, err, out.s);
        break;
    }
  }
  if (err != 0) hostError(err);
}

// ---------------------------------------------------------------- the component

void DErevAzozev::Execute() {
  if (flagPaused_) {  // a Pause in progress ends
    flagPaused_ = false;
    if (ports_.host) ports_.host->wake();
  }
  removeHostRoutines_();
  for (const std::string& line : DeclarePrototype)
    if (!isBlank_(line)) Declare(line, false);

  Run run(*this);
  run.prepare(Source);
  struct Running {
    DErevAzozev& c;
    explicit Running(DErevAzozev& component, Run* r) : c(component) {
      c.runs_.push_back(r);
      ++c.countOfRuns_;
    }
    ~Running() {
      c.runs_.pop_back();
      --c.countOfRuns_;
    }
  } running(*this, &run);
  run.main();
}

void DErevAzozev::Stop() {
  if (!IsRunning()) return;
  flagPaused_ = false;
  for (Run* r : runs_) r->flagStopped = true;
  if (ports_.host) ports_.host->wake();
  fail_(kStopped());
}

}  // namespace vrk
