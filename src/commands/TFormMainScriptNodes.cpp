// The node commands of the window: new nodes of every kind and new children,
// clones with children, marked nodes, moving and copying nodes between
// holders, nodes generated from memo lines, numbers and days, and saving a
// node as a file.
#include <QBuffer>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPlainTextEdit>
#include <algorithm>
#include <map>
#include <memory>
#include <unordered_set>

#include "commands/TFormMainScript.h"
#include "model/MemoFile.h"
#include "model/NodeGenerators.h"
#include "model/TreeBuild.h"
#include "platform/Path.h"
#include "shell/CommandFrame.h"
#include "shell/MemoNodeUI.h"
#include "shell/TreeItemOps.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/JapaneseCodes.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::string_view kNothingMarked = "Nothing Node Marked.";
constexpr std::string_view kSameHolder = "Source Holder is Distination Holder !";
constexpr std::string_view kPictureFilter =
    "Picture(*.jpg;*.jpe;*.jpeg;*.bmp;*.gif;*.png;*.tif;*.tiff;*.ico;*.wmf;*.emf)|"
    "*.jpg;*.jpe;*.jpeg;*.bmp;*.gif;*.png;*.tif;*.tiff;*.ico;*.wmf;*.emf|All(*.*)|*.*";
constexpr unsigned kChange = kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly;

MemoNodeUI& asUI(MemoNode& node) { return static_cast<MemoNodeUI&>(node); }
MemoHolderUI& asUI(MemoHolder& holder) { return static_cast<MemoHolderUI&>(holder); }

void closeNodeWindow(MemoNode& node) {
  if (QWidget* window = asUI(node).aNodeForm) window->close();
}

// A node of a subtree: its name in the holder, and its parent's place in the
// list (-1 for the top).
struct SubtreeEntry {
  std::string name;
  MemoNode* node;
  int parent;
};

// The node and its descendants in tree order: from the tree when the node is
// in one, else from the holder's parent links. A snapshot, so that copies
// made into the same holder are never copied again.
std::vector<SubtreeEntry> subtreeOf(MemoHolder& holder, MemoNode& root) {
  std::vector<SubtreeEntry> list;
  if (TNodeTreeItem* top = asUI(root).aUITN) {
    std::vector<std::pair<QTreeWidgetItem*, int>> pending{{top, -1}};
    while (!pending.empty()) {
      const auto [item, parent] = pending.back();
      pending.pop_back();
      const int index = static_cast<int>(list.size());
      list.push_back({nameOfItem_(*item), static_cast<TNodeTreeItem*>(item)->node, parent});
      for (int i = item->childCount() - 1; i >= 0; --i) pending.emplace_back(item->child(i), index);
    }
    return list;
  }
  const int count = holder.countOfNodes();
  std::vector<std::string> uids, parents;
  std::vector<TreeLink> links;
  for (int i = 0; i < count; ++i) {
    uids.push_back(unquote_(holder.nodeAt_(i)->getField_("UID")));
    parents.push_back(unquote_(holder.nodeAt_(i)->getField_("ParentNodeID")));
  }
  for (int i = 0; i < count; ++i) links.push_back({uids[i], parents[i]});
  const std::vector<int> parentOf = computeTreeParents_(links);
  std::vector<std::vector<int>> children(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    if (parentOf[i] >= 0) children[static_cast<std::size_t>(parentOf[i])].push_back(i);
  std::vector<std::pair<int, int>> pending{{holder.indexOfNode_(&root), -1}};
  while (!pending.empty()) {
    const auto [at, parent] = pending.back();
    pending.pop_back();
    if (at < 0) continue;
    MemoNode* node = holder.nodeAt_(at);
    const int index = static_cast<int>(list.size());
    list.push_back({holder.getNameChild_(node), node, parent});
    const std::vector<int>& below = children[static_cast<std::size_t>(at)];
    for (auto child = below.rbegin(); child != below.rend(); ++child)
      pending.emplace_back(*child, index);
  }
  return list;
}

// Adds copies of the subtree to target, each with a fresh UID and its parent
// the copy of its source's parent. Answers the copies, in the same order.
std::vector<MemoNode*> copySubtree(const std::vector<SubtreeEntry>& subtree, MemoHolder& target) {
  std::vector<MemoNode*> copies;
  for (const SubtreeEntry& entry : subtree) {
    std::unique_ptr<MemoNode> copy = entry.node->cloneNode();
    MemoNode* made = copy.get();
    target.addNode_(std::move(copy), entry.name);
    made->putField_("UID", quoted_(target.genUniqUID()));
    copies.push_back(made);
  }
  for (std::size_t i = 0; i < subtree.size(); ++i) {
    const int parent = subtree[i].parent;
    if (parent >= 0) copies[i]->setParentNode_(copies[static_cast<std::size_t>(parent)]);
  }
  return copies;
}

// The marked nodes in display order, with their names.
NodeList markedOf(MemoHolder& holder) {
  NodeList marked;
  holder.listMarked_(marked);
  return marked;
}

std::string lastPathPart(const std::string& address) {
  std::string path = address;
  while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isPictureName(const std::string& path) {
  static constexpr std::string_view kPictures[] = {".jpg", ".jpe",  ".jpeg", ".bmp", ".gif", ".png",
                                                   ".tif", ".tiff", ".ico",  ".wmf", ".emf"};
  const std::string ext = lowerCase_(extractFileExt_(path));
  return std::find(std::begin(kPictures), std::end(kPictures), ext) != std::end(kPictures);
}

// The icon the desktop shows for the file, as the bytes of an ".ico" file.
std::string fileIconBytes(const std::string& path) {
  const std::optional<std::string> os = toOsPath_(path);
  if (!os) return {};
  const QIcon icon = QFileIconProvider().icon(QFileInfo(QString::fromStdString(*os)));
  const QImage image = icon.pixmap(32, 32).toImage();
  if (image.isNull()) return {};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "ICO")) return {};
  return bytes.toStdString();
}

}  // namespace

