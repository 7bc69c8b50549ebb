// The window's script host: the host routines on a real window (addressing by
// holder and node name, quoting, the editor kept equal to the model), the
// entry points (PlayScript, Eval, ".ppa" children), the autoexec consent and
// Break.
#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "MainWindowTestSupport.h"
#include "platform/SJ.h"
#include "shell/FrameSlots.h"
#include "shell/TFrameMemoNode.h"

namespace vrk::windowtest {
namespace {

class TFormMainScriptHost : public ::testing::Test {
 protected:
  void SetUp() override { form = makeForm(); }
  std::unique_ptr<TFormMainRegular14> makeForm() {
    auto made = TFormMainRegular14::create(ports.services());
    made->resize(800, 600);
    made->show();
    made->newMemoFile_();
    made->getFile()->putFileName_(dir.file("noname.mxa"));
    made->aTrustedScriptsPath = dir.file("trusted.txt");
    return made;
  }
  MemoFileUI& file() { return *form->getFile(); }
  MemoHolder& holder(int index) { return *file().holderAt_(index); }
  std::string message() const { return qStringToSjis(form->StatusPanels[2]->text()).value_or("?"); }
  StringList logLines() {
    StringList lines;
    for (const QString& line : form->getLogMemo()->toPlainText().split('\n'))
      if (!line.isEmpty()) lines.push_back(qStringToSjis(line).value_or("?"));
    return lines;
  }
  int countInLog(std::string_view text) {
    int count = 0;
    for (const std::string& line : logLines()) count += line == text;
    return count;
  }
  void open(const std::vector<HolderSpec>& holders) {
    ASSERT_EQ(form->_loadMemoFile_(writeMemoFile(dir, holders)), 0);
  }
  // Runs the script on PP1: its error message, empty when it ran through.
  std::string run(const StringList& script) {
    form->getPP1().Source = script;
    try {
      form->getPP1().Execute();
    } catch (const ScriptError& e) {
      return e.what();
    }
    return {};
  }
  // The value of a String expression, through Print.
  std::string value(const std::string& expression) {
    const std::string error = run({"Print('=' + " + expression + ");"});
    if (!error.empty()) return "error: " + error;
    const StringList lines = logLines();
    return lines.empty() ? "?" : lines.back().substr(1);
  }
  std::string intValue(const std::string& expression) {
    return value("IntToStr(" + expression + ")");
  }
  TFrameMemoNode& editor() {
    return dynamic_cast<TFrameMemoNode&>(form->getFrameMemoHolder()->nodeEditor());
  }
  std::string box(QPlainTextEdit* edit) { return qStringToSjis(edit->toPlainText()).value_or("?"); }
  MemoNode* find(MemoHolder& h, std::string_view name) {
    for (int i = 0; i < h.countOfNodes(); ++i)
      if (h.nodeAt_(i)->getName() == name) return h.nodeAt_(i);
    return nullptr;
  }

