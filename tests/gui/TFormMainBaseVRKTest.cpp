// Window-level node operations: deletion into the "Trush" holder, new nodes
// of every kind, clones; the version report, the desktop shell, printing.
#include <QImage>
#include <QPainter>
#include <QTabBar>
#include <filesystem>
#include <set>

#include "MainWindowTestSupport.h"
#include "model/TContent.h"
#include "platform/Path.h"
#include "text/StringEX.h"

namespace vrk::windowtest {
namespace {

class TFormMainBaseVRKTrush : public MainWindowFixture {
 protected:
  StringList names(MemoHolder& h) {
    StringList list;
    for (int i = 0; i < h.countOfNodes(); ++i) list.push_back(h.nodeAt_(i)->getName());
    return list;
  }
  std::string current() { return form->getCurMemoNode()->getName(); }
};

TEST_F(TFormMainBaseVRKTrush, RefusedForTheOnlyNodeAndInsideTrush) {
  EXPECT_EQ(form->UIDeleteMemoNode(), 0);
  EXPECT_EQ(message(), "Could Not delete. Because There is One Node.");
  EXPECT_EQ(form->getTrushHolder(), nullptr);

  openMemoFile({{"A", {{"a1"}}}, {"Trush", {{"t1"}, {"t2"}}}});
  form->_changeCurrentHolder_(form->getTrushHolder(), true);
  EXPECT_EQ(form->UIDeleteMemoNode(), 0);
  EXPECT_EQ(message(), "Can not remove it on the Trush MemoHolder");
  EXPECT_EQ(holder(1).countOfNodes(), 2);
}

// Read-only holders refuse new nodes and clones, not deletion.
TEST_F(TFormMainBaseVRKTrush, AReadOnlyHolderStillGivesItsNodesToTrush) {
  openMemoFile({{"A", {{"a1"}, {"a2"}}}});
  holder(0).putReadOnly_(true);
  EXPECT_EQ(form->newMemoNode_(), -7);
  EXPECT_EQ(form->cloneMemoNode_(1), 0);
  EXPECT_EQ(form->UIDeleteMemoNode(), 0);
  EXPECT_EQ(names(holder(0)), (StringList{"a2"}));
  EXPECT_EQ(names(*form->getTrushHolder()), (StringList{"a1"}));
}

TEST_F(TFormMainBaseVRKTrush, TheFirstDeleteMakesTrushAtTheEndAndTheNextNodeIsShown) {
  openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}}}, {"B", {{"b1"}}}});
  EXPECT_EQ(form->UIDeleteMemoNode(), 0);
  EXPECT_EQ(message(), "Done: UIDeleteMemoNode");
  ASSERT_EQ(file().countOfHolders(), 3);
  MemoHolder& trush = holder(2);
  EXPECT_EQ(trush.getName(), "Trush");
  EXPECT_EQ(form->getTrushHolder(), &trush);
  EXPECT_EQ(names(trush), (StringList{"a1"}));
  EXPECT_EQ(trush.getCurNode()->getName(), "a1");
  EXPECT_TRUE(trush.flagChanged);
  EXPECT_EQ(form->TabControl1->count(), 3);
  EXPECT_EQ(form->TabControl1->currentIndex(), 0);
  EXPECT_EQ(names(holder(0)), (StringList{"a2", "a3"}));
  EXPECT_EQ(current(), "a2");
  EXPECT_TRUE(holder(0).flagChanged);

  form->gotoMemoNode(holder(0).nodeAt_(1));  // the last node: the first is shown next
  EXPECT_EQ(form->UIDeleteMemoNode(), 0);
  EXPECT_EQ(current(), "a2");
  EXPECT_EQ(names(trush), (StringList{"a1", "a3"}));
  EXPECT_EQ(file().countOfHolders(), 3);
}