// --- new nodes

int TFormMainScript::newNodeCommand_(std::string_view command, std::string_view task,
                                     std::string_view name, NodeKind kind, bool asChild,
                                     std::string_view done, std::string_view failure) {
  return runCommand_(*this, {command, kCheckUIReadOnly | kCheckHolderReadOnly}, [&] {
    MemoNode* parent = getCurMemoNode();
    if (asChild && !parent) return -9;
    TaskScope scope(*this, task);
    if (!scope.began()) return kRefusedBusy;
    MemoNode* node = newMemoNodeKind_(name, kind);
    if (!node) {
      scope.end_(failure);
      return -1;
    }
    if (asChild) node->setParentNode_(parent);
    Model2UI();
    scope.end_(std::string(done) + node->getName());
    return 0;
  });
}

int TFormMainScript::UINewChild() {
  return newNodeCommand_("UINewChild", "New Child", "", NodeKind::Text, true,
                         "Done: New Child : ", "Failure: New Child");
}

int TFormMainScript::UINewChildConvert(std::string_view name) {
  const std::string task = "New Child " + std::string(name);
  return runCommand_(*this, {task, kCheckUIReadOnly | kCheckHolderReadOnly | kCommitBefore}, [&] {
    MemoNode* source = getCurMemoNode();
    if (!source) {
      messageDoing_("ERROR: Current MemoNode = nil");
      return -9;
    }
    if (source->getField_("Content-Transfer-Encoding") == "\"binary\"") {
      messageDoing_("Stop: Current MemoNode is binary.");
      return -2;
    }
    TaskScope scope(*this, task);
    if (!scope.began()) return kRefusedBusy;
    const std::string sourceName = source->getName();
    const std::string filename = unquote_(source->getField_("Filename"));
    StringList converted;
    if (name == "EUC2SJIS")
      eucToSjisList_(source->aMemo, converted);
    else if (name == "JIS2SJIS")
      jisToSjisList_(source->aMemo, converted);
    else if (name == "SJIS2JIS")
      sjisToJisList_(source->aMemo, converted);
    else
      converted = source->aMemo;
    MemoNode* child = newMemoNodeKind_(sourceName + " " + std::string(name), NodeKind::Text);
    if (!child) {
      scope.end_("Failure: " + task);
      return -1;
    }
    child->setParentNode_(source);
    child->aMemo = std::move(converted);
    // The copy is named for what it now holds; a node without a file gets none.
    if (!filename.empty())
      child->putField_("Filename",
                       quoted_(changeFileExt_(filename, name == "SJIS2JIS" ? ".jis" : ".sjis")));
    Model2UI();
    scope.end_("Done: " + task + " : " + child->getName());
    return 0;
  });
}

int TFormMainScript::UINewNodeFile() {
  return runCommand_(
      *this, {"UINewNodeFile", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        const std::optional<std::string> path =
            services.prompter->openFileName("", aFile->getDirectory(), aOpenFilter);
        if (!path) {
          messageDoing_("CANCEL: New MemoNode File");
          return -6;
        }
        TaskScope task(*this, "New MemoNode File " + *path);
        if (!task.began()) return kRefusedBusy;
        MemoNode* node = newMemoNodeKind_(*path, NodeKind::Text);
        Model2UI();
        task.end_((node ? "Done: New MemoNode File " : "Failure: New MemoNode File ") + *path);
        return node ? 0 : -1;
      });
}

int TFormMainScript::UINewNodeImage() {
  return newNodeCommand_("UINewNodeImage", "New MemoNode Image", "", NodeKind::Image, false,
                         "Done: New MemoNode Image", "Failure: New MemoNode Image") == 0
             ? 0
             : -1;
}

int TFormMainScript::UINewChildImage() {
  return newNodeCommand_("UINewChildImage", "New Child Image", "", NodeKind::Image, true,
                         "Done: New Child Image ", "Failure: New Child Image");
}

int TFormMainScript::newImageScreen_(bool asChild) {
  const std::string task = asChild ? "New Child Image Screen" : "New MemoNode Image Screen";
  return runCommand_(*this, {task, kCheckUIReadOnly | kCheckHolderReadOnly}, [&] {
    MemoNode* parent = getCurMemoNode();
    if (asChild && !parent) return -9;
    TaskScope scope(*this, task);
    if (!scope.began()) return kRefusedBusy;
    MemoNode* node = newMemoNodeKind_("", NodeKind::Image);
    if (node && asChild) node->setParentNode_(parent);
    // A node without the screen's picture is no screen image.
    const bool pictured = node && putImageContent_(*node, grabScreenImage_());
    if (node) {
      getCurHolder()->flagChanged = true;
      Model2UI();
    }
    scope.end_(pictured ? "Done: New Node Image Screen" : "failure: New Node Image Screen");
    return pictured ? 0 : -6;
  });
}

