#include "shell/MemoHolderUI.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <charconv>

#include "model/MemoFile.h"
#include "model/TContent.h"
#include "platform/qt/QtSjis.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::pair<NodesMode, std::string_view> kModeNames[] = {
    {NodesMode::Nodes, "Nodes"},
    {NodesMode::CheckListBox, "CheckListBox"},
    {NodesMode::TreeView, "TreeView"},
    {NodesMode::ListView, "ListView"},
};

// A plain node, made outside the window, becomes view-aware as a copy.
std::unique_ptr<MemoNodeUI> toUI(std::unique_ptr<MemoNode> node) {
  if (auto* ui = dynamic_cast<MemoNodeUI*>(node.get())) {
    node.release();
    return std::unique_ptr<MemoNodeUI>(ui);
  }
  auto copy = std::make_unique<MemoNodeUI>(node->aOwner);
  copy->assign_(*node);
  return copy;
}

// A whole decimal number; -1 for anything else.
int decimalOf(std::string_view text) {
  int value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : -1;
}

// "icon <index> <key>" by the first word of the trimmed name, letter case ignored.
bool isIconName(std::string_view name) {
  const std::string_view trimmed = trimView_(name);
  return trimmed.size() >= 4 && sameText_(trimmed.substr(0, 4), "icon") &&
         (trimmed.size() == 4 || trimmed[4] == ' ' || trimmed[4] == '\t');
}

QIcon iconFromContent(const MemoNode& node) {
  if (!node.aContent || !node.aContent->aData) return {};
  const std::string& bytes = *node.aContent->aData;
  const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                        static_cast<int>(bytes.size()));
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace

NodesMode nodesModeOf_(std::string_view mode) {
  for (const auto& [value, name] : kModeNames)
    if (mode == name) return value;
  return NodesMode::Nodes;
}

std::string nodesModeName_(NodesMode mode) {
  for (const auto& [value, name] : kModeNames)
    if (mode == value) return std::string(name);
  return "Nodes";
}

MemoHolderUI::~MemoHolderUI() { destroyViews(); }

int MemoHolderUI::clear() {
  destroyViews();  // before the nodes their items refer to
  flagViewsActive = false;
  aViewMode = NodesMode::Nodes;
  aIconImages.clear();
  aIconKeys.clear();
  return MemoHolder::clear();
}

void MemoHolderUI::destroyViews() {
  delete aUITV.data();
  delete aUILB.data();
  delete aUILV.data();
}

TNodesView* MemoHolderUI::existingView(NodesMode mode) const {
  switch (mode) {
    case NodesMode::CheckListBox:
      return aUILB.data();
    case NodesMode::TreeView:
      return aUITV.data();
    case NodesMode::ListView:
      return aUILV.data();
    case NodesMode::Nodes:
      break;
  }
  return nullptr;
}

TNodesView* MemoHolderUI::currentView() const {
  return flagViewsActive ? existingView(aViewMode) : nullptr;
}

std::string MemoHolderUI::getNameChild_(const TObjectNamed* child) const {
  const auto* node = dynamic_cast<const MemoNodeUI*>(child);
  const TNodesView* view = currentView();
  std::string name = view && node ? view->nameOf_(*node) : std::string();
  // The model's list keeps the same names; it answers for nodes without an item.
  return name.empty() ? MemoHolder::getNameChild_(child) : name;
}

std::string MemoHolderUI::putNameChild_as_(TObjectNamed* child, std::string_view name) {
  TNodesView* view = currentView();
  auto* node = dynamic_cast<MemoNodeUI*>(child);
  if (!view || !node) return MemoHolder::putNameChild_as_(child, name);
  const int listed = aNodes.aChildren.indexOf(node);
  if (name.empty() || listed < 0) return {};
  view->rename_(*node, name);
  aNodes.aChildren.rename(static_cast<std::size_t>(listed), std::string(name));
  if (aViewMode == NodesMode::CheckListBox && getFlagSort()) aUILB->sortByName_(getFlagAscending());
  return std::string(name);
}

std::unique_ptr<TObjectNamed> MemoHolderUI::deepCopy() const {
  auto copy = std::make_unique<MemoHolderUI>(aOwner);
  copy->assign_(*this);
  return copy;
}

