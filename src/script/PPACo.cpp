#include "script/PPACo.h"

#include <cstdio>

namespace vrk {

const StringList& hostPrototypes_() {
  static const StringList lines = {
      "procedure Print(S:String);Index 1;",
      "procedure PrintBuf(S:String);Index 2;",
      "procedure PrintBuf2(sName:String; s:String);Index 3;",
      "procedure PrintLog(S:String);Index 4;",
      "",
      "function UIHardcopy : Integer; Index 1012;",
      "function UIOpenCurrentDir: Integer; Index 1013;",
      "function UIOpenExeFileDir: Integer; Index 1014;",
      "function UIShellExecute_( S:String ): Integer; Index 1015;",
      "function UIWidth_Height_( w:integer; h:integer ): Integer; Index 1016;",
      "function UILeft_Top_( L:integer; T:integer ): Integer; Index 1017;",
      "function UIFontSize_( SZ : Integer): Integer; Index 1018;",
      "function UIAddLog_( S:String): Integer; Index 1019;",
      "function UIAddLogDT_( S:String ): Integer; Index 1020;",
      "",
      "function UINewNode: Integer;Index 1101;",
      "function UINewNode_( S:String): Integer; Index 1102;",
      "function UINewChild: Integer;Index 1103;",
      "function UINewChild_( S:String): Integer; Index 1104;",
      "",
      "function UIAddMemo_( S:String): Integer; Index 1111;",
      "function UIAddComment_( S:String): Integer; Index 1112;",
      "function UI2Model: Integer; Index 1113;",
      "function UIChangeCurrentNodeFirst: integer; Index 1114;",
      "function UIChangeCurrentNodeNext : Integer; Index 1115;",
      "function UIChangeCurrentNodePre : Integer; Index 1116;",
      "function UIChangeCurrentNodeLast: integer; Index 1117;",
      "function UIChangeCurrentNodeName_( S:String ): Integer; Index 1118;",
      "",
      "function UIPPADefine2SEL : Integer; Index 1130;",
      "function UIVersion2SEL   : Integer; Index 1131;",
      "function UIFileMXA2SEL   : Integer; Index 1132;",
      "function UIFieldsList2SEL : Integer; Index 1133;",
      "function UIHolderList2SEL : Integer; Index 1134;",
      "function UIMarkList2SEL  : Integer; Index 1135;",
      "function UINodesList2SEL : Integer; Index 1136;",
      "",
      "function UIPutName_( S:String ) : Integer; Index 1140;",
      "function UIPutField__( S:String; SV:String): Integer; Index 1141;",
      "function UIDeleteMemoNode : Integer; Index 1142;",
      "",
      "function UIChangeCheckListBox : integer; Index 1150;",
      "function UIChangeTreeView : integer; Index 1151;",
      "function UIChangeListView : integer; Index 1152;",
      "",
      "function UIMNMemoCount2( sHolder : string; sNode : string ) : integer; Index 1200;",
      "function UIMNCommentCount2(sHolder : string; sNode : string ) : integer; Index 1201;",
      "function UIMNFieldsCount2( sHolder : string; sNode : string ) : integer; Index 1202;",
      "function UIMNAddMemo3( sHolder : string; sNode : string; s : string ) : integer; Index "
      "1203;",
      "function UIMNAddComment3( sHolder : string; sNode : string;  s : string): integer; Index "
      "1204;",
      "function UIMNPutField4( sHolder : string; sNode : string; sKey : string; sValue : string ) "
      ": integer; Index 1205;",
      "",
      "function Sqrt(Var: Real): Real;Index 2001;",
      "",
      "function string_getS1( s : string ) : string; Index 3001;",
      "function string_getSX( s : string ) : string; Index 3002;",
      "function string_unquate( s : string ) : string; Index 3003;",
      "",
      "function UIGetName : string; Index 3101;",
      "function UIGetField_( S:String ) : string; Index 3102;",
      "function UIRemoveField_( S:String ) : string; Index 3103;",
      "function UIGetNameHolder : string; Index 3104;",
      "",
      "function UIMNMemoStrings3( sHolder : string; sNode : string; i : integer ): string; Index "
      "3201;",
      "function UIMNCommentStrings3( sHolder : string; sNode : string; i : integer ): string; "
      "Index 3202;",
      "function UIMNFieldsStrings3( sHolder : string; sNode : string; i : integer ): string; Index "
      "3203;",
      "function UIMNGetField3( sHolder : string; sNode : string; sKey : string ) : string; Index "
      "3204;",
  };
  return lines;
}

int PPACoRunner::Play(const StringList& memo) {
  aLastError.clear();
  aPPA.Source = memo;
  try {
    aPPA.Execute();
  } catch (const ScriptError& e) {
    aLastError = e.what();
    return -1;
  }
  return 0;
}

PPACoRunner* PPACo::getFree_() {
  for (const auto& runner : aRunners)
    if (!runner->interpreter().IsRunning()) return runner.get();
  char name[16];
  std::snprintf(name, sizeof name, "PPA%02zu", aRunners.size());
  auto runner = std::make_unique<PPACoRunner>(name);
  DErevAzozev& ppa = runner->interpreter();
  ppa.DeclarePrototype = aMaster.DeclarePrototype;
  ppa.Define = aMaster.Define;
  ppa.ProcParam = aMaster.ProcParam;
  ppa.IntFuncParam = aMaster.IntFuncParam;
  ppa.RealFuncParam = aMaster.RealFuncParam;
  ppa.StrFuncParam = aMaster.StrFuncParam;
  ppa.ErrorProc = aMaster.ErrorProc;
  ppa.IntObjParam = aMaster.IntObjParam;
  ppa.RealObjParam = aMaster.RealObjParam;
  ppa.StrObjParam = aMaster.StrObjParam;
  ppa.PauseProc = aMaster.PauseProc;
  ppa.setPorts(aMaster.ports());
  ppa.AddStrObj("PPAID", runner->name(), kPPAIDIndex, true);
  aRunners.push_back(std::move(runner));
  return aRunners.back().get();
}

PPACoRunner* PPACo::find_(const std::string& name) {
  for (const auto& runner : aRunners)
    if (runner->name() == name) return runner.get();
  return nullptr;
}

void PPACo::stopAll() {
  for (const auto& runner : aRunners) {
    if (!runner->interpreter().IsRunning()) continue;
    try {
      runner->interpreter().Stop();
    } catch (const ScriptError&) {
      // the runner's own caller unwinds when its run notices
    }
  }
}

}  // namespace vrk
