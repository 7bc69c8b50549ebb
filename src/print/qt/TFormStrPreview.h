#pragma once
// The preview: one page image at a time, "%3d / %3d", first/previous/next/
// last (disabled at the ends), fit to the height or the width, "100%" (the
// page at the screen/printer resolution ratio), drag with the left button and
// the wheel to scroll, the page centred when smaller than the view. The window
// is at most the screen's width and five sixths of its height.
#include <QDialog>
#include <QPoint>

#include "print/qt/PrintDevice.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace vrk {

class TFormStrPreview final : public QDialog {
  Q_OBJECT

 public:
  TFormStrPreview(LaidOutPages pages, int printerDpi, QWidget* parent);

  int pageIndex() const { return aIndex; }
  int pageCount() const { return static_cast<int>(aPages.layout.pages.size()); }
  void showPage_(int index);  // clamped to 0..count - 1
  void adjustHeight();
  void adjustWidth();
  void actualSize();
  double zoom() const { return aZoom; }
  QSize pageSize() const;  // the shown page, in screen pixels

  QLabel* aPageLabel;
  QPushButton *aFirst, *aPrev, *aNext, *aLast;
  QPushButton *aAdjustHeight, *aAdjustWidth, *aActual, *aClose;
  QScrollArea* aScroll;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class PageView;
  void applyZoom(double zoom);

  LaidOutPages aPages;
  int aPrinterDpi;
  int aIndex = 0;
  double aZoom = 1.0;
  PageView* aView;
  QPoint aDragFrom;
  bool flagDragging = false;
};

}  // namespace vrk
