// The component and its host: routines declared by prototype, events, bound
// variables, Stop, Pause, Sleep, nested runs and the ports of the built-ins.
#include <gtest/gtest.h>

#include "ScriptTestSupport.h"
#include "script/DErevAzozev.h"
#include "support/RecordingDesktopShell.h"

namespace vrk {
namespace {

using scripttest::RecordingProcessRunner;
using scripttest::ScriptRig;

std::string errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ScriptError& e) {
    return sjisToUtf8(e.what());
  }
  return "no error";
}

TEST(DErevAzozevHost, ProceduresGetUpperCaseNamesAndWholeArguments) {
  ScriptRig rig;
  rig.script.DeclarePrototype.push_back("");
  rig.script.DeclarePrototype.push_back(
      "procedure Put(sKey : String; n, m: integer; r: Real);Index 7;");
  ScriptArguments seen;
  std::string name;
  int index = 0;
  rig.script.ProcParam = [&](const std::string& n, int i, const ScriptArguments& a, int&) {
    name = n;
    index = i;
    seen = a;
  };
  EXPECT_EQ(rig.run("put('a'#0'b', 2 + 3, '12', 1.5)"), "");
  EXPECT_EQ(name, "PUT");
  EXPECT_EQ(index, 7);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].name, "SKEY");
  EXPECT_EQ(seen[0].type, ScriptType::String);
  EXPECT_EQ(seen[0].strValue, std::string("a\0b", 3));  // NUL bytes reach the host
  EXPECT_EQ(seen[1].name, "N");
  EXPECT_EQ(seen[1].intValue, 5);
  EXPECT_EQ(seen[2].name, "M");
  EXPECT_EQ(seen[2].intValue, 12);  // an Integer parameter takes the type of its text
  EXPECT_EQ(seen[3].type, ScriptType::Real);
  EXPECT_EQ(seen[3].realValue, 1.5);
}

TEST(DErevAzozevHost, FunctionsAndHostErrors) {
  ScriptRig rig;
  rig.script.DeclarePrototype = {
      "procedure Print(S:String);Index 1;", "function UIGetName : string; Index 3101;",
      "function Twice(i: integer): Integer; Index 5;", "function Half(r: real): Real; Index 6;",
      "procedure Fails;Index 9;"};
  rig.script.StrFuncParam = [](const std::string&, int index, const ScriptArguments&, int&,
                               std::string& result) { result = "node" + std::to_string(index); };
  rig.script.IntFuncParam = [](const std::string&, int, const ScriptArguments& a, int&,
                               std::int64_t& result) { result = a.at(0).intValue * 2; };
  rig.script.RealFuncParam = [](const std::string&, int, const ScriptArguments& a, int&,
                                double& result) { result = a.at(0).realValue / 2; };
  rig.script.ErrorProc = [](int code, std::string& message) {
    message = code == -1 ? *utf8ToSjis("ユーザー定義手続き/関数の内部エラーです。") : "";
  };
  EXPECT_EQ(rig.run("Print(UIGetName + IntToStr(Twice(21)) + FloatToStr(Half(3)))"),
            "node310142"
            "1.5");
  // A parameterless function leaves "()" over, ignored like other trailing tokens.
  EXPECT_EQ(rig.run("var s: string; begin s := UIGetName(); Print(s) end."), "node3101");
  rig.procedureError = -1;
  EXPECT_EQ(rig.run("Print('a'); Fails; Print('b')"),
            "ERROR: ユーザー定義手続き/関数の内部エラーです。");
  EXPECT_EQ(rig.calls, StringList{"FAILS#9"});
  rig.procedureError = 3;
  EXPECT_EQ(rig.run("Fails"), "ERROR: ");
}

TEST(DErevAzozevHost, HostRoutinesAreReadAfreshEachRun) {
  ScriptRig rig;
  rig.script.DeclarePrototype.push_back("procedure Extra;Index 2;");
  EXPECT_EQ(rig.run("Extra"), "");
  rig.script.DeclarePrototype.pop_back();
  EXPECT_EQ(rig.run("Extra"), "ERROR: 文法エラーです[Extra]");
  // A broken prototype line fails the run.
  rig.script.DeclarePrototype.push_back("procedure Broken");
  EXPECT_EQ(rig.run("Print('a')"), "ERROR: 定義エラーです");
  EXPECT_FALSE(rig.script.IsRunning());
}