TEST_F(TFormMainBaseVRKTrush, AnUnreadTrushIsReadAndMarkedChanged) {
  openMemoFile({{"A", {{"a1"}, {"a2"}}}, {"Trush", {{"t1"}}}});
  ASSERT_FALSE(holder(1).flagLoaded);
  EXPECT_EQ(form->UIDeleteMemoNode(), 0);
  EXPECT_TRUE(holder(1).flagLoaded);
  EXPECT_TRUE(holder(1).flagChanged);
  EXPECT_EQ(names(holder(1)), (StringList{"t1", "a1"}));
}

TEST_F(TFormMainBaseVRKTrush, TreeDeletionMovesTheSubtreeChildrenFirst) {
  const std::string tree = "  <Field ModeNodesMngr=\"TreeView\"/>\r\n";
  openMemoFile({{"T",
                 {{"r", "U1"}, {"c1", "U2", "U1"}, {"g", "U3", "U2"}, {"c2", "U4", "U1"}, {"s"}},
                 tree}});
  ASSERT_EQ(current(), "r");
  EXPECT_EQ(form->UIDeleteMemoNode(), 4);
  EXPECT_EQ(message(), "Done: UIDeleteMemoNode");
  EXPECT_TRUE(logHas("rabsIndex=0ct=2"));
  StringList deletions;
  for (const std::string& line : logLines())
    if (line.find("absIndex=") != std::string::npos) deletions.push_back(line);
  EXPECT_EQ(deletions, (StringList{"rabsIndex=0ct=2", "c1absIndex=1ct=1", "gabsIndex=2ct=0",
                                   "c2absIndex=1ct=0"}));
  EXPECT_EQ(names(*form->getTrushHolder()), (StringList{"g", "c1", "c2", "r"}));
  EXPECT_EQ(names(holder(0)), (StringList{"s"}));
  EXPECT_EQ(current(), "s");
  EXPECT_EQ(form->UIDeleteMemoNode(), 0);  // one node left
}

TEST_F(TFormMainBaseVRKTrush, TreeDeletionNeedsANodeOutsideTheSubtree) {
  const std::string tree = "  <Field ModeNodesMngr=\"TreeView\"/>\r\n";
  openMemoFile({{"T", {{"s"}, {"r", "U1"}, {"c", "U2", "U1"}}, tree}});
  form->gotoMemoNode(holder(0).findNode_("r"));
  EXPECT_EQ(form->UIDeleteMemoNode(), 2);  // the nearest node before it is shown
  EXPECT_EQ(current(), "s");

  openMemoFile({{"T", {{"r", "U1"}, {"c", "U2", "U1"}}, tree}});
  EXPECT_EQ(form->UIDeleteMemoNode(), -1);
  EXPECT_EQ(message(), "Don't Delete !");
  EXPECT_EQ(names(holder(0)), (StringList{"r", "c"}));
}

class TFormMainBaseVRKNewNodes : public MainWindowFixture {};

TEST_F(TFormMainBaseVRKNewNodes, KindsSetTheirFields) {
  struct Case {
    NodeKind kind;
    std::string name;
    std::string expectedName;  // empty: the holder's automatic name
    std::string encoding;
    std::string filename;
  };
  const std::string home(TFormMainBaseVRK::kDefaultAddress);
  const std::vector<Case> cases = {
      {NodeKind::Url, "", home, "\"URL\"", quoted_(home)},
      {NodeKind::Url, " http://x.test/a ", "http://x.test/a", "\"URL\"", "\"http://x.test/a\""},
      {NodeKind::Poser, "", "", "\"Poser\"", ""},
      {NodeKind::PoserLike, "", "", "\"PoserLike\"", ""},
      {NodeKind::Icon, "", "", "\"binary\"", ""},
      {NodeKind::Image, "pic", "pic.bmp", "\"binary\"", "\".\\pic.bmp\""},
  };
  for (const Case& c : cases) {
    MemoNode* node = form->newMemoNodeKind_(c.name, c.kind);
    ASSERT_NE(node, nullptr);
    SCOPED_TRACE(node->getName());
    EXPECT_EQ(form->getCurMemoNode(), node);
    if (!c.expectedName.empty()) {
      EXPECT_EQ(node->getName(), c.expectedName);
    }
    EXPECT_EQ(node->getField_("Content-Transfer-Encoding"), c.encoding);
    EXPECT_EQ(node->getField_("Filename"), c.filename);
  }
  const MemoNode* iconNode = nullptr;
  for (int i = 0; i < holder(0).countOfNodes(); ++i)
    if (holder(0).nodeAt_(i)->getField_("Content-Type") == "\"image/ico\"")
      iconNode = holder(0).nodeAt_(i);
  ASSERT_NE(iconNode, nullptr);
  ASSERT_TRUE(iconNode->aContent && iconNode->aContent->aData);
  EXPECT_EQ(iconNode->aContent->aData->substr(0, 4), std::string("\0\0\1\0", 4));
  EXPECT_TRUE(holder(0).flagChanged);
}