std::unique_ptr<MemoNode> MemoHolderUI::createNode() { return std::make_unique<MemoNodeUI>(this); }

std::unique_ptr<MemoNode> MemoHolderUI::removeNode_(MemoNode* node) {
  TNodesView* view = currentView();
  if (auto* ui = dynamic_cast<MemoNodeUI*>(node); view && ui) view->remove_(*ui);
  return MemoHolder::removeNode_(node);
}

void MemoHolderUI::checkUID_(StringList* log) {
  MemoHolder::checkUID_(log);
  if (!aUITV || currentView() != aUITV.data()) return;
  for (int i = 0; i < countOfNodes(); ++i) {
    auto* node = static_cast<MemoNodeUI*>(nodeAt_(i));
    const auto* parent = static_cast<const TNodeTreeItem*>(node->aUITN->parent());
    if (!parent) continue;
    const std::string uid = parent->node->getField_("UID");
    if (node->getField_("ParentNodeID") == uid) continue;
    node->putField_("ParentNodeID", uid);
    if (log) log->push_back("ParentNodeID:" + node->getName());
  }
}

std::string MemoHolderUI::uniqueNodeName_(std::string_view name) const {
  // The model's list holds the check list's names.
  return flagViewsActive && aViewMode != NodesMode::CheckListBox
             ? std::string(name)
             : MemoHolder::uniqueNodeName_(name);
}

int MemoHolderUI::countOfNodes() const {
  const TNodesView* view = currentView();
  return view ? view->count() : MemoHolder::countOfNodes();
}

int MemoHolderUI::countOfMarked() const {
  return currentView() && aViewMode == NodesMode::CheckListBox ? aUILB->countOfChecked()
                                                               : MemoHolder::countOfMarked();
}

void MemoHolderUI::listMarked_(NodeList& list) const {
  if (currentView() && aViewMode == NodesMode::CheckListBox)
    aUILB->listChecked_(list);
  else
    MemoHolder::listMarked_(list);
}

void MemoHolderUI::setNodeList_(NodeList& list) const {
  if (flagViewsActive && aViewMode == NodesMode::CheckListBox && !aUILB)
    showModelMessage_("ERROR in MemoHolderUI.setNodeList_");
  MemoHolder::setNodeList_(list);
}

int MemoHolderUI::indexOfNode_(const MemoNode* node) const {
  const TNodesView* view = currentView();
  if (!view) return MemoHolder::indexOfNode_(node);
  const auto* ui = dynamic_cast<const MemoNodeUI*>(node);
  return ui ? view->indexOf_(*ui) : -1;
}

MemoNode* MemoHolderUI::nodeAt_(int index) const {
  const TNodesView* view = currentView();
  return view ? view->nodeAt_(index) : MemoHolder::nodeAt_(index);
}

MemoNode* MemoHolderUI::findNode_(std::string_view name) {
  const TNodesView* view = currentView();
  if (!view) return MemoHolder::findNode_(name);
  // The model's list holds the same names: most names asked for are not there.
  if (!aNodes.aChildren.hasName(name)) return nullptr;
  return view->find_(name, aViewMode == NodesMode::CheckListBox);
}

int MemoHolderUI::addNode_(std::unique_ptr<MemoNode> node, std::string_view name) {
  if (!currentView()) return MemoHolder::addNode_(toUI(std::move(node)), name);
  placeNode(adopt(std::move(node), name), name, std::nullopt);
  return 0;
}

int MemoHolderUI::insertNode_(std::unique_ptr<MemoNode> node, std::string_view name, int index) {
  if (!currentView()) return MemoHolder::insertNode_(toUI(std::move(node)), name, index);
  placeNode(adopt(std::move(node), name), name, index);
  return 0;
}

MemoNodeUI& MemoHolderUI::adopt(std::unique_ptr<MemoNode> node, std::string_view name) {
  std::unique_ptr<MemoNodeUI> ui = toUI(std::move(node));
  MemoNodeUI& adopted = *ui;
  adopted.aOwner = this;
  aNodes.addChildSame_(std::move(ui), name);
  return adopted;
}

