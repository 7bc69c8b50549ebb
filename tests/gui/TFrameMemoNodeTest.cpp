// The node editor frame in the main window and in node windows: committing
// without losing bytes, bookkeeping fields, bodies by content kind, Shadow
// nodes, linked files, the paste word list and the field-line commands.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "MainWindowTestSupport.h"
#include "dialogs/TFormName.h"
#include "model/TContent.h"
#include "platform/SJ.h"
#include "shell/TFormMemoNode.h"
#include "shell/TFrameMemoNode.h"
#include "text/StringEX.h"

namespace vrk::windowtest {
namespace {

const std::string kStamp = "\"20241208 101010123\"";  // kStart as a bookkeeping time

class TFrameMemoNodeTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    form->userName = "tester";
  }
  TFrameMemoNode& editor() {
    return dynamic_cast<TFrameMemoNode&>(form->getFrameMemoHolder()->nodeEditor());
  }
  MemoHolder& current() { return *form->getCurHolder(); }
  // A new node of the current holder, shown in the editor.
  MemoNode& show(const std::string& name, StringList memo, StringList fields = {}) {
    MemoNode* node = current().newNode();
    node->putName_(name);
    node->aMemo = std::move(memo);
    for (const std::string& field : fields) {
      const auto [key, value] = splitAt_(field, "=");
      node->putField_(key, value);
    }
    form->gotoMemoNode(node);
    current().flagChanged = false;
    return *node;
  }
  void setMemo(const QString& text) { editor().memoEditor()->setPlainText(text); }
};

// --- committing

TEST_F(TFrameMemoNodeTest, AVisitKeepsEveryByteAndStampsNothing) {
  // ED40 and FA5C are one character to the bridge; 85 40 and a lone FD are
  // no Shift_JIS at all.
  const StringList memo{"\xED\x40 and \xFA\x5C", "raw \x85\x40 \xFD", "", SJ("表ソ")};
  MemoNode& node = show("n", memo, {"Color=\"clRed\""});
  node.aComment = StringList{"\xED\x40"};
  form->Model2UI();
  const StringList fields = node.aFields;
  form->UI2Model();
  EXPECT_EQ(node.aMemo, memo);
  EXPECT_EQ(node.aFields, fields);
  EXPECT_EQ(node.aComment, (StringList{"\xED\x40"}));
  EXPECT_FALSE(current().flagChanged);

  // One line typed over: the others keep their bytes.
  QStringList lines = editor().memoEditor()->toPlainText().split('\n');
  lines[2] = QStringLiteral("typed");
  lines.insert(0, QStringLiteral("new first"));
  setMemo(lines.join('\n'));
  form->UI2Model();
  EXPECT_EQ(node.aMemo, (StringList{"new first", memo[0], memo[1], "typed", memo[3]}));
  EXPECT_TRUE(current().flagChanged);
}

TEST_F(TFrameMemoNodeTest, ACharacterShiftJISCannotHoldIsRefused) {
  MemoNode& node = show("n", {"kept"});
  setMemo(QStringLiteral("kept \U0001F600"));
  form->UI2Model();
  EXPECT_EQ(node.aMemo, StringList{"kept"});
  EXPECT_NE(message().find("ERROR: This character cannot be stored"), std::string::npos);
}

TEST_F(TFrameMemoNodeTest, AnEmptyNameIsRefusedAndANewOneGoesThroughTheHolder) {
  MemoNode& other = show("taken", {});
  (void)other;
  MemoNode& node = show("mine", {});
  editor().putNameLine_("   ");
  form->UI2Model();
  EXPECT_EQ(node.getName(), "mine");
  EXPECT_EQ(message(), "Do not rename Empty characters.");
  EXPECT_EQ(editor().getNameLine(), "mine");

  editor().putNameLine_(" taken ");
  form->UI2Model();
  EXPECT_EQ(node.getName(), editor().getNameLine());  // made unique by the holder
  EXPECT_NE(node.getName(), "mine");
  EXPECT_TRUE(current().flagChanged);

  // A rename made elsewhere is not taken back by the next commit.
  node.putName_("renamed");
  form->UI2Model();
  EXPECT_EQ(node.getName(), "renamed");
}

