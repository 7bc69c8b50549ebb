// The host's prototype lines and the pool of extra runners.
#include "script/PPACo.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "script/ScriptMessages.h"

namespace vrk {
namespace {

struct Expected {
  const char* name;
  int index;
  bool flagFunction;
  const char* parameters;  // one letter a parameter: I, R, S
  ScriptType result;
};

constexpr ScriptType I = ScriptType::Integer;
constexpr ScriptType R = ScriptType::Real;
constexpr ScriptType S = ScriptType::String;

char letterOf(ScriptType t) { return t == I ? 'I' : t == R ? 'R' : 'S'; }

TEST(PPACo, EveryPrototypeDeclaresItsRoutineAndIndex) {
  const Expected table[] = {
      {"PRINT", 1, false, "S", I},
      {"PRINTBUF", 2, false, "S", I},
      {"PRINTBUF2", 3, false, "SS", I},
      {"PRINTLOG", 4, false, "S", I},
      {"UIHARDCOPY", 1012, true, "", I},
      {"UIOPENCURRENTDIR", 1013, true, "", I},
      {"UIOPENEXEFILEDIR", 1014, true, "", I},
      {"UISHELLEXECUTE_", 1015, true, "S", I},
      {"UIWIDTH_HEIGHT_", 1016, true, "II", I},
      {"UILEFT_TOP_", 1017, true, "II", I},
      {"UIFONTSIZE_", 1018, true, "I", I},
      {"UIADDLOG_", 1019, true, "S", I},
      {"UIADDLOGDT_", 1020, true, "S", I},
      {"UINEWNODE", 1101, true, "", I},
      {"UINEWNODE_", 1102, true, "S", I},
      {"UINEWCHILD", 1103, true, "", I},
      {"UINEWCHILD_", 1104, true, "S", I},
      {"UIADDMEMO_", 1111, true, "S", I},
      {"UIADDCOMMENT_", 1112, true, "S", I},
      {"UI2MODEL", 1113, true, "", I},
      {"UICHANGECURRENTNODEFIRST", 1114, true, "", I},
      {"UICHANGECURRENTNODENEXT", 1115, true, "", I},
      {"UICHANGECURRENTNODEPRE", 1116, true, "", I},
      {"UICHANGECURRENTNODELAST", 1117, true, "", I},
      {"UICHANGECURRENTNODENAME_", 1118, true, "S", I},
      {"UIPPADEFINE2SEL", 1130, true, "", I},
      {"UIVERSION2SEL", 1131, true, "", I},
      {"UIFILEMXA2SEL", 1132, true, "", I},
      {"UIFIELDSLIST2SEL", 1133, true, "", I},
      {"UIHOLDERLIST2SEL", 1134, true, "", I},
      {"UIMARKLIST2SEL", 1135, true, "", I},
      {"UINODESLIST2SEL", 1136, true, "", I},
      {"UIPUTNAME_", 1140, true, "S", I},
      {"UIPUTFIELD__", 1141, true, "SS", I},
      {"UIDELETEMEMONODE", 1142, true, "", I},
      {"UICHANGECHECKLISTBOX", 1150, true, "", I},
      {"UICHANGETREEVIEW", 1151, true, "", I},
      {"UICHANGELISTVIEW", 1152, true, "", I},
      {"UIMNMEMOCOUNT2", 1200, true, "SS", I},
      {"UIMNCOMMENTCOUNT2", 1201, true, "SS", I},
      {"UIMNFIELDSCOUNT2", 1202, true, "SS", I},
      {"UIMNADDMEMO3", 1203, true, "SSS", I},
      {"UIMNADDCOMMENT3", 1204, true, "SSS", I},
      {"UIMNPUTFIELD4", 1205, true, "SSSS", I},
      {"SQRT", 2001, true, "R", R},
      {"STRING_GETS1", 3001, true, "S", S},
      {"STRING_GETSX", 3002, true, "S", S},
      {"STRING_UNQUATE", 3003, true, "S", S},
      {"UIGETNAME", 3101, true, "", S},
      {"UIGETFIELD_", 3102, true, "S", S},
      {"UIREMOVEFIELD_", 3103, true, "S", S},
      {"UIGETNAMEHOLDER", 3104, true, "", S},
      {"UIMNMEMOSTRINGS3", 3201, true, "SSI", S},
      {"UIMNCOMMENTSTRINGS3", 3202, true, "SSI", S},
      {"UIMNFIELDSSTRINGS3", 3203, true, "SSI", S},
      {"UIMNGETFIELD3", 3204, true, "SSS", S},
  };
  // Each line alone, so a line that fails to parse names itself.
  std::size_t countOfLines = 0;
  for (const std::string& line : hostPrototypes_()) {
    if (line.empty()) continue;
    ++countOfLines;
    DErevAzozev one;
    EXPECT_NO_THROW(one.Declare(line, false)) << line;
  }
  EXPECT_EQ(countOfLines, std::size(table));

  DErevAzozev ppa;
  ppa.DeclarePrototype = hostPrototypes_();
  ppa.Source = {"Sleep(0);"};
  ASSERT_NO_THROW(ppa.Execute());  // declares them all, blank lines skipped
  for (const Expected& e : table) {
    const auto* routine = ppa.findRoutine_(e.name, e.flagFunction);
    ASSERT_NE(routine, nullptr) << e.name;
    EXPECT_EQ((*routine)->index, e.index) << e.name;
    std::string letters;
    for (const ScriptArgument& a : (*routine)->parameters) letters += letterOf(a.type);
    EXPECT_EQ(letters, e.parameters) << e.name;
    if (e.flagFunction) {
      EXPECT_EQ((*routine)->resultType, e.result) << e.name;
    }
  }
}

TEST(PPACo, LinesAreStoredAsWrittenWithBlankLinesBetweenGroups) {
  // The declarations as the documentation quotes them, in its order.
  const char* const quoted[] = {
      "procedure Print(S:String);Index 1;",
      "procedure PrintBuf(S:String);Index 2;",
      "procedure PrintBuf2(sName:String; s:String);Index 3;",
      "procedure PrintLog(S:String);Index 4;",
      "function UIHardcopy : Integer; Index 1012;",
      "function UIOpenCurrentDir: Integer; Index 1013;",
      "function UIOpenExeFileDir: Integer; Index 1014;",
      "function UIShellExecute_( S:String ): Integer; Index 1015;",
      "function UIWidth_Height_( w:integer; h:integer ): Integer; Index 1016;",
      "function UILeft_Top_( L:integer; T:integer ): Integer; Index 1017;",
      "function UIFontSize_( SZ : Integer): Integer; Index 1018;",
      "function UIAddLog_( S:String): Integer; Index 1019;",
      "function UIAddLogDT_( S:String ): Integer; Index 1020;",
      "function UINewNode: Integer;Index 1101;",
      "function UINewNode_( S:String): Integer; Index 1102;",
      "function UINewChild: Integer;Index 1103;",
      "function UINewChild_( S:String): Integer; Index 1104;",
      "function UIAddMemo_( S:String): Integer; Index 1111;",
      "function UIAddComment_( S:String): Integer; Index 1112;",
      "function UI2Model: Integer; Index 1113;",
      "function UIChangeCurrentNodeFirst: integer; Index 1114;",
      "function UIChangeCurrentNodeNext : Integer; Index 1115;",
      "function UIChangeCurrentNodePre : Integer; Index 1116;",
      "function UIChangeCurrentNodeLast: integer; Index 1117;",
      "function UIChangeCurrentNodeName_( S:String ): Integer; Index 1118;",
      "function UIPPADefine2SEL : Integer; Index 1130;",
      "function UIVersion2SEL   : Integer; Index 1131;",
      "function UIFileMXA2SEL   : Integer; Index 1132;",
      "function UIFieldsList2SEL : Integer; Index 1133;",
      "function UIHolderList2SEL : Integer; Index 1134;",
      "function UIMarkList2SEL  : Integer; Index 1135;",
      "function UINodesList2SEL : Integer; Index 1136;",
      "function UIPutName_( S:String ) : Integer; Index 1140;",
      "function UIPutField__( S:String; SV:String): Integer; Index 1141;",
      "function UIDeleteMemoNode : Integer; Index 1142;",
      "function UIChangeCheckListBox : integer; Index 1150;",
      "function UIChangeTreeView : integer; Index 1151;",
      "function UIChangeListView : integer; Index 1152;",
      "function UIMNMemoCount2( sHolder : string; sNode : string ) : integer; Index 1200;",
      "function UIMNCommentCount2(sHolder : string; sNode : string ) : integer; Index 1201;",
      "function UIMNFieldsCount2( sHolder : string; sNode : string ) : integer; Index 1202;",
      "function UIMNAddMemo3( sHolder : string; sNode : string; s : string ) : integer; Index "
      "1203;",
      "function UIMNAddComment3( sHolder : string; sNode : string;  s : string): integer; Index "
      "1204;",
      nullptr,  // not quoted: written in its neighbours' style
      "function Sqrt(Var: Real): Real;Index 2001;",
      "function string_getS1( s : string ) : string; Index 3001;",
      "function string_getSX( s : string ) : string; Index 3002;",
      "function string_unquate( s : string ) : string; Index 3003;",
      "function UIGetName : string; Index 3101;",
      nullptr,  // not quoted: written in its neighbours' style
      nullptr,  // not quoted: written in its neighbours' style
      "function UIGetNameHolder : string; Index 3104;",
      "function UIMNMemoStrings3( sHolder : string; sNode : string; i : integer ): string; Index "
      "3201;",
      "function UIMNCommentStrings3( sHolder : string; sNode : string; i : integer ): string; "
      "Index 3202;",
      "function UIMNFieldsStrings3( sHolder : string; sNode : string; i : integer ): string; Index "
      "3203;",
      "function UIMNGetField3( sHolder : string; sNode : string; sKey : string ) : string; Index "
      "3204;",
  };
  StringList lines;
  for (const std::string& line : hostPrototypes_())
    if (!line.empty()) lines.push_back(line);
  ASSERT_EQ(lines.size(), std::size(quoted));
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (quoted[i]) {
      EXPECT_EQ(lines[i], quoted[i]);
    }
  EXPECT_EQ(lines[43],
            "function UIMNPutField4( sHolder : string; sNode : string; sKey : string; sValue : "
            "string ) : integer; Index 1205;");
  EXPECT_EQ(lines[49], "function UIGetField_( S:String ) : string; Index 3102;");
  EXPECT_EQ(lines[50], "function UIRemoveField_( S:String ) : string; Index 3103;");
  EXPECT_EQ(hostPrototypes_().front(), "procedure Print(S:String);Index 1;");
  EXPECT_EQ(std::count(hostPrototypes_().begin(), hostPrototypes_().end(), std::string()), 11);
}

struct Pool {
  DErevAzozev master;
  PPACo pool{master};
  StringList printed;  // "runner:text"
  Pool() {
    master.DeclarePrototype = {"procedure PrintBuf(S:String);Index 2;",
                               "function Nested : Integer; Index 7;"};
    master.Define = {"", "FEATURE"};
    master.ProcParam = [this](const std::string&, int, const ScriptArguments& a, int&) {
      pool.first()->aBuffer.push_back(a[0].strValue);
    };
  }
};

TEST(PPACo, RunnersAreNamedInOrderAndCarryTheMastersRoutines) {
  Pool p;
  EXPECT_EQ(p.pool.first(), nullptr);
  PPACoRunner* a = p.pool.getFree_();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->name(), "PPA00");
  EXPECT_EQ(p.pool.getFree_(), a);  // idle: used again
  EXPECT_EQ(a->Play({"if IsDefine('FEATURE') <> 0 then PrintBuf(PPAID + ' defined');"}), 0);
  EXPECT_EQ(a->aBuffer, (StringList{"PPA00 defined"}));