TEST(DErevAzozevHost, DeclareChecksPrototypeLines) {
  struct Row {
    const char* line;
    const char* error;  // "no error" when accepted
  };
  const Row rows[] = {
      {"function F1(a, b: integer; c: string): real; Index $10;", "no error"},
      {"  procedure P1 ;  ", "no error"},
      {"function F2: integer: Index 5;", "no error"},  // ":" before Index: index 0
      {"proc P2;", "定義エラーです"},
      {"procedure P3", "定義エラーです"},
      {"procedure 3P;", "定義エラーです"},
      {"procedure P4(a: integer;", "定義エラーです"},
      {"function F3(a: integer);", "定義エラーです"},
      {"function F4: byte;", "定義エラーです"},
      {"procedure P5(a, A: integer);", "仮引数名の重複定義[A]"},
      {"procedure P6(a integer);", "文法エラーです[INTEGER]"},
      {"procedure P7(a: word);", "文法エラーです[WORD]"},
      {"function Copy: integer;", "手続き/関数の重複宣言[COPY]"},
      {"procedure sleep;", "手続き/関数の重複宣言[SLEEP]"},
  };
  for (const Row& row : rows) {
    DErevAzozev script;
    EXPECT_EQ(errorOf([&] { script.Declare(row.line, false); }), row.error) << row.line;
  }
  // Indices reach the host as declared.
  DErevAzozev script;
  script.Declare("function F1(a, b: integer; c: string): real; Index $10;", false);
  script.Declare("function F2: integer: Index 5;", false);
  const auto* f1 = script.findRoutine_("F1", true);
  ASSERT_TRUE(f1);
  EXPECT_EQ((*f1)->index, 16);
  EXPECT_EQ((*f1)->resultType, ScriptType::Real);
  ASSERT_EQ((*f1)->parameters.size(), 3u);
  EXPECT_EQ((*f1)->parameters[2].type, ScriptType::String);
  EXPECT_EQ((*script.findRoutine_("F2", true))->index, 0);
}

TEST(DErevAzozevHost, BuiltInIndicesWithoutImplementation) {
  ScriptRig rig;
  rig.script.Declare("function Foo: integer; Index $7777;", true);
  rig.script.Declare("procedure Bar; Index $7777;", true);
  EXPECT_EQ(rig.run("Print(IntToStr(Foo))"), "ERROR: 未宣言の組み込み関数です[Foo]");
  EXPECT_EQ(rig.run("bar"), "ERROR: 未宣言の組み込み手続きです[bar]");
  // Built-in declarations survive the next run; host ones do not.
  EXPECT_EQ(rig.run("Print(IntToStr(Foo))"), "ERROR: 未宣言の組み込み関数です[Foo]");
}

TEST(DErevAzozevHost, PredefinedAndBoundVariables) {
  ScriptRig rig;
  rig.script.AddIntVar("Count", false, 5);
  rig.script.AddStrVar("Title", "memo", true);
  rig.script.AddStrObj("PPAID", "PPA00", 5000, true);
  rig.script.AddStrObj("Label", "", 42, false);
  rig.script.AddIntVar("Width", false, 0, 7);
  std::vector<std::string> events;
  rig.script.StrObjParam = [&](const std::string& name, int index, std::uint8_t mode, int&,
                               std::string& value) {
    events.push_back(name + " " + std::to_string(index) + " " + std::to_string(mode) + " " + value);
    if (mode == 0 && name == "LABEL") value = "from host";
  };
  rig.script.IntObjParam = [&](const std::string& name, int index, std::uint8_t mode, int& err,
                               std::int64_t& value) {
    events.push_back(name + " " + std::to_string(index) + " " + std::to_string(mode) + " " +
                     std::to_string(value));
    if (mode == 1) err = 99;  // not looked at for writes
    if (mode == 0) value = 640;
  };
  EXPECT_EQ(rig.run("Count := Count + 1; Label := 'x'; Width := 3; "
                    "Print(IntToStr(Count) + Title + PPAID + Label + IntToStr(Width))"),
            "6memoPPA00from host640");
  EXPECT_EQ(events, (std::vector<std::string>{"LABEL 42 1 x", "WIDTH 7 1 3", "PPAID 5000 0 PPA00",
                                              "LABEL 42 0 x", "WIDTH 7 0 3"}));
  EXPECT_EQ(rig.run("Title := 'y'"), "ERROR: 読取専用オブジェクトには代入できません[Title]");
  EXPECT_EQ(rig.run("Print(IntToStr(Count))"), "6");  // predefined values last
  EXPECT_EQ(errorOf([&] { rig.script.AddIntVar("count", false, 1); }),
            "変数/定数名の重複定義[count]");
  EXPECT_EQ(errorOf([&] { rig.script.AddStrVar("TRUE", "", false); }),
            "変数/定数名の重複定義[TRUE]");
  // A script's variables are gone at the next run: declaring them again is no error.
  EXPECT_EQ(rig.run("var x: integer; begin x := 1 end."), "");
  EXPECT_EQ(rig.run("var x: integer; begin Print(IntToStr(x)) end."), "0");
  // A failing read is the host's error.
  rig.script.ErrorProc = [](int code, std::string& message) {
    message = "read " + std::to_string(code);
  };
  rig.script.IntObjParam = [](const std::string&, int, std::uint8_t, int& err, std::int64_t&) {
    err = 4;
  };
  EXPECT_EQ(rig.run("Print(IntToStr(Width))"), "ERROR: read 4");
}

