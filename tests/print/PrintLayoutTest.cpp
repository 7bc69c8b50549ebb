// The page layout over fixed metrics (a byte 10 px, a row 20 px; at 254 dpi
// one millimetre is 10 px): wrapping, bands, columns, numbering, keywords,
// ranges and the pages chosen for printing.
#include "print/PrintLayout.h"

#include <gtest/gtest.h>

#include <random>

#include "print/FixedMetrics.h"
#include "text/CharEX.h"

namespace vrk {

void PrintTo(const PrintText& t, std::ostream* os) {
  *os << "{" << t.x << ", " << t.y << ", \"" << t.text << "\"}";
}

namespace {

const LocalTime kNow{2024, 3, 5, 9, 7, 0, 0};

PrintPageGeometry page(int width, int height) {
  PrintPageGeometry g;
  g.dpi = 254;
  g.paperWidth = width;
  g.paperHeight = height;
  return g;
}

PrintLayoutResult layout(const TStringsPrinter& p, const StringList& lines,
                         const PrintPageGeometry& g = page(600, 200)) {
  FixedMetrics metrics;
  PrintLayoutResult result;
  EXPECT_TRUE(layoutPages_(p, lines, g, metrics, kNow, nullptr, result));
  return result;
}

std::string join(const StringList& rows) {
  std::string all;
  for (const auto& r : rows) all += r;
  return all;
}

// ---- wrapping

TEST(PrintLayoutWrap, RandomShiftJisLinesWrapIntoFittingRowsThatJoinBack) {
  std::mt19937 rng(20240305);
  const std::string pieces[] = {
      "a", "Z", " ", "\t", "\x82\xA0" /*あ*/, "\x95\x5C" /*表*/, "\x83\x7C" /*ポ*/, "\xE3\x81"};
  FixedMetrics metrics;
  for (int round = 0; round < 400; ++round) {
    std::string line;
    const int length = static_cast<int>(rng() % 60);
    for (int i = 0; i < length; ++i) line += pieces[rng() % std::size(pieces)];
    const int width = static_cast<int>(rng() % 200) - 10;
    const StringList rows = wrapPrintLine_(line, width, metrics);
    ASSERT_EQ(join(rows), line) << "width " << width;
    std::size_t at = 0;
    for (const std::string& row : rows) {
      ASSERT_FALSE(row.empty() && !line.empty());
      // The row ends on a character boundary of the line.
      std::size_t i = at;
      while (i < at + row.size()) i += charLengthAt(line, i);
      EXPECT_EQ(i, at + row.size()) << "row ends inside a character";
      const bool oneCharacter = charLengthAt(line, at) == row.size();
      if (!oneCharacter) {
        EXPECT_LE(metrics.textWidth(row), std::max(width, 0));
      }
      at += row.size();
    }
  }
}

TEST(PrintLayoutWrap, BreakPoints) {
  FixedMetrics metrics;
  const std::string a = "\x82\xA0", i = "\x82\xA2", u = "\x82\xA4";  // あいう
  struct Case {
    const char* name;
    std::string line;
    int width;
    StringList rows;
  };
  const Case cases[] = {
      {"fits", "abc", 30, {"abc"}},
      {"empty", "", 30, {""}},
      {"no break point: widest fitting byte", "abcdefghij", 35, {"abc", "def", "ghi", "j"}},
      {"after a space", "ab cd ef", 45, {"ab ", "cd ", "ef"}},
      {"after a double-byte character", "ab" + a + "cdef", 55, {"ab" + a, "cdef"}},
      {"never between the two bytes", a + i + u, 50, {a + i, u}},
      {"narrower than one character", a + i + "x", 5, {a, i, "x"}},
      {"zero width", "xy", 0, {"x", "y"}},
      {"negative width", a + "b", -40, {a, "b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(wrapPrintLine_(c.line, c.width, metrics), c.rows) << c.name;
}

TEST(PrintLayoutWrap, LineTooLongToMeasureIsWrappedInChunks) {
  FixedMetrics metrics;
  metrics.measurable = 25;
  std::string line;
  for (int k = 0; k < 7; ++k) line += "abcdefgh ";  // 63 bytes
  const StringList rows = wrapPrintLine_(line, 100, metrics);
  EXPECT_EQ(join(rows), line);
  for (const auto& row : rows) EXPECT_LE(row.size(), 10u);
  EXPECT_EQ(rows.front(), "abcdefgh ");
}

// ---- pages

TEST(PrintLayout, EmptyListGivesOnePageWithHeaderAndFooter) {
  TStringsPrinter p;
  p.setHeader_("H");
  p.setHeaderAlign_(TStringsPrinterHeaderAlign::haLeft);
  p.setFooter_("F");
  p.setFooterAlign_(TStringsPrinterHeaderAlign::haRight);
  const PrintLayoutResult r = layout(p, {});
  ASSERT_EQ(r.pages.size(), 1u);
  const std::vector<PrintText> expected = {{0, 0, "H"}, {590, 170, "F"}};  // footer band 30 px
  EXPECT_EQ(r.pages[0].texts, expected);
}

TEST(PrintLayout, ThreeColumnsFillDownThenAcrossThenANewPage) {
  TStringsPrinter p;
  p.setColumnCount_(3);
  p.setColumnSpace_(3);  // 30 px
  StringList lines;
  for (int k = 1; k <= 31; ++k) lines.push_back("L" + std::to_string(k));
  const PrintLayoutResult r = layout(p, lines);
  // Column width (600 - 2 * 30) / 3 = 180; ten rows of 20 px fit 200 px.
  ASSERT_EQ(r.pages.size(), 2u);
  ASSERT_EQ(r.pages[0].texts.size(), 30u);
  EXPECT_EQ(r.pages[0].texts[9], (PrintText{0, 180, "L10"}));
  EXPECT_EQ(r.pages[0].texts[10], (PrintText{210, 0, "L11"}));
  EXPECT_EQ(r.pages[0].texts[29], (PrintText{420, 180, "L30"}));
  EXPECT_EQ(r.pages[1].texts, (std::vector<PrintText>{{0, 0, "L31"}}));
}

TEST(PrintLayout, NumbersStandBesideEveryRowOfAWrappedLine) {
  TStringsPrinter p;
  p.setLineNumber_(true);
  p.setFirstLineNumber_(7);
  // Strip (1 digit + 2) * 10 = 30 px; text width 100 - 30 = 70 px: 7 bytes a row.
  const PrintLayoutResult r = layout(p, {"abcdefghijklmnopqrst", "x"}, page(100, 200));
  const std::vector<PrintText> expected = {
      {10, 0, "7:"},  {30, 0, "abcdefg"}, {10, 20, "7:"}, {30, 20, "hijklmn"},
      {10, 40, "7:"}, {30, 40, "opqrst"}, {10, 60, "8:"}, {30, 60, "x"}};
  ASSERT_EQ(r.pages.size(), 1u);
  EXPECT_EQ(r.pages[0].texts, expected);
}

TEST(PrintLayout, MarginsOffsetsAndLineStep) {
  TStringsPrinter p;
  p.setMarginLeft_(5);  // 50 px, less the 20 px the printer cannot reach
  p.setMarginTop_(3);   // 30 px, less 10
  p.setMarginRight_(2);
  p.setMarginBottom_(2);
  p.setMarginLine_(1);  // rows 20 + 10 px apart
  PrintPageGeometry g = page(640, 220);
  g.queried = true;
  g.pageWidth = 600;
  g.pageHeight = 200;
  const PrintTextArea area = printTextArea_(p, g);
  EXPECT_EQ(area.left, 30);
  EXPECT_EQ(area.top, 20);
  EXPECT_EQ(area.right, 600);  // 600 - 20 + 20, and never past the page
  EXPECT_EQ(area.bottom, 190);
  const PrintLayoutResult r = layout(p, {"a", "b"}, g);
  EXPECT_EQ(r.pages[0].texts, (std::vector<PrintText>{{30, 20, "a"}, {30, 50, "b"}}));
  EXPECT_EQ(r.width, 600);
}

TEST(PrintLayout, TextAreaNarrowerThanACharacterStillTakesACharacterARow) {
  TStringsPrinter p;
  p.setMarginLeft_(30);  // past the right margin of a 200 px page
  p.setMarginRight_(30);
  p.setLineNumber_(true);
  const PrintLayoutResult r = layout(p, {"abc"}, page(200, 20));
  // One row fits a 20 px page: every character on a page of its own.
  ASSERT_EQ(r.pages.size(), 3u);
  EXPECT_EQ(r.pages[2].texts.back().text, "c");
}

TEST(PrintLayout, TabsStopEveryEightAverageCharacters) {
  const PrintLayoutResult r = layout(TStringsPrinter(), {"ab\tc\t\tdefghijk\tl"});
  const std::vector<PrintText> expected = {
      {0, 0, "ab"}, {80, 0, "c"}, {240, 0, "defghijk"}, {400, 0, "l"}};
  EXPECT_EQ(r.pages[0].texts, expected);
}

TEST(PrintLayout, HeaderKeywordsAndAlignment) {
  TStringsPrinter p;
  p.setFileName_("c:\\docs\\b.txt");
  p.setHeader_("%p/%F");
  p.setHeaderAlign_(TStringsPrinterHeaderAlign::haCenter);
  StringList lines(12, "x");  // body 200 - 30: 8 rows a page
  const PrintLayoutResult r = layout(p, lines);
  ASSERT_EQ(r.pages.size(), 2u);
  EXPECT_EQ(r.pages[1].texts[0], (PrintText{265, 0, "2/b.txt"}));
  EXPECT_EQ(r.pages[1].texts[1].y, 30);  // the body starts below the band

  struct Case {
    const char* pattern;
    const char* text;
  };
  for (const Case& c : std::initializer_list<Case>{{"100%%", "100%"},
                                                   {"%y/%m/%d %t", "2024/3/5 9:07"},
                                                   {"%f", "c:\\docs\\b.txt"},
                                                   {"%q%", "q%"},
                                                   {"%\x82\xA0", "\x82\xA0"}})
    EXPECT_EQ(expandPrintKeywords_(c.pattern, 2, p.fileName(), kNow), c.text) << c.pattern;
}

TEST(PrintLayout, LineRangeAndCancel) {
  TStringsPrinter p;
  p.setLineRangeOption_(TStringsPrinterRangeOption::roLimited);
  p.setStartLine_(2);
  p.setLastLine_(3);
  p.setLineNumber_(true);
  const PrintLayoutResult r = layout(p, {"a", "b", "c", "d"});
  EXPECT_EQ(r.pages[0].texts,
            (std::vector<PrintText>{{10, 0, "1:"}, {30, 0, "b"}, {10, 20, "2:"}, {30, 20, "c"}}));

  FixedMetrics metrics;
  PrintLayoutResult cancelled;
  std::vector<int> seen;
  const bool done = layoutPages_(
      TStringsPrinter(), {"a", "b", "c", "d", "e"}, page(600, 200), metrics, kNow,
      [&](int percent) {
        seen.push_back(percent);
        return seen.size() < 3;
      },
      cancelled);
  EXPECT_FALSE(done);
  EXPECT_EQ(seen, (std::vector<int>{0, 25, 50}));
  EXPECT_TRUE(cancelled.pages.empty());
}

TEST(PrintLayout, PagesChosenByRangeNumberAndParity) {
  PrintLayoutResult six;
  six.pages.resize(6);
  struct Case {
    const char* name;
    TStringsPrinterRangeOption range;
    int startPage, lastPage, firstNumber;
    TStringsPrinterPageOption parity;
    std::vector<int> pages;
  };
  using R = TStringsPrinterRangeOption;
  using P = TStringsPrinterPageOption;
  const Case cases[] = {
      {"whole", R::roWhole, 1, 999999, 1, P::poBoth, {0, 1, 2, 3, 4, 5}},
      {"from page 3 numbered 1", R::roLimited, 3, 999999, 1, P::poBoth, {2, 3, 4, 5}},
      {"pages 2 to 4", R::roLimited, 2, 4, 2, P::poBoth, {1, 2, 3}},
      {"even numbers", R::roWhole, 1, 999999, 1, P::poEven, {1, 3, 5}},
      {"odd numbers from 4", R::roWhole, 1, 999999, 4, P::poOdd, {1, 3, 5}},
  };
  for (const Case& c : cases) {
    TStringsPrinter p;
    p.setRangeOption_(c.range);
    p.setStartPage_(c.startPage);
    p.setLastPage_(c.lastPage);
    p.setFirstPageNumber_(c.firstNumber);
    p.setPageOption_(c.parity);
    PrintLayoutResult r = layout(p, {});
    six.firstPageNumber = r.firstPageNumber;
    EXPECT_EQ(pagesToPrint_(p, six), c.pages) << c.name;
  }
  // The third page image printed as page 1: the number of image 0 is -1.
  TStringsPrinter p;
  p.setRangeOption_(TStringsPrinterRangeOption::roLimited);
  p.setStartPage_(3);
  EXPECT_EQ(layout(p, {}).firstPageNumber, -1);
}

TEST(PrintLayout, FontSizeFollowsTheResolutionRatio) {
  EXPECT_EQ(layoutFontSize_(10, 96, 600), 63);
  EXPECT_EQ(layoutFontSize_(10, 96, 96), 10);
  EXPECT_EQ(layoutFontSize_(10, 0, 600), 10);
  EXPECT_EQ(mmToPixels_(210, 600), 4961);
}

}  // namespace
}  // namespace vrk