  TestPorts ports;
  ScratchDir dir;
  std::unique_ptr<TFormMainRegular14> form;
};

const std::vector<HolderSpec> kTwoHolders = {
    {"A", {{"n1", "20241208_101010123_00000001"}, {"n2", "20241208_101010123_00000002"}}},
    {"B", {{"n1", "20241208_101010123_00000003"}, {"b2", "20241208_101010123_00000004"}}}};

TEST_F(TFormMainScriptHost, UIMNAddressesHoldersAndNodesByExactName) {
  open(kTwoHolders);
  const struct {
    const char* call;
    const char* expected;
  } cases[] = {
      {"UIMNMemoCount2('', 'n2')", "1"},    // empty holder name: the current one
      {"UIMNMemoCount2('B', 'b2')", "1"},   // another holder, read on first use
      {"UIMNMemoCount2('Z', 'n1')", "-1"},  // no such holder
      {"UIMNMemoCount2('a', 'n1')", "-1"},  // names compare exactly
      {"UIMNMemoCount2('A', 'N1')", "-1"},
      {"UIMNMemoCount2('', 'b2')", "-1"},     // not in the current holder
      {"UIMNCommentCount2('B', 'b2')", "0"},  // no comment
      {"UIMNFieldsCount2('A', 'missing')", "-1"},
  };
  for (const auto& c : cases) EXPECT_EQ(intValue(c.call), c.expected) << c.call;
  EXPECT_EQ(value("UIMNMemoStrings3('B', 'b2', 0)"), "memo of b2");
  EXPECT_EQ(value("UIMNMemoStrings3('B', 'b2', 1)"), "");

  // A remembered node is used only while it still has its names.
  MemoNode* b2 = find(holder(1), "b2");
  ASSERT_NE(b2, nullptr);
  holder(1).putNameChild_as_(b2, "renamed");
  EXPECT_EQ(intValue("UIMNMemoCount2('B', 'b2')"), "-1");
  EXPECT_EQ(intValue("UIMNMemoCount2('B', 'renamed')"), "1");
}

TEST_F(TFormMainScriptHost, UIMNWritesGoThroughTheEditorForTheCurrentNode) {
  open(kTwoHolders);
  MemoNode* current = form->getCurMemoNode();
  ASSERT_NE(current, nullptr);
  const std::string name = current->getName();
  holder(1).flagChanged = false;

  // Another holder's node: the model, and its holder is changed.
  EXPECT_EQ(intValue("UIMNAddMemo3('B', 'b2', 'added')"), "2");
  EXPECT_EQ(find(holder(1), "b2")->aMemo, (StringList{"memo of b2", "added"}));
  EXPECT_TRUE(holder(1).flagChanged);
  EXPECT_EQ(intValue("UIMNAddComment3('B', 'b2', 'c')"), "1");
  EXPECT_EQ(intValue("UIMNPutField4('B', 'b2', 'Key', 'v')"), "1");  // after the UID line
  EXPECT_EQ(find(holder(1), "b2")->getField_("Key"), "v");

  // The current node: the editor shows it, and a commit keeps it.
  EXPECT_EQ(intValue("UIMNAddMemo3('', '" + name + "', 'typed')"), "2");
  EXPECT_EQ(box(editor().memoEditor()), "memo of " + name + "\ntyped");
  EXPECT_EQ(intValue("UIMNMemoCount2('', '" + name + "')"), "2");
  EXPECT_EQ(intValue("UIMNPutField4('', '" + name + "', 'Key', '\"q\"')"), "1");
  form->UI2Model();
  EXPECT_EQ(current->aMemo, (StringList{"memo of " + name, "typed"}));
  EXPECT_EQ(current->getField_("Key"), "\"q\"");

  // Nor while the UI is read-only, nor in read-only holders.
  form->CheckBoxReadOnly->setChecked(true);
  EXPECT_EQ(intValue("UIMNAddMemo3('B', 'b2', 'no')"), "-1");
  EXPECT_EQ(value("UIRemoveField_('Key')"), "");
  form->CheckBoxReadOnly->setChecked(false);
  holder(1).putField_("FlagReadOnly", "\"true\"");
  EXPECT_EQ(intValue("UIMNAddMemo3('B', 'b2', 'no')"), "-1");
  EXPECT_EQ(intValue("UIMNPutField4('B', 'b2', 'Key', 'no')"), "-1");
  EXPECT_EQ(find(holder(1), "b2")->getField_("Key"), "v");
}

TEST_F(TFormMainScriptHost, FieldsOfTheCurrentNodeAndTheirQuotes) {
  open(kTwoHolders);
  MemoNode* current = form->getCurMemoNode();
  const std::string name = current->getName();
  current->putField_("Title", "\"a b\"");
  form->Model2UI();
  EXPECT_EQ(value("UIGetField_('Title')"), "a b");
  EXPECT_EQ(value("UIMNGetField3('', '" + name + "', 'Title')"), "\"a b\"");
  EXPECT_EQ(value("UIGetField_('None')"), "");

  EXPECT_EQ(intValue("UIPutField__('Empty', '')"), "2");
  EXPECT_EQ(intValue("UIPutField__('Title', 'x\"')"), "1");  // replaced in place
  EXPECT_EQ(value("UIGetField_('Title')"), "x");
  form->UI2Model();
  EXPECT_EQ(current->getField_("Empty"), "\"\"");
  EXPECT_EQ(current->getField_("Title"), "\"x\"");

  // Removed from the model and the editor: a later commit does not bring it back.
  EXPECT_EQ(value("UIRemoveField_('Title')"), "Title=\"x\"");
  EXPECT_EQ(value("UIRemoveField_('Title')"), "");
  form->UI2Model();
  EXPECT_EQ(current->getIndexField_("Title"), -1);
  EXPECT_EQ(box(editor().fieldsEditor()).find("Title"), std::string::npos);
}

TEST_F(TFormMainScriptHost, StringRoutinesAndDispatch) {
  open(kTwoHolders);
  EXPECT_EQ(value("string_getS1('ab' + #9 + 'c d')"), "ab");
  EXPECT_EQ(value("string_getSX('ab  c d  ')"), "c d");
  EXPECT_EQ(value("string_getSX('ab')"), "");
  EXPECT_EQ(value("string_unquate('\"q\"')"), "q");
  EXPECT_EQ(value("UIGetNameHolder"), "A");
  EXPECT_EQ(value("FloatToStr(Sqrt(6.25))"), "2.5");
  EXPECT_EQ(intValue("UIShellExecute_('   ')"), "-1");
  EXPECT_EQ(message(), "Warrning: Command is empty in UIShellExecute_.");
  EXPECT_TRUE(ports.desktop.calls.empty());
  // Trimmed, opened in the memo file's folder.
  EXPECT_EQ(intValue("UIShellExecute_(' notes.txt ')"), "0");
  ASSERT_EQ(ports.desktop.calls.size(), 1u);
  EXPECT_TRUE(ports.desktop.calls[0].starts_with("open notes.txt in " + dir.file("")))
      << ports.desktop.calls[0];
  EXPECT_EQ(message(), "notes.txt");
  ports.desktop.result = -1;
  EXPECT_EQ(intValue("UIShellExecute_('notes.txt')"), "-1");

  // Unknown indices: a procedure is an error, functions answer nothing.
  form->getPP1().DeclarePrototype.push_back("procedure Nope(S:String);Index 99;");
  form->getPP1().DeclarePrototype.push_back("function NopeI: Integer;Index 98;");
  form->getPP1().DeclarePrototype.push_back("function NopeS: String;Index 97;");
  EXPECT_EQ(intValue("NopeI"), "0");
  EXPECT_EQ(value("NopeS"), "");
  EXPECT_EQ(run({"Nope('x');"}), SJ(u8"ユーザー定義手続き/関数の内部エラーです。"));
}

TEST_F(TFormMainScriptHost, PrintBufGoesToTheLogUntilARunnerExists) {
  open(kTwoHolders);
  EXPECT_EQ(run({"PrintBuf('to log');", "PrintBuf2('PPA00', 'to log too');"}), "");
  EXPECT_EQ(countInLog("to log"), 1);
  EXPECT_EQ(countInLog("to log too"), 1);
  PPACoRunner* runner = form->getPPACo().getFree_();
  EXPECT_EQ(run({"PrintBuf('buffered');", "PrintBuf2('nobody', 'first');"}), "");
  EXPECT_EQ(runner->aBuffer, (StringList{"buffered", "first"}));
  EXPECT_EQ(countInLog("buffered"), 0);
}

TEST_F(TFormMainScriptHost, NewNodeRenamesOnlyWhatTheCommandMade) {
  open(kTwoHolders);
  EXPECT_EQ(intValue("UINewNode_('made')"), "0");
  EXPECT_EQ(form->getCurMemoNode()->getName(), "made");
  EXPECT_EQ(editor().getNameLine(), "made");

  holder(0).putField_("FlagReadOnly", "\"true\"");
  const std::string before = form->getCurMemoNode()->getName();
  const int count = holder(0).countOfNodes();
  EXPECT_NE(intValue("UINewNode_('renamed')"), "0");
  EXPECT_NE(intValue("UINewChild_('renamed')"), "0");
  EXPECT_EQ(holder(0).countOfNodes(), count);
  EXPECT_EQ(form->getCurMemoNode()->getName(), before);
  EXPECT_EQ(find(holder(0), "renamed"), nullptr);
}

TEST_F(TFormMainScriptHost, CurrentNodeMovesAndRenames) {
  open(kTwoHolders);
  EXPECT_EQ(intValue("UIChangeCurrentNodeFirst"), "0");
  EXPECT_EQ(value("UIGetName"), "n1");
  EXPECT_EQ(intValue("UIChangeCurrentNodeNext"), "1");
  EXPECT_EQ(message(), "Done: Change CurrentNode Next: n2");
  EXPECT_EQ(intValue("UIChangeCurrentNodeNext"), "-1");
  EXPECT_EQ(message(), "Not Change CurrentNode Next.");
  EXPECT_EQ(intValue("UIChangeCurrentNodePre"), "0");
  EXPECT_EQ(intValue("UIChangeCurrentNodePre"), "-1");
  EXPECT_EQ(message(), "Not Change CurrentNode Pre.");
  EXPECT_EQ(intValue("UIChangeCurrentNodeName_('n2')"), "1");
  EXPECT_EQ(intValue("UIChangeCurrentNodeName_('N2')"), "-1");

  EXPECT_EQ(intValue("UIPutName_('   ')"), "-1");
  EXPECT_EQ(intValue("UIPutName_('second')"), "0");
  EXPECT_EQ(form->getCurMemoNode()->getName(), "second");
  form->getCurMemoNode()->putReadOnly_(true);
  EXPECT_EQ(intValue("UIPutName_('third')"), "-1");
  EXPECT_EQ(message(), "flagReadOnly=\"true\"");
  EXPECT_EQ(form->getCurMemoNode()->getName(), "second");
}

TEST_F(TFormMainScriptHost, PlayScriptRefusesWhilePP1Runs) {
  open(kTwoHolders);
  MemoNode* node = find(holder(0), "n2");
  node->aMemo = {"Print('played');"};
  int inner = 0;
  QTimer::singleShot(0, form.get(), [&] { inner = form->PlayScript(node); });
  EXPECT_EQ(run({"Sleep(200);"}), "");
  EXPECT_EQ(inner, -8);
  EXPECT_EQ(countInLog("played"), 0);
  EXPECT_EQ(form->PlayScript(nullptr), -9);
  EXPECT_EQ(form->PlayScript(node), 0);
  EXPECT_EQ(countInLog("played"), 1);
  EXPECT_EQ(countInLog("Execute in A # n2"), 1);

  node->aMemo = {"x := ;"};
  EXPECT_EQ(form->PlayScript(node), 0);  // an error of the script is shown, not returned
  EXPECT_EQ(logLines().back(), "Execute in A # n2");
  bool shown = false;
  for (const std::string& line : logLines()) shown |= line.starts_with("ERROR: PlayScript ");
  EXPECT_TRUE(shown);
}

TEST_F(TFormMainScriptHost, PpaChildHoldsWhatTheScriptPrinted) {
  open(kTwoHolders);
  MemoNode* script = find(holder(0), "n2");
  form->gotoMemoNode(script);
  script->putField_("Filename", "\"gen.ppa\"");
  script->aMemo = {"PrintBuf('line ' + IntToStr(1));", "PrintBuf(PPAID);"};
  form->Model2UI();
  EXPECT_EQ(form->UINewChildExecutedPPA(), 0);
  MemoNode* child = form->getCurMemoNode();
  ASSERT_NE(child, script);
  EXPECT_EQ(child->aMemo, (StringList{"line 1", "PPA00"}));
  EXPECT_EQ(child->getParentNode(), script);

  form->gotoMemoNode(script);
  script->aMemo = {"PrintBuf('before');", "x := ;"};
  form->Model2UI();
  EXPECT_EQ(form->UINewChildExecutedPPA(), -1);
  EXPECT_EQ(form->getCurMemoNode()->aMemo, (StringList{"before", "Trap ERROR UINewChildExecuted"}));
  EXPECT_TRUE(form->getPPACo().first()->aBuffer.empty());

  // While PP1 runs, the command stops it and ends with its message.
  form->gotoMemoNode(script);
  script->aMemo = {"PrintBuf('child');"};
  form->Model2UI();
  int whileRunning = 0;
  QTimer::singleShot(0, form.get(), [&] { whileRunning = form->UINewChildExecutedPPA(); });
  const int before = holder(0).countOfNodes();
  EXPECT_EQ(run({"Sleep(200);", "Print('after the stop');"}), "");
  EXPECT_LT(whileRunning, 0);
  EXPECT_NE(message().find(SJ(u8"実行を中断しました")), std::string::npos) << message();
  EXPECT_EQ(countInLog("after the stop"), 0);
  EXPECT_EQ(holder(0).countOfNodes(), before);

  form->gotoMemoNode(script);
  script->aMemo = {"  "};
  form->Model2UI();
  const int count = holder(0).countOfNodes();
  EXPECT_EQ(form->UINewChildExecutedPPA(), -2);
  EXPECT_EQ(message(), "Abort: No script ");
  EXPECT_EQ(holder(0).countOfNodes(), count);
}

HolderSpec autoexecHolder() {
  HolderSpec spec{"A", {{"n1"}}};
  spec.raw = holderFileText(spec);
  const std::string record =
      "  <Record name=\"*Autoexec.ppa\">\r\n    <Field />\r\nPrint('autoexec ran');<BR/>\r\n"
      "  </Record>\r\n";
  spec.raw.insert(spec.raw.rfind("</Holder>"), record);
  return spec;
}

TEST_F(TFormMainScriptHost, AutoexecAsksOnceAndRunsOncePerLoad) {
  ports.prompter.answerIndex(0);  // Run
  open({autoexecHolder()});
  ASSERT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(ports.prompter.asked[0].kind, Prompt::Kind::Choice);
  EXPECT_EQ(countInLog("autoexec ran"), 1);

  open({autoexecHolder()});  // read again: runs again, asks nothing
  EXPECT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(countInLog("autoexec ran"), 2);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(form->aTrustedScriptsPath)));
}

