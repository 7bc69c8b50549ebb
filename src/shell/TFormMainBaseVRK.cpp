#include "shell/TFormMainBaseVRK.h"

#include <QApplication>
#include <QBuffer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QSysInfo>
#include <QTimer>
#include <vector>

#include "dialogs/TFormSelectHolder.h"
#include "model/IniFile.h"
#include "model/MemoHolder.h"
#include "model/TContent.h"
#include "platform/Path.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtSjis.h"
#include "shell/CommandFrame.h"
#include "shell/FrameSlots.h"
#include "shell/MemoHolderUI.h"
#include "shell/TFormLog.h"
#include "text/Basic.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

constexpr std::string_view kTrush = "Trush";

std::string programPath() {
  return fromOsPath_(QCoreApplication::applicationFilePath().toStdString()).value_or("vrk");
}

std::string fromQt(const QString& text) { return qStringToSjis(text).value_or(std::string()); }

// The program's icon as the bytes of an ".ico" file.
std::string programIconBytes() {
  QIcon icon = QApplication::windowIcon();
  if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  icon.pixmap(32, 32).toImage().save(&buffer, "ICO");
  return bytes.toStdString();
}

MemoNodeUI& asUI(MemoNode& node) { return static_cast<MemoNodeUI&>(node); }

void closeNodeWindow(MemoNode& node) {
  if (QWidget* window = asUI(node).aNodeForm) window->close();
}

}  // namespace

void TFormMainBaseVRK::formCreate() {
  TFormMainBase0007::formCreate();
  aSettings.programDir =
      besideProgramDir_(fromOsPath_(QCoreApplication::applicationDirPath().toStdString() + "/")
                            .value_or(std::string("./")));
  setAcceptDrops(true);  // files dragged from the desktop
}

// --- log

TFormLog* TFormMainBaseVRK::getFormLog() {
  if (!aFormLog) aFormLog = new TFormLog(*this);
  return aFormLog;
}

int TFormMainBaseVRK::addLog_(std::string_view line) {
  getFormLog()->addLine_(std::string(line));
  return 0;
}

int TFormMainBaseVRK::showFormLog() {
  TFormLog* log = getFormLog();
  log->setWindowTitle(sjisToQString("FormLog " + aFile->getName()));
  log->setFont(font());
  QPalette palette = log->buttonPanel()->palette();
  palette.setColor(QPalette::Window, toQColor_(aFile->getColor()));
  log->buttonPanel()->setPalette(palette);
  log->showNormal();
  log->raise();
  return 0;
}

// --- memo files: _loadMemoFile_ and the other openings are in TFormMainBaseVRKOpen.cpp

// --- settings

int TFormMainBaseVRK::getAutoSaveTime() { return aSettings.getAutoSaveTime(); }

void TFormMainBaseVRK::putAutoSaveTime_(int seconds) { aSettings.putAutoSaveTime_(seconds); }

std::string TFormMainBaseVRK::getVersionText() const { return std::string(kVersionText); }

// --- holders

MemoHolder* TFormMainBaseVRK::newHolder_(int index) {
  auto* holder = static_cast<MemoHolderUI*>(aFile->newHolderAt_(index));
  aFile->flagChanged = true;
  setCheckListBox_(holder->buildView_(NodesMode::CheckListBox, getFrameMemoHolder()->viewPanel()));
  holder->flagLoaded = true;
  holder->flagChanged = true;
  return holder;
}

// --- nodes

MemoNode* TFormMainBaseVRK::newMemoNodeKind_(std::string_view name, NodeKind kind) {
  if (refusalOf_(*this, {"newMemoNodeKind_", kCheckUIReadOnly | kCheckHolderReadOnly}))
    return nullptr;
  MemoHolder& holder = *getCurHolder();
  const std::string given = trim_(name);
  UI2Model();
  MemoNode* node = holder.newNode();
  fillNewNode_(*node, holder, given, kind);
  if (!node->getField_("Creater").empty()) node->putField_("Creater", quoted_(userName));
  if (node == getCurMemoNode())
    Model2UI();
  else
    gotoMemoNode(node);
  holder.flagChanged = true;
  return node;
}

