#pragma once
// Node windows: one node in a window of its own, with its own node editor
// frame, status bar and agent. The node records its window while it is open;
// closing the window commits the edits and lets the main window show the
// node again.
#include <QMainWindow>
#include <QPointer>
#include <string>
#include <string_view>

#include "model/LiveRegistry.h"
#include "model/AgentAPLAbs.h"
#include "shell/TFrameMemoNode.h"

class QAction;
class QCheckBox;
class QLabel;

namespace vrk {

class MemoNode;
class TFormMainBase0007;
class TFormMemoNode;

// A node window's agent: its status bar for messages, its main window for
// "getUIInternet" ("true" without one); never a break.
class AgentAPLMemoNode final : public AgentAPLAbs {
 public:
  explicit AgentAPLMemoNode(TFormMemoNode& form) : aForm(form) {}
  bool getFlagBreak() override { return false; }
  int sendMessage_(std::string_view text) override;
  std::string query_(std::string_view key) override;

 private:
  TFormMemoNode& aForm;
};

class TFormMemoNode : public QMainWindow, public TFrameOwner {
  Q_OBJECT

 public:
  // A window of the main window (owned by it), or on its own without one.
  // It deletes itself when closed.
  explicit TFormMemoNode(TFormMainBase0007* main, bool readOnly = false);
  ~TFormMemoNode() override;

  // The node's window: the one it has, else a new one. Shown and raised.
  static TFormMemoNode* openFor_(TFormMainBase0007* main, MemoNode& node, bool readOnly);

  // Shows the node in the frame; the node records this window.
  void showNode_(MemoNode* node);
  MemoNode* getNode() const { return aFrame->getNode(); }
  TFrameMemoNode& frame() { return *aFrame; }
  std::string statusText() const;

  // --- TFrameOwner
  TFormMainBase0007* mainForm() const override { return aMain.data(); }
  bool isMainForm() const override { return false; }
  void showMessage_(std::string_view text) override;
  AgentAPLAbs* agent() override { return &aAgent; }
  QWidget* ownerWindow() override { return this; }

  // --- commands
  void saveAs();
  void print();
  void hardCopy();
  void showComment_(bool shown);
  void showFields_(bool shown);

  QCheckBox* CheckBoxUIReadOnly = nullptr;
  QAction* ActionShowComment = nullptr;
  QAction* ActionShowField = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void detach_();
  int printPicture_();

  QPointer<TFormMainBase0007> aMain;
  AgentAPLMemoNode aAgent{*this};
  TFrameMemoNode* aFrame;
  QLabel* aStatus;
};

// The read-only node window: its frame refuses edits and its switch is fixed.
class TFormMemoNodeRO final : public TFormMemoNode {
  Q_OBJECT

 public:
  explicit TFormMemoNodeRO(TFormMainBase0007* main) : TFormMemoNode(main, true) {}
};

}  // namespace vrk