int TFormMainScript::UINewNodeImageScreen() { return newImageScreen_(false); }
int TFormMainScript::UINewChildImageScreen() { return newImageScreen_(true); }

int TFormMainScript::UINewNodeImageIcon() {
  return runCommand_(
      *this, {"UINewNodeImageIcon", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        const std::optional<std::string> path =
            services.prompter->openFileName("", aFile->getDirectory(), aOpenFilter);
        if (!path) return -1;
        TaskScope task(*this, "New Node Image Icon From File ");
        if (!task.began()) return kRefusedBusy;
        const std::string icon = fileIconBytes(*path);
        MemoNode* node = icon.empty() ? nullptr : newMemoNodeKind_("", NodeKind::Icon);
        if (!node) {
          task.end_("failure: New Node Image Icon");
          return -1;
        }
        node->loadContentStream_(icon, "image/ico", "binary");
        const std::string name = changeFileExt_(*path, ".ico");
        node->putField_("Filename", quoted_(name));
        getCurHolder()->putNameChild_as_(node, name);
        Model2UI();
        return 0;
      });
}

int TFormMainScript::UINewNodeURL() {
  return runCommand_(
      *this, {"UINewNodeURL", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        const std::optional<std::string> answer =
            services.prompter->inputText("New MemoNode URL", "Input URL", "http://");
        if (!answer) {
          messageDoing_("CANCEL: \"New MemoNode URL\"");
          return -6;
        }
        std::string address = trim_(*answer);
        if (address.empty() || address == "http://") address = std::string(kDefaultAddress);
        TaskScope task(*this, "New MemoNode URL");
        MemoNode* node = newMemoNodeKind_(address, NodeKind::Url);
        Model2UI();
        task.end_((node ? "Done: New MemoNode URL " : "Failure: New MemoNode URL ") + address);
        return node ? 0 : -1;
      });
}

int TFormMainScript::UINewNodeURLDir() {
  return runCommand_(
      *this, {"UINewNodeURLDir", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        const std::optional<std::string> dir =
            services.prompter->directory("", currentDirectory_());
        if (!dir) {
          messageDoing_("Cancel \"New MemoNode URL Directory\"");
          return -6;
        }
        std::string address = *dir;
        if (address.empty() || !isPathSeparatorAt(address, address.size() - 1)) address += "/";
        TaskScope task(*this, "New MemoNode URL");
        MemoNode* node = newMemoNodeKind_(address, NodeKind::Url);
        Model2UI();
        task.end_((node ? "Done: New MemoNode URL " : "Failure: New MemoNode URL ") + address);
        return node ? 0 : -1;
      });
}

int TFormMainScript::UINewNodeURLFile() {
  return runCommand_(
      *this, {"UINewNodeURLFile", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        const std::optional<std::string> path =
            services.prompter->openFileName("", aFile->getDirectory(), aOpenFilter);
        if (!path) {
          messageDoing_("Cancel \"New MemoNode URL Directory\"");
          return -6;
        }
        TaskScope task(*this, "New MemoNode URL File");
        MemoNode* node = newMemoNodeKind_(*path, NodeKind::Url);
        Model2UI();
        task.end_((node ? "Done: New MemoNode URL File " : "Failure: New MemoNode URL File ") +
                  *path);
        return node ? 0 : -1;
      });
}

int TFormMainScript::UINewNodePoser() {
  return newNodeCommand_("UINewNodePoser", "New MemoNode Poser", "", NodeKind::Poser, false,
                         "Done: New MemoNode Poser ", "Failure: New MemoNode Poser") == 0
             ? 0
             : -1;
}

int TFormMainScript::UINewNodePoserLike() {
  return newNodeCommand_("UINewNodePoserLike", "New MemoNode PoserLike", "", NodeKind::PoserLike,
                         false, "Done: New MemoNode PoserLike ",
                         "Failure: New MemoNode PoserLike") == 0
             ? 0
             : -1;
}

int TFormMainScript::UINewChildURL() {
  return runCommand_(*this, {"UINewChildURL", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly},
                     [this] {
                       MemoNode* parent = getCurMemoNode();
                       if (!parent) return -9;
                       const std::optional<std::string> answer =
                           services.prompter->inputText("New Child URL MemoNode", "URL", "http://");
                       if (!answer) {
                         messageDoing_("Cancel \"New Child MemoNode URL\"");
                         return -6;
                       }
                       const std::string address = trim_(*answer);
                       TaskScope task(*this, "New Child MemoNode URL");
                       MemoNode* node = newMemoNodeKind_(address, NodeKind::Url);
                       if (!node) {
                         task.end_("Failure: New Child MemoNode URL");
                         return -1;
                       }
                       node->setParentNode_(parent);
                       Model2UI();
                       task.end_("Done: New Child MemoNode URL " + address);
                       return 0;
                     });
}

// --- clone with children