void TFormMainBaseVRK::fillNewNode_(MemoNode& node, MemoHolder& holder, std::string name,
                                    NodeKind kind) {
  const auto rename = [&](const std::string& to) { holder.putNameChild_as_(&node, to); };
  switch (kind) {
    case NodeKind::Text:
      if (name.empty()) return;
      if (startsWith_(name, "."))
        name = expandFileName_(name, extractFilePath_(holder.getFileName()));
      node.loadContent_(name, "");
      rename(name);
      return;
    case NodeKind::Image: {
      MemoNode* model = holder.findNode_("*DefaultImage");
      const std::string picture = aSettings.programDir + "DefaultImage.jpg";
      if (model && model->aContent) {
        node.aContent = std::make_unique<TContent>();
        node.aContent->assign_(*model->aContent);
        for (const char* key : {"Content-Transfer-Encoding", "Content-Type"})
          node.putField_(key, model->getField_(key));
      } else if (pathExists_(picture)) {
        node.loadContent_(picture, "");
      } else {
        node.makeBlankImage();
      }
      if (name.empty()) name = node.getName();
      if (name.empty()) name = now_("yyyymmddhhnnss");
      if (name == now_("yyyymmdd")) {
        const int count = holder.countOfNodes();
        name += (count <= 9 ? "_0" : "_") + std::to_string(count);
      }
      name = changeFileExt_(name, ".bmp");
      rename(name);
      node.putField_("Filename", quoted_(".\\" + name));
      return;
    }
    case NodeKind::Icon:
      node.loadContentStream_(programIconBytes(), "image/ico", "binary");
      node.putField_("Content-Transfer-Encoding", "\"binary\"");
      node.putField_("Content-Type", "\"image/ico\"");
      return;
    case NodeKind::Url: {
      const std::string address = name.empty() ? std::string(kDefaultAddress) : name;
      node.putField_("Content-Transfer-Encoding", "\"URL\"");
      node.putField_("Filename", quoted_(address));
      rename(address);
      return;
    }
    case NodeKind::Poser:
      node.putField_("Content-Transfer-Encoding", "\"Poser\"");
      return;
    case NodeKind::PoserLike:
      node.putField_("Content-Transfer-Encoding", "\"PoserLike\"");
      return;
  }
}

int TFormMainBaseVRK::newMemoNode_() {
  // The task refuses while busy, after the read-only checks.
  return runCommand_(*this, {"New MemoNode", kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
    TaskScope task(*this, "New MemoNode");
    if (!task.began()) return kRefusedBusy;
    MemoNode* node = newMemoNodeKind_("", NodeKind::Text);
    Model2UI();
    if (!node) {
      task.end_("Failure: New MemoNode");
      return -1;
    }
    task.end_("Done: New MemoNode " + node->getName());
    return 0;
  });
}

int TFormMainBaseVRK::cloneMemoNode_(int count) {
  if (count < 1) return 0;
  // A refusal made no clones.
  const CommandSpec spec{"Clone MemoNode", kCheckUIReadOnly | kCheckHolderReadOnly, kRefusedBusy,
                         0};
  return runCommand_(*this, spec, [this, count] {
    auto& holder = static_cast<MemoHolderUI&>(*getCurHolder());
    TaskScope task(*this, "Clone MemoNode " + std::to_string(count));
    if (!task.began()) return 0;
    UI2Model();
    const MemoNode& source = *getCurMemoNode();
    int made = 0;
    for (; made < count; ++made) {
      if (!holder.cloneInHolder_(source)) {
        task.end_("failure: Clone MemoNode");
        return made;
      }
      Model2UI();
    }
    task.end_("Done: Clone MemoNode " + std::to_string(count));
    return made;
  });
}