TEST_F(TFormMainBaseVRKNewNodes, ImageNamesOfTodayGetTheNodeCount) {
  struct Case {
    int existing;  // nodes before the new one
    std::string name;
    std::string expected;
  };
  for (const Case& c : std::vector<Case>{{1, "20241208", "20241208_02.bmp"},
                                         {8, "", "20241208_09.bmp"},
                                         {9, "", "20241208_10.bmp"},
                                         {2, "", "20241208_03.bmp"}}) {
    std::vector<NodeSpec> nodes;
    for (int i = 0; i < c.existing; ++i) nodes.push_back({"n" + std::to_string(i)});
    openMemoFile({{"A", nodes}});
    const MemoNode* node = form->newMemoNodeKind_(c.name, NodeKind::Image);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->getName(), c.expected) << c.existing << " " << c.name;
    EXPECT_EQ(node->getField_("Filename"), "\".\\" + c.expected + "\"");
    EXPECT_EQ(node->getField_("Content-Type"), "\"image/bmp\"");
  }
}

TEST_F(TFormMainBaseVRKNewNodes, TextNodesAttachTheNamedFileAndTemplatesGetTheirCreater) {
  openMemoFile({{"A", {{"a1"}}}});
  dir.write("notes.txt", "hello\r\nworld\r\n");
  MemoNode* text = form->newMemoNodeKind_("./notes.txt", NodeKind::Text);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->getName(), dir.file("notes.txt"));
  EXPECT_EQ(text->aMemo, (StringList{"hello", "world"}));

  std::unique_ptr<MemoNode> model = holder(0).createNode();
  model->putField_("Creater", "\"somebody\"");
  holder(0).addNode_(std::move(model), "*");
  form->userName = "tester";
  MemoNode* made = form->newMemoNodeKind_("", NodeKind::Text);
  EXPECT_EQ(made->getField_("Creater"), "\"tester\"");
  EXPECT_EQ(made->getField_("UID").size(), 29u);
}

TEST_F(TFormMainBaseVRKNewNodes, NewAndCloneReportTheirEnd) {
  EXPECT_EQ(form->newMemoNode_(), 0);
  EXPECT_EQ(message(), "Done: New MemoNode " + form->getCurMemoNode()->getName());
  EXPECT_EQ(holder(0).countOfNodes(), 2);

  MemoNode* source = form->getCurMemoNode();
  source->aMemo = {"body"};
  EXPECT_EQ(form->cloneMemoNode_(0), 0);
  EXPECT_EQ(form->cloneMemoNode_(3), 3);
  EXPECT_EQ(message(), "Done: Clone MemoNode 3");
  EXPECT_EQ(holder(0).countOfNodes(), 5);
  EXPECT_EQ(form->getCurMemoNode(), source);
  std::set<std::string> uids;
  for (int i = 0; i < holder(0).countOfNodes(); ++i)
    uids.insert(holder(0).nodeAt_(i)->getField_("UID"));
  EXPECT_EQ(uids.size(), 5u);
}