int TFormMainScript::UICloneMemoNodeAndChild() {
  const CommandSpec spec{"Clone MemoNode And Child", kCheckUIReadOnly | kCheckHolderReadOnly,
                         kRefusedBusy, 0};
  return runCommand_(*this, spec, [this] {
    auto& holder = asUI(*getCurHolder());
    MemoNode* source = getCurMemoNode();
    if (!holder.getView() || !source) return 0;
    TaskScope task(*this, "Clone MemoNode And Child");
    if (!task.began()) return 0;
    UI2Model();
    const std::vector<SubtreeEntry> subtree = subtreeOf(holder, *source);
    MemoNode* clone = holder.cloneInHolder_(*source);
    if (!clone) {
      task.end_("failure: Clone MemoNode And Child");
      return 0;
    }
    // The clone stands beside the source; the children go under the clone.
    std::vector<MemoNode*> copies{clone};
    for (std::size_t i = 1; i < subtree.size(); ++i) {
      std::unique_ptr<MemoNode> copy = subtree[i].node->cloneNode();
      MemoNode* made = copy.get();
      holder.addNode_(std::move(copy), subtree[i].name);
      made->putField_("UID", quoted_(holder.genUniqUID()));
      copies.push_back(made);
    }
    for (std::size_t i = 1; i < subtree.size(); ++i)
      copies[i]->setParentNode_(copies[static_cast<std::size_t>(subtree[i].parent)]);
    if (TNodeTreeItem* item = asUI(*clone).aUITN; item && asUI(*source).aUITN)
      placeAfter_(item, asUI(*source).aUITN);
    holder.flagChanged = true;
    gotoMemoNode(clone);
    task.end_("Done: Clone MemoNode And Child");
    return 1;
  });
}

// --- marked nodes

int TFormMainScript::UIDeleteMarkNodes() {
  return runCommand_(
      *this, {"UIDeleteMarkNodes", kCheckBusy | kCheckUIReadOnly | kCheckHolder}, [this] {
        auto& holder = asUI(*getCurHolder());
        if (&holder == getTrushHolder()) return 0;
        if (holder.getMode() != NodesMode::CheckListBox) {
          services.prompter->inform("Still Not implimented");
          return 0;
        }
        TaskScope task(*this, "Delete MarkNodes CLB");
        if (!task.began()) return kRefusedBusy;
        UI2Model();
        const NodeList marked = markedOf(holder);
        if (marked.empty()) {
          task.end_("No Mark MemoNode.");
          return 0;
        }
        MemoNode* current = getCurMemoNode();
        MemoNode* next = current;
        if (current && current->isMarked()) {
          next = nullptr;
          for (MemoNode* n = holder.nextNode_(current); n && !next; n = holder.nextNode_(n))
            if (!n->isMarked()) next = n;
          for (MemoNode* n = holder.prevNode_(current); n && !next; n = holder.prevNode_(n))
            if (!n->isMarked()) next = n;
          aFile->aCurMemoNode = nullptr;
        }
        for (const auto& [name, node] : marked) {
          closeNodeWindow(*node);
          _moveToTrush_(holder.removeNode_(node), name);
        }
        // A holder always keeps one node.
        if (!next) next = holder.countOfNodes() > 0 ? holder.firstNode() : holder.newNode();
        holder.flagChanged = true;
        gotoMemoNode(next);
        task.end_("Done " + std::to_string(marked.size()) + " Nodes deleted.");
        return static_cast<int>(marked.size());
      });
}

MemoHolder* TFormMainScript::chooseTarget_(bool excludeCurrent, bool* created) {
  MemoHolder* source = getCurHolder();
  std::vector<MemoHolder*> listed;
  StringList names;
  int current = -1;
  for (int i = 0; i < aFile->countOfHolders(); ++i) {
    MemoHolder* holder = aFile->holderAt_(i);
    if (holder == source) {
      if (excludeCurrent) continue;
      current = static_cast<int>(listed.size());
    }
    listed.push_back(holder);
    names.push_back(holder->getName());
  }
  const std::optional<int> chosen = selectHolder_(names, current, !excludeCurrent);
  *created = false;
  if (!chosen) return nullptr;
  if (*chosen >= 0 && *chosen < static_cast<int>(listed.size()))
    return listed[static_cast<std::size_t>(*chosen)];
  *created = true;
  return newHolder_(-1);
}

