#pragma once
// The node editor frame: the name line, the node's body (the memo editor or
// a viewer chosen by the content), the comment box and the fields box, with
// their context menus. It sits in the main window (in the holder frame) and
// in every node window.
// The commands of the menus are in TFrameMemoNodeCommands.cpp, the menus
// themselves and the paste word list in TFrameMemoNodeMenus.cpp.
//
// Text is committed through the Unicode bridge line by line: a line the user
// did not change keeps the bytes it was stored with, so that duplicate codes
// and bytes that are no Shift_JIS survive a visit.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/LiveRegistry.h"
#include "model/ShownLines.h"
#include "shell/FrameSlots.h"
#include "shell/NodeBodies.h"
#include "text/StringList.h"

class QCursor;
class QLabel;
class QMenu;
class QSplitter;

namespace vrk {

class AgentAPLAbs;
class MemoNode;
class TFormMainBase0007;

// The window a frame belongs to: the main window or a node window.
class TFrameOwner {
 public:
  virtual ~TFrameOwner() = default;
  // The main window itself, or the one a node window was opened from; null
  // for a node window opened on its own.
  virtual TFormMainBase0007* mainForm() const = 0;
  virtual bool isMainForm() const = 0;
  virtual void showMessage_(std::string_view text) = 0;
  virtual AgentAPLAbs* agent() = 0;
  virtual QWidget* ownerWindow() = 0;
};

// The owner of the main window's frame.
class TMainFormOwner final : public TFrameOwner {
 public:
  explicit TMainFormOwner(TFormMainBase0007& form) : aForm(form) {}
  TFormMainBase0007* mainForm() const override { return &aForm; }
  bool isMainForm() const override { return true; }
  void showMessage_(std::string_view text) override;
  AgentAPLAbs* agent() override;
  QWidget* ownerWindow() override;

 private:
  TFormMainBase0007& aForm;
};

class TFrameMemoNode final : public QWidget, public NodeEditorSlot {
  Q_OBJECT

 public:
  // The frame keeps owner (not owned); it may be null: then bodies are not shown.
  TFrameMemoNode(TFrameOwner* owner, QWidget* parent);
  // The same, keeping the owner (the main window's frame keeps its TMainFormOwner).
  TFrameMemoNode(std::unique_ptr<TFrameOwner> owner, QWidget* parent);
  ~TFrameMemoNode() override;

  // --- NodeEditorSlot
  QWidget* widget() override { return this; }
  void showNode_(MemoNode* node) override;
  void commitNode() override { UI2Model(); }
  QPlainTextEdit* memoEditor() override { return aMemo; }
  void setReadOnly_(bool readOnly) override;

  // --- the frame's operations
  void Model2UI();
  void UI2Model();
  MemoNode* getNode() const { return aNode.get(); }
  TFrameOwner* getOwner() const { return aOwner; }
  bool isReadOnly() const { return flagReadOnly; }
  // The body shown belongs to another node (a Shadow's target) or is the
  // "Not Found" line: the memo editor shows it read-only and never commits it.
  bool isMemoBorrowed() const { return aMemoShown == MemoShown::Borrowed; }
  bool isMemoShown() const { return aMemoShown != MemoShown::No; }
  // The viewer of the kind when it was made and is shown; null otherwise.
  TNodeBody* shownBody() const;

  QPlainTextEdit* commentEditor() const { return aComment; }
  QPlainTextEdit* fieldsEditor() const { return aFields; }
  QLabel* nameLine() const { return aNameLine; }
  const std::string& getNameLine() const { return aNameText; }
  void putNameLine_(std::string_view name);
  QLabel* memoStatus() const { return aMemoStatus; }

  // Collapsing keeps the height to restore and leaves 1 pixel.
  bool isCommentExpanded() const { return !flagCommentCollapsed; }
  bool isFieldsExpanded() const { return !flagFieldsCollapsed; }
  void setCommentExpanded_(bool expanded);
  void setFieldsExpanded_(bool expanded);

  // The owner's focused multi-line editor when it is one of the frame's,
  // else the memo editor.
  QPlainTextEdit* activeEditor() const;
  // The selection (when not blank) becomes the undo text, the text replaces
  // it and is left selected.
  void insertText_(QPlainTextEdit* editor, const QString& text);
  void message_(std::string_view text);
  void setCursor_(const QCursor& cursor);
  // The rename dialog for the node; refused for read-only nodes and frames.
  void renameByDialog();
  // Renames the node through its holder; the name line shows the name given.
  void renameNode_(std::string_view name);
  const std::string& getUndoText() const { return aUndoText; }

