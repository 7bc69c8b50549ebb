// The language: scripts and what they print, or the error that ends them.
#include "script/DErevAzozev.h"

#include <gtest/gtest.h>

#include "ScriptTestSupport.h"

namespace vrk {
namespace {

using scripttest::ScriptRig;

struct Case {
  const char* name;
  const char* source;
  const char* expected;  // lines printed joined by "|", or "ERROR: " + message
};

void runTable(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    ScriptRig rig;
    EXPECT_EQ(rig.run(c.source), c.expected) << c.name << ":\n" << c.source;
  }
}

TEST(DErevAzozev, AssignmentsConvertByTheFirstToken) {
  runTable({
      {"real to integer truncates", "var i: integer; begin i := 3.7; Print(IntToStr(i)) end.", "3"},
      {"string to integer", "var i: integer; begin i := '12'; Print(IntToStr(i)) end.", "12"},
      {"no integer text gives -1", "var i: integer; begin i := 'abc'; Print(IntToStr(i)) end.",
       "-1"},
      {"integer literal to string", "var s: string; begin s := 1 end.", "ERROR: 文法エラーです[1]"},
      {"integer variable to real",
       "var i: integer; r: real; begin i := 7; r := i / 2; Print(FloatToStr(r)) end.", "3.5"},
      {"div is no real operator: the rest is left over",
       "var r: real; begin r := 7 div 2; Print(FloatToStr(r)) end.", "7"},
      {"parenthesised string in integer",
       "var i: integer; begin i := ('12') + 1; Print(IntToStr(i)) end.", "13"},
      {"parenthesised real in integer",
       "var i: integer; begin i := (2.9) + 1; Print(IntToStr(i)) end.", "3"},
      {"parenthesised string in real",
       "var r: real; begin r := ('2.5') * 2; Print(FloatToStr(r)) end.", "5"},
      {"parenthesised non-number in real",
       "var r: real; begin r := ('x') + 1; Print(FloatToStr(r)) end.", "1"},
      {"a real literal cannot start an integer term", "var i: integer; begin i := -1.5 end.",
       "ERROR: 文法エラーです[1.5]"},
      {"trailing tokens are ignored", "var i: integer; begin i := 1 2 3; Print(IntToStr(i)) end.",
       "1"},
      {"names ignore case", "VAR Abc: INTEGER; BEGIN aBC := 2; PRINT(inttostr(ABC)) END.", "2"},
      {"bare statement list", "Print('a'); Print('b')", "a|b"},
      {"text after the block's END", "begin Print('x') end. junk", "x"},
  });
}

TEST(DErevAzozev, LexicalForms) {
  runTable({
      {"character codes", "Print(#65 + #1234 + #$41 + #$1FF + #300)", "A{A"},
      {"adjacent strings are one", "Print(IntToStr(Length('a'#13#10'b')))", "4"},
      {"doubled quote", "Print('it''s')", "it's"},
      {"comments are dropped", "Print('a') // Print('b')\nPrint('c')", "a"},
      {"a comment line between statements", "Print('a');\n// Print('b');\nPrint('c')", "a|c"},
      {"unclosed string runs to the end", "Print('abc", "ERROR: 文法エラーです[]"},
      {"a string over two lines", "Print('a\nb')", "a \r\nb "},
      {"hexadecimal literal", "Print(IntToStr($FF + $10))", "271"},
      {"literal too large gives 0", "Print(IntToStr(99999999999999999999))", "0"},
      {"range after digits", "case 2 of 1..3: Print('in'); end", "in"},
      {"exponent literal", "var r: real; begin r := 2.5E2; Print(FloatToStr(r)) end.", "250"},
      {"a lone hash is an empty string", "Print('a' # 'b')", "ab"},
  });
}

TEST(DErevAzozev, Statements) {
  runTable({
      {"else binds to the inner if", "if 0 then if -1 then Print('a') else Print('b')", ""},
      {"inner if takes the else", "if -1 then if 0 then Print('a') else Print('b')", "b"},
      {"else of a plain statement", "if 0 then Print('a') else Print('b'); Print('c')", "b|c"},
      {"begin end before else",
       "if 0 then begin Print('a'); Print('b') end else begin Print('c'); Print('d') end", "c|d"},
      {"else if chain", "if 0 then Print('1') else if 0 then Print('2') else Print('3')", "3"},
      {"string comparison in if", "var s: string; begin if s = '' then Print('empty') end.",
       "empty"},
      {"case runs every match",
       "case 2 of 1..3: Print('range'); 2: Print('two'); 4: Print('four'); end", "range|two"},
      {"case else", "case 9 of 1, 2: Print('x'); else Print('none'); Print('more') end",
       "none|more"},
      {"case label list", "case 5 of 1, 3, 5: Print('odd'); end", "odd"},
      {"for to", "var i: integer; begin for i := 1 to 3 do Print(IntToStr(i)) end.", "1|2|3"},
      {"for downto", "var i: integer; begin for i := 3 downto 2 do Print(IntToStr(i)) end.", "3|2"},
      {"for without iterations keeps the start",
       "var i: integer; begin for i := 5 to 1 do Print('x'); Print(IntToStr(i)) end.", "5"},
      {"for holds the last value",
       "var i: integer; begin for i := 1 to 3 do ; Print(IntToStr(i)) end.", "3"},
      {"the body does not change the count",
       "var i, n: integer; begin for i := 1 to 3 do begin n := n + 1; i := 10 end; "
       "Print(IntToStr(n) + ' ' + IntToStr(i)) end.",
       "3 10"},
      {"limit evaluated once",
       "var i, m: integer; begin m := 2; for i := 1 to m do m := 10; Print(IntToStr(i)) end.", "2"},
      {"for near the top of 32 bits",
       "var i, n: integer; begin for i := $7FFFFFFE to $7FFFFFFF do n := n + 1; "
       "Print(IntToStr(n) + ' ' + IntToStr(i)) end.",
       "2 2147483647"},
      {"for near the bottom of 32 bits",
       "var i, n: integer; begin for i := -2147483647 downto -2147483648 do n := n + 1; "
       "Print(IntToStr(n) + ' ' + IntToStr(i)) end.",
       "2 -2147483648"},
      {"for over the whole range counts without overflow",
       "var i, n: integer; begin for i := -2147483648 to -2147483646 do n := n + 1; "
       "Print(IntToStr(n)) end.",
       "3"},
      {"for counts with the low 32 bits",
       "var i: integer; begin for i := $100000002 to 3 do Print(IntToStr(i)) end.", "2|3"},
      {"while", "var i: integer; begin while i < 3 do i := i + 1; Print(IntToStr(i)) end.", "3"},
      {"repeat runs once",
       "var i: integer; begin repeat i := i + 1 until -1; Print(IntToStr(i)) end.", "1"},
      {"repeat with a block",
       "var i: integer; begin repeat begin i := i + 2 end until i > 5; Print(IntToStr(i)) end.",
       "6"},
      {"break",
       "var i: integer; begin for i := 1 to 9 do begin if i = 3 then break; Print(IntToStr(i)) "
       "end; Print('end') end.",
       "1|2|end"},
      {"continue",
       "var i: integer; begin for i := 1 to 4 do begin if i mod 2 = 0 then continue; "
       "Print(IntToStr(i)) end end.",
       "1|3"},
      {"continue in repeat tests the condition",
       "var i: integer; begin repeat i := i + 1; continue; Print('no') until i = 2; "
       "Print(IntToStr(i)) end.",
       "2"},
      {"exit ends the script",
       "var i: integer; begin for i := 1 to 3 do begin Print(IntToStr(i)); exit end; Print('no') "
       "end.",
       "1"},
      {"break outside a loop ends the script", "Print('a'); break; Print('b')", "a"},
      {"break ends only the inner loop",
       "var i, j: integer; begin for i := 1 to 2 do for j := 1 to 5 do begin if j = 2 then break; "
       "Print(IntToStr(i) + IntToStr(j)) end end.",
       "11|21"},
  });
}

TEST(DErevAzozev, Arithmetic) {
  runTable({
      {"precedence", "Print(IntToStr(2 + 3 * 4 - 10 div 3))", "11"},
      {"div and mod truncate", "Print(IntToStr(-7 div 2) + ' ' + IntToStr(-7 mod 2))", "-3 -1"},
      {"comparisons give -1 and 0", "Print(IntToStr(1 < 2) + IntToStr(2 < 1))", "-10"},
      {"relational chain", "Print(IntToStr(1 < 2 < 3))", "-1"},
      {"bit operators", "Print(IntToStr(5 and 3) + IntToStr(5 or 3) + IntToStr(5 xor 3))", "176"},
      {"not before the first factor", "Print(IntToStr(not 0 and 6))", "6"},
      {"overflow wraps", "Print(IntToStr($7FFFFFFFFFFFFFFF + 1))", "-9223372036854775808"},
      {"multiplication wraps", "Print(IntToStr($4000000000000000 * 4))", "0"},
      {"lowest div -1", "Print(IntToStr($8000000000000000 div (-1)))", "-9223372036854775808"},
      {"lowest mod -1", "Print(IntToStr($8000000000000000 mod (-1)))", "0"},
      {"shifts", "Print(IntToStr(1 shl 63) + ' ' + IntToStr((-1) shr 60))",
       "-9223372036854775808 15"},
      {"shifts of 64 or more",
       "Print(IntToStr(1 shl 64) + IntToStr((-1) shr 64) + IntToStr(1 shl (-1)))", "000"},
      {"real arithmetic", "var r: real; begin r := 1 / 3; Print(FloatToStr(r)) end.",
       "0.333333333333333"},
      {"real comparison", "var r: real; begin r := 1.5 < 2; Print(FloatToStr(r)) end.", "-1"},
      {"string comparison is byte-wise",
       "var s: string; begin s := 'B' < 'a'; Print(s); s := 'b' = 'B'; Print(s) end.", "-1|0"},
      {"division by zero", "Print(IntToStr(1 div 0))", "ERROR: ゼロによる除算です[div]"},
      {"mod by zero", "Print(IntToStr(1 mod (1 - 1)))", "ERROR: ゼロによる除算です[mod]"},
      {"real division by zero", "var r: real; begin r := 1 / 0 end.",
       "ERROR: ゼロによる除算です[/]"},
      {"real too large for an integer", "var i: integer; begin i := 1e300 end.",
       "ERROR: 整数に変換できない値です[1E300]"},
      {"trunc of a huge value", "Print(IntToStr(Trunc(1e19)))",
       "ERROR: 整数に変換できない値です[1E19]"},
      {"round of nan", "Print(IntToStr(Round(StrToFloat('nan'))))",
       "ERROR: 整数に変換できない値です[Nan]"},
      {"round halves to even",
       "Print(IntToStr(Round(2.5)) + IntToStr(Round(3.5)) + IntToStr(Round(-2.5)))", "24-2"},
  });
}

TEST(DErevAzozev, BuiltIns) {
  runTable({
      {"copy delete insert",
       "Print(Copy('hello', 2, 3) + Delete('hello', 2, 3) + Insert('XY', 'hello', 3))",
       "ellhoheXYllo"},
      {"low 32 bits of positions", "Print(Copy('hello', $100000002, 2))", "el"},
      {"out of range positions clamp",
       "Print(Copy('hello', -5, 3) + '|' + Delete('hello', 9, 1) + '|' + Insert('X', 'ab', 99))",
       "hel|hello|abX"},
      {"case of double-byte text", "Print(LowerCase('ABC表ア') + UpperCase('abcア'))",
       "abc表アABCア"},
      {"trim",
       "Print('[' + Trim(#9' a '#0) + '][' + TrimLeft('  a ') + '][' + TrimRight(' a  ') + ']')",
       "[a][a ][ a]"},
      {"pos is character-aware",
       "Print(IntToStr(Pos('\\', '表\\')) + IntToStr(Pos('\\', '表')) + IntToStr(Pos('', 'a')))",
       "300"},
      {"strtoint", "Print(IntToStr(StrToInt('$ff')) + ' ' + IntToStr(StrToInt('x')))", "255 0"},
      {"strtofloat", "Print(FloatToStr(StrToFloat(' 2.5 ')) + ' ' + FloatToStr(StrToFloat('x')))",
       "2.5 0"},
      {"frac int", "Print(FloatToStr(Frac(-2.75)) + ' ' + FloatToStr(Int(-2.75)))", "-0.75 -2"},
      {"comparestr", "Print(IntToStr(CompareStr('abc', 'abd')))", "-1"},
      {"inttostr of 64 bits", "Print(IntToStr(-9223372036854775807 - 1))", "-9223372036854775808"},
      {"two arguments for three", "Print(Copy('abc', 1))", "ERROR: 文法エラーです[]"},
      {"four arguments for three", "Print(Copy('abc', 1, 2, 3))", "ERROR: 文法エラーです[,]"},
      {"no parenthesis", "Print(Copy)", "ERROR: 文法エラーです[]"},
      {"a minus is no factor", "Print(IntToStr(2 * -1))", "ERROR: 文法エラーです[-]"},
      {"nested calls", "Print(Copy(Copy('abcdef', 2, 4), Length('ab'), 2))", "cd"},
      {"nul bytes are characters", "Print(IntToStr(Length('a'#0'b')) + Copy('a'#0'bc', 3, 2))",
       "3bc"},
      {"parentheses after a routine without parameters", "ProcessMessages(); Print('ok')", "ok"},
      {"sleep below zero waits nothing", "Sleep(-1); Sleep(0); Print('done')", "done"},
  });
}

TEST(DErevAzozev, ErrorTexts) {
  runTable({
      {"statement starting with a number", "1 := 2", "ERROR: 文法エラーです[1]"},
      {"statement that is nothing", "Foo", "ERROR: 文法エラーです[Foo]"},
      {"missing :=", "var i: integer; begin i 5 end.", "ERROR: 文法エラーです[5]"},
      {"if without then", "if 1 Print('a')", "ERROR: 文法エラーです[if]"},
      {"if without a statement", "if 1 then", "ERROR: 文法エラーです[if]"},
      {"else without a statement", "if 1 then Print('a') else", "ERROR: 文法エラーです[if]"},
      {"for over a string", "var s: string; begin for s := 1 to 2 do ; end.",
       "ERROR: 文法エラーです[for]"},
      {"for over a constant", "for True := 1 to 2 do ;", "ERROR: 文法エラーです[for]"},
      {"for without :=", "var i: integer; begin for i to 2 do ; end.",
       "ERROR: 文法エラーです[for]"},
      {"while without do", "while 0 Print('a')", "ERROR: 文法エラーです[while]"},
      {"missing right parenthesis", "Print(IntToStr((1 + 2))", "ERROR: 文法エラーです[]"},
      {"missing right parenthesis in an expression", "var i: integer; begin i := (1 + 2 end.",
       "ERROR: 右括弧がありません"},
      {"variable of the wrong type", "var i: integer; s: string; begin i := 1 + s end.",
       "ERROR: 変数の型が違います[s]"},
      {"function of the wrong type", "var i: integer; begin i := 1 + IntToStr(2) end.",
       "ERROR: 関数の戻り値の型が違います[IntToStr]"},
      {"unknown name", "var i: integer; begin i := 1 + zz end.",
       "ERROR: 変数または関数は定義されていません[zz]"},
      {"read-only", "True := 1", "ERROR: 読取専用オブジェクトには代入できません[True]"},
      {"case branch without colon", "case 1 of 1 Print('a'); end", "ERROR: 式が不正です[case]"},
      {"case without end", "case 1 of 1: Print('a');", "ERROR: endがありません[case]"},
      {"case without of", "case 1 1: Print('a'); end", "ERROR: ofがありません[case]"},
      {"program without end", "var i: integer; begin i := 1;", "ERROR: endがありません[Block]"},
      {"var section without begin", "var i: integer;", "ERROR: endがありません[Block]"},
      {"variable declared twice", "var i, i: integer; begin end.",
       "ERROR: 変数/定数名の重複定義[i]"},
      {"variable named as a constant", "var nil: string; begin end.",
       "ERROR: 変数/定数名の重複定義[nil]"},
      {"declaration without colon", "var i integer; begin end.", "ERROR: 文法エラーです[integer]"},
      {"unknown type", "var i: byte; begin end.", "ERROR: 文法エラーです[byte]"},
      {"declaration without semicolon", "var i: integer begin end.",
       "ERROR: 文法エラーです[begin]"},
      {"the first error ends the run", "Print('a'); Foo; Print('b')", "ERROR: 文法エラーです[Foo]"},
  });
}

// Scripts come from other people's files: nesting is capped with an error.
TEST(DErevAzozev, DeepNestingIsAnErrorNotACrash) {
  const int n = 20000;
  ScriptRig rig;
  EXPECT_EQ(rig.run("Print(IntToStr(" + std::string(n, '(') + "1" + std::string(n, ')') + "))"),
            "ERROR: 入れ子が深すぎます[(]");
  std::string blocks;
  for (int i = 0; i < n; ++i) blocks += "begin ";
  for (int i = 0; i < n; ++i) blocks += "end ";
  EXPECT_EQ(rig.run(blocks), "ERROR: 入れ子が深すぎます[begin]");
  std::string calls = "Print(";
  for (int i = 0; i < n; ++i) calls += "Trim(";
  EXPECT_EQ(rig.run(calls + "'x'" + std::string(n + 1, ')')), "ERROR: 入れ子が深すぎます[Trim]");
  // A long else-if chain is no nesting.
  std::string chain = "var i: integer; begin i := 3000; ";
  for (int i = 0; i < 3000; ++i) chain += "if i = " + std::to_string(i) + " then Print('no') else ";
  EXPECT_EQ(rig.run(chain + "Print('last') end."), "last");
  // Moderate nesting is fine.
  EXPECT_EQ(rig.run("Print(IntToStr(" + std::string(100, '(') + "7" + std::string(100, ')') + "))"),
            "7");
}

}  // namespace
}  // namespace vrk