int TFormMainScript::moveOrCopy1To_(bool move) {
  const std::string command = move ? "UIMove1To" : "UICopy1To";
  const unsigned checks =
      kCheckBusy | kCheckUIReadOnly | kCheckHolder | (move ? unsigned{kCheckHolderReadOnly} : 0u);
  return runCommand_(*this, {command, checks}, [&] {
    auto& source = asUI(*getCurHolder());
    MemoNode* node = getCurMemoNode();
    if (!node) return -9;
    const NodesMode mode = source.getMode();
    bool created = false;
    MemoHolder* target = chooseTarget_(move, &created);
    if (!target) return -1;
    if (move && target == &source) {
      messageDoing_(kSameHolder);
      return -1;
    }
    if (mode == NodesMode::Nodes) {
      const std::string error = "ERROR: TFormMainScript." + command;
      addLog_(error);
      services.prompter->error(error);
      return -1;
    }
    UI2Model();
    if (!target->flagLoaded) {
      TaskScope loading(*this, "Now Loading Holder " + target->getName());
      if (!loadTargetHolder_(*target)) {
        loading.end_("Failure: MemoHolder \"" + target->getName() + "\" could not be read.");
        return -1;
      }
    }
    if (target->isReadOnlyHolder()) {
      messageDoing_("This MemoHolder is Read Only. (" + target->getName() + ")");
      return -1;
    }
    const bool tree = mode == NodesMode::TreeView;
    const std::vector<SubtreeEntry> subtree =
        tree ? subtreeOf(source, *node)
             : std::vector<SubtreeEntry>{{source.getNameChild_(node), node, -1}};
    MemoNode* shown = nullptr;
    if (move) {
      // The source's next node lies outside what leaves it.
      std::unordered_set<const MemoNode*> leaving;
      for (const SubtreeEntry& entry : subtree) leaving.insert(entry.node);
      const int index = source.indexOfNode_(node);
      MemoNode* next = nullptr;
      if (tree) {
        for (int i = index + 1; !next && i < source.countOfNodes(); ++i)
          if (!leaving.count(source.nodeAt_(i))) next = source.nodeAt_(i);
        for (int i = index - 1; !next && i >= 0; --i)
          if (!leaving.count(source.nodeAt_(i))) next = source.nodeAt_(i);
      }
      std::vector<std::unique_ptr<MemoNode>> removed;
      aFile->aCurMemoNode = nullptr;
      for (auto entry = subtree.rbegin(); entry != subtree.rend(); ++entry) {
        closeNodeWindow(*entry->node);
        removed.push_back(source.removeNode_(entry->node));
      }
      std::reverse(removed.begin(), removed.end());
      if (!tree) {
        const int at = indexAfterRemoval_(index, source.countOfNodes());
        next = at >= 0 ? source.nodeAt_(at) : nullptr;
      }
      if (!next) next = source.newNode();
      source.putCurNode_(next);
      setCurMemoNode(next);
      source.flagChanged = true;
      for (std::size_t i = 0; i < removed.size(); ++i) {
        MemoNode* moved = removed[i].get();
        target->addNode_(std::move(removed[i]), subtree[i].name);
        if (i == 0) shown = moved;
      }
      // The moved nodes keep their UIDs: each is put back under its parent.
      for (std::size_t i = 1; i < subtree.size(); ++i)
        subtree[i].node->setParentNode_(subtree[static_cast<std::size_t>(subtree[i].parent)].node);
    } else {
      shown = copySubtree(subtree, *target).front();
    }
    // A parent left behind in another holder would claim the node there.
    if (target != &source && !asUI(*shown).aUITN) shown->putField_("ParentNodeID", "");
    target->flagChanged = true;
    target->putCurNode_(shown);
    _changeCurrentHolder_(target, true);
    gotoMemoNode(shown);
    if (created && tree) switchHolderView_(NodesMode::TreeView);
    return 0;
  });
}

int TFormMainScript::UIMove1To() { return moveOrCopy1To_(true); }
int TFormMainScript::UICopy1To() { return moveOrCopy1To_(false); }

int TFormMainScript::UICopyMarksTo() {
  return runCommand_(
      *this, {"UICopyMarksTo", kCheckBusy | kCheckUIReadOnly | kCheckHolder}, [this] {
        MemoHolder& source = *getCurHolder();
        UI2Model();
        const NodeList marked = markedOf(source);
        if (marked.empty()) {
          services.prompter->ask(BoxKind::Warning, std::string(kNothingMarked),
                                 Buttons(Answer::Ok));
          return -1;
        }
        bool created = false;
        MemoHolder* target = chooseTarget_(false, &created);
        if (!target) return -1;
        if (!loadTargetHolder_(*target)) {
          messageDoing_("Failure: MemoHolder \"" + target->getName() + "\" could not be read.");
          return -1;
        }
        if (target->isReadOnlyHolder()) {
          messageDoing_("This MemoHolder is Read Only. (" + target->getName() + ")");
          return -1;
        }
        _changeCurrentHolder_(target, true);
        MemoNode* last = nullptr;
        for (const auto& [name, node] : marked) {
          std::unique_ptr<MemoNode> copy = node->cloneNode();
          last = copy.get();
          target->addNode_(std::move(copy), name);
          // Copies keep their fields; a UID the holder has is made anew.
          const std::string uid = unquote_(last->getField_("UID"));
          if (target == &source || (!uid.empty() && target->findNodeByUID_(uid) != last))
            last->putField_("UID", quoted_(target->genUniqUID()));
        }
        target->flagChanged = true;
        gotoMemoNode(last);
        return 0;
      });
}

int TFormMainScript::UIMoveMarksTo() {
  return runCommand_(
      *this, {"UIMoveMarksTo", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        MemoHolder& source = *getCurHolder();
        if (source.countOfNodes() <= 1) {
          messageDoing_("Don't Move. Because There is One Node");
          return -1;
        }
        UI2Model();
        const NodeList marked = markedOf(source);
        if (marked.empty()) {
          services.prompter->ask(BoxKind::Confirmation, std::string(kNothingMarked),
                                 Buttons(Answer::Ok));
          messageDoing_(kNothingMarked);
          return -1;
        }
        bool created = false;
        MemoHolder* target = chooseTarget_(false, &created);
        if (!target) return -1;
        if (target == &source) {
          messageDoing_(kSameHolder);
          return -1;
        }
        if (!loadTargetHolder_(*target)) {
          messageDoing_("Failure: MemoHolder \"" + target->getName() + "\" could not be read.");
          return -1;
        }
        if (target->isReadOnlyHolder()) {
          messageDoing_("This MemoHolder is Read Only. (" + target->getName() + ")");
          return -1;
        }
        std::vector<std::pair<std::string, std::unique_ptr<MemoNode>>> moved;
        aFile->aCurMemoNode = nullptr;
        for (const auto& [name, node] : marked) {
          closeNodeWindow(*node);
          moved.emplace_back(name, source.removeNode_(node));
        }
        source.flagChanged = true;
        const int at = indexAfterRemoval_(static_cast<int>(moved.size()), source.countOfNodes());
        MemoNode* next = at >= 0 ? source.nodeAt_(at) : source.newNode();
        source.putCurNode_(next);
        setCurMemoNode(next);
        _changeCurrentHolder_(target, true);
        MemoNode* last = nullptr;
        for (auto& [name, node] : moved) {
          last = node.get();
          target->addNode_(std::move(node), name);
        }
        target->flagChanged = true;
        gotoMemoNode(last);
        return 0;
      });
}