TEST_F(TFrameMemoNodeTest, AReadOnlyNodeCannotBeTypedIntoAndWritesNothing) {
  MemoNode& node = show("ro", {"stored"}, {"FlagReadOnly=\"true\"", "LastAccessed=\"x\""});
  QPlainTextEdit* memo = editor().memoEditor();
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_TRUE(editor().commentEditor()->isReadOnly());
  EXPECT_TRUE(editor().fieldsEditor()->isReadOnly());
  memo->setFocus();
  QTest::keyClicks(memo, "typed");
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("stored"));
  setMemo(QStringLiteral("forced"));
  form->UI2Model();
  EXPECT_EQ(node.aMemo, StringList{"stored"});
  EXPECT_EQ(node.getField_("LastAccessed"), "\"x\"");
  EXPECT_FALSE(current().flagChanged);

  // The window's switch locks a writable node the same way.
  show("rw", {"x"});
  EXPECT_FALSE(memo->isReadOnly());
  form->CheckBoxReadOnly->setChecked(true);
  EXPECT_TRUE(memo->isReadOnly());
  form->CheckBoxReadOnly->setChecked(false);
  EXPECT_FALSE(memo->isReadOnly());
}

TEST_F(TFrameMemoNodeTest, BookkeepingFieldsAreStampedOnlyWhenTheyExist) {
  const struct {
    const char* field;
    bool edited;
    const char* expected;  // null: unchanged
  } cases[] = {
      {"Authors", false, nullptr},
      {"Authors", true, "\"tester\""},
      {"LastModified", false, nullptr},
      {"LastModified", true, kStamp.c_str()},
      {"LastAccessed", false, kStamp.c_str()},
      {"LastAccessed", true, kStamp.c_str()},
      {"LastReader", false, "\"tester\""},
      {"Created", true, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.field) + (c.edited ? " edited" : " visited"));
    MemoNode& node = show("n", {"memo"}, {std::string(c.field) + "=\"old\""});
    if (c.edited) setMemo(QStringLiteral("edited"));
    form->UI2Model();
    EXPECT_EQ(node.getField_(c.field), c.expected ? c.expected : "\"old\"");
    EXPECT_EQ(current().flagChanged, c.edited || c.expected != nullptr);
  }
}

TEST_F(TFrameMemoNodeTest, StampedFieldsAreNotTakenBackByTheNextCommit) {
  MemoNode& node = show("n", {"memo"}, {"LastAccessed=\"old\"", "LastModified=\"old\""});
  form->UI2Model();
  ports.clock.advanceMs(1000);
  form->UI2Model();  // without a new Model2UI between, as closing and auto save do
  EXPECT_EQ(node.getField_("LastAccessed"), "\"20241208 101011123\"");
  EXPECT_EQ(node.getField_("LastModified"), "\"old\"");
}

TEST_F(TFrameMemoNodeTest, TheCommentChangesOnlyWhenItDiffers) {
  MemoNode& node = show("n", {}, {"LastModified=\"old\""});
  node.aComment = StringList{"a comment"};
  form->Model2UI();
  EXPECT_TRUE(editor().isCommentExpanded());
  form->UI2Model();
  EXPECT_EQ(node.getField_("LastModified"), "\"old\"");
  EXPECT_FALSE(current().flagChanged);

  editor().commentEditor()->setPlainText(QStringLiteral("  "));
  form->UI2Model();
  EXPECT_FALSE(node.aComment.has_value());
  EXPECT_EQ(node.getField_("LastModified"), kStamp);

  form->Model2UI();
  EXPECT_FALSE(editor().isCommentExpanded());  // nothing to show: collapsed
  editor().commentEditor()->setPlainText(QStringLiteral("new"));
  form->UI2Model();
  EXPECT_EQ(node.aComment, StringList{"new"});
}

// --- bodies

struct Shown {
  std::vector<std::pair<BodyKind, BodyRequest>> requests;
};

