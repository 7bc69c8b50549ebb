// Printing from a window: Done with the pages printed, Failed without a
// printer or a page, Cancelled from the progress window, numbered jobs, and
// the settings file beside the program.
#include "print/qt/StringsPrinting.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

#include "print/qt/TFormStrPProg.h"
#include "support/PdfPrinters.h"

namespace vrk {
namespace {

StringList manyLines(int n) {
  StringList lines;
  for (int i = 1; i <= n; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

class StringsPrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = ::testing::TempDir() + "strings-printing-" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string dir;
  PdfPrinters printers;
  const LocalTime now{2024, 1, 2, 3, 4, 5, 0};
};

TEST_F(StringsPrintingTest, OutcomesOfAJob) {
  const TStringsPrinter settings;
  PrintOutcome none = printStrings_(settings, printers, "doc", manyLines(3), now, nullptr);
  EXPECT_EQ(none.kind, PrintOutcomeKind::Failed);
  EXPECT_EQ(none.reason, "no printer can print");

  printers.path = QString::fromStdString(dir + "out.pdf");
  const PrintOutcome done = printStrings_(settings, printers, "doc", manyLines(150), now, nullptr);
  EXPECT_EQ(done.kind, PrintOutcomeKind::Done) << done.reason;
  EXPECT_EQ(done.pages, 3);  // A4 at 10 points: about 70 rows a page
  EXPECT_GT(QFileInfo(printers.path).size(), 0);

  TStringsPrinter outOfRange;
  outOfRange.setRangeOption_(TStringsPrinterRangeOption::roLimited);
  outOfRange.setStartPage_(5);
  const PrintOutcome nothing =
      printStrings_(outOfRange, printers, "doc", manyLines(3), now, nullptr);
  EXPECT_EQ(nothing.kind, PrintOutcomeKind::Failed);

  printers.path = QString::fromStdString(dir + "no/such/folder/out.pdf");
  const PrintOutcome unwritable =
      printStrings_(settings, printers, "doc", manyLines(3), now, nullptr);
  EXPECT_EQ(unwritable.kind, PrintOutcomeKind::Failed);
}

TEST_F(StringsPrintingTest, CancelInTheProgressWindowPrintsNothing) {
  printers.path = QString::fromStdString(dir + "cancelled.pdf");
  QString caption;
  QTimer::singleShot(0, [&caption] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* progress = qobject_cast<TFormStrPProg*>(w); progress && progress->isVisible()) {
        caption = progress->windowTitle();
        progress->aCancel->click();
      }
  });
  const PrintOutcome r =
      printStrings_(TStringsPrinter(), printers, "doc", manyLines(500), now, nullptr);
  EXPECT_EQ(r.kind, PrintOutcomeKind::Cancelled);
  EXPECT_EQ(caption, QString::fromUtf8("印刷中"));
  EXPECT_FALSE(QFileInfo::exists(printers.path));
}

TEST_F(StringsPrintingTest, NumberedJobsEachKeepTheirFile) {
  printers.path = QString::fromStdString(dir + "job.pdf");
  printers.flagNumberJobs = true;
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(printStrings_(TStringsPrinter(), printers, "doc", manyLines(2), now, nullptr).kind,
              PrintOutcomeKind::Done);
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir + "job-1.pdf")));
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir + "job-2.pdf")));
  EXPECT_EQ(printers.countOfJobs, 2);
}

TEST_F(StringsPrintingTest, SettingsBesideTheProgram) {
  TStringsPrinter p;
  EXPECT_EQ(loadStringsPrinter_(dir, p), 1);
  p.setColumnCount_(2);
  std::string error;
  ASSERT_EQ(saveStringsPrinter_(dir, p, &error), 0) << error;
  EXPECT_TRUE(std::filesystem::exists(dir + "vrkprint.ini"));
  TStringsPrinter back;
  EXPECT_EQ(loadStringsPrinter_(dir, back), 0);
  EXPECT_EQ(back.columnCount(), 2);
}

}  // namespace
}  // namespace vrk