int TFormMainBaseVRK::runCommandNamed_(std::string_view name) {
  notHere_("runCommandNamed_ " + std::string(name));
  return -1;
}

// --- holders that nodes go into

TFormSelectHolder* TFormMainBaseVRK::getFormSelectHolder() {
  if (!aFormSelectHolder) aFormSelectHolder = new TFormSelectHolder(this);
  return aFormSelectHolder;
}

std::optional<int> TFormMainBaseVRK::selectHolder_(const StringList& names, int current,
                                                   bool currentEnabled) {
  TFormSelectHolder* dialog = getFormSelectHolder();
  dialog->putHolders_(names, current, currentEnabled);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  return dialog->getSelectedIndex();
}

bool TFormMainBaseVRK::loadTargetHolder_(MemoHolder& holder) {
  if (!holder.flagLoaded) _loadHolder_(holder, false);
  return !holder.flagParseFailed;
}

// --- the screen

QImage TFormMainBaseVRK::grabScreenImage_() {
  // The window leaves the screen first, and the desktop gets time to paint
  // what it covered.
  const auto settle = [] {
    QCoreApplication::processEvents();
    QEventLoop wait;
    QTimer::singleShot(90, &wait, &QEventLoop::quit);
    wait.exec();
    QCoreApplication::processEvents();
  };
  const bool wasVisible = isVisible();
  hide();
  settle();
  QImage image;
  if (QScreen* screen = QGuiApplication::primaryScreen()) image = screen->grabWindow(0).toImage();
  if (wasVisible) show();
  return image;
}

bool TFormMainBaseVRK::putImageContent_(MemoNode& node, const QImage& image) {
  if (image.isNull()) return false;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP")) return false;
  node.loadContentStream_(bytes.toStdString(), "image/bmp", "8bit");
  node.putField_("Content-Transfer-Encoding", "\"binary\"");
  node.putField_("Content-Type", "\"image/bmp\"");
  return true;
}

// --- the Trush holder

MemoHolder* TFormMainBaseVRK::getTrushHolder() const { return aFile->findHolder_(kTrush); }

MemoHolder* TFormMainBaseVRK::_moveToTrush_(std::unique_ptr<MemoNode> node, std::string_view name) {
  if (MemoHolder* trush = getTrushHolder()) {
    if (!trush->flagLoaded) _loadHolder_(*trush, false);
    trush->addNode_(std::move(node), name);
    trush->flagChanged = true;
    return trush;
  }
  MemoHolder* trush = newHolder_(-1);
  hideHolder_(trush);
  aFile->putNameChild_as_(trush, kTrush);
  MemoNode* moved = node.get();
  trush->addNode_(std::move(node), name);
  trush->putCurNode_(moved);
  return trush;
}

int TFormMainBaseVRK::_deleteOneNode1_(std::string& message) {
  MemoHolder* holder = getCurHolder();
  if (!holder) {
    message = "ERROR: aH = nil in _deleteOneNode1_";
    return -1;
  }
  if (holder == getTrushHolder()) {
    message = "Can not remove it on the Trush MemoHolder";
    return 0;
  }
  if (holder->countOfNodes() <= 1) {
    message = "Could Not delete. Because There is One Node.";
    return 0;
  }
  MemoNode* node = getCurMemoNode();
  MemoNode* target = holder->nextNode_(node);
  if (!target) target = holder->firstNode();
  closeNodeWindow(*node);
  const std::string name = node->getName();
  std::unique_ptr<MemoNode> removed = holder->removeNode_(node);
  aFile->aCurMemoNode = nullptr;
  holder->flagChanged = true;
  gotoMemoNode(target);
  _moveToTrush_(std::move(removed), name);
  message.clear();
  return 0;
}