class FakeBody final : public QWidget, public TNodeBody {
 public:
  FakeBody(BodyKind kind, Shown& shown, QWidget* parent)
      : QWidget(parent), kind_(kind), shown_(shown) {}
  QWidget* widget() override { return this; }
  void show_(const BodyRequest& request) override { shown_.requests.emplace_back(kind_, request); }
  bool isEdited() const override { return edited; }
  void clearEdited() override { edited = false; }
  void writeBack_(StringList& memo) override { memo = {"{", "from tree", "}"}; }
  bool edited = false;

 private:
  BodyKind kind_;
  Shown& shown_;
};

class NodeBodies : public TFrameMemoNodeTest {
 protected:
  void SetUp() override {
    TFrameMemoNodeTest::SetUp();
    for (BodyKind kind : {BodyKind::Picture, BodyKind::Web, BodyKind::Tree})
      registerNodeBody_(kind, [this, kind](TFrameMemoNode&, QWidget* parent) {
        auto* body = new FakeBody(kind, shown, parent);
        bodies[kind] = body;
        return body;
      });
  }
  void TearDown() override {
    for (BodyKind kind : {BodyKind::Picture, BodyKind::Web, BodyKind::Tree})
      registerNodeBody_(kind, {});
    TFrameMemoNodeTest::TearDown();
  }
  Shown shown;
  std::map<BodyKind, FakeBody*> bodies;
};

