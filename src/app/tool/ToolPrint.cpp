// vrk-tool print: memo text through the text printer's layout into a PDF,
// offscreen, as the window's print commands would print it.
#include "app/tool/ToolPrint.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/tool/ToolCommon.h"
#include "app/tool/ToolModel.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "platform/Path.h"
#include "platform/SjisBridge.h"
#include "platform/qt/QtSjis.h"
#include "print/PrintIniFile.h"
#include "print/qt/PrintDevice.h"
#include "text/CharEX.h"
#include "text/StringEX.h"

namespace vrk::tool {
namespace {

struct PrintArgs {
  std::string file, pdf, holder, node, settings;
  bool hasHolder = false, hasNode = false, hasSettings = false;
};

bool parse(const std::vector<std::string>& args, PrintArgs& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into, bool* seen) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      if (seen) *seen = true;
      return true;
    };
    if (a == "--pdf") {
      if (!value(out.pdf, nullptr)) return false;
    } else if (a == "--holder") {
      if (!value(out.holder, &out.hasHolder)) return false;
    } else if (a == "--node") {
      if (!value(out.node, &out.hasNode)) return false;
    } else if (a == "--settings") {
      if (!value(out.settings, &out.hasSettings)) return false;
    } else if (a.starts_with("--") || !out.file.empty()) {
      return false;
    } else {
      out.file = a;
    }
  }
  return !out.file.empty() && !out.pdf.empty();
}

// What the node print command prints of a node: the memo of a text node,
// the fields of a web address or a GIF picture, and a line naming any other
// node (its picture or document is not text).
StringList linesOf(const MemoNode& node, const std::string& holderName) {
  const std::string type = lowerCase_(unquote_(node.getContentType()));
  if (unquote_(node.getContentEncoding()) == "URL") return node.aFields;
  if (type.empty() || type.find("text") != std::string::npos) return node.aMemo;
  if (type == "image/gif") return node.aFields;
  return {"     " + holderName + " : " + node.getName()};
}

// A name of the command line in Shift_JIS.
std::optional<std::string> sjisArg(const std::string& utf8) {
  std::optional<std::string> sjis = utf8ToSjis(utf8);
  if (!sjis) std::fprintf(stderr, "vrk-tool: cannot name %s in Shift_JIS\n", utf8.c_str());
  return sjis;
}

}  // namespace

int runPrint(const std::vector<std::string>& args) {
  PrintArgs a;
  if (!parse(args, a)) {
    std::fprintf(stderr,
                 "usage: vrk-tool print FILE --pdf OUT.pdf [--holder NAME] [--node NAME] "
                 "[--settings vrkprint.ini]\n");
    return kExitUsage;
  }
  std::optional<std::string> holderName, nodeName;
  if (a.hasHolder && !(holderName = sjisArg(a.holder))) return kExitUsage;
  if (a.hasNode && !(nodeName = sjisArg(a.node))) return kExitUsage;

  StringList errors;
  TStringsPrinter settings;
  if (a.hasSettings) {
    const std::optional<std::string> stored = fromOsPath_(a.settings);
    if (!stored || !isFile_(*stored)) {
      std::fprintf(stderr, "vrk-tool: cannot open %s\n", a.settings.c_str());
      return kExitUsage;
    }
    if (loadPrinterSettings_(*stored, kPrintIniSection, kPrintIniKey, settings) < 0)
      errors.push_back("settings read only in part (corrupt stream): " + *stored);
  }

  // Printing needs a GUI application; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "vrk-tool";
  static char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  const int result = withOpenedInput(a.file, errors, [&](MemoFile& file, MemoHolder* lone) {
    MemoHolder* holder = lone ? lone : file.holderAt_(0);
    if (holderName) holder = file.findHolder_(*holderName);
    if (!holder) {
      std::fprintf(stderr, "vrk-tool: no holder %s in %s\n", a.holder.c_str(), a.file.c_str());
      return kExitUsage;
    }
    std::vector<MemoNode*> nodes;
    if (nodeName) {
      if (MemoNode* node = holder->findNode_(*nodeName))
        nodes.push_back(node);
      else {
        std::fprintf(stderr, "vrk-tool: no node %s in the holder\n", a.node.c_str());
        return kExitUsage;
      }
    } else {
      for (int i = 0; i < holder->countOfNodes(); ++i) nodes.push_back(holder->nodeAt_(i));
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(a.pdf));
    printer.setDocName(sjisToQString(holder->getName()));
    QPainter painter;
    if (!painter.begin(&printer)) {
      errors.push_back("cannot write " + a.pdf);
      return kExitIncomplete;
    }
    const LocalTime now = SystemClock::instance().now();
    bool pageUsed = false;
    int printed = 0;
    for (MemoNode* node : nodes) {
      TStringsPrinter forNode = settings;
      forNode.setFileName_(node->getName() + " : " + unquote_(node->getContentType()));
      LaidOutPages pages;
      layOutFor_(forNode, linesOf(*node, holder->getName()), &printer, now, nullptr, pages);
      const std::string why = printPagesOn_(painter, printer, forNode, pages, pageUsed, &printed);
      if (!why.empty()) {
        errors.push_back(why + ": " + a.pdf);
        break;
      }
    }
    painter.end();
    if (printer.printerState() == QPrinter::Error) errors.push_back("cannot write " + a.pdf);
    std::printf("{\"nodes\":%zu,\"pages\":%d}\n", nodes.size(), printed);
    return 0;
  });
  if (result != 0 && errors.empty()) return result;
  return result == kExitUsage ? result : exitWith(errors);
}

}  // namespace vrk::tool