int TFormMainBaseVRK::_deleteNodeTree_(std::string& message) {
  MemoHolder* holder = getCurHolder();
  if (!holder) {
    message = "ERROR: self.getCurHolder = nil";
    return -1;
  }
  if (holder == getTrushHolder()) {
    message = "Can not remove it on Trush MemoHolder.";
    return 0;
  }
  if (holder->countOfNodes() <= 1) {
    message = "Could Not delete. Because There is One Node.";
    return 0;
  }
  MemoNode* node = getCurMemoNode();
  TNodeTreeItem* root = asUI(*node).aUITN;
  if (!root) {
    message = "ERROR: aM.aUITN = nil";
    return -1;
  }
  // The next node outside the subtree, else the nearest one before it.
  const int level = node->getLevel();
  const int index = holder->indexOfNode_(node);
  MemoNode* target = nullptr;
  for (int i = index + 1; !target && i < holder->countOfNodes(); ++i)
    if (holder->nodeAt_(i)->getLevel() <= level) target = holder->nodeAt_(i);
  for (int i = index - 1; !target && i >= 0; --i)
    if (holder->nodeAt_(i)->getLevel() <= level) target = holder->nodeAt_(i);
  if (!target) {
    message = "Don't Delete !";
    return -1;
  }
  // Depth first without recursion: each item is logged when reached, its
  // children go before it, always the first remaining child next.
  struct Step {
    TNodeTreeItem* item;
    bool logged;
  };
  std::vector<Step> stack{{root, false}};
  int deleted = 0;
  while (!stack.empty()) {
    Step& step = stack.back();
    MemoNode& current = *step.item->node;
    if (!step.logged) {
      step.logged = true;
      addLog_(holder->getNameChild_(&current) +
              "absIndex=" + std::to_string(holder->indexOfNode_(&current)) +
              "ct=" + std::to_string(step.item->childCount()));
    }
    if (step.item->childCount() > 0) {
      stack.push_back({static_cast<TNodeTreeItem*>(step.item->child(0)), false});
      continue;
    }
    stack.pop_back();
    const std::string name = holder->getNameChild_(&current);
    std::unique_ptr<MemoNode> removed = holder->removeNode_(&current);
    closeNodeWindow(*removed);
    _moveToTrush_(std::move(removed), name);
    ++deleted;
  }
  aFile->aCurMemoNode = nullptr;
  holder->flagChanged = true;
  gotoMemoNode(target);
  message.clear();
  return deleted;
}

int TFormMainBaseVRK::UIDeleteMemoNode() {
  // A read-only holder still gives its nodes to the Trush holder.
  return runCommand_(*this, {"UIDeleteMemoNode", kCheckUIReadOnly | kCheckHolder}, [this] {
    auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
    TaskScope task(*this, "UIDeleteMemoNode");
    if (!task.began()) return kRefusedBusy;
    std::string message;
    const int result = holder->getMode() == NodesMode::TreeView ? _deleteNodeTree_(message)
                                                                : _deleteOneNode1_(message);
    task.end_(message);
    return result;
  });
}

// --- the version report

void TFormMainBaseVRK::writeVersionTS_(StringList& lines) {
  const QRect frame = frameGeometry();
  lines.push_back(programPath());
  lines.push_back("Version " + std::string(kVersionText));
  lines.push_back("Prototype " + std::string(kReleaseDate));
  lines.push_back("(left,top)=(" + std::to_string(frame.left()) + "," +
                  std::to_string(frame.top()) + ")");
  lines.push_back("(width,height)=(" + std::to_string(width()) + "," + std::to_string(height()) +
                  ")");
  lines.emplace_back();
  lines.push_back("UserName=" + userName);
  lines.push_back("ComputerName=" + fromQt(QSysInfo::machineHostName()));
  // The counterparts of the Windows and system directories.
  lines.push_back("WindowsDirectory=/etc/");
  lines.push_back("SystemDirectory=/usr/lib/");
  lines.push_back("File Directory is " + aFile->getDirectory());
  lines.push_back("The count of Holders is " + std::to_string(aFile->countOfHolders()));
  MemoHolder* holder = getCurHolder();
  lines.push_back("The count of MemoNodes is " +
                  std::to_string(holder ? holder->countOfNodes() : 0));
  if (MemoNode* node = getCurMemoNode()) {
    lines.push_back("aFields.count = " + std::to_string(node->aFields.size()));
    lines.push_back("Length(aMemo.Text)  = " + std::to_string(linesToBytes_(node->aMemo).size()));
    lines.push_back("aMemo.count = " + std::to_string(node->aMemo.size()));
  }
}