TEST(DErevAzozevHost, DefineAndIsRunning) {
  ScriptRig rig;
  rig.script.Define = {"", "Linux", "Debug"};
  bool running = false;
  rig.onPrint = [&](const std::string&) { running = rig.script.IsRunning(); };
  EXPECT_EQ(rig.run("Print(IntToStr(IsDefine('LINUX')) + IntToStr(IsDefine('Win')))"), "-10");
  EXPECT_TRUE(running);
  EXPECT_FALSE(rig.script.IsRunning());
  EXPECT_EQ(rig.run("Print('x'); Foo"), "ERROR: 文法エラーです[Foo]");
  EXPECT_FALSE(rig.script.IsRunning());
}

TEST(DErevAzozevHost, StopEndsTheRunAndThrowsInItsCaller) {
  ScriptRig rig;
  std::string caught;
  rig.onPrint = [&](const std::string& s) {
    if (s == "stop") caught = errorOf([&] { rig.script.Stop(); });
  };
  EXPECT_EQ(rig.run("var i: integer; begin for i := 1 to 5 do begin Print(IntToStr(i)); "
                    "if i = 2 then Print('stop') end; Print('after') end."),
            "1|2|stop");
  EXPECT_EQ(caught, "実行を中断しました");
  // Idle: nothing happens.
  EXPECT_EQ(errorOf([&] { rig.script.Stop(); }), "no error");
  // The next run starts afresh.
  EXPECT_EQ(rig.run("Print('again')"), "again");
}

TEST(DErevAzozevHost, SleepWaitsForEventsAndEndsOnStop) {
  ScriptRig rig;
  std::string caught;
  rig.host.events.push_back([&] { caught = errorOf([&] { rig.script.Stop(); }); });
  EXPECT_EQ(rig.run("Print('a'); Sleep(60000); Print('b')"), "a");
  EXPECT_EQ(caught, "実行を中断しました");
  ASSERT_EQ(rig.host.waits.size(), 1u);
  EXPECT_GT(rig.host.waits[0], 59000);
  EXPECT_LE(rig.host.waits[0], 60000);
  // Below zero (-1 would be 49 days in 32 bits) and zero wait nothing.
  rig.host.waits.clear();
  EXPECT_EQ(rig.run("Sleep(-1); Sleep(0); Sleep($FFFFFFFF); Print('c')"), "c");
  EXPECT_TRUE(rig.host.waits.empty());
}

TEST(DErevAzozevHost, PauseWaitsUntilStopped) {
  ScriptRig rig;
  int paused = 0;
  rig.script.PauseProc = [&] { ++paused; };
  rig.host.events.push_back([] {});  // an unrelated event: still paused
  rig.host.events.push_back([&] { errorOf([&] { rig.script.Stop(); }); });
  EXPECT_EQ(rig.run("Print('a'); Pause; Print('b')"), "a");
  EXPECT_EQ(paused, 1);
  EXPECT_EQ(rig.host.waits, (std::vector<int>{-1, -1}));
  EXPECT_FALSE(rig.script.IsPaused());
  // A host without events cannot resume a pause: it ends at once.
  EXPECT_EQ(rig.run("Pause; Print('c')"), "c");
}

// Another run on the same component from an event of a running one (the
// window's Eval does not ask IsRunning) has its own variables and flags.
TEST(DErevAzozevHost, ARunInsideARunLeavesTheOuterOneWhole) {
  ScriptRig rig;
  std::string inner;
  rig.host.events.push_back([&] {
    ScriptRig* r = &rig;
    const StringList outerSource = r->script.Source;
    r->script.Source = {"var n: integer; s: string;", "begin n := 7; s := 'inner';",
                        "Print(s + IntToStr(n)); break end."};
    r->script.Execute();
    r->script.Source = outerSource;
  });
  EXPECT_EQ(rig.run("var n: integer; s: string; begin n := 5; s := 'outer'; "
                    "while n < 100 do begin Sleep(10); Print(s + IntToStr(n)); n := n + 100 end; "
                    "Print('end') end."),
            "inner7|outer5|end");
  EXPECT_FALSE(rig.script.IsRunning());

  // A new run resumes a paused one.
  ScriptRig paused;
  paused.host.events.push_back([&] {
    paused.script.Source = {"Print('inner')"};
    paused.script.Execute();
  });
  EXPECT_EQ(paused.run("Print('a'); Pause; Print('b')"), "a|inner|b");
  EXPECT_GE(paused.host.countOfWakes, 1);
}

