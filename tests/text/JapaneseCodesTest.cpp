#include "text/JapaneseCodes.h"

#include <iconv.h>

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "text/SjisSamples.h"

namespace vrk {
namespace {

const std::string kEscTwoByte = "\x1B$B";
const std::string kEscRoman = "\x1B(J";
const std::string kEscAscii = "\x1B(B";
const std::string kGetaJis = "\x22\x2E";
const std::string kGetaSjis = "\x81\xAC";

// The system's own converter, as an independent peer.
std::optional<std::string> iconvText(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string inBytes(in);
  std::string out(in.size() * 4 + 8, '\0');
  char* inPtr = inBytes.data();
  char* outPtr = out.data();
  std::size_t inLeft = inBytes.size(), outLeft = out.size();
  const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

TEST(JapaneseCodes, ShiftJisToJis) {
  struct Case {
    const char* what;
    std::string sjis, jis;
  } cases[] = {
      {"plain ASCII has no escape", "Hello, world\\~", "Hello, world\\~"},
      {"one kanji", sjis::kHyo, kEscTwoByte + "\x49\x3D" + kEscRoman},
      {"back to one byte before a line break", sjis::kHyo + "\r\n",
       kEscTwoByte + "\x49\x3D" + kEscRoman + "\r\n"},
      {"one escape for a run", sjis::kA + sjis::kSo + "x",
       kEscTwoByte + "\x25\x22\x25\x3D" + kEscRoman + "x"},
      {"half-width ka and voiced mark: ga", "\xB6\xDE", kEscTwoByte + "\x25\x2C" + kEscRoman},
      {"half-width ha and semi-voiced mark: pa", "\xCA\xDF", kEscTwoByte + "\x25\x51" + kEscRoman},
      {"half-width u and voiced mark: vu", "\xB3\xDE", kEscTwoByte + "\x25\x74" + kEscRoman},
      {"a voiced mark that merges with nothing", "\xB1\xDE",
       kEscTwoByte + "\x25\x22\x21\x2B" + kEscRoman},
      {"half-width punctuation and long vowel", "\xA1\xB0",
       kEscTwoByte + "\x21\x23\x21\x3C" + kEscRoman},
      // Bytes that make no JIS X 0208 pair: the geta mark, the next byte read on its own.
      {"a lead byte at the end", "a\x81", "a" + kEscTwoByte + kGetaJis + kEscRoman},
      {"a lead byte before a line break", "\x88\r\n", kEscTwoByte + kGetaJis + kEscRoman + "\r\n"},
      {"a lead byte before a space", "\x88 ", kEscTwoByte + kGetaJis + kEscRoman + " "},
      {"lead 0x80", "\x80\x40", kEscTwoByte + kGetaJis + kEscRoman + "@"},
      {"lead 0xA0", "\xA0\x40", kEscTwoByte + kGetaJis + kEscRoman + "@"},
      {"user-defined lead 0xF0", "\xF0\x40", kEscTwoByte + kGetaJis + kEscRoman + "@"},
      {"vendor lead 0xFA with a trail", "\xFA\x40", kEscTwoByte + kGetaJis + kEscRoman + "@"},
      {"lead 0xFF before a kanji", "\xFF" + sjis::kHyo,
       kEscTwoByte + kGetaJis + "\x49\x3D" + kEscRoman},
      {"trail 0x7F is no trail", "\x88\x7F", kEscTwoByte + kGetaJis + kEscRoman + "\x7F"},
  };
  for (const Case& c : cases) EXPECT_EQ(sjisToJis_(c.sjis), c.jis) << c.what;

  EXPECT_EQ(sjisToJis_(sjis::kHyo + "a", OneByteSet::Ascii),
            kEscTwoByte + "\x49\x3D" + kEscAscii + "a");
  // Whatever goes in, JIS comes out 7-bit.
  std::mt19937 rng(1468);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(1 + rng() % 40, '\0');
    for (char& b : bytes) b = static_cast<char>(rng() % 3 ? 0x80 + rng() % 0x80 : rng() % 0x100);
    for (const char b : sjisToJis_(bytes)) ASSERT_LT(static_cast<unsigned char>(b), 0x80) << round;
  }
}

TEST(JapaneseCodes, JisAndEucToShiftJis) {
  struct Case {
    const char* what;
    std::string in, sjis;
  };
  const Case jisCases[] = {
      {"two-byte with @ and B escapes, back with J and B",
       "\x1B$B\x30\x21\x1B(Ja\x1B$@\x49\x3D\x1B(Bb",
       "\x88\x9F"
       "a" +
           sjis::kHyo + "b"},
      {"half-width katakana after (I", "\x1B(I\x31\x5F\x1B(Bz", "\xB1\xDFz"},
      {"an escape cut at the end stops", "a\x1B$", "a"},
      {"a pair cut at the end", "\x1B$B\x30", kGetaSjis},
      {"an 8-bit byte and a lone byte in two-byte mode", "\x1B$B\xB0\x21\x1B(Bz",
       kGetaSjis + kGetaSjis + "z"},
      {"line breaks inside two-byte mode are kept", "\x1B$B\x30\x21\r\n", "\x88\x9F\r\n"},
      {"no escape: copied", "\\~", "\\~"},
  };
  for (const Case& c : jisCases) EXPECT_EQ(jisToSjis_(c.in), c.sjis) << c.what;

  const Case eucCases[] = {
      {"a pair", "\xB0\xA1", "\x88\x9F"},
      {"half-width katakana stay one byte", "\x8E\xB1\x8E\xDF", "\xB1\xDF"},
      {"0x80 and 0xFF are copied", "\x80\xFF", "\x80\xFF"},
      {"a lead at the end", "a\xB0", "a" + kGetaSjis},
      {"a lead before ASCII",
       "\xB0"
       "a",
       kGetaSjis + "a"},
      {"a three-byte JIS X 0212 character", "\x8F\xB0\xA1z", kGetaSjis + "z"},
      {"0x8E at the end", "\x8E", kGetaSjis},
  };
  for (const Case& c : eucCases) EXPECT_EQ(eucToSjis_(c.in), c.sjis) << c.what;
}

// Every two-byte character of rows 1 to 84 against the system's EUC-JP-MS:
// JIS is its EUC less the high bits, and both ways lead back. NEC's row-13
// twins of row-2 symbols (0x8790-0x879C) map to the row-2 codes in EUC and
// have their own row here, so they go one way only.
TEST(JapaneseCodes, EveryPairOfRowsOneToEightyFourAgreesWithIconv) {
  if (!iconvText("EUC-JP-MS", "CP932", "a")) GTEST_SKIP() << "iconv lacks EUC-JP-MS";
  int compared = 0;
  for (int s1 = 0x81; s1 <= 0xEA; ++s1) {  // 0xEA holds rows 83 and 84
    if (s1 > 0x9F && s1 < 0xE0) continue;
    for (int s2 = 0x40; s2 <= 0xFC; ++s2) {
      if (s2 == 0x7F) continue;
      const std::string sjis{static_cast<char>(s1), static_cast<char>(s2)};
      const std::optional<std::string> euc = iconvText("EUC-JP-MS", "CP932", sjis);
      if (!euc || euc->size() != 2) continue;  // unassigned, or JIS X 0212
      const bool twin = s1 == 0x87 && s2 >= 0x90 && s2 <= 0x9C;
      const std::string jisPair{static_cast<char>((*euc)[0] & 0x7F),
                                static_cast<char>((*euc)[1] & 0x7F)};
      if (!twin) {
        ASSERT_EQ(sjisToJis_(sjis), kEscTwoByte + jisPair + kEscRoman) << std::hex << s1 << s2;
        ASSERT_EQ(eucToSjis_(*euc), sjis) << std::hex << s1 << s2;
      }
      ASSERT_EQ(jisToSjis_(sjisToJis_(sjis)), sjis) << std::hex << s1 << s2;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 6879 + 83);  // JIS X 0208 and NEC's row 13

  // Half-width katakana: one byte in EUC after 0x8E, and as such back.
  for (int kana = 0xA1; kana <= 0xDF; ++kana) {
    const std::string sjis(1, static_cast<char>(kana));
    const std::optional<std::string> euc = iconvText("EUC-JP-MS", "CP932", sjis);
    ASSERT_TRUE(euc);
    EXPECT_EQ(eucToSjis_(*euc), sjis) << std::hex << kana;
  }
}

TEST(JapaneseCodes, FullWidthTextComesBackAndHalfWidthKanaBecomeFullWidth) {
  // Characters of JIS X 0208 and ASCII in any order: JIS and back is the text.
  std::mt19937 rng(2045);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int k = 0; k < 30; ++k) {
      if (rng() % 3 == 0) {
        text += static_cast<char>(0x20 + rng() % 0x5F);
      } else {
        const auto pair = jisPairToSjis_(static_cast<unsigned char>(0x30 + rng() % 0x44),
                                         static_cast<unsigned char>(0x21 + rng() % 0x5E));
        text += static_cast<char>(pair[0]);
        text += static_cast<char>(pair[1]);
      }
    }
    ASSERT_EQ(jisToSjis_(sjisToJis_(text)), text) << round;
  }
  // ｶﾞｷﾞｸﾞ ﾊﾟ ｳﾞ through JIS: the full-width kana, as the system converts them.
  const std::string half = "\xB6\xDE\xB7\xDE\xB8\xDE \xCA\xDF \xB3\xDE";
  EXPECT_EQ(jisToSjis_(sjisToJis_(half)), *iconvText("CP932", "UTF-8", "ガギグ パ ヴ"));

  const StringList lines{sjis::kHyo, "x"};
  StringList jis{"kept"};
  EXPECT_EQ(sjisToJisList_(lines, jis), 2);
  EXPECT_EQ(jis, (StringList{"kept", kEscTwoByte + "\x49\x3D" + kEscRoman, "x"}));
  StringList back;
  EXPECT_EQ(jisToSjisList_(StringList(jis.begin() + 1, jis.end()), back), 2);
  EXPECT_EQ(back, lines);
  StringList fromEuc;
  EXPECT_EQ(eucToSjisList_({"\xC9\xBD", ""}, fromEuc), 2);
  EXPECT_EQ(fromEuc, (StringList{sjis::kHyo, ""}));
}

}  // namespace
}  // namespace vrk