void MemoHolderUI::placeNode(MemoNodeUI& node, std::string_view name, std::optional<int> index) {
  switch (aViewMode) {
    case NodesMode::CheckListBox:
      aUILB->insert_(node, name, index.value_or(-1));
      return;
    case NodesMode::ListView:
      aUILV->insert_(node, name, index.value_or(-1));
      break;
    case NodesMode::TreeView: {
      const auto* current = dynamic_cast<const MemoNodeUI*>(getCurNode());
      QTreeWidgetItem* anchor = current ? current->aUITN : nullptr;
      TNodeTreeItem* item = index ? aUITV->insertAfter_(node, name, anchor)
                                  : aUITV->appendSibling_(node, name, anchor);
      const auto* parent = static_cast<const TNodeTreeItem*>(item->parent());
      // At top level a stale ParentNodeID (from a template or another holder)
      // would move the node under someone else the next time the tree is built.
      node.MemoNode::setParentNode_(parent ? parent->node : nullptr);
      aUITV->select_(node);
      break;
    }
    case NodesMode::Nodes:
      return;
  }
  showIcon(node);
}

MemoNode* MemoHolderUI::getCurNode() const {
  const TNodesView* view = currentView();
  MemoNode* selected = view ? view->selectedNode() : nullptr;
  return selected ? selected : MemoHolder::getCurNode();
}

int MemoHolderUI::putCurNode_(MemoNode* node) {
  const int index = MemoHolder::putCurNode_(node);
  TNodesView* view = currentView();
  if (auto* ui = dynamic_cast<MemoNodeUI*>(node); view && ui) view->select_(*ui);
  return index;
}

void MemoHolderUI::putColor_(Colour colour) {
  MemoHolder::putColor_(colour);
  if (TNodesView* view = currentView()) view->setColour_(colour);
}

// --- views

NodesMode MemoHolderUI::getMode() const { return nodesModeOf_(unquote_(getModeNodesMngr())); }

TNodesView* MemoHolderUI::viewOf(NodesMode mode, QWidget* panel) {
  if (mode == NodesMode::CheckListBox && !aUILB) aUILB = new TCheckListBoxUI(panel);
  if (mode == NodesMode::TreeView && !aUITV) aUITV = new TTreeViewUI(panel);
  if (mode == NodesMode::ListView && !aUILV) aUILV = new TListViewUI(panel);
  return existingView(mode);
}

QWidget* MemoHolderUI::buildView_(NodesMode mode, QWidget* panel) {
  TNodesView* target = viewOf(mode, panel);
  if (!target) return nullptr;
  TNodesView* source = currentView();
  if (flagViewsActive && !source) return target->widget();  // the order went with its view
  NodeSequence nodes;
  if (source) {
    source->listSequence_(nodes);
  } else {
    nodes.reserve(aNodes.aChildren.size());
    for (const ChildEntry& entry : aNodes.aChildren) {  // addNode_ lists view-aware nodes only
      nodes.push_back({QByteArray(entry.name.data(), static_cast<qsizetype>(entry.name.size())),
                       static_cast<MemoNodeUI*>(entry.object.get())});
    }
  }
  if (mode != NodesMode::CheckListBox) {
    rebuildIcons(nodes);
    target->aImages.assign_(aIconImages);
  }
  target->fill_(std::move(nodes), [this](const MemoNodeUI& node) {
    return aIconImages.empty() ? -1 : iconIndexOf_(node);
  });
  if (source && source != target) source->clearItems();
  flagViewsActive = true;
  aViewMode = mode;
  putField_("ModeNodesMngr", quoted_(nodesModeName_(mode)));
  target->setColour_(getColor());
  return target->widget();
}

QWidget* MemoHolderUI::getView() const {
  TNodesView* view = existingView(getMode());
  return view ? view->widget() : nullptr;
}

void MemoHolderUI::showView() {
  if (QWidget* view = getView()) {
    view->setEnabled(true);
    view->show();
  }
}

void MemoHolderUI::hideView() {
  if (QWidget* view = getView()) {
    view->hide();
    view->setEnabled(false);
  }
}

void MemoHolderUI::mouseCursor_(const QCursor& cursor) {
  if (QWidget* view = getView())
    view->setCursor(cursor);
  else if (getMode() == NodesMode::ListView)
    showModelMessage_("ERROR: MemoHolderUI.mouseCursor_");
}

// --- icons