int TFormMainScript::UIMoveMarksSelf() {
  return runCommand_(*this, {"UIMoveMarksSelf", kChange | kCommitBefore}, [this] {
    auto& holder = asUI(*getCurHolder());
    MemoNode* current = getCurMemoNode();
    if (holder.getMode() != NodesMode::CheckListBox || !current || holder.indexOfNode_(current) < 0)
      return -1;
    const NodeList marked = markedOf(holder);
    if (marked.empty() || static_cast<int>(marked.size()) >= holder.countOfNodes()) return -1;
    // The current node is the anchor: when it is marked it stays where it is.
    MemoNode* anchor = current;
    for (const auto& [name, node] : marked) {
      if (node == current) continue;
      std::unique_ptr<MemoNode> taken = holder.removeNode_(node);
      holder.insertNode_(std::move(taken), name, holder.indexOfNode_(anchor) + 1);
      node->putMarked_(true);
      anchor = node;
    }
    holder.flagChanged = true;
    aFile->aCurMemoNode = nullptr;
    gotoMemoNode(current);
    return 0;
  });
}

int TFormMainScript::changeMarks_(std::string_view command, int how) {
  return runCommand_(*this, {command, kChange | kCommitBefore | kRefreshAfter}, [&] {
    MemoHolder& holder = *getCurHolder();
    for (int i = 0; i < holder.countOfNodes(); ++i) {
      MemoNode* node = holder.nodeAt_(i);
      node->putMarked_(how > 0 || (how < 0 && !node->isMarked()));
    }
    holder.flagChanged = true;
    return 0;
  });
}

int TFormMainScript::UIMarkAll() { return changeMarks_("UIMarkAll", 1); }
int TFormMainScript::UIUnMarkAll() { return changeMarks_("UIUnMarkAll", 0); }
int TFormMainScript::UIReverseMarks() { return changeMarks_("UIReverseMarks", -1); }

// --- generated nodes

int TFormMainScript::generateNodes_(
    std::int64_t count, const std::function<std::optional<std::string>(std::int64_t)>& nameOf,
    bool withFilename) {
  MemoHolder* holder = getCurHolder();
  int made = 0;
  for (std::int64_t i = 0; i < count; ++i) {
    if (i % 64 == 63 && !pumpEvents()) break;  // Break
    const std::optional<std::string> name = nameOf(i);
    if (!name) break;
    // A refusal (a read-only holder) ends the run: nothing else is renamed.
    MemoNode* node = newMemoNodeKind_("", NodeKind::Text);
    if (!node) break;
    holder->putNameChild_as_(node, *name);
    if (withFilename) node->putField_("Filename", quoted_(*name));
    ++made;
  }
  if (made > 0) {
    holder->flagChanged = true;
    aFile->flagChanged = true;
  }
  Model2UI();
  return made;
}

int TFormMainScript::UIMemoNode2NewNodes() {
  return runCommand_(*this, {"UIMemoNode2NewNodes", kChange | kCommitBefore}, [this] {
    auto& holder = asUI(*getCurHolder());
    MemoNode* source = getCurMemoNode();
    if (!holder.getView() || !source) return -1;
    // The lines are taken before the first new node takes the editor.
    const StringList names = memoLinesToNames_(source->aMemo);
    TaskScope task(*this, "UIMemoNode2NewNodes");
    if (!task.began()) return kRefusedBusy;
    try {
      const int made = generateNodes_(
          static_cast<std::int64_t>(names.size()),
          [&](std::int64_t i) { return names[static_cast<std::size_t>(i)]; }, true);
      task.end_("Done:UIMemoNode2NewNodes count=" + std::to_string(made));
      return made;
    } catch (const std::exception&) {
      task.end_("ERROR: UIMemoNode2NewNodes");
      return -1;
    }
  });
}