void TFormMainBaseVRK::showVersion() {
  StringList lines;
  writeVersionTS_(lines);
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  services.prompter->ask(BoxKind::Confirmation, text, Buttons(Answer::Ok));
  messageDoing_(programPath() + " Ver " + std::string(kVersionText) + " " +
                std::string(kReleaseDate));
}

// --- desktop

int TFormMainBaseVRK::ShellExecuteOpen_(std::string_view document) {
  std::string dir = aFile->getDirectory();
  if (dir.empty() || !pathExists_(dir)) dir = currentDirectory_();
  const int result = services.desktop->openDocument(std::string(document), dir);
  messageDoing_("ShellExecuteOpen_ " + std::string(document));
  return result == 0 ? 0 : -1;
}

int TFormMainBaseVRK::explore_(const std::string& dir) {
  const int result = services.desktop->explore(dir);
  messageDoing_("Done: Explorer " + dir);
  return result == 0 ? 0 : -1;
}

int TFormMainBaseVRK::exploreCurrentDir() { return explore_(currentDirectory_()); }
int TFormMainBaseVRK::exploreFileDir() { return explore_(aFile->getDirectory()); }
int TFormMainBaseVRK::exploreProgramDir() { return explore_(aSettings.programDir); }

// --- printing

int TFormMainBaseVRK::printWith_(const std::function<void(QPainter&, QPrinter&)>& paint) {
  const std::unique_ptr<QPrinter> printer = services.printers->printer();
  if (!printer) return -1;
  QPainter painter;
  if (!painter.begin(printer.get())) return -1;
  paint(painter, *printer);
  return painter.end() ? 0 : -1;
}

int TFormMainBaseVRK::UIHardCopy() {
  const QPixmap shot = grab();
  const int result = printWith_([&](QPainter& painter, QPrinter&) {
    const QRect page = painter.viewport();
    const QSize size = shot.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), shot);
  });
  messageDoing_(result == 0 ? "Done: UIHardCopy. Check Printer."
                            : "ERROR: UIHardCopy. No printer can print.");
  return result;
}

int TFormMainBaseVRK::printImage_(const QImage& image, std::string_view caption, bool frame) {
  return printWith_([&](QPainter& painter, QPrinter&) {
    paintImagePage_(painter, painter.viewport(), image, caption, frame);
  });
}

void TFormMainBaseVRK::paintImagePage_(QPainter& painter, const QRect& page, const QImage& image,
                                       std::string_view caption, bool frame) {
  const QSize size = image.size().scaled(qRound(page.width() * 0.97), qRound(page.height() * 0.97),
                                         Qt::KeepAspectRatio);
  const QRect place(page.left() + (page.width() - size.width()) / 2,
                    page.top() + (page.height() - size.height()) / 2, size.width(), size.height());
  painter.drawImage(place, image);
  painter.setPen(Qt::black);
  if (frame) painter.drawRect(place);
  QFont font = painter.font();
  font.setPointSize(12);
  painter.setFont(font);
  const int margin = std::max(12, page.height() / 40);
  painter.drawText(page.left() + margin, page.top() + margin + painter.fontMetrics().ascent(),
                   sjisToQString(caption));
}

}  // namespace vrk