TEST_F(NodeBodies, TheBodyFollowsTheEncodingAndTheType) {
  const std::string gifPath = (std::filesystem::current_path() / "tmp.gif").string();
  std::filesystem::remove(gifPath);
  const std::string local = dir.write("page.html", "<html></html>");
  enum class Want { Memo, Nothing, Picture, Web, Tree };
  const struct {
    const char* title;
    StringList fields;
    std::optional<std::string> data;
    Want want;
    const char* type;     // of the request
    std::string address;  // of a web request
  } cases[] = {
      {"text", {}, {}, Want::Memo, "", ""},
      {"jpeg",
       {"Content-Transfer-Encoding=\"binary\"", "Content-Type=\"image/jpeg\""},
       "JPG",
       Want::Picture,
       "image/jpeg",
       ""},
      {"png",
       {"Content-Transfer-Encoding=\"binary\"", "Content-Type=\"image/png\""},
       "PNG",
       Want::Picture,
       "image/png",
       ""},
      {"wmf",
       {"Content-Transfer-Encoding=\"binary\"", "Content-Type=\"image/x-wmf\""},
       "W",
       Want::Picture,
       "image/x-wmf",
       ""},
      {"gif",
       {"Content-Transfer-Encoding=\"binary\"", "Content-Type=\"image/gif\""},
       "GIF89a",
       Want::Web,
       "image/gif",
       ""},
      {"empty",
       {"Content-Transfer-Encoding=\"binary\"", "Content-Type=\"image/png\""},
       "",
       Want::Nothing,
       "",
       ""},
      {"no content",
       {"Content-Transfer-Encoding=\"binary\"", "Content-Type=\"image/png\""},
       {},
       Want::Nothing,
       "",
       ""},
      {"pdf",
       {"Content-Transfer-Encoding=\"binary\"", "Content-Type=\"application/pdf\""},
       "P",
       Want::Nothing,
       "",
       ""},
      {"local url",
       {"Content-Transfer-Encoding=\"URL\"", "Filename=\"" + local + "\""},
       {},
       Want::Web,
       "",
       local},
      {"poser", {"Content-Transfer-Encoding=\"Poser\""}, {}, Want::Tree, "", ""},
      {"poser like", {"Content-Transfer-Encoding=\"PoserLike\""}, {}, Want::Tree, "", ""},
      {"quoted as stored", {"Content-Transfer-Encoding=\"url\""}, {}, Want::Memo, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    shown.requests.clear();
    MemoNode* node = current().newNode();
    node->aMemo = {"memo"};
    node->aFields = c.fields;
    if (c.data) {
      node->aContent = std::make_unique<TContent>();
      node->aContent->aData = *c.data;
    }
    form->gotoMemoNode(node);
    EXPECT_EQ(editor().isMemoShown(), c.want == Want::Memo);
    TNodeBody* body = editor().shownBody();
    if (c.want == Want::Memo || c.want == Want::Nothing) {
      EXPECT_EQ(body, nullptr);
      EXPECT_TRUE(shown.requests.empty());
      continue;
    }
    const BodyKind kind = c.want == Want::Picture ? BodyKind::Picture
                          : c.want == Want::Web   ? BodyKind::Web
                                                  : BodyKind::Tree;
    ASSERT_EQ(shown.requests.size(), 1u);
    EXPECT_EQ(shown.requests[0].first, kind);
    EXPECT_EQ(body, bodies[kind]);
    const BodyRequest& request = shown.requests[0].second;
    EXPECT_EQ(request.node, node);
    EXPECT_EQ(request.contentType, c.type);
    EXPECT_EQ(request.address, c.address);
    if (c.data) {
      ASSERT_NE(request.data, nullptr);
      EXPECT_EQ(*request.data, *c.data);
    }
    if (kind == BodyKind::Tree) {
      EXPECT_EQ(request.poser, std::string(c.title) == "poser");
    }
  }
  EXPECT_FALSE(std::filesystem::exists(gifPath));  // the GIF page came from memory
}

TEST_F(NodeBodies, WebAddressesNeedTheInternetSwitch) {
  form->CheckBoxInternet->setChecked(false);
  MemoNode& node = show(
      "site", {}, {"Content-Transfer-Encoding=\"URL\"", "Filename=\"https://www.example.org/\""});
  ASSERT_EQ(shown.requests.size(), 1u);
  EXPECT_EQ(shown.requests[0].second.address, form->aSettings.programDir + "Offinternet.html");
  EXPECT_EQ(message(), "Disable Access Internet. site");
  EXPECT_TRUE(ports.downloader.requested.empty());

  form->CheckBoxInternet->setChecked(true);
  form->Model2UI();
  EXPECT_EQ(shown.requests.back().second.address, "https://www.example.org/");

  // Without a Filename the memo is the page.
  node.putField_("Filename", "");
  node.aMemo = {"<p>x</p>"};
  form->Model2UI();
  EXPECT_EQ(shown.requests.back().second.html, "<p>x</p>\r\n");
  EXPECT_EQ(shown.requests.back().second.caption, "*Memo*");
  node.aMemo.clear();
  form->Model2UI();
  EXPECT_EQ(shown.requests.back().second.html, "Memo=\"\".");
  EXPECT_EQ(message(), "Memo=\"\".");
}

TEST_F(NodeBodies, TreeEditsAreWrittenBackIntoTheMemo) {
  MemoNode& node = show("tree", {"{", "}"}, {"Content-Transfer-Encoding=\"PoserLike\""});
  form->UI2Model();
  EXPECT_EQ(node.aMemo, (StringList{"{", "}"}));
  bodies[BodyKind::Tree]->edited = true;
  form->UI2Model();
  EXPECT_EQ(node.aMemo, (StringList{"{", "from tree", "}"}));
  EXPECT_TRUE(current().flagChanged);
}

TEST_F(TFrameMemoNodeTest, AKindWithoutViewerShowsItsNameAndLeavesTheDataAlone) {
  MemoNode& node =
      show("pic", {}, {"Content-Transfer-Encoding=\"binary\"", "Content-Type=\"image/png\""});
  node.aContent = std::make_unique<TContent>();
  node.aContent->aData = std::string("\x89PNG", 4);
  form->Model2UI();
  auto* line = editor().findChild<QLineEdit*>(QStringLiteral("PendingBody"));
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->isReadOnly());
  EXPECT_EQ(line->text(), QStringLiteral("Picture: image/png"));
  form->UI2Model();
  EXPECT_EQ(*node.aContent->aData, std::string("\x89PNG", 4));
  EXPECT_TRUE(node.aMemo.empty());
  EXPECT_FALSE(current().flagChanged);
}

// --- Shadow nodes