int TFormMainScript::UIMemoNode2Holder() {
  return runCommand_(
      *this, {"UIMemoNode2Holder", kCheckBusy | kCheckUIReadOnly | kCheckHolder | kCommitBefore},
      [this] {
        MemoHolder& source = *getCurHolder();
        MemoNode* current = getCurMemoNode();
        if (!current) return -1;
        const StringList names = memoLinesToNames_(current->aMemo);
        TaskScope task(*this, "UIMemoNode2Holder");
        if (!task.began()) return kRefusedBusy;
        try {
          const MemoNode* model = source.findNode_("*");
          MemoHolder* holder = newHolder_(-1);
          MemoNode* first = nullptr;
          int made = 0;
          for (const std::string& name : names) {
            MemoNode* node = nullptr;
            if (model) {
              std::unique_ptr<MemoNode> copy = model->cloneNode();
              node = copy.get();
              holder->addNode_(std::move(copy), name);
              node->putField_("UID", quoted_(holder->genUniqUID()));
            } else {
              node = holder->newNode();
            }
            holder->putNameChild_as_(node, name);
            node->putField_("Filename", quoted_(name));
            if (!first) first = node;
            ++made;
          }
          if (!first) first = holder->newNode();
          holder->putCurNode_(first);
          _changeCurrentHolder_(holder, true);
          task.end_("Done:UIMemoNode2Holder count=" + std::to_string(made));
          return made;
        } catch (const std::exception&) {
          task.end_("ERROR: UIMemoNode2Holder");
          return -1;
        }
      });
}

int TFormMainScript::numbers_(std::int64_t from, std::int64_t to) {
  return runCommand_(*this, {"UINumbers", kChange | kCommitBefore}, [&] {
    if (to < from) std::swap(from, to);
    std::string format = unquote_(getCurFormatNumber());
    if (format.empty()) format = "%.5d ";
    // A pattern the formatter refuses makes no node at all.
    if (!formatInteger_(format, from)) {
      messageDoing_("Failure: Numbers. FormatNumber is not a number pattern: " + format);
      return -1;
    }
    const std::int64_t count = to - from + 1;
    if (count > kNodesAskAbove &&
        services.prompter->ask(BoxKind::Confirmation,
                               "Shall I make " + std::to_string(count) + " MemoNodes ?",
                               Answer::Yes | Answer::No) != Answer::Yes) {
      messageDoing_("CANCEL: Numbers");
      return -1;
    }
    TaskScope task(*this, "Numbers");
    if (!task.began()) return kRefusedBusy;
    const int made = generateNodes_(
        count, [&](std::int64_t i) { return formatInteger_(format, from + i); }, false);
    task.end_(made < count ? "Break: Numbers " + std::to_string(made) + "/" + std::to_string(count)
                           : "Done: Numbers " + std::to_string(made));
    return made;
  });
}

int TFormMainScript::UINumbers() {
  // Refused before anything is asked.
  if (const std::optional<int> refused = refusalOf_(*this, {"UINumbers", kChange})) return *refused;
  const std::optional<std::string> begin = services.prompter->inputText("", "Begin Number", "1");
  if (!begin || trim_(*begin).empty()) return -1;
  const std::optional<std::string> end = services.prompter->inputText("", "End Number", "200");
  if (!end || trim_(*end).empty()) return -1;
  const std::optional<std::int64_t> from = parseWholeNumber_(*begin);
  const std::optional<std::int64_t> to = parseWholeNumber_(*end);
  // Far apart the count would overflow long before the nodes end.
  constexpr std::int64_t kLimit = std::int64_t{1} << 40;
  if (!from || !to || *from < -kLimit || *from > kLimit || *to < -kLimit || *to > kLimit) {
    messageDoing_("CANCEL: Numbers. Not a number: " + (from ? *end : *begin));
    return -1;
  }
  return numbers_(*from, *to);
}

int TFormMainScript::UINumbers10() { return numbers_(1, 10); }
int TFormMainScript::UINumbers100() { return numbers_(1, 100); }

int TFormMainScript::UINumbersPlus10() {
  MemoHolder* holder = getCurHolder();
  const std::int64_t count = holder ? holder->countOfNodes() : 0;
  return numbers_(count, count + 10);
}

int TFormMainScript::days_(std::string_view task, const std::vector<LocalTime>& days) {
  return runCommand_(*this, {task, kChange | kCommitBefore}, [&] {
    std::string format = unquote_(getCurFormatDate());
    if (format.empty()) format = "YYYYMMDD ddd ";
    const StringList names = dayNames_(format, days);
    TaskScope scope(*this, task);
    if (!scope.began()) return kRefusedBusy;
    return generateNodes_(
        static_cast<std::int64_t>(names.size()),
        [&](std::int64_t i) { return names[static_cast<std::size_t>(i)]; }, false);
  });
}

int TFormMainScript::UIDaysOfWeek(int weeks) {
  const LocalTime today = services.clock->now();
  return days_("UIDaysOfWeek",
               daysOfWeek_(LocalTime::fromDayNumber(today.dayNumber() + 7 * weeks)));
}

int TFormMainScript::UIDaysOfMonth(int months) {
  const LocalTime today = services.clock->now();
  const LocalTime month = months > 0 ? nextMonth_(today.year, today.month) : today;
  return days_("UIDaysOfMonth", daysOfMonth_(month.year, month.month));
}

int TFormMainScript::UIDaysOfMonthAny() {
  if (const std::optional<int> refused = refusalOf_(*this, {"UIDaysOfMonth", kChange}))
    return *refused;
  const std::optional<std::string> answer =
      services.prompter->inputText("Month", "Month", now_("yyyymm"));
  if (!answer) return -1;
  const std::optional<LocalTime> month = parseYearMonth_(*answer);
  if (!month) {
    messageDoing_("CANCEL: Days of Month. Not a month \"YYYYMM\": " + *answer);
    return -1;
  }
  return days_("UIDaysOfMonth", daysOfMonth_(month->year, month->month));
}