TEST(DErevAzozevHost, BoxesGoThroughTheHost) {
  ScriptRig rig;
  rig.host.messageAnswer = 6;  // IDYES
  EXPECT_EQ(rig.run("Print(IntToStr(MessageBox('Save?', 'vrk', $100000024)))"), "6");
  rig.host.inputAnswer = std::nullopt;  // cancelled: the default
  EXPECT_EQ(rig.run("Print(InputBox('Title', 'Name', 'default'))"), "default");
  rig.host.inputAnswer = "typed";
  EXPECT_EQ(rig.run("Print(InputBox('Title', 'Name', 'default'))"), "typed");
  EXPECT_EQ(rig.host.asked,
            (StringList{"Save?|vrk|36", "Title|Name|default", "Title|Name|default"}));
  // Without a host: OK and the default.
  DErevAzozev bare;
  bare.DeclarePrototype = {"procedure Print(S:String);Index 1;"};
  std::string printed;
  bare.ProcParam = [&](const std::string&, int, const ScriptArguments& a, int&) {
    printed += a[0].strValue + ";";
  };
  bare.Source = {"Print(IntToStr(MessageBox('a', 'b', 4))); Print(InputBox('a', 'b', 'c')); Pause"};
  bare.Execute();
  EXPECT_EQ(printed, "1;c;");
}

TEST(DErevAzozevHost, MessageBoxFlagsForAPrompter) {
  struct Row {
    std::uint32_t flags;
    BoxKind box;
    Buttons buttons;
    Answer answer;
    int code;
  };
  const Row rows[] = {
      {0x00, BoxKind::Information, Buttons(Answer::Ok), Answer::Ok, kIdOk},
      {0x00, BoxKind::Information, Buttons(Answer::Ok), Answer::Cancel, kIdOk},
      {0x01, BoxKind::Information, Answer::Ok | Answer::Cancel, Answer::Cancel, kIdCancel},
      {0x21, BoxKind::Confirmation, Answer::Ok | Answer::Cancel, Answer::Ok, kIdOk},
      {0x03, BoxKind::Information, Answer::Yes | Answer::No | Answer::Cancel, Answer::No, kIdNo},
      {0x34, BoxKind::Warning, Answer::Yes | Answer::No, Answer::Yes, kIdYes},
      {0x14, BoxKind::Error, Answer::Yes | Answer::No, Answer::Cancel, kIdNo},
      {0x42, BoxKind::Information, Answer::Yes | Answer::No | Answer::Cancel, Answer::Cancel,
       kIdIgnore},
      {0x05, BoxKind::Information, Answer::Ok | Answer::Cancel, Answer::Ok, kIdRetry},
  };
  for (const Row& row : rows) {
    const MessageBoxQuestion q = messageBoxQuestion_(row.flags);
    EXPECT_EQ(q.box, row.box) << row.flags;
    EXPECT_EQ(q.buttons, row.buttons) << row.flags;
    EXPECT_EQ(messageBoxAnswer_(row.flags, row.answer), row.code) << row.flags;
  }
}

TEST(DErevAzozevHost, ExecAndShellGoThroughThePorts) {
  ScriptRig rig;
  RecordingProcessRunner processes;
  RecordingDesktopShell shell;
  rig.script.setPorts(ScriptPorts{&rig.host, &processes, &shell});
  processes.result = 3;
  EXPECT_EQ(rig.run("Print(IntToStr(Exec('/usr/bin/prog', 'a \"b c\" d', True)))"), "3");
  EXPECT_EQ(processes.calls, StringList{"/usr/bin/prog|a|b c|d"});  // split without a shell
  processes.result = -1;                                            // could not start
  EXPECT_EQ(rig.run("Print(IntToStr(Exec('nothing', '', -1)))"), "0");
  // Not waiting: started detached, -1 at once.
  EXPECT_EQ(rig.run("Print(IntToStr(Exec('/usr/bin/prog', 'x;rm', 1)))"), "-1");
  EXPECT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls.back().find("start /usr/bin/prog x;rm"), 0u) << shell.calls.back();
  shell.result = -1;
  EXPECT_EQ(rig.run("Print(IntToStr(Exec('/usr/bin/prog', '', 0)))"), "0");
  // Shell: a document is opened, a program started with its parameters.
  shell.result = 0;
  shell.calls.clear();
  EXPECT_EQ(
      rig.run(
          "Print(IntToStr(Shell('/tmp/a.txt', '')) + ' ' + IntToStr(Shell('/bin/prog', '-v')))"),
      "42 42");
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].find("open /tmp/a.txt"), 0u) << shell.calls[0];
  EXPECT_EQ(shell.calls[1].find("start /bin/prog -v"), 0u) << shell.calls[1];
  shell.result = -1;
  EXPECT_EQ(rig.run("Print(IntToStr(Shell('/tmp/a.txt', '')))"), "2");
}

}  // namespace
}  // namespace vrk
