// Printing from the window: a holder's nodes into numbered PDF jobs read back
// by pdftotext, failures that never end as "Done", the settings file's section.
#include <QCoreApplication>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "MainWindowTestSupport.h"
#include "print/PrintIniFile.h"
#include "shell/AppSettings.h"

namespace vrk::windowtest {
namespace {

bool havePdftotext() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

std::string pdfText(const QString& pdf) {
  const std::string path = pdf.toStdString();
  const std::string command = "pdftotext '" + path + "' '" + path + ".txt'";
  if (std::system(command.c_str()) != 0) return "(pdftotext failed)";
  std::ifstream in(path + ".txt", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TFormMainScriptPrint : public MainWindowFixture {
 protected:
  void printInto(const char* name) {
    ports.printers.path = QString::fromStdString(dir.file(name));
    ports.printers.flagNumberJobs = true;
  }
};

TEST_F(TFormMainScriptPrint, EveryNodeOfAHolderIsPrintedAndReadBack) {
  if (!havePdftotext()) GTEST_SKIP() << "needs pdftotext (scripts/setup.sh)";
  openMemoFile({{"A", {{"alpha"}, {"beta"}, {"gamma"}}}});
  printInto("holder.pdf");
  ports.prompter.answer(Answer::Ok);
  EXPECT_EQ(form->UIPrintsHolder(), 3);
  EXPECT_EQ(ports.prompter.asked.back().text, "Shall I print 3 Pages ?.");
  EXPECT_EQ(message(), "Done: Holder prints 3 Pages.");
  ASSERT_EQ(ports.printers.countOfJobs, 3);
  const StringList names = {"alpha", "beta", "gamma"};
  for (int job = 1; job <= 3; ++job) {
    const std::string text = pdfText(ports.printers.jobPath_(job));
    const std::string& name = names[static_cast<std::size_t>(job - 1)];
    EXPECT_NE(text.find("memo of " + name), std::string::npos) << job << ": " << text;
  }

  // One node: the current one.
  form->setCurMemoNode(holder(0).findNode_("beta"));
  EXPECT_EQ(form->UIPrintMemoNode(), 0);
  EXPECT_EQ(message(), "Done: UIPrintMemoNode beta");
  EXPECT_NE(pdfText(ports.printers.jobPath_(4)).find("memo of beta"), std::string::npos);
}

TEST_F(TFormMainScriptPrint, WithoutAPrinterNothingIsDone) {
  openMemoFile({{"A", {{"alpha"}, {"beta"}}}});
  // PdfPrinters without a path: no printer.
  EXPECT_EQ(form->UIPrintMemoNode(), -1);
  EXPECT_TRUE(message().starts_with("Failure: UIPrintMemoNode alpha")) << message();

  ports.prompter.answer(Answer::Ok);
  EXPECT_EQ(form->UIPrintsHolder(), 0);
  EXPECT_TRUE(message().starts_with("Failure: Holder Prints 0/2")) << message();

  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->UIPrintsHolder(), 0);
  EXPECT_EQ(message(), "Cannel: Holder prints.");

  EXPECT_EQ(form->UIPrintsMarkNode(), 0);
  EXPECT_EQ(message(), "Count of Node marked is 0");
}

TEST_F(TFormMainScriptPrint, SettingsComeFromStringsPrinter1AtCreation) {
  TStringsPrinter stored;
  stored.setHeader_("from the file");
  std::string why;
  ASSERT_EQ(savePrinterSettings_(printIniPath_(dir.path() + "/"), kPrintIniSection, kPrintIniKey,
                                 stored, &why),
            0)
      << why;
  ::setenv("VRK_PROGRAM_DIR", dir.path().c_str(), 1);
  auto second = TFormMainBase0007::create<TestForm>(ports.services());
  ::unsetenv("VRK_PROGRAM_DIR");
  EXPECT_EQ(second->aStringsPrinter.header(), "from the file");
}

}  // namespace
}  // namespace vrk::windowtest
