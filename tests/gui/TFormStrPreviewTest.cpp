// The preview window, offscreen: the page label and the end buttons, fitting
// the page, 100%, dragging, and the preview entry point.
#include "print/qt/TFormStrPreview.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "print/qt/StringsPrinting.h"
#include "support/PdfPrinters.h"

namespace vrk {
namespace {

LaidOutPages threePages() {
  LaidOutPages pages;
  StringList lines;
  for (int i = 0; i < 150; ++i) lines.push_back("row " + std::to_string(i));
  EXPECT_TRUE(layOutFor_(TStringsPrinter(), lines, nullptr, {}, nullptr, pages));
  return pages;
}

TEST(TFormStrPreview, PagesAndEndButtons) {
  LaidOutPages pages = threePages();
  ASSERT_EQ(pages.layout.pages.size(), 3u);
  TFormStrPreview preview(std::move(pages), 600, nullptr);
  EXPECT_EQ(preview.windowTitle(), "Preview");
  EXPECT_EQ(preview.aPageLabel->text(), "  1 /   3");
  EXPECT_FALSE(preview.aFirst->isEnabled());
  EXPECT_FALSE(preview.aPrev->isEnabled());
  preview.aNext->click();
  EXPECT_EQ(preview.aPageLabel->text(), "  2 /   3");
  EXPECT_TRUE(preview.aPrev->isEnabled());
  preview.aLast->click();
  EXPECT_EQ(preview.pageIndex(), 2);
  EXPECT_FALSE(preview.aNext->isEnabled());
  EXPECT_FALSE(preview.aLast->isEnabled());
  preview.showPage_(99);
  EXPECT_EQ(preview.pageIndex(), 2);
  preview.showPage_(-4);
  EXPECT_EQ(preview.pageIndex(), 0);
}

TEST(TFormStrPreview, FittingAndFullSize) {
  LaidOutPages pages = threePages();
  const int width = pages.layout.width, height = pages.layout.height;
  TFormStrPreview preview(std::move(pages), 192, nullptr);  // pages at twice the screen's dpi
  preview.show();
  EXPECT_DOUBLE_EQ(preview.zoom(), 96.0 / 192.0);
  EXPECT_EQ(preview.pageSize(), QSize(qRound(width / 2.0), qRound(height / 2.0)));
  preview.aAdjustWidth->click();
  EXPECT_EQ(preview.pageSize().width(), preview.aScroll->viewport()->width());
  EXPECT_NEAR(preview.pageSize().height(), preview.pageSize().width() * double(height) / width, 1);
  preview.aAdjustHeight->click();
  EXPECT_NEAR(preview.pageSize().height(), preview.aScroll->viewport()->height(), 1);
  if (const QScreen* screen = QApplication::primaryScreen()) {
    EXPECT_LE(preview.maximumHeight(), screen->availableGeometry().height() * 5 / 6);
    EXPECT_LE(preview.maximumWidth(), screen->availableGeometry().width());
  }
}

TEST(TFormStrPreview, DraggingScrollsThePage) {
  LaidOutPages pages = threePages();
  TFormStrPreview preview(std::move(pages), 96, nullptr);  // full size: larger than the view
  preview.show();
  QWidget* page = preview.aScroll->widget();
  QScrollBar* bar = preview.aScroll->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 100);
  QTest::mousePress(page, Qt::LeftButton, {}, QPoint(100, 300));
  QTest::mouseMove(page, QPoint(100, 250));
  QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(100, 250));
  EXPECT_EQ(bar->value(), 50);
}

TEST(TFormStrPreview, PreviewEntryShowsThePages) {
  PdfPrinters printers;  // no printer: the screen and A4 stand in
  int shownPages = -1;
  // The layout's progress window comes first: look until the preview is up.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* preview = qobject_cast<TFormStrPreview*>(w); preview && preview->isVisible()) {
        shownPages = preview->pageCount();
        poll.stop();
        preview->aClose->click();
      }
  });
  poll.start(5);
  const PrintOutcome r = previewStrings_(TStringsPrinter(), printers, {"a", "b"}, {}, nullptr);
  EXPECT_EQ(r.kind, PrintOutcomeKind::Done);
  EXPECT_EQ(shownPages, 1);
}

}  // namespace
}  // namespace vrk