TEST_F(TFormMainBaseVRKNewNodes, VersionReport) {
  MemoNode& node = *form->getCurMemoNode();
  node.aMemo = {"ab", "c"};
  StringList lines;
  form->writeVersionTS_(lines);
  ASSERT_GE(lines.size(), 16u);
  EXPECT_EQ(lines[1], "Version " + std::string(TFormMainBaseVRK::kVersionText));
  EXPECT_EQ(lines[2], "Prototype Dec 10, 2024");
  EXPECT_EQ(lines[4], "(width,height)=(800,600)");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[10], "File Directory is " + dir.path() + "/");
  EXPECT_EQ(lines[11], "The count of Holders is 1");
  EXPECT_EQ(lines[12], "The count of MemoNodes is 1");
  EXPECT_EQ(lines[13], "aFields.count = " + std::to_string(node.aFields.size()));
  EXPECT_EQ(lines[14], "Length(aMemo.Text)  = 7");
  EXPECT_EQ(lines[15], "aMemo.count = 2");

  form->showVersion();
  ASSERT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(ports.prompter.asked[0].buttons, Buttons(Answer::Ok));
  EXPECT_NE(ports.prompter.asked[0].text.find("aMemo.count = 2\n"), std::string::npos);
  EXPECT_EQ(message(), lines[0] + " Ver 17.0.1 Dec 10, 2024");
}

TEST_F(TFormMainBaseVRKNewNodes, DesktopCallsGoThroughTheShell) {
  EXPECT_EQ(form->ShellExecuteOpen_("doc.txt"), 0);
  EXPECT_EQ(message(), "ShellExecuteOpen_ doc.txt");
  EXPECT_EQ(form->exploreFileDir(), 0);
  EXPECT_EQ(message(), "Done: Explorer " + dir.path() + "/");
  EXPECT_EQ(ports.desktop.calls,
            (StringList{"open doc.txt in " + dir.path() + "/", "explore " + dir.path() + "/"}));
  ports.desktop.result = -1;
  file().putFileName_("/nonexistent-vrk-dir/m.mxa");  // no such folder: the current one
  EXPECT_EQ(form->ShellExecuteOpen_("x"), -1);
  EXPECT_EQ(ports.desktop.calls.back(), "open x in " + currentDirectory_());
  EXPECT_EQ(message(), "ShellExecuteOpen_ x");
}

TEST_F(TFormMainBaseVRKNewNodes, HardCopyNeedsAPrinter) {
  EXPECT_EQ(form->UIHardCopy(), -1);
  EXPECT_EQ(message(), "ERROR: UIHardCopy. No printer can print.");
  EXPECT_EQ(form->printImage_(QImage(4, 4, QImage::Format_RGB32), "x", false), -1);

  const std::string pdf = dir.file("copy.pdf");
  ports.printers.path = QString::fromStdString(pdf);
  EXPECT_EQ(form->UIHardCopy(), 0);
  EXPECT_EQ(message(), "Done: UIHardCopy. Check Printer.");
  EXPECT_EQ(readFile(pdf).substr(0, 4), "%PDF");
}

TEST(TFormMainBaseVRKPrintImage, ThePictureFillsNinetySevenPercentCentred) {
  QImage page(1000, 800, QImage::Format_RGB32);
  page.fill(Qt::white);
  QImage tall(10, 20, QImage::Format_RGB32);
  tall.fill(Qt::red);
  {
    QPainter painter(&page);
    TFormMainBaseVRK::paintImagePage_(painter, page.rect(), tall, "", true);
  }
  // 776 high (97% of 800), 388 wide, centred: x 306..693, y 12..787.
  const auto red = [&](int x, int y) { return page.pixelColor(x, y) == QColor(Qt::red); };
  EXPECT_TRUE(red(500, 400));
  EXPECT_TRUE(red(310, 20));
  EXPECT_TRUE(red(690, 780));
  EXPECT_FALSE(red(300, 400));
  EXPECT_FALSE(red(700, 400));
  EXPECT_FALSE(red(500, 8));
  EXPECT_EQ(page.pixelColor(306, 400), QColor(Qt::black));  // the frame
}

}  // namespace
}  // namespace vrk::windowtest