TEST_F(TFrameMemoNodeTest, AShadowShowsItsTargetReadOnlyAndNeverCopiesIt) {
  MemoNode& target = show("target", {SJ("本文"), "\xED\x40"});
  const std::string uid = unquote_(target.getField_("UID"));
  const struct {
    const char* title;
    std::string filename;
    bool found;
  } cases[] = {
      {"by UID", "MemoNode:UID=" + uid, true},
      {"by name", "MemoNode:target", true},
      {"by holder", "MemoHolder:" + current().getName() + ":UID=" + uid, true},
      {"missing", "MemoNode:UID=nope", false},
      {"self", "MemoNode:shadow", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    MemoNode& shadow =
        show("shadow", {"own"},
             {"Content-Transfer-Encoding=\"Shadow\"", "Filename=\"" + c.filename + "\""});
    QPlainTextEdit* memo = editor().memoEditor();
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_TRUE(editor().isMemoBorrowed());
    const QString expected =
        c.found ? sjisToQString(SJ("本文")) + "\n" + sjisToQString("\xED\x40")
                : QString::fromStdString("** Not Found Filename=" + c.filename + " **");
    EXPECT_EQ(memo->toPlainText(), expected);
    setMemo(QStringLiteral("changed behind the lock"));
    form->UI2Model();
    EXPECT_EQ(shadow.aMemo, StringList{"own"});
    EXPECT_EQ(target.aMemo, (StringList{SJ("本文"), "\xED\x40"}));
    EXPECT_FALSE(current().flagChanged);
    shadow.putName_("used");  // the next case's "shadow" is a new node
  }
}

TEST_F(TFrameMemoNodeTest, ShadowChainsAreFollowedOnceAndCyclesEnd) {
  MemoNode& text = show("text", {"the text"});
  MemoNode& b =
      show("b", {"b's"}, {"Content-Transfer-Encoding=\"Shadow\"", "Filename=\"MemoNode:text\""});
  MemoNode& a =
      show("a", {"a's"}, {"Content-Transfer-Encoding=\"Shadow\"", "Filename=\"MemoNode:b\""});
  EXPECT_EQ(editor().memoEditor()->toPlainText(), QStringLiteral("the text"));
  (void)text;
  b.putField_("Filename", "\"MemoNode:a\"");  // a -> b -> a
  form->Model2UI();
  EXPECT_EQ(editor().memoEditor()->toPlainText(),
            QStringLiteral("** Not Found Filename=MemoNode:b **"));
  EXPECT_EQ(a.aMemo, StringList{"a's"});
  EXPECT_EQ(b.aMemo, StringList{"b's"});
}

// --- linked files

TEST_F(TFrameMemoNodeTest, ALinkedFileIsLoadedOnceAndItsEditsAreFlagged) {
  const std::string path = dir.write("linked.txt", "from file\r\n");
  MemoNode& node = show("link", {}, {"FlagLink=\"true\"", "Filename=\"" + path + "\""});
  EXPECT_EQ(editor().memoEditor()->toPlainText(), QStringLiteral("from file"));
  EXPECT_TRUE(node.flagContentLoaded);
  dir.write("linked.txt", "changed on disk\r\n");
  form->Model2UI();
  EXPECT_EQ(editor().memoEditor()->toPlainText(), QStringLiteral("from file"));

  setMemo(QStringLiteral("typed"));
  form->UI2Model();
  EXPECT_EQ(node.aMemo, StringList{"typed"});
  EXPECT_EQ(message(),
            "WARNING: FlagLink=\"true\": this memo is not saved with the MemoHolder. "
            "Filename=\"" +
                path + "\"");
}

TEST_F(TFrameMemoNodeTest, AMissingLinkedFileShowsNothingAndTheMessage) {
  const std::string path = dir.file("gone.txt");
  MemoNode& node = show("lost", {"kept"}, {"FlagLink=\"true\"", "Filename=\"" + path + "\""});
  EXPECT_EQ(message(), "FlagLink=\"true\" but not found Filename=\"" + path + "\" name=lost");
  EXPECT_FALSE(editor().isMemoShown());
  EXPECT_EQ(editor().shownBody(), nullptr);
  form->UI2Model();
  EXPECT_EQ(node.aMemo, StringList{"kept"});
}

// --- commands

TEST_F(TFrameMemoNodeTest, ThePasteWordListKeepsTenNewestFirst) {
  show("n", {"w0 w1 w2 w3 w4 w5 w6 w7 w8 w9 w10"});
  QPlainTextEdit* memo = editor().memoEditor();
  memo->setFocus();
  for (int i = 0; i <= 10; ++i) {
    const QString word = QStringLiteral("w%1").arg(i);
    QTextCursor cursor = memo->document()->find(word, 0, QTextDocument::FindWholeWords);
    memo->setTextCursor(cursor);
    editor().copySelection_(false);
  }
  EXPECT_EQ(message(), "Copy 3");
  ASSERT_EQ(form->aPasteWords.size(), 10u);
  EXPECT_EQ(form->aPasteWords.front(), "w10");
  EXPECT_EQ(form->aPasteWords.back(), "w1");
  memo->setTextCursor(memo->document()->find(QStringLiteral("w5")));
  editor().copySelection_(false);
  EXPECT_EQ(form->aPasteWords.front(), "w5");
  EXPECT_EQ(form->aPasteWords.size(), 10u);

  // Choosing an entry inserts it over the selection, which becomes the undo text.
  memo->setTextCursor(memo->document()->find(QStringLiteral("w0")));
  editor().pasteHistory_(3);
  EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("w8 w1")));
  EXPECT_EQ(editor().getUndoText(), "w0");
  EXPECT_EQ(form->aPasteWords.front(), "w8");
  EXPECT_EQ(message(), "Paste Histroy w8");
}

