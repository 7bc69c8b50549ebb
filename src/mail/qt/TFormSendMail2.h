#pragma once
// The send-mail window: the current node's memo as a plain-text mail, its
// address fields taken from the node, its holder or the memo file, and
// written back to the node ("Set Node") or its holder ("Set Holder").
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <map>
#include <string>

#include "mail/MailMessage.h"
#include "mail/qt/QtSmtpSession.h"
#include "model/LiveRegistry.h"

namespace vrk {

class MemoBasic;
class MemoNode;
class TFormMainBase0007;

class TFormSendMail2 : public QWidget {
  Q_OBJECT

 public:
  explicit TFormSendMail2(TFormMainBase0007& form);

  // The fields and the text from the node, which "Set Node" writes back.
  void fillFromNode_(MemoNode& node);
  MailFields fields() const;

  // The buttons.
  void sendMail_();
  void connectServer_();
  void disconnectServer_();
  int setNode_();    // 0, or -1 refused (no node, read-only)
  int setHolder_();  // the same for the node's holder

  QLineEdit* edit_(const std::string& name) const { return aEdits.at(name); }
  QPlainTextEdit* textBox_() const { return aText; }
  QPushButton* button_(const QString& caption) const;
  QString panelText_(int panel) const { return aPanels[panel]->text(); }
  QtSmtpSession& session() { return aSession; }

 private:
  // Where and how to connect; nullopt (the reason on the status line) when
  // the fields name no server or the password is not given.
  std::optional<QtSmtpSession::Target> target_();
  // A step or result on the main window's status line and in its log.
  void report_(const QString& text);
  void showResult_(const QString& text);
  void mailFinished_(bool sent, const QString& failure);
  // Shared by the two "Set" buttons: the address fields on `object`.
  void writeAddressFields_(MemoBasic& object);

  TFormMainBase0007& aForm;
  QtSmtpSession aSession;
  std::map<std::string, QLineEdit*> aEdits;
  QPlainTextEdit* aText = nullptr;
  QLabel* aPanels[2] = {nullptr, nullptr};
  WeakRef<MemoNode> aNode;
  LocalTime aSendStarted;
};

}  // namespace vrk