  // PPAID is read-only; the error is kept, not thrown.
  EXPECT_EQ(a->Play({"PPAID := 'x';"}), -1);
  EXPECT_EQ(a->lastError().rfind(script::kReadOnly().substr(0, 10), 0), 0u);

  EXPECT_EQ(p.pool.countOfRunners(), 1u);
}

TEST(PPACo, ABusyRunnerIsPassedOver) {
  Pool p;
  PPACoRunner* inner = nullptr;
  p.master.IntFuncParam = [&](const std::string&, int, const ScriptArguments&, int&,
                              std::int64_t& result) {
    inner = p.pool.getFree_();
    inner->aBuffer.clear();
    result = inner->Play({"PrintBuf(PPAID);"});
  };
  PPACoRunner* a = p.pool.getFree_();
  EXPECT_EQ(a->Play({"if Nested = 0 then PrintBuf('inner done');"}), 0);
  ASSERT_NE(inner, nullptr);
  EXPECT_NE(inner, a);
  EXPECT_EQ(inner->name(), "PPA01");
  EXPECT_EQ(p.pool.find_("PPA01"), inner);
  EXPECT_EQ(p.pool.find_("PPA02"), nullptr);
  // PrintBuf of the inner run goes to the first runner's buffer.
  EXPECT_EQ(a->aBuffer, (StringList{"PPA01", "inner done"}));
  EXPECT_EQ(p.pool.getFree_(), a);  // both idle again: the first
}

}  // namespace
}  // namespace vrk