int TFormMainScript::UIDaysOfYear(int year) {
  if (!isYearInRange_(year)) return -1;
  return days_("UIDaysOfYear", daysOfYear_(year));
}

int TFormMainScript::UIDaysOfYearNext() { return UIDaysOfYear(services.clock->now().year + 1); }

int TFormMainScript::UIDaysOfYearAny() {
  if (const std::optional<int> refused = refusalOf_(*this, {"UIDaysOfYear", kChange}))
    return *refused;
  const std::optional<std::string> answer =
      services.prompter->inputText("Year", "Year", now_("yyyy"));
  if (!answer || trim_(*answer).empty()) return -1;
  const std::optional<int> year = parseYear_(*answer);
  if (!year) {
    messageDoing_("CANCEL: Days of Year. Not a year: " + *answer);
    return -1;
  }
  return UIDaysOfYear(*year);
}

// --- save a node as a file

int TFormMainScript::UISaveAsMemoNode() {
  return runCommand_(*this, {"UISaveAsMemoNode", kCheckBusy | kCommitBefore}, [this] {
    MemoNode* node = getCurMemoNode();
    MemoHolder* holder = getCurHolder();
    if (!node || !holder) return -9;
    const std::string f = node->getFilename();
    const std::string lower = lowerCase_(f);
    const bool http = startsWith_(lower, "http:/") || startsWith_(lower, "https:");
    const bool relative = startsWith_(f, ".");
    const bool variable = startsWith_(f, "$");
    std::string target;
    if (http) {
      target = unquote_(node->getField_("FilenameLocal"));
      if (target.empty()) target = aFile->getDirectory() + lastPathPart(f);
    } else {
      target = relative || variable ? node->getFilePath() : f;
    }
    const std::string lowerTarget = lowerCase_(target);
    if (node->getField_("Content-Transfer-Encoding") == "\"URL\"" &&
        !endsWith_(lowerTarget, ".html") && !endsWith_(lowerTarget, ".htm"))
      target += ".html";
    if (target.empty()) target = safeFileName_(node->getName());
    const bool picture = isPictureName(target);
    const std::optional<std::string> path =
        picture ? services.prompter->saveFileName("", target, std::string(kPictureFilter))
                : services.prompter->saveFileName("", target, aSaveFilter);
    if (!path) return -1;
    {
      TaskScope task(*this, "MemoNode SaveAs " + *path);
      if (!task.began()) return kRefusedBusy;
      if (node->saveContent_(*path) < 0) {
        task.end_("Failure: MemoNode SaveAs " + *path);
        return -1;
      }
    }
    const std::string holderDir = extractFilePath_(holder->getFileName());
    const std::string shownF = relative || variable ? node->getFilePath() : f;
    bool changed = false;
    if (f.empty()) {
      node->putField_("Filename", quoted_(*path));
      changed = true;
    } else if (http && *path != f) {
      if (services.prompter->ask(BoxKind::Confirmation, "Change Field named as \"FilenameLocal\" ?",
                                 Answer::Yes | Answer::No) == Answer::Yes) {
        node->putField_("FilenameLocal", quoted_(*path));
        changed = true;
      }
    } else if (!http && *path != shownF) {
      if (services.prompter->ask(BoxKind::Confirmation, "Change Field named as \"Filename\" ?",
                                 Answer::Yes | Answer::No) == Answer::Yes) {
        node->putField_("Filename", quoted_(*path));
        if (relative) {
          node->makePathRelative_("Filename", holderDir);
        } else if (variable) {
          // The variable's folder is written as the variable again.
          const std::string name = f.substr(0, f.find_first_of("\\/ \t"));
          const MemoNode* values = holder->findNode_("*$");
          std::string dir =
              extractFilePath_(values ? unquote_(values->getField_(name)) : std::string());
          while (!dir.empty() && isPathSeparatorAt(dir, dir.size() - 1)) dir.pop_back();
          if (!dir.empty() && startsWithText_(*path, dir))
            node->putField_("Filename", quoted_(name + path->substr(dir.size())));
        }
        changed = true;
      }
    }
    if (node->getField_("flagSaveAsLog") == "\"true\"") {
      node->putField_("Filename" + now_("yyyymmdd"), quoted_(*path));
      changed = true;
    }
    if (changed) holder->flagChanged = true;
    Model2UI();
    return 0;
  });
}

int TFormMainScript::UISaveAsMemoNodeExplorer() {
  const int saved = UISaveAsMemoNode();
  if (saved == -9) return saved;
  MemoNode* node = getCurMemoNode();
  if (!node) return -9;
  std::string key = "FilenameLocal";
  std::string value = unquote_(node->getField_(key));
  if (value.empty()) {
    key = "Filename";
    value = unquote_(node->getField_(key));
  }
  if (value.empty()) {
    messageDoing_("Do not open directory. because filename is empty.");
    return -1;
  }
  const std::string lower = lowerCase_(value);
  if (startsWith_(lower, "ftp:") || startsWith_(lower, "http:") || startsWith_(lower, "https:"))
    return ShellExecuteOpen_(value);
  const std::string dir = extractFilePath_(node->resolvePath_(key));
  if (dir.empty() || !isDirectory_(dir)) {
    messageDoing_("Not found Directory " + dir);
    return -1;
  }
  services.desktop->explore(dir);
  messageDoing_("Done: Explore " + dir);
  return 0;
}

}  // namespace vrk