TEST_F(TFormMainScriptHost, DeclinedAutoexecDoesNotRun) {
  ports.prompter.answerIndex(1);  // Don't run
  open({autoexecHolder()});
  EXPECT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(countInLog("autoexec ran"), 0);
  open({autoexecHolder()});
  EXPECT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(countInLog("autoexec ran"), 0);
}

TEST_F(TFormMainScriptHost, AlwaysIsRememberedForTheFile) {
  ports.prompter.answerIndex(2);  // Always for this file
  open({autoexecHolder()});
  EXPECT_EQ(countInLog("autoexec ran"), 1);
  const std::string trusted = readFile(form->aTrustedScriptsPath);
  EXPECT_NE(trusted.find("work.mxa"), std::string::npos);

  form.reset();
  form = makeForm();  // a new session: the file is trusted
  open({autoexecHolder()});
  EXPECT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(countInLog("autoexec ran"), 1);
}

TEST_F(TFormMainScriptHost, EvalRunsTheSelectionOrTheMemoAlsoWithinARunningScript) {
  open(kTwoHolders);
  QPlainTextEdit* memo = editor().memoEditor();
  memo->setPlainText("Print('selected');\nPrint('not selected');");
  QTextCursor cursor = memo->textCursor();
  cursor.setPosition(0);
  cursor.setPosition(18, QTextCursor::KeepAnchor);
  memo->setTextCursor(cursor);
  EXPECT_EQ(form->UIEval(), -1);
  EXPECT_EQ(message(), "Done: Eval");
  EXPECT_EQ(countInLog("selected"), 1);
  EXPECT_EQ(countInLog("not selected"), 0);

  memo->setPlainText("x := ;");
  memo->selectAll();
  EXPECT_EQ(form->UIEval(), -1);
  EXPECT_EQ(message(), "ERROR: Eval");

  // While a script waits, Eval runs in a context of its own and the first
  // one goes on afterwards.
  memo->setPlainText("Print('inner');");
  int inner = 1;
  QTimer::singleShot(0, form.get(), [&] { inner = form->UIEvalMemo(); });
  EXPECT_EQ(run({"Sleep(200);", "Print('outer');"}), "");
  EXPECT_EQ(inner, 0);
  EXPECT_EQ(countInLog("inner"), 1);
  EXPECT_EQ(logLines().back(), "outer");

  memo->setPlainText("   ");
  EXPECT_EQ(form->UIEvalMemo(), 0);
  EXPECT_EQ(message(), "No script ");
}

