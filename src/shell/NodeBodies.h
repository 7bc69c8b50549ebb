#pragma once
// The bodies of the node editor: what sits between its name line and its
// comment box. Text nodes are shown in the editor's own memo editor; the
// other kinds (pictures, web pages, brace-structured trees) in a viewer made
// by the maker registered for the kind. A kind without a maker shows one
// read-only line naming it, and leaves the node's data alone.
#include <QWidget>
#include <functional>
#include <string>

#include "text/StringList.h"

namespace vrk {

class MemoNode;
class TFrameMemoNode;

enum class BodyKind { Picture, Web, Tree };

// What a viewer is asked to show. Texts are Shift_JIS.
struct BodyRequest {
  MemoNode* node = nullptr;           // whose content it is (a Shadow node's target)
  std::string contentType;            // Picture and GIF pages: unquoted, as "image/png"
  const std::string* data = nullptr;  // Picture and GIF pages: the content's bytes
  std::string address;                // Web: the address or local file to open
  std::string html;                   // Web, when address is empty: the page itself
  std::string caption;                // Web: the caption line ("*Memo*" for a memo page)
  bool poser = false;                 // Tree: "Poser" (its special block names), else "PoserLike"
  bool readOnly = false;
};

// A viewer. It is a QWidget (widget() answers itself), owned by the frame it
// was made in, hidden and shown but never destroyed before the frame.
class TNodeBody {
 public:
  virtual ~TNodeBody() = default;
  virtual QWidget* widget() = 0;
  virtual void show_(const BodyRequest& request) = 0;
  // The user changed the tree; writeBack_ then rebuilds the memo from it.
  virtual bool isEdited() const { return false; }
  virtual void clearEdited() {}
  virtual void writeBack_(StringList& memo) { (void)memo; }
  virtual void setReadOnly_(bool readOnly) { (void)readOnly; }
};

// Makes the viewer on parent for a frame.
using BodyMaker = std::function<TNodeBody*(TFrameMemoNode& frame, QWidget* parent)>;

// The maker of a kind (replacing one registered before); an empty maker
// restores the stand-in. Frames ask for a viewer on first need, so a maker
// registered at start-up serves every frame.
void registerNodeBody_(BodyKind kind, BodyMaker maker);
TNodeBody* makeNodeBody_(BodyKind kind, TFrameMemoNode& frame, QWidget* parent);
const char* bodyKindName_(BodyKind kind);

// --- choosing the body

// How a node's content is shown, by Content-Transfer-Encoding and type.
struct BodyChoice {
  enum class Show { Nothing, Memo, Picture, GifPage, Web, Tree };
  Show show = Show::Memo;
  std::string contentType;  // unquoted
  bool poser = false;
};
BodyChoice chooseBody_(const MemoNode& node);

// A Shadow node (Content-Transfer-Encoding "Shadow") shows another node's
// body, named by its Filename. Chains are followed, each node once: a
// missing target or a cycle answers null. `node` itself when it is no shadow.
MemoNode* resolveShadow_(MemoNode& node);
bool isShadow_(const MemoNode& node);

}  // namespace vrk