TEST_F(TFrameMemoNodeTest, FieldLineCommandsActOnTheCaretsLine) {
  MemoNode& node = show("n", {});
  node.aFields = {"Filename=\"C:\\data\\" + SJ("ソフト.txt") + "\""};
  form->Model2UI();
  QPlainTextEdit* fields = editor().fieldsEditor();
  fields->appendPlainText(QStringLiteral("no equals sign"));
  fields->setFocus();
  QClipboard* clipboard = QApplication::clipboard();
  const auto clip = [&] { return qStringToSjis(clipboard->text()).value_or("?"); };

  fields->moveCursor(QTextCursor::Start);
  editor().copyFieldPart_(TFrameMemoNode::FieldPart::Key);
  EXPECT_EQ(clip(), "Filename");
  editor().copyFieldPart_(TFrameMemoNode::FieldPart::Value);
  EXPECT_EQ(clip(), "C:\\data\\" + SJ("ソフト.txt"));
  editor().copyFieldPart_(TFrameMemoNode::FieldPart::ValueFileName);
  EXPECT_EQ(clip(), SJ("ソフト.txt"));
  EXPECT_EQ(message(), "Copy ExtractFilename " + SJ("ソフト.txt"));
  clipboard->setText(QStringLiteral("next"));
  editor().pastePlusPlus();
  EXPECT_EQ(clip(), "C:\\data\\" + SJ("ソフト.txt"));
  EXPECT_TRUE(fields->toPlainText().startsWith(QStringLiteral("Filename=\"next\"")));

  fields->moveCursor(QTextCursor::End);
  editor().copyFieldPart_(TFrameMemoNode::FieldPart::Key);
  EXPECT_EQ(clip(), "");  // no "=" in the line
  editor().cutFieldLine();
  EXPECT_EQ(clip(), "no equals sign");
  EXPECT_EQ(fields->toPlainText(), QStringLiteral("Filename=\"next\""));
}

