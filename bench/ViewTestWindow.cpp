#include "ViewTestWindow.h"

#include <QBuffer>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <array>

#include "model/TContent.h"
#include "platform/SJ.h"
#include "platform/qt/QtSjis.h"

namespace vrk {
namespace {

// A 16 x 16 disc as PNG bytes.
std::string discPng(const QColor& colour) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(1, 1, 14, 14);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

MemoNode& addSampleNode(MemoHolder& holder, const std::string& name) {
  std::unique_ptr<MemoNode> node = holder.createNode();
  MemoNode& added = *node;
  holder.addNode_(std::move(node), name);
  added.putField_("UID", quoted_(holder.genUniqUID()));
  return added;
}

}  // namespace

ViewTestWindow::ViewTestWindow(MemoFileUI& file, QWidget* parent)
    : QWidget(parent), aTabs(new QTabBar(this)), aPanels(new QHBoxLayout) {
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(aPanels, 1);
  layout->addWidget(aTabs);
  file.bindTabControl_(aTabs);
}

QWidget* ViewTestWindow::showHolder_(MemoHolderUI& holder, NodesMode mode) {
  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(new QLabel(sjisToQString(holder.getName() + " : " + nodesModeName_(mode))));
  QWidget* view = holder.buildView_(mode, panel);
  if (view) column->addWidget(view, 1);
  aPanels->addWidget(panel, 1);
  holder.showView();
  return view;
}

void fillSampleHolder_(MemoHolder& holder, int count) {
  static const std::array<std::string, 6> kTopics = {
      SJ("会議の記録"),   SJ("表示ソフトの設定"), SJ("ポスター案"),
      SJ("買い物リスト"), SJ("読書メモ"),         "Release notes",
  };
  const std::pair<const char*, QColor> kIcons[] = {{"memo", QColor(0, 120, 215)},
                                                   {"star", QColor(230, 160, 0)}};
  for (std::size_t i = 0; i < std::size(kIcons) && static_cast<int>(i) < count; ++i) {
    MemoNode& icon =
        addSampleNode(holder, "icon " + std::to_string(i) + " " + std::string(kIcons[i].first));
    icon.putField_("Content-Type", "\"image/ico\"");
    icon.aContent = std::make_unique<TContent>();
    icon.aContent->aData = discPng(kIcons[i].second);
  }
  MemoNode* section = nullptr;
  MemoNode* previous = nullptr;
  for (int i = 0; i < count - static_cast<int>(std::size(kIcons)); ++i) {
    const std::string& topic = kTopics[static_cast<std::size_t>(i) % kTopics.size()];
    MemoNode& node = addSampleNode(holder, SJ("メモ") + std::to_string(i) + " " + topic);
    // Written as a file would hold it; the views build the outline from it.
    if (i % 4 == 0) {
      section = &node;
    } else {
      node.putField_("ParentNodeID", (i % 8 == 7 ? previous : section)->getField_("UID"));
    }
    if (i % 5 == 0) node.putMarked_(true);
    if (i % 4 == 1) node.putField_("icon", i % 8 == 1 ? "\"memo\"" : "\"1\"");
    previous = &node;
  }
}

}  // namespace vrk
