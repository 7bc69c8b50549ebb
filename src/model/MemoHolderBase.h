#pragma once
// What a memo node needs from the holder that lists it. The holder class
// implements this beside its MemoBasic base; a node reaches it through its
// owner (MemoNode::getHolderBase).
#include <string>
#include <string_view>

namespace vrk {

class MemoNode;

class MemoHolderBase {
 public:
  virtual ~MemoHolderBase() = default;

  // A fresh UID not yet in the holder's UID index.
  virtual std::string genUniqUID() = 0;
  virtual MemoNode* findNodeByUID_(std::string_view uid) = 0;
  virtual MemoNode* findNode_(std::string_view name) = 0;  // letter case ignored
  // The holder file's stored path.
  virtual std::string getFileName() = 0;
  // Ends in "/".
  virtual std::string getTempDir() const = 0;
  // The holder's FlagReadOnly, else its memo file's.
  virtual bool isReadOnlyHolder() const = 0;
  // The holder's raw field value, else its memo file's; "" when neither has it.
  virtual std::string getFieldInherited_(std::string_view key) const = 0;
  // The memo file's holder of that name, loaded first; null when there is none.
  virtual MemoHolderBase* findHolderOfMemoFile_(std::string_view name) = 0;
};

}  // namespace vrk