void MemoHolderUI::rebuildIcons(const NodeSequence& nodes) {
  aIconImages.clear();
  aIconKeys.clear();
  struct IconNode {
    std::string index, key;
    const MemoNode* node;
  };
  std::vector<IconNode> icons;
  for (const auto& [bytes, node] : nodes) {
    const std::string_view name(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (!isIconName(name) || !sameText_(node->getField_("Content-Type"), "\"image/ico\"")) continue;
    const auto [indexWord, rest] = splitWord_(splitWord_(trim_(name)).second);
    icons.push_back({indexWord, splitWord_(rest).first, node});
  }
  for (std::size_t n = 0; n < icons.size(); ++n) {
    const std::string wanted = std::to_string(n);
    const auto icon = std::find_if(icons.begin(), icons.end(),
                                   [&](const IconNode& i) { return i.index == wanted; });
    if (icon == icons.end()) continue;
    aIconKeys.push_back(icon->key + "=" + wanted);
    if (QIcon image = iconFromContent(*icon->node); !image.isNull()) aIconImages.push_back(image);
  }
  // Indices 0 to n-1 without a gap, or no images at all.
  if (aIconImages.size() != icons.size()) aIconImages.clear();
}

int MemoHolderUI::iconIndexOf_(const MemoNode& node) const {
  const std::string value = unquote_(node.getField_("icon"));
  if (value.empty()) return -1;
  if (value[0] >= '0' && value[0] <= '9') return decimalOf(value);
  for (const std::string& entry : aIconKeys) {
    const std::size_t eq = entry.rfind('=');
    if (sameText_(std::string_view(entry).substr(0, eq), value))
      return decimalOf(std::string_view(entry).substr(eq + 1));
  }
  return -1;
}

void MemoHolderUI::showIcon(MemoNodeUI& node) {
  if (aIconImages.empty()) return;
  if (aViewMode == NodesMode::TreeView) node.aUITN->setImageIndex_(iconIndexOf_(node));
  if (aViewMode == NodesMode::ListView) node.aUIItem->setImageIndex_(iconIndexOf_(node));
}

// --- export, clone, node windows

int MemoHolderUI::exportList_(StringList& lines, const Clock& clock) const {
  const MemoFile* file = getMemoFile();
  const std::string program =
      qStringToSjis(QCoreApplication::applicationFilePath()).value_or(std::string());
  lines.push_back("# " + program + " " + (file ? file->getName() : std::string()) + ":" +
                  getName() + "  " + formatNow_("yyyymmdd hhnnss", clock));
  const std::string mode = unquote_(getModeNodesMngr());
  if (mode == "ListView") {
    const TListViewUI* list = aUILV.data();
    const int columns = list ? list->countOfColumns() : 0;
    const int rows = list ? list->count() : 0;
    const auto joined = [&](const std::function<std::string(int)>& textAt) {
      std::string line;
      for (int c = 1; c < columns; ++c) line.append(c > 1 ? "," : "").append(textAt(c));
      return line;
    };
    lines.push_back(joined([&](int c) { return list->columnCaption(c); }));
    for (int row = 0; row < rows; ++row)
      lines.push_back(joined([&](int c) { return list->subItemText(row, c); }));
    return rows;
  }
  if (mode != "Nodes" && mode != "CheckListBox" && mode != "TreeView") return -1;
  NodeList nodes;
  setNodeList_(nodes);
  for (const auto& entry : nodes) lines.push_back(entry.first);
  return static_cast<int>(nodes.size());
}

MemoNode* MemoHolderUI::cloneInHolder_(const MemoNode& source) {
  std::unique_ptr<MemoNode> clone = source.cloneNode();
  MemoNode* made = clone.get();
  const std::string name = source.getName();
  const MemoNode* current = getCurNode();
  const int at = current ? indexOfNode_(current) : -1;
  if (at < 0)
    addNode_(std::move(clone), name);
  else
    insertNode_(std::move(clone), name, at);
  flagChanged = true;
  made->putField_("UID", quoted_(genUniqUID()));
  return made;
}

int MemoHolderUI::closeNodeWindows() {
  const int count = countOfNodes();
  for (int i = 0; i < count; ++i) {
    if (QWidget* window = static_cast<MemoNodeUI*>(nodeAt_(i))->aNodeForm) window->close();
  }
  return count;
}

}  // namespace vrk
