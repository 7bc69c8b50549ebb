#pragma once
// One memo record of a holder. The outline is not nested in the file: a
// child's ParentNodeID holds its parent's UID.
#include <memory>
#include <string>
#include <string_view>

#include "model/MemoBasic.h"

namespace vrk {

class MemoHolderBase;

class MemoNode : public MemoBasic {
 public:
  using MemoBasic::MemoBasic;

  // The content named by a link was loaded since the holder was read.
  bool flagContentLoaded = false;

  int clear() override;
  std::unique_ptr<TObjectNamed> deepCopy() const override;
  void readTagNode_(const TTAGNode& element) override;  // a Record element
  std::string getTempDir() const override;
  // Virtual operations appended after those of MemoBasic.
  // A copy with the same owner, not listed in the holder.
  virtual std::unique_ptr<MemoNode> cloneNode() const;
  // Parent null makes the node top-level.
  virtual void setParentNode_(MemoNode* parent);
  // Depth in the holder's tree view; -1 without a tree item.
  virtual int getLevel() const;
  // Null without ParentNodeID, without holder, or when the node lies on a
  // ParentNodeID cycle.
  virtual MemoNode* getParentNode() const;
  // The view binding also ticks the node in its check list.
  virtual void putMarked_(bool flag);

  // --- the Record element
  // Binary contents are embedded as base64 memo lines only while writing; the
  // memo of a binary node is empty afterwards.
  void writeRecord_(StringList& lines, std::string_view indent);
  // Memo lines of a base64 record into the content's data: 0, or -1 when the
  // encoding is not base64.
  int decodeContent();

  bool isMarked() const;
  // Raw values; `"text"` and `"8bit"` when the field is empty.
  std::string getContentType() const;
  std::string getContentEncoding() const;
  void putContentType_(std::string_view type);

  // --- the holder
  TObjectNamed* getHolder() const { return aOwner; }
  MemoHolderBase* getHolderBase() const;
  std::string getHolderName() const;
  bool isReadOnlyInherited() const;
  // The node's value, else the holder's, else the memo file's.
  std::string getFieldInherited_(std::string_view key) const;

  // --- paths
  std::string getFilePath() const { return resolvePath_("Filename"); }
  // "." relative to the holder file's directory, "$parent" from the first
  // ancestor with a path, "$NAME" from the holder's "*$" node.
  std::string resolvePath_(std::string_view key) const;
  // The quoted relative value stored, or empty when nothing changed.
  std::string makePathRelative_(std::string_view key, std::string_view baseDirectory);
  // 0 stored under the parent's directory, -2 parent elsewhere, -3 no parent;
  // -8 "$", -9 "." form, -10 no path (nothing changed).
  int makeParentRelative_(std::string_view key);

  std::string getHeadline() const;
  // loadContent_'s result + 1; 0 without a Filename.
  int loadLinkedContent();
  // This node's memo into lines with %HOLDER.NAME%, %NODE.NAME% (of target),
  // %DATE% and %TIME% replaced.
  int expandTemplate_(const TObjectNamed& target, StringList& lines) const;

 private:
  // The forms other than "$parent": ".", "$NAME" and plain values.
  std::string resolveValue_(const std::string& value) const;
  // The holder file's directory (else the current one), absolute, ending in "/".
  std::string baseDirectory_() const;
};

}  // namespace vrk