TEST_F(TFormMainScriptHost, ListsGoToTheSelection) {
  open(kTwoHolders);
  holder(0).firstNode()->putField_("Title", "\"t\"");
  holder(0).nodeAt_(1)->putField_("Other", "1");
  holder(0).nodeAt_(1)->putField_("Title", "\"u\"");
  form->Model2UI();
  QPlainTextEdit* memo = editor().memoEditor();
  const auto selection = [&] {
    return qStringToSjis(memo->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'))
        .value_or("?");
  };
  EXPECT_EQ(form->UINodesList2SEL(), 0);
  EXPECT_EQ(selection(), "n1\nn2");
  EXPECT_EQ(form->UIFieldsList2SEL(), 3);
  EXPECT_EQ(selection(), "UID\nTitle\nOther");
  EXPECT_EQ(form->UIPPADefine2SEL(), 68);  // Define's empty line, then every prototype line
  EXPECT_TRUE(selection().starts_with("\nprocedure Print(S:String);Index 1;\n"));
  holder(0).nodeAt_(1)->putMarked_(true);
  EXPECT_EQ(form->UIMarkList2SEL(), 0);
  EXPECT_EQ(selection(), "n2");
}

TEST_F(TFormMainScriptHost, BreakEndsAnEndlessScript) {
  open(kTwoHolders);
  editor().memoEditor()->setPlainText("while True do ;");
  QTimer::singleShot(50, form.get(), [this] { form->runCommandNamed_("breakDoing"); });
  EXPECT_EQ(form->UIEvalMemo(), 0);  // returns at all: the loop ended
  EXPECT_TRUE(message().starts_with("Break ")) << message();
  EXPECT_FALSE(form->getPP1().IsRunning());
  EXPECT_EQ(value("'next run'"), "next run");  // a stopped interpreter runs again
}

TEST_F(TFormMainScriptHost, ClosingDuringAScriptClosesOnceItUnwound) {
  open(kTwoHolders);
  editor().memoEditor()->setPlainText("while True do ;");
  QTimer::singleShot(50, form.get(), [this] { form->close(); });
  EXPECT_EQ(form->UIEvalMemo(), 0);
  EXPECT_TRUE(form->isVisible());     // still: the close is queued
  ports.prompter.answer(Answer::No);  // a changed memo file is not saved
  for (int i = 0; i < 100 && form->isVisible(); ++i) QTest::qWait(20);
  EXPECT_FALSE(form->isVisible());
}

}  // namespace
}  // namespace vrk::windowtest
