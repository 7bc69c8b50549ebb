// A real mouse drag in the holder frame's tree, on an X server: xdotool moves
// the pointer, the window system carries the drag. Started offscreen (as
// ctest does), the test runs itself again under xvfb-run; it skips when
// xvfb-run or xdotool is missing.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include "MainWindowTestSupport.h"
#include "gui/ViewTestSupport.h"
#include "shell/TFrameMemoHolder.h"

namespace vrk::windowtest {
namespace {

class TFrameMemoHolderXvfb : public MainWindowFixture {};

// Runs xdotool with the arguments while this process keeps handling events
// (the drag runs an event loop of its own). True when it ended well in time.
bool runPointer(const QStringList& arguments) {
  QProcess xdotool;
  xdotool.start(QStringLiteral("xdotool"), arguments);
  if (!xdotool.waitForStarted(5000)) return false;
  QElapsedTimer clock;
  clock.start();
  while (xdotool.state() != QProcess::NotRunning && clock.elapsed() < 20000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qSleep(5);
  }
  return xdotool.state() == QProcess::NotRunning && xdotool.exitCode() == 0;
}

// This test once more, in a process of its own on a new X server.
void runUnderXvfb() {
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QStringLiteral("xvfb-run"),
              {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
               QCoreApplication::applicationFilePath(),
               QStringLiteral("--gtest_filter=TFrameMemoHolderXvfb.MouseDragMovesATreeItem")});
  ASSERT_TRUE(child.waitForFinished(90000)) << "xvfb-run did not end";
  const QString output = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test")) &&
              !output.contains(QStringLiteral("[  SKIPPED ]")))
      << output.toStdString();
}

TEST_F(TFrameMemoHolderXvfb, MouseDragMovesATreeItem) {
  if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
    GTEST_SKIP() << "xdotool is missing (scripts/setup.sh installs it)";
  if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
      GTEST_SKIP() << "xvfb-run is missing (scripts/setup.sh installs it)";
    return runUnderXvfb();
  }

  openMemoFile({{"T",
                 {{"r", "U1"}, {"c1", "U2", "U1"}, {"c2", "U3", "U1"}, {"s", "U4"}},
                 "  <Field ModeNodesMngr=\"TreeView\"/>\r\n"}});
  form->move(0, 0);
  form->raise();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  auto& holderUI = static_cast<MemoHolderUI&>(holder(0));
  TTreeViewUI& tree = *holderUI.aUITV;
  const auto pointOf = [&](std::string_view name) {
    const auto& node = static_cast<MemoNodeUI&>(*holder(0).findNode_(name));
    return tree.viewport()->mapToGlobal(tree.visualItemRect(node.aUITN).center());
  };
  const QPoint from = pointOf("s");
  const QPoint to = pointOf("c1");
  const auto xy = [](const QPoint& p, int dy = 0) {
    return QStringList{QString::number(p.x()), QString::number(p.y() + dy)};
  };
  QStringList steps = QStringList{"mousemove"} + xy(from) +
                      QStringList{"sleep", "0.3", "mousedown", "1", "sleep", "0.2", "mousemove"} +
                      xy(from, -6) + QStringList{"sleep", "0.2", "mousemove"} + xy(to, 4) +
                      QStringList{"sleep", "0.3", "mousemove"} + xy(to) +
                      QStringList{"sleep", "0.3", "mouseup", "1", "sleep", "0.2"};
  ASSERT_TRUE(runPointer(steps));
  QTest::qWait(300);

  EXPECT_EQ(viewtest::outline(holder(0)), "r .s .c1 .c2");
  EXPECT_EQ(holder(0).findNode_("s")->getField_("ParentNodeID"), "\"U1\"");
  EXPECT_TRUE(holder(0).flagChanged);

  // For a look at the window: VRK_SCREENSHOT=/tmp/frame.png
  const QByteArray shot = qgetenv("VRK_SCREENSHOT");
  if (!shot.isEmpty())
    QProcess::execute(QStringLiteral("import"), {"-window", "root", QString::fromLocal8Bit(shot)});
}

}  // namespace
}  // namespace vrk::windowtest