  // --- commands of the context menus (they act on the active editor)
  enum class AfterSelectAll { Nothing, Copy, Cut, Paste };
  // Copy+: the name line and the memo, then the boxes asked for, each after
  // a marker line. NameMemo adds the comment too, without a marker.
  enum class CopyParts { NameMemo, NameMemoComment, NameMemoCommentFields };
  // How a text becomes the node's name: it replaces it, is added at its end,
  // or is added after a blank.
  enum class NameChange { Replace, Add, AddAfterBlank };
  // What of the caret's field line (key="value") is copied.
  enum class FieldPart { Key, Value, QuotedValue, ValueFileName };
  void copySelection_(bool cut);
  void pasteClipboard();
  void selectAllThen_(AfterSelectAll then);
  void pasteName();
  void pasteDate();
  void pasteTime();
  void pasteBuffer();
  void pasteLine();
  void pasteMemoIntoComment();
  void pasteHistory_(int index);
  void copyParts_(CopyParts parts);
  void markToName_(NameChange how);
  void explorer();
  void shellSelection();
  void eval();
  void memoToFields();
  void fieldsToMemo();
  void toEncoding_(std::string_view quotedEncoding);
  // The name line menu.
  void copyName();
  void clipboardToName_(NameChange how);
  void extractFilenameOfName();
  void markName_(std::string_view mark);
  // The fields menu, on the caret's line.
  void copyFieldPart_(FieldPart part);
  void cutFieldLine();
  void cutFieldValue();
  void pastePlusPlus();
  void pasteFieldItem_(std::string_view text);
  void pasteFieldUID();
  void pasteFieldTime_(std::string_view key);
  void sortLines();

  // The menus as they are shown (built anew each time).
  QMenu* buildMemoMenu_(QWidget* parent);
  QMenu* buildCommentMenu_(QWidget* parent);
  QMenu* buildFieldsMenu_(QWidget* parent);
  QMenu* buildNameMenu_(QWidget* parent);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether the memo editor is on show, and with whose memo: the node's own
  // (committed) or a borrowed one (only shown).
  enum class MemoShown { No, Own, Borrowed };

  void showBody();
  void hideBodies();
  TNodeBody* bodyOf_(BodyKind kind);
  void showMemoText_(const StringList& lines, MemoShown whose);
  void showWeb_(MemoNode& node);
  void fillBox_(QPlainTextEdit* box, ShownLines& shown, const StringList& lines);
  // The box's lines against those shown; a refusal is told to the user.
  std::optional<StringList> commitBox_(const ShownLines& shown, std::string_view text);
  void applyReadOnly();
  void showCaret_(QPlainTextEdit* editor, bool toStatus);
  bool commitMemo_(MemoNode& node);
  bool commitComment_(MemoNode& node);
  bool commitFields_(MemoNode& node);
  bool commitName_(MemoNode& node);
  void stamp_(MemoNode& node, bool changed);
  std::string authorText() const;
  std::string timeStamp_(std::string_view pattern) const;
  bool refuseRename_();
  void addPasteWord_(std::string_view text);
  std::string clipboardText() const;
  void setClipboardText_(std::string_view text);
  std::string selectedText_(QPlainTextEdit* editor) const;
  std::string editorText_(QPlainTextEdit* editor) const;
  std::string caretLine_(QPlainTextEdit* editor) const;
  void replaceCaretLine_(QPlainTextEdit* editor, std::string_view line, bool remove);
  void popupMenu_(QMenu* menu, QWidget* on, const QPoint& at);
  // What a box gives back, as its lines are committed: UTF-8.
  static std::string boxUtf8_(const QPlainTextEdit* box);
  static void markChanged_(const MemoNode& node);

  static constexpr std::string_view kEncoding = "Content-Transfer-Encoding";

  std::unique_ptr<TFrameOwner> aOwnedOwner;
  TFrameOwner* aOwner;
  WeakRef<MemoNode> aNode;       // the node may go while it is shown
  WeakRef<MemoNode> aShownNode;  // whose body is shown (a Shadow's target)
  bool flagReadOnly = false;
  std::string aUndoText;
  std::string aNameText;   // the name line's bytes
  std::string aNameShown;  // the node's name as last shown or given
  int savedFieldsHeight = 0;
  int savedCommentHeight = 0;
  bool flagCommentCollapsed = false;
  bool flagFieldsCollapsed = false;
  MemoShown aMemoShown = MemoShown::No;
  bool flagBodyHidden = false;  // a missing linked file: nothing is shown

  QLabel* aNameLine;
  QSplitter* aSplitter;
  QWidget* aBodyArea;
  QWidget* aMemoPanel;
  QPlainTextEdit* aMemo;
  QLabel* aMemoStatus;
  QPlainTextEdit* aComment;
  QPlainTextEdit* aFields;
  std::map<BodyKind, TNodeBody*> aBodies;  // made on first need, owned as widgets
  ShownLines shownMemo, shownComment, shownFields;
};

}  // namespace vrk
