#include "print/qt/TFormStrPreview.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace vrk {

// The page, painted from its image at the window's zoom.
class TFormStrPreview::PageView final : public QWidget {
 public:
  explicit PageView(TFormStrPreview& owner) : QWidget(nullptr), owner_(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderPage_(painter, owner_.aPages, owner_.aIndex, QRectF(rect()));
  }

 private:
  TFormStrPreview& owner_;
};

TFormStrPreview::TFormStrPreview(LaidOutPages pages, int printerDpi, QWidget* parent)
    : QDialog(parent),
      aPageLabel(new QLabel(this)),
      aFirst(new QPushButton("|<", this)),
      aPrev(new QPushButton("<", this)),
      aNext(new QPushButton(">", this)),
      aLast(new QPushButton(">|", this)),
      aAdjustHeight(new QPushButton("Adjust Height", this)),
      aAdjustWidth(new QPushButton("Adjust Width", this)),
      aActual(new QPushButton("100%", this)),
      aClose(new QPushButton("Close", this)),
      aScroll(new QScrollArea(this)),
      aPages(std::move(pages)),
      aPrinterDpi(printerDpi > 0 ? printerDpi : screenDpi_()),
      aView(new PageView(*this)) {
  setObjectName("TFormStrPreview");
  setWindowTitle("Preview");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {aFirst, aPrev, aNext, aLast}) buttons->addWidget(b);
  buttons->addWidget(aPageLabel);
  for (QPushButton* b : {aAdjustHeight, aAdjustWidth, aActual}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(aClose);
  auto* box = new QVBoxLayout(this);
  box->addLayout(buttons);
  box->addWidget(aScroll, 1);
  aScroll->setAlignment(Qt::AlignCenter);  // a smaller page stands in the middle
  aScroll->setBackgroundRole(QPalette::Dark);
  aScroll->setWidget(aView);
  aView->installEventFilter(this);
  aView->setCursor(Qt::OpenHandCursor);
  connect(aFirst, &QPushButton::clicked, this, [this] { showPage_(0); });
  connect(aPrev, &QPushButton::clicked, this, [this] { showPage_(aIndex - 1); });
  connect(aNext, &QPushButton::clicked, this, [this] { showPage_(aIndex + 1); });
  connect(aLast, &QPushButton::clicked, this, [this] { showPage_(pageCount() - 1); });
  connect(aAdjustHeight, &QPushButton::clicked, this, &TFormStrPreview::adjustHeight);
  connect(aAdjustWidth, &QPushButton::clicked, this, &TFormStrPreview::adjustWidth);
  connect(aActual, &QPushButton::clicked, this, &TFormStrPreview::actualSize);
  connect(aClose, &QPushButton::clicked, this, &QDialog::accept);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize available = screen->availableGeometry().size();
    setMaximumSize(available.width(), available.height() * 5 / 6);
    resize(std::min(available.width(), 800), available.height() * 5 / 6);
  }
  actualSize();
  showPage_(0);
}

QSize TFormStrPreview::pageSize() const { return aView->size(); }

void TFormStrPreview::showPage_(int index) {
  aIndex = std::clamp(index, 0, std::max(0, pageCount() - 1));
  aPageLabel->setText(QString::asprintf("%3d / %3d", aIndex + 1, pageCount()));
  aFirst->setEnabled(aIndex > 0);
  aPrev->setEnabled(aIndex > 0);
  aNext->setEnabled(aIndex + 1 < pageCount());
  aLast->setEnabled(aIndex + 1 < pageCount());
  aView->update();
}

void TFormStrPreview::applyZoom(double zoom) {
  aZoom = zoom > 0 ? zoom : 1.0;
  aView->resize(std::max(1, static_cast<int>(std::lround(aPages.layout.width * aZoom))),
                std::max(1, static_cast<int>(std::lround(aPages.layout.height * aZoom))));
  aView->update();
}

void TFormStrPreview::adjustHeight() {
  if (aPages.layout.height > 0)
    applyZoom(static_cast<double>(aScroll->viewport()->height()) / aPages.layout.height);
}

void TFormStrPreview::adjustWidth() {
  if (aPages.layout.width > 0)
    applyZoom(static_cast<double>(aScroll->viewport()->width()) / aPages.layout.width);
}

void TFormStrPreview::actualSize() { applyZoom(static_cast<double>(screenDpi_()) / aPrinterDpi); }

bool TFormStrPreview::eventFilter(QObject* watched, QEvent* event) {
  if (watched != aView) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() != Qt::LeftButton) break;
      flagDragging = true;
      aDragFrom = e->globalPosition().toPoint();
      aView->setCursor(Qt::ClosedHandCursor);
      return true;
    }
    case QEvent::MouseMove: {
      if (!flagDragging) break;
      auto* e = static_cast<QMouseEvent*>(event);
      const QPoint now = e->globalPosition().toPoint();
      const QPoint moved = now - aDragFrom;
      aDragFrom = now;
      aScroll->horizontalScrollBar()->setValue(aScroll->horizontalScrollBar()->value() - moved.x());
      aScroll->verticalScrollBar()->setValue(aScroll->verticalScrollBar()->value() - moved.y());
      return true;
    }
    case QEvent::MouseButtonRelease:
      flagDragging = false;
      aView->setCursor(Qt::OpenHandCursor);
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vrk
