// Printing of TFormMainScript: a node, a holder's or the marked nodes, the
// print settings dialog and the printer set-up.
#include <QCoreApplication>
#include <QImage>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>

#include "commands/TFormMainScript.h"
#include "model/TContent.h"
#include "platform/qt/QtPrinters.h"
#include "platform/qt/QtSjis.h"
#include "print/qt/TFormStringsPrint.h"
#include "shell/CommandFrame.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

std::string lowerField(const MemoNode& node, std::string_view key) {
  return lowerCase_(unquote_(node.getField_(key)));
}

std::string titleOf(const MemoNode& node) { return node.getHolderName() + " : " + node.getName(); }

}  // namespace

PrintOutcome TFormMainScript::printNode_(MemoNode& node) {
  const std::string type = lowerField(node, "Content-Type");
  const LocalTime now = services.clock->now();
  TStringsPrinter settings = aStringsPrinter;
  settings.setFileName_(titleOf(node));
  const auto printLines = [&](const StringList& lines) {
    return printStrings_(settings, *services.printers, titleOf(node), lines, now, this);
  };
  if (type.empty() || type.find("text") != std::string::npos)
    return printLines(lowerField(node, "Content-Transfer-Encoding") == "url" ? node.aFields
                                                                             : node.aMemo);
  if (type == "image/gif") return printLines(node.aFields);

  PrintOutcome outcome;
  int printed = -1;
  if (type.starts_with("image/")) {
    QImage picture;
    if (node.aContent && node.aContent->aData)
      picture.loadFromData(reinterpret_cast<const uchar*>(node.aContent->aData->data()),
                           static_cast<int>(node.aContent->aData->size()));
    if (picture.isNull()) {
      outcome.reason = "the picture cannot be read";
      return outcome;
    }
    printed =
        printImage_(picture, formatDateTime_("yyyymmdd hhnnss", now) + " " + titleOf(node), false);
  } else {
    printed = printWith_([&](QPainter& painter, QPrinter&) {
      painter.drawText(painter.viewport().adjusted(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                       sjisToQString("     " + titleOf(node)));
    });
  }
  outcome.kind = printed == 0 ? PrintOutcomeKind::Done : PrintOutcomeKind::Failed;
  if (printed != 0) outcome.reason = "no printer can print";
  outcome.pages = printed == 0 ? 1 : 0;
  return outcome;
}

int TFormMainScript::UIPrintMemoNode() {
  return runCommand_(*this, {"UIPrintMemoNode", kCheckBusy | kCommitBefore}, [this] {
    MemoNode* node = getCurMemoNode();
    if (!node) return -9;
    const std::string task = "UIPrintMemoNode " + node->getName();
    TaskScope scope(*this, task);
    if (!scope.began()) return kRefusedBusy;
    const PrintOutcome outcome = printNode_(*node);
    switch (outcome.kind) {
      case PrintOutcomeKind::Done:
        scope.end_("Done: " + task);
        return 0;
      case PrintOutcomeKind::Cancelled:
        scope.end_("Cancel: " + task);
        return -6;
      case PrintOutcomeKind::Failed:
        break;
    }
    scope.end_("Failure: " + task + ": " + outcome.reason);
    return -1;
  });
}

int TFormMainScript::printNodes_(std::string_view task, std::string_view what,
                                 const std::vector<MemoNode*>& nodes) {
  TaskScope scope(*this, task);
  if (!scope.began()) return kRefusedBusy;
  const std::string total = std::to_string(nodes.size());
  int printed = 0;
  for (MemoNode* node : nodes) {
    if (!pumpEvents()) {
      scope.end_("Break: " + std::string(what) + " " + std::to_string(printed) + "/" + total);
      return printed;
    }
    messageDoing_(std::to_string(printed + 1) + "/" + total);
    const PrintOutcome outcome = printNode_(*node);
    if (outcome.kind != PrintOutcomeKind::Done) {
      // A failed or cancelled job ends the run: the rest would fail alike.
      scope.end_((outcome.kind == PrintOutcomeKind::Cancelled ? "Cancel: " : "Failure: ") +
                 std::string(what) + " " + std::to_string(printed) + "/" + total +
                 (outcome.reason.empty() ? "" : ": " + outcome.reason));
      return printed;
    }
    ++printed;
  }
  scope.end_("Done: Holder prints " + total + " Pages.");
  return printed;
}

int TFormMainScript::UIPrintsHolder() {
  return runCommand_(*this, {"UIPrintsHolder", kCheckBusy | kCheckHolder | kCommitBefore}, [this] {
    MemoHolder* holder = getCurHolder();
    std::vector<MemoNode*> nodes;
    for (int i = 0; i < holder->countOfNodes(); ++i) nodes.push_back(holder->nodeAt_(i));
    if (services.prompter->ask(BoxKind::Confirmation,
                               "Shall I print " + std::to_string(nodes.size()) + " Pages ?.",
                               Answer::Ok | Answer::Cancel) != Answer::Ok) {
      messageDoing_("Cannel: Holder prints.");
      return 0;
    }
    return printNodes_("Prints Holder", "Holder Prints", nodes);
  });
}

int TFormMainScript::UIPrintsMarkNode() {
  return runCommand_(
      *this, {"UIPrintsMarkNode", kCheckBusy | kCheckHolder | kCommitBefore}, [this] {
        MemoHolder* holder = getCurHolder();
        std::vector<MemoNode*> nodes;
        for (int i = 0; i < holder->countOfNodes(); ++i)
          if (holder->nodeAt_(i)->isMarked()) nodes.push_back(holder->nodeAt_(i));
        if (nodes.empty()) {
          messageDoing_("Count of Node marked is 0");
          return 0;
        }
        if (services.prompter->ask(BoxKind::Confirmation,
                                   "Shall I print " + std::to_string(nodes.size()) + " Pages ?.",
                                   Answer::Ok | Answer::Cancel) != Answer::Ok) {
          messageDoing_("Cannel: Holder prints.");
          return 0;
        }
        return printNodes_("Prints MarkNode", "MarkNode Prints", nodes);
      });
}

int TFormMainScript::UIPrintFormat() {
  return runCommand_(*this, {"UIPrintFormat", kCheckBusy | kCommitBefore}, [this] {
    MemoNode* node = getCurMemoNode();
    if (!node) return -9;
    const std::string type = lowerField(*node, "Content-Type");
    if (!type.empty() && type.find("text") == std::string::npos) {
      messageDoing_("Could not open Print Dialog. Because you select text Memo Node! ");
      return -1;
    }
    TaskScope scope(*this, "print1");
    if (!scope.began()) return kRefusedBusy;
    aStringsPrinter.setFileName_(titleOf(*node));
    if (!TFormStringsPrint::execute_(&aStringsPrinter, *services.printers, node->aMemo,
                                     services.clock->now(), this)) {
      scope.end_("Cancel: print1");
      return -6;
    }
    std::string why;
    if (saveStringsPrinter_(aSettings.programDir, aStringsPrinter, &why) != 0) {
      scope.end_("Failure: print1: " + why);
      return -1;
    }
    scope.end_("Done: print1");
    return 0;
  });
}

int TFormMainScript::UIPrinterSetup() {
  return runCommand_(*this, {"UIPrinterSetup", kCheckBusy}, [this] {
    const std::unique_ptr<QPrinter> printer = services.printers->printer();
    if (!printer) {
      messageDoing_("ERROR: Printer Setup. No printer can print.");
      return -1;
    }
    QPageSetupDialog dialog(printer.get(), this);
    if (dialog.exec() != QDialog::Accepted) return -6;
    services.printers->keepSetup_(*printer);
    return 0;
  });
}

}  // namespace vrk
