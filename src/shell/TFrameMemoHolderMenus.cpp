// The pop-up menus of the holder frame's three views. Each menu is a table of
// item paths ("Submenu/Item"); an item without an action is a command that
// the program does not have yet, shown disabled.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/TFormMainBaseVRK.h"
#include "shell/TFrameMemoHolder.h"

namespace vrk {
namespace {

using Action = std::function<void()>;

struct MenuItem {
  std::string_view path;
  Action action;  // empty: disabled
};

// The submenu of root captioned title, made on first need.
QMenu* submenuOf(QMenu* root, const QString& title) {
  for (QAction* action : root->actions())
    if (action->menu() && action->text() == title) return action->menu();
  return root->addMenu(title);
}

// Adds the item at its path; answers its action.
QAction* addItem(QMenu* root, std::string_view path, const Action& action,
                 TFormMainBase0007& form) {
  QMenu* menu = root;
  for (std::size_t slash = path.find('/'); slash != std::string_view::npos;
       slash = path.find('/')) {
    menu = submenuOf(menu, QString::fromUtf8(path.data(), static_cast<qsizetype>(slash)));
    path.remove_prefix(slash + 1);
  }
  const QString caption = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  QAction* item = menu->addAction(caption);
  if (!action) {
    item->setEnabled(false);
    return item;
  }
  QObject::connect(item, &QAction::triggered, menu,
                   [&form, caption, action] { form.guard_(caption.toStdString(), action); });
  return item;
}

QMenu* buildMenu(QWidget* parent, const char* title, const std::vector<MenuItem>& items,
                 TFormMainBase0007& form) {
  auto* menu = new QMenu(QString::fromLatin1(title), parent);
  for (const MenuItem& item : items) addItem(menu, item.path, item.action, form);
  return menu;
}

QAction* actionAt(QMenu* root, std::string_view path) {
  QMenu* menu = root;
  for (std::size_t slash = path.find('/'); slash != std::string_view::npos;
       slash = path.find('/')) {
    menu = submenuOf(menu, QString::fromUtf8(path.data(), static_cast<qsizetype>(slash)));
    path.remove_prefix(slash + 1);
  }
  const QString caption = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  for (QAction* action : menu->actions())
    if (!action->menu() && action->text() == caption) return action;
  return nullptr;
}

}  // namespace

void TFrameMemoHolder::buildMenus_() {
  using N = NameCommand;
  const auto name = [this](N command) { return [this, command] { nameCommand_(command); }; };
  const auto clone = [this](int count) { return [this, count] { aForm.cloneMemoNode_(count); }; };
  const Action newText = [this] { aForm.newMemoNode_(); };
  const Action remove = [this] { aForm.UIDeleteMemoNode(); };
  const Action cloneAsked = [this] { cloneX(); };
  const auto command = [this](const char* name) {
    return [this, name] { aForm.runCommandNamed_(name); };
  };
  const Action none;

  std::vector<MenuItem> lb = {{"New/Text", newText},
                              {"New/URL", command("UINewNodeURL")},
                              {"New/Image", command("UINewNodeImage")},
                              {"New/Screen", command("UINewNodeImageScreen")},
                              {"Rename/Dialog", none},
                              {"Rename/●", name(N::MarkCircle)},
                              {"Rename/★", name(N::MarkStar)},
                              {"Rename/Cut1", name(N::Cut1)},
                              {"Rename/Copy", name(N::Copy)},
                              {"Rename/Paste", name(N::Paste)}};
  std::vector<std::string> clonePaths;  // "Clone/1" to "Clone/10"
  for (int n = 1; n <= 10; ++n) clonePaths.push_back("Clone/" + std::to_string(n));
  for (int n = 1; n <= 10; ++n)
    lb.push_back({clonePaths[static_cast<std::size_t>(n - 1)], clone(n)});
  lb.insert(lb.end(), {{"Clone/X", cloneAsked},
                       {"CopyTo", command("UICopy1To")},
                       {"MoveTo", command("UIMove1To")},
                       {"Delete", remove},
                       {"Read Window", none},
                       {"Top", none},
                       {"UP", none},
                       {"Down", none},
                       {"Bottom", none},
                       {"SaveAs", command("UISaveAsMemoNode")},
                       {"Scan Holder", command("UIShowScanMemoHolder")},
                       {"Scan Node", command("UIShowScanMemoNode")}});
  aMenuLB = buildMenu(this, "LB", lb, aForm);

  std::vector<MenuItem> tv = {
      {"New/Text", newText},
      {"New/URL", command("UINewNodeURL")},
      {"New/Image", command("UINewNodeImage")},
      {"New/Screen", command("UINewNodeImageScreen")},
      {"New/Shadow", none},
      {"New Child/Clone", command("UICloneMemoNodeAndChild")},
      {"New Child/Text", command("UINewChild")},
      {"New Child/URL", command("UINewChildURL")},
      {"New Child/Image", command("UINewChildImage")},
      {"New Child/Screen", command("UINewChildImageScreen")},
      {"New Child/URL/Source", none},
      {"New Child/URL/Links", none},
      {"New Child/Convert/Bin->Text", none},
      {"New Child/Convert/EUC->SJIS", command("UINewChildConvert(EUC2SJIS)")},
      {"New Child/Convert/JIS->SJIS", command("UINewChildConvert(JIS2SJIS)")},
      {"New Child/Convert/SJIS->JIS", command("UINewChildConvert(SJIS2JIS)")},
      {"New Child/Convert/CSV->HTML", none},
      {"New Child/Grep/Any", [this] { newChildGrepAny(); }},
      {"New Child/Grep/<a href", command("UINewChildGrep(<a href)")},
      {"New Child/Grep/<img", command("UINewChildGrep(<img)")},
      {"New Child/Execute", none},
      {"New Child/HTML", none},
      {"New Child/HTML2", none},
      {"New Child/HTML Calendar", none},
      {"New Child/HTML Page", none},
      {"Rename/Dialog", none},
      {"Rename/●", name(N::MarkCircle)},
      {"Rename/★", name(N::MarkStar)},
      {"Rename/Cut1", name(N::Cut1)},
      {"Rename/Inc1", name(N::Inc1)},
      {"Rename/Dec1", name(N::Dec1)},
      {"Rename/ExtractFilename", name(N::ExtractFilename)},
      {"Rename/Copy", name(N::Copy)},
      {"Rename/Paste", name(N::Paste)}};
  for (int n = 1; n <= 5; ++n)
    tv.push_back({clonePaths[static_cast<std::size_t>(n - 1)], clone(n)});
  tv.insert(tv.end(), {{clonePaths[9], clone(10)},
                       {"Clone/X", cloneAsked},
                       {"Copy Name", none},
                       {"CopyTo", command("UICopy1To")},
                       {"MoveTo", command("UIMove1To")},
                       {"Delete", remove},
                       {"Extra/Open Link", none},
                       {"Extra/Open Filename", none},
                       {"Extra/Read Window", none},
                       {"Extra/Other Window", none},
                       {"Extra/Set Relative Path", none},
                       {"Extra/Set $Parent", none},
                       {"TreeView/List Level=0", none},
                       {"TreeView/List Level=0+", none},
                       {"TreeView/Expand All", none},
                       {"TreeView/Unexpand", none},
                       {"TreeView/Update Level", none},
                       {"TreeView/New RootNode", none},
                       {"Child1/List", none},
                       {"Child1/Sort", none},
                       {"Child1/Reverse", none},
                       {"Child1/Set Relative Path", none},
                       {"Child1/Set $Parent", none},
                       {"Child1/ExtractFilename", none},
                       {"Child1/New Childs", none},
                       {"Child1/Expand", none},
                       {"Child1/Unexpand", none},
                       {"Child/List", none},
                       {"Child/New RootNode", none},
                       {"Top", none},
                       {"UP", none},
                       {"Down", none},
                       {"Bottom", none},
                       {"->", none},
                       {"<-", none}});
  aMenuTV = buildMenu(this, "TV", tv, aForm);

  std::vector<MenuItem> lv = {{"New/Text", newText},
                              {"New/URL", command("UINewNodeURL")},
                              {"New/Image", command("UINewNodeImage")},
                              {"New/Screen", command("UINewNodeImageScreen")},
                              {"Rename/●", name(N::MarkCircle)},
                              {"Rename/★", name(N::MarkStar)}};
  for (int n = 1; n <= 5; ++n)
    lv.push_back({clonePaths[static_cast<std::size_t>(n - 1)], clone(n)});
  lv.insert(lv.end(), {{"Clone/X", cloneAsked},
                       {"CopyTo", command("UICopy1To")},
                       {"MoveTo", command("UIMove1To")},
                       {"Save As CSV", [this] { saveAsCSV(); }},
                       {"Delete", remove},
                       {"Read Window", none},
                       {"ViewStyle/Icon", [this] { setListStyle_(ListStyle::Icon); }},
                       {"ViewStyle/SmallIcon", [this] { setListStyle_(ListStyle::SmallIcon); }},
                       {"ViewStyle/List", [this] { setListStyle_(ListStyle::List); }},
                       {"ViewStyle/Report", [this] { setListStyle_(ListStyle::Report); }},
                       {"Set Query", none},
                       {"Jump Query", none},
                       {"Show Query", [this] { showQuery(); }},
                       {"Top", none},
                       {"Up", none},
                       {"Down", none},
                       {"Bottom", none}});
  aMenuLV = buildMenu(this, "LV", lv, aForm);

  // The mark items take their captions whenever their submenu opens.
  for (QMenu* root : {aMenuLB, aMenuTV, aMenuLV}) {
    QMenu* rename = submenuOf(root, QStringLiteral("Rename"));
    QAction* circle = actionAt(root, "Rename/●");
    QAction* star = actionAt(root, "Rename/★");
    connect(rename, &QMenu::aboutToShow, this, [circle, star] {
      circle->setText(QStringLiteral("●"));
      star->setText(QStringLiteral("★"));
    });
  }
  // The style submenu checks the style shown.
  QMenu* styles = submenuOf(aMenuLV, QStringLiteral("ViewStyle"));
  auto* group = new QActionGroup(styles);
  const std::pair<const char*, ListStyle> kStyles[] = {{"Icon", ListStyle::Icon},
                                                       {"SmallIcon", ListStyle::SmallIcon},
                                                       {"List", ListStyle::List},
                                                       {"Report", ListStyle::Report}};
  for (const auto& [caption, style] : kStyles) {
    QAction* item = actionAt(aMenuLV, std::string("ViewStyle/") + caption);
    item->setCheckable(true);
    group->addAction(item);
  }
  connect(styles, &QMenu::aboutToShow, this, [this, styles, kStyles] {
    MemoHolderUI* served = holder();
    const TListViewUI* list = served ? served->aUILV.data() : nullptr;
    for (const auto& [caption, style] : kStyles) {
      QAction* item = actionAt(styles, caption);
      item->setChecked(list && list->viewStyle() == style);
    }
  });
}

}  // namespace vrk
