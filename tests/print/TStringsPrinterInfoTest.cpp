// The paper table by the platform's paper codes.
#include "print/TStringsPrinterInfo.h"

#include <gtest/gtest.h>

#include <string>

namespace vrk {
namespace {

TEST(TStringsPrinterInfo, PaperTableByCode) {
  struct Case {
    int code;
    std::string name;
    int width, height;
  };
  const Case cases[] = {
      {1, "DMPAPER_LETTER", 216, 279},
      {8, "DMPAPER_A3", 297, 420},
      {9, "DMPAPER_A4", 210, 297},
      {11, "DMPAPER_A5", 148, 210},
      {12, "DMPAPER_B4", 250, 354},
      {13, "DMPAPER_B5", 182, 257},
      {68, "DMPAPER_A3_EXTRA_TRANSVERSE", 322, 445},
      {0, "", 0, 0},
      {69, "", 0, 0},
      {-1, "", 0, 0},
  };
  for (const Case& c : cases) {
    const PaperKind kind = paperOfCode_(c.code);
    EXPECT_EQ(kind.name, c.name) << c.code;
    EXPECT_EQ(kind.width, c.width) << c.code;
    EXPECT_EQ(kind.height, c.height) << c.code;
  }
  TStringsPrinterInfo info;
  EXPECT_EQ(info.orientationText(), "poPortrait");
  info.landscape = true;
  EXPECT_EQ(info.orientationText(), "poLandscape");
}

}  // namespace
}  // namespace vrk
