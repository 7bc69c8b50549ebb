#include "commands/TFormMainScript.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPlainTextEdit>

#include "platform/Path.h"
#include "platform/qt/QtSjis.h"
#include "shell/FrameSlots.h"
#include "shell/TFormLog.h"

namespace vrk {

int TFormMainScript::UI2Model() {
  getFrameMemoHolder()->nodeEditor().commitNode();
  return 0;
}

void TFormMainScript::updateCaption() {
  const std::string path = aFile->getFilePathMXA();
  setWindowTitle(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + " " +
                 sjisToQString(path));
  setWindowIconText(sjisToQString(extractFileName_(path)));
  applyFileColor();
}

int TFormMainScript::showCurMemoNodeInList() {
  return getFrameMemoHolder()->showNodeInList_(getCurMemoNode());
}

void TFormMainScript::Model2UI() {
  NodeEditorSlot& editor = getFrameMemoHolder()->nodeEditor();
  editor.showNode_(getCurMemoNode());
  editor.widget()->setVisible(true);
  showReadOnlyMark();
}

QPlainTextEdit* TFormMainScript::getLogMemo() { return getFormLog()->memo(); }

std::string TFormMainScript::getTempDir() const { return aSettings.getTempDir(); }

void TFormMainScript::putTempDir_(std::string_view dir) {
  aSettings.putTempDir_(dir);
  aModelPorts.putTempDir_(aSettings.tempDir);
}

}  // namespace vrk
