// Mail of TFormMainScript: the send window on the current node.
#include "commands/TFormMainScript.h"
#include "mail/qt/TFormSendMail2.h"
#include "shell/CommandFrame.h"

namespace vrk {

int TFormMainScript::UISendMail() {
  return runCommand_(*this, {"UISendMail", kCheckBusy | kCommitBefore}, [this] {
    MemoNode* node = getCurMemoNode();
    if (!node) return -8;
    if (!aFormSendMail2) aFormSendMail2 = new TFormSendMail2(*this);
    aFormSendMail2->fillFromNode_(*node);
    aFormSendMail2->showNormal();
    aFormSendMail2->raise();
    return 0;
  });
}

}  // namespace vrk
