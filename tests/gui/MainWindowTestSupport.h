#pragma once
// Helpers of the main window tests: the window on fixed ports (a fixed
// clock, scripted answers, a recording desktop, a PDF printer or none), memo
// files written into a scratch folder, and the texts the window shows.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <memory>
#include <string>
#include <vector>

#include "commands/TFormMainRegular14.h"
#include "model/ModelTestSupport.h"
#include "platform/PosixProcessRunner.h"
#include "platform/qt/QtSjis.h"
#include "shell/MemoFileUI.h"
#include "shell/MemoHolderUI.h"
#include "support/MapDownloader.h"
#include "support/PdfPrinters.h"
#include "support/RecordingDesktopShell.h"
#include "support/ScriptedPrompter.h"

namespace vrk::windowtest {

using modeltest::readFile;
using modeltest::ScratchDir;

constexpr LocalTime kStart{2024, 12, 8, 10, 10, 10, 123};

struct TestPorts {
  FixedClock clock{kStart};
  SeededRng rng{42};
  ScriptedPrompter prompter;
  RecordingDesktopShell desktop;
  PosixProcessRunner processes;
  MapDownloader downloader;
  CollectingMessageSink messages;
  PdfPrinters printers;  // no path: no printer

  Services services() {
    return Services{&clock,     &rng,        &prompter, &desktop,
                    &processes, &downloader, &messages, &printers};
  }
};

// The window the program creates, with the script host's entry counted.
class TestForm : public TFormMainRegular14 {
 public:
  using TFormMainRegular14::TFormMainRegular14;
  int PlayScript(MemoNode* node) override {
    played.push_back(node->getHolderName() + ":" + node->getName());
    return 0;
  }
  StringList played;  // holder:node of every script run
};

struct NodeSpec {
  std::string name;
  std::string uid = {};
  std::string parent = {};  // ParentNodeID
};

struct HolderSpec {
  std::string name;
  std::vector<NodeSpec> nodes = {};
  std::string fields = {};  // extra <Field .../> lines
  bool written = true;      // false: the holder file is missing
  std::string raw = {};     // when set, the holder file's bytes instead
};

// A memo file of one holder, not yet loaded, that is also the current one.
inline std::string memoFileText(std::string_view name, std::string_view holder) {
  return "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"" + std::string(name) +
         "\">\r\n  <Field CurrentHolder=\"" + std::string(holder) + "\" />\r\n  <Holder name=\"" +
         std::string(holder) +
         "\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n</File>\r\n";
}

inline std::string holderFileText(const HolderSpec& holder) {
  std::string text = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"" +
                     holder.name + "\">\r\n" + holder.fields;
  for (const NodeSpec& node : holder.nodes) {
    text += "  <Record name=\"" + node.name + "\">\r\n    <Field";
    if (!node.uid.empty()) text += " UID=\"" + node.uid + "\"";
    if (!node.parent.empty()) text += " ParentNodeID=\"" + node.parent + "\"";
    text += " />\r\nmemo of " + node.name + "<BR/>\r\n  </Record>\r\n";
  }
  return text + "</Holder>\r\n";
}

// Writes work.mxa in dir naming the holders, not yet loaded, the first one
// current, and their files; answers the memo file's path.
inline std::string writeMemoFile(const ScratchDir& dir, const std::vector<HolderSpec>& holders) {
  std::string mxa =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"work\">\r\n"
      "  <Field CurrentHolder=\"" +
      holders.front().name + "\" />\r\n";
  for (const HolderSpec& spec : holders) {
    mxa += "  <Holder name=\"" + spec.name +
           "\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n";
    if (!spec.raw.empty())
      dir.write(spec.name + ".mxh", spec.raw);
    else if (spec.written)
      dir.write(spec.name + ".mxh", holderFileText(spec));
  }
  return dir.write("work.mxa", mxa + "</File>\r\n");
}

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    form = TFormMainBase0007::create<TestForm>(ports.services());
    form->resize(800, 600);
    form->show();
    form->newMemoFile_();
    file().putFileName_(dir.file("noname.mxa"));  // whatever is saved lands in the scratch folder
  }

  MemoFileUI& file() { return *form->getFile(); }
  MemoHolder& holder(int index) { return *file().holderAt_(index); }
  std::string message() const { return panelText(2); }
  std::string panelText(int panel) const {
    return qStringToSjis(form->StatusPanels[panel]->text()).value_or("?");
  }
  StringList logLines() {
    StringList lines;
    for (const QString& line : form->getLogMemo()->toPlainText().split('\n'))
      if (!line.isEmpty()) lines.push_back(qStringToSjis(line).value_or("?"));
    return lines;
  }
  bool logHas(std::string_view text) {
    for (const std::string& line : logLines())
      if (line.find(text) != std::string::npos) return true;
    return false;
  }

  // Writes work.mxa naming the holders, and their files, then opens it.
  std::string openMemoFile(const std::vector<HolderSpec>& holders) {
    const std::string path = writeMemoFile(dir, holders);
    EXPECT_EQ(form->_loadMemoFile_(path), 0);
    return path;
  }

  TestPorts ports;
  ScratchDir dir;
  std::unique_ptr<TestForm> form;
};

}  // namespace vrk::windowtest
