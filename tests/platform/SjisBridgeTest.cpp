#include "platform/SjisBridge.h"

#include <gtest/gtest.h>

#include "platform/SJ.h"

namespace vrk {
namespace {

TEST(SjisBridgeTest, DecodesAndEncodesKnownCharacters) {
  struct Case {
    const char* sjis;
    const char* utf8;
  } cases[] = {
      {"abc\\~", "abc\\~"},                                  // 0x5C stays a backslash
      {"\x95\x5C", "\xE8\xA1\xA8"},                          // 表
      {"\x83\x5C", "\xE3\x82\xBD"},                          // ソ
      {"\x83\x7C", "\xE3\x83\x9D"},                          // ポ
      {"\xB1", "\xEF\xBD\xB1"},                              // half-width ｱ
      {"\x87\x40", "\xE2\x91\xA0"},                          // ① (NEC row 13)
      {"\x82\xA0\x82\xA2", "\xE3\x81\x82\xE3\x81\x84"},      // あい
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sjisToUtf8(c.sjis), c.utf8);
    EXPECT_EQ(utf8ToSjis(c.utf8), std::string(c.sjis));
  }
}

TEST(SjisBridgeTest, InvalidBytesSurviveTheRoundTrip) {
  // A lone lead byte at the end, a lead byte with an impossible trail, 0xFD-0xFF.
  const std::string cases[] = {"a\x82", "\x81\x20x", "\xFD\xFE\xFF", std::string("\x00\x82", 2),
                               "\x95\x5C\x81"};
  for (const auto& raw : cases) {
    const std::string utf8 = sjisToUtf8(raw);
    EXPECT_EQ(utf8ToSjis(utf8), raw);
    EXPECT_EQ(sjisToUtf8Strict(raw), std::nullopt);
  }
  EXPECT_EQ(sjisToUtf8Strict("\x95\x5C"), std::string("\xE8\xA1\xA8"));
}

TEST(SjisBridgeTest, RefusesCharactersOutsideTheCodePage) {
  EncodeFailure failure;
  EXPECT_EQ(utf8ToSjis("ab\xF0\x9F\x98\x80" "c", &failure), std::nullopt);  // emoji
  EXPECT_EQ(failure.offset, 2u);
  EXPECT_EQ(failure.character, "\xF0\x9F\x98\x80");
  EXPECT_EQ(utf8ToSjis("\xC3\xA9"), std::nullopt);  // é has no CP932 code
  EXPECT_EQ(utf8ToSjis("\xFF"), std::nullopt);      // not UTF-8 at all
}

TEST(SjisBridgeTest, EveryValidDoubleByteCodeRoundTripsThroughUnicode) {
  // Duplicate codes (NEC and IBM extensions) map to one Unicode character and
  // come back as one of them; everything else must come back unchanged.
  int changed = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string raw{static_cast<char>(lead), static_cast<char>(trail)};
      const auto back = utf8ToSjis(sjisToUtf8(raw));
      ASSERT_TRUE(back.has_value());
      if (*back != raw) {
        ++changed;
        EXPECT_TRUE((lead >= 0xED && lead <= 0xEE) || (lead >= 0xFA && lead <= 0xFC) ||
                    lead == 0x87)
            << std::hex << lead << " " << trail;
      }
    }
  }
  EXPECT_GT(changed, 0);
}

TEST(SjisLiteralTest, ConvertsOncePerSite) {
  const std::string& first = SJ("未知のタグを見つけた ");
  EXPECT_EQ(first, "\x96\xA2\x92\x6D\x82\xCC\x83\x5E\x83\x4F\x82\xF0\x8C\xA9\x82\xC2\x82\xAF\x82\xBD\x20");
  EXPECT_EQ(SJ(u8"表"), "\x95\x5C");
}

}  // namespace
}  // namespace vrk