TEST_F(TFrameMemoNodeTest, MarkToNameAndNameMenuRenameThroughTheHolder) {
  MemoNode& node = show("base", {"picked text"});
  QPlainTextEdit* memo = editor().memoEditor();
  memo->setFocus();
  memo->setTextCursor(memo->document()->find(QStringLiteral("picked")));
  editor().markToName_(TFrameMemoNode::NameChange::AddAfterBlank);
  EXPECT_EQ(node.getName(), "base picked");
  EXPECT_EQ(message(), "Add Name +  picked");
  memo->moveCursor(QTextCursor::End);
  editor().markToName_(TFrameMemoNode::NameChange::Replace);
  EXPECT_EQ(message(), "Cancel: Repalce Name : New name is empty!");
  editor().markName_(SJ("★"));
  EXPECT_EQ(node.getName(), SJ("★") + " base picked");
  EXPECT_EQ(editor().getNameLine(), node.getName());
  EXPECT_TRUE(current().flagChanged);

  node.putField_("FlagReadOnly", "\"true\"");
  form->Model2UI();
  editor().markName_(SJ("●"));
  EXPECT_EQ(message(), "Read Only Mode! Can not Change Node name.");
  EXPECT_EQ(node.getName(), SJ("★") + " base picked");
}

TEST_F(TFrameMemoNodeTest, AClickOnTheNameLineRenamesThroughTheDialog) {
  MemoNode& node = show("20240105 plan", {});
  QTimer::singleShot(0, [&] {
    auto* dialog = form->findChild<TFormName*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->getNameText(), "20240105 plan ");
    dialog->button_("$1", "cut1")->click();
    dialog->ok();
  });
  QTest::mouseClick(editor().nameLine(), Qt::LeftButton);
  EXPECT_EQ(node.getName(), "plan");
  EXPECT_EQ(editor().getNameLine(), "plan");
  EXPECT_EQ(form->findChild<TFormName*>()->history(), StringList{"plan"});

  QTimer::singleShot(0, [&] {
    auto* dialog = form->findChild<TFormName*>();
    dialog->button_("Tools", "Clear")->click();
    dialog->ok();
  });
  editor().renameByDialog();
  EXPECT_EQ(node.getName(), "plan");
  EXPECT_EQ(message(), "Do not rename Empty characters.");
}

// --- node windows

TEST_F(TFrameMemoNodeTest, ClosingANodeWindowCommitsAndDetachesIt) {
  MemoNode& node = show("own window", {"before"});
  auto& shown = static_cast<MemoNodeUI&>(node);
  QPointer<TFormMemoNode> window = TFormMemoNode::openFor_(form.get(), node, false);
  EXPECT_EQ(shown.aNodeForm, window.data());
  EXPECT_EQ(TFormMemoNode::openFor_(form.get(), node, false), window.data());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("MemoNode own window"));

  window->frame().memoEditor()->setPlainText(QStringLiteral("typed in the window"));
  window->agent()->sendMessage_("to the window");
  EXPECT_EQ(window->statusText(), "to the window");
  EXPECT_EQ(window->agent()->query_("getUIInternet"), "true");  // the main window's switch
  EXPECT_FALSE(window->agent()->getFlagBreak());
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(shown.aNodeForm, nullptr);
  EXPECT_EQ(node.aMemo, StringList{"typed in the window"});
  EXPECT_EQ(editor().memoEditor()->toPlainText(), QStringLiteral("typed in the window"));
}

TEST_F(TFrameMemoNodeTest, AReadOnlyNodeWindowRefusesEdits) {
  MemoNode& node = show("ro window", {"before"});
  QPointer<TFormMemoNode> window = TFormMemoNode::openFor_(form.get(), node, true);
  EXPECT_TRUE(window->CheckBoxUIReadOnly->isChecked());
  EXPECT_FALSE(window->CheckBoxUIReadOnly->isEnabled());
  QPlainTextEdit* memo = window->frame().memoEditor();
  EXPECT_TRUE(memo->isReadOnly());
  QTest::keyClicks(memo, "x");
  window->close();
  EXPECT_EQ(node.aMemo, StringList{"before"});

  // On its own a node window answers "true" for the Internet.
  TFormMemoNode alone(nullptr);
  EXPECT_EQ(alone.agent()->query_("getUIInternet"), "true");
  EXPECT_EQ(alone.agent()->query_("other"), "");
}

}  // namespace
}  // namespace vrk::windowtest
