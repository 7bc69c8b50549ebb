// The search commands of the window: the scan windows over one holder and
// over the holders of the memo file, and the new child of the lines of the
// current node that match a keyword.
#include "commands/TFormMainScript.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/NameEdits.h"
#include "platform/qt/QtSjis.h"
#include "search/TFormEditSelNode.h"
#include "search/TFormField.h"
#include "search/TFormGrep.h"
#include "search/TFormGroupTree.h"
#include "search/TFormScanHolder.h"
#include "search/TFormScanHolders.h"
#include "search/TFormScanNode.h"
#include "search/TFormSelField.h"
#include "shell/CommandFrame.h"
#include "text/CharEX.h"
#include "text/LineLists.h"

namespace vrk {

void TFormMainScript::addKeywordHistory_(std::string_view keyword) {
  pushFrontUnique_(aKeywordHistory, keyword, true);
}

TFormEditSelNode* TFormMainScript::getFormEditSelNode() {
  if (!aFormEditSelNode) aFormEditSelNode = new TFormEditSelNode(*this, this);
  return aFormEditSelNode;
}

namespace {

// The scan windows hand their entries to the selected-node editor.
EditSelectHandler editSelectOf(TFormMainScript& form) {
  return [&form](const ScanEntries& entries) {
    TFormEditSelNode* editor = form.getFormEditSelNode();
    if (!editor) return false;
    editor->putNodes_(entries, true);
    editor->showNormal();
    editor->raise();
    return true;
  };
}

}  // namespace

TFormScanHolders* TFormMainScript::getFormScanHolders() {
  if (!aFormScanHolders) {
    aFormScanHolders = new TFormScanHolders(*this, aKeywordHistory, this);
    aFormScanHolders->putEditSelect_(editSelectOf(*this));
  }
  return aFormScanHolders;
}

TFormScanHolder* TFormMainScript::getFormScanHolder() {
  if (!aFormScanHolder) {
    aFormScanHolder = new TFormScanHolder(*this, aKeywordHistory, this);
    aFormScanHolder->putEditSelect_(editSelectOf(*this));
  }
  return aFormScanHolder;
}

TFormField* TFormMainScript::getFormField() {
  if (!aFormField) {
    aFormField = new TFormField(*this, this);
    aFormField->putEditSelect_(editSelectOf(*this));
  }
  return aFormField;
}

int TFormMainScript::UIShowScanField() {
  return runCommand_(*this, {"UIShowScanField", kCheckNone}, [this] {
    TFormField* form = getFormField();
    if (!form) {
      messageDoing_("ERROR: TFormField.create on UIShowScanField ");
      return -1;
    }
    form->showFor_();
    messageDoing_("Show FormField " + now_("yyyy/mm/dd hh:nn:ss:zzz"));
    return 0;
  });
}

TFormScanNode* TFormMainScript::getFormScanNode() {
  if (!aFormScanNode) aFormScanNode = new TFormScanNode(*this, this);
  return aFormScanNode;
}

int TFormMainScript::UIShowScanMemoNode() {
  return runCommand_(
      *this, {"UIShowScanMemoNode", kCheckBusy | kCheckHolder | kCommitBefore}, [this] {
        MemoNode* node = getCurMemoNode();
        if (!node) return -9;
        TFormScanNode* window = getFormScanNode();
        if (!window) {
          addLog_("ERROR: UIShowScanMemoNode");
          return -1;
        }
        window->setWindowTitle(sjisToQString("FormScanNode " + aFile->getName() + " : " +
                                             getCurHolder()->getName() + " : " + node->getName()));
        window->update_(node);
        window->exec();
        messageDoing_("Show FormScanMemoNode " + now_("yyyy/mm/dd hh:nn:ss:zzz"));
        return 0;
      });
}

int TFormMainScript::T_GroupTree() {
  if (!aFormGroupTree) aFormGroupTree = new TFormGroupTree(this);
  aFormGroupTree->show();
  return 0;
}

int TFormMainScript::T_SelField() {
  if (!aFormSelField) aFormSelField = new TFormSelField(this);
  aFormSelField->show();
  return 0;
}

int TFormMainScript::UIEditAllMemoNode() {
  return runCommand_(
      *this, {"UIEditAllMemoNode", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        TFormEditSelNode* editor = getFormEditSelNode();
        if (!editor) {
          messageDoing_("ERROR FormEditSelNode");
          return -1;
        }
        NodeList list;
        getCurHolder()->setNodeList_(list);
        ScanEntries entries;
        for (const auto& [name, node] : list) entries.push_back({name, node});
        editor->putNodes_(entries, false);
        editor->showNormal();
        editor->raise();
        messageDoing_("Show FormEditSelNode ");
        return 0;
      });
}

TFormGrep* TFormMainScript::getFormGrep() {
  if (!aFormGrep) aFormGrep = new TFormGrep(this);
  return aFormGrep;
}

int TFormMainScript::UIShowScanMemoHolders() {
  return runCommand_(*this, {"UIShowScanMemoHolders", kCheckNone}, [this] {
    TFormScanHolders* form = getFormScanHolders();
    if (!form) {
      addLog_("ERROR: UIShowScanMemoHolders");
      return -1;
    }
    form->showFor_();
    messageDoing_("Show FormScanHolders " + now_("yyyy/mm/dd hh:nn:ss:zzz"));
    return 0;
  });
}

int TFormMainScript::UIShowScanMemoHolder() {
  return runCommand_(*this, {"UIShowScanMemoHolder", kCheckHolder}, [this] {
    TFormScanHolder* form = getFormScanHolder();
    if (!form) {
      addLog_("ERROR: UIShowScanMemoHolder");
      return -1;
    }
    form->showFor_();
    messageDoing_("Show FormScanHolder " + now_("yyyy/mm/dd hh:nn:ss:zzz"));
    return 0;
  });
}

int TFormMainScript::UINewChildGrep(std::string_view keyword, int mode, bool ignore, bool numbered,
                                    bool negate) {
  return runCommand_(
      *this,
      {"UINewChildGrep", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly | kCommitBefore},
      [&] {
        TaskScope task(*this, "New Child Grep5");
        if (!task.began()) return kRefusedBusy;
        MemoNode* parent = getCurMemoNode();
        if (!parent) {
          task.end_("Failure: New Child Grep5");
          return -1;
        }
        StringList lines;
        grepLines_(&parent->aMemo, keyword, &lines, ignore, numbered, negate, mode);
        MemoNode* node = newMemoNodeKind_("", NodeKind::Text);
        if (!node) {
          task.end_("Failure: New Child Grep5");
          return -1;
        }
        node->putName_(node->getName() + " Grep " + std::string(keyword) + (negate ? " NOT " : ""));
        node->setParentNode_(parent);
        node->aMemo = std::move(lines);
        Model2UI();
        task.end_("Done: New Child Grep5 : " + std::string(keyword));
        return 0;
      });
}

int TFormMainScript::UINewChildGrepAny() {
  if (isBusy() || checkUIReadOnly() || checkHolderReadOnly()) return -1;
  TFormGrep* dialog = getFormGrep();
  if (dialog->exec() != QDialog::Accepted) {
    messageDoing_("Cancel \"New Child Grep\"");
    return -6;
  }
  const std::string keyword = dialog->keyword();
  if (trim_(keyword).empty()) {
    messageDoing_("Cancel \"New Child Grep Any\"");
    return -6;
  }
  dialog->rememberKeyword_(keyword);
  return UINewChildGrep(keyword, dialog->mode(), dialog->isIgnore(), dialog->isNumbered(),
                        dialog->isNot());
}

int TFormMainScript::UINewChildGrepCaption_(std::string_view caption) {
  if (isBusy() || checkUIReadOnly() || checkHolderReadOnly()) return -1;
  const TFormGrep* dialog = getFormGrep();
  return UINewChildGrep(caption, dialog->mode(), dialog->isIgnore(), dialog->isNumbered(),
                        dialog->isNot());
}

}  // namespace vrk
