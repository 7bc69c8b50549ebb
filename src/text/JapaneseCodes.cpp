#include "text/JapaneseCodes.h"

namespace vrk {
namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr BytePair kGetaJis{0x22, 0x2E};   // 〓
constexpr BytePair kGetaSjis{0x81, 0xAC};  // 〓

// JIS X 0208 cells of the half-width katakana 0xA1-0xDF.
constexpr unsigned char kKanaCells[63] = {
    0x23, 0x56, 0x57, 0x22, 0x26, 0x72, 0x21, 0x23, 0x25, 0x27, 0x29, 0x63, 0x65, 0x67, 0x43, 0x3C,
    0x22, 0x24, 0x26, 0x28, 0x2A, 0x2B, 0x2D, 0x2F, 0x31, 0x33, 0x35, 0x37, 0x39, 0x3B, 0x3D, 0x3F,
    0x41, 0x44, 0x46, 0x48, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x52, 0x55, 0x58, 0x5B, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x64, 0x66, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F, 0x73, 0x2B, 0x2C};

constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

constexpr bool isHalfKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }
constexpr bool isJisByte(unsigned char c) { return c >= 0x21 && c <= 0x7E; }
constexpr bool isEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }

// A Shift_JIS pair that lies inside JIS X 0208's 94 x 94 rows. Leads 0x80,
// 0xA0 and 0xF0-0xFF (user-defined and vendor areas) have no 7-bit form.
constexpr bool makesJisPair(unsigned char s1, unsigned char s2) {
  const bool lead = (s1 >= 0x81 && s1 <= 0x9F) || (s1 >= 0xE0 && s1 <= 0xEF);
  const bool trail = (s2 >= 0x40 && s2 <= 0x7E) || (s2 >= 0x80 && s2 <= 0xFC);
  return lead && trail;
}

unsigned char byteAt(std::string_view text, std::size_t i) {
  return static_cast<unsigned char>(text[i]);
}

void appendPair(std::string& out, BytePair pair) {
  out.push_back(static_cast<char>(pair[0]));
  out.push_back(static_cast<char>(pair[1]));
}

template <typename Convert>
int convertLines(const StringList& lines, StringList& out, Convert convert) {
  out.reserve(out.size() + lines.size());
  for (const std::string& line : lines) out.push_back(convert(line));
  return static_cast<int>(lines.size());
}

}  // namespace

BytePair jisPairToSjis_(unsigned char c1, unsigned char c2) {
  const auto first = static_cast<unsigned char>(((c1 + 1) >> 1) + (c1 <= 0x5E ? 0x70 : 0xB0));
  unsigned char second;
  if (c1 % 2 == 0)
    second = static_cast<unsigned char>(c2 + 0x7E);
  else
    second = static_cast<unsigned char>(c2 + (c2 < 0x60 ? 0x1F : 0x20));
  return {first, second};
}

BytePair sjisPairToJis_(unsigned char s1, unsigned char s2) {
  const auto row = static_cast<unsigned char>((s1 - (s1 >= 0xA0 ? 0xB0 : 0x70)) * 2);
  if (s2 > 0x9E) return {row, static_cast<unsigned char>(s2 - 0x7E)};
  return {static_cast<unsigned char>(row - 1),
          static_cast<unsigned char>(s2 - (s2 >= 0x80 ? 0x20 : 0x1F))};
}

BytePair halfKanaToJis_(std::string_view text, std::size_t& position) {
  const unsigned char kana = byteAt(text, position++);
  const bool punctuation = (kana >= 0xA1 && kana <= 0xA5) || kana == 0xB0 || kana == kVoicedMark ||
                           kana == kSemiVoicedMark;
  const unsigned char row = punctuation ? 0x21 : 0x25;
  unsigned char cell = kKanaCells[kana - 0xA1];
  const unsigned char mark = position < text.size() ? byteAt(text, position) : 0;
  if (mark == kVoicedMark) {
    if (kana == 0xB3) {  // ｳﾞ
      cell = 0x74;
      ++position;
    } else if ((kana >= 0xB6 && kana <= 0xC4) || (kana >= 0xCA && kana <= 0xCE)) {
      cell += 1;
      ++position;
    }
  } else if (mark == kSemiVoicedMark && kana >= 0xCA && kana <= 0xCE) {
    cell += 2;
    ++position;
  }
  return {row, cell};
}

namespace {

// Writes JIS character by character, switching modes as it goes, so that a
// text can be cut between characters into pieces that each end in one-byte mode.
class JisWriter {
 public:
  explicit JisWriter(OneByteSet back) : back_(back) {}

  // Converts the character at `i` and moves `i` past it.
  void put(std::string_view text, std::size_t& i) {
    const unsigned char c = byteAt(text, i);
    if (c < 0x80) {
      leaveTwoByte();
      out_.push_back(static_cast<char>(c));
      ++i;
      return;
    }
    if (!twoByte_) {
      out_.append("\x1B$B");
      twoByte_ = true;
    }
    if (isHalfKana(c)) {
      appendPair(out_, halfKanaToJis_(text, i));
    } else if (i + 1 < text.size() && makesJisPair(c, byteAt(text, i + 1))) {
      appendPair(out_, sjisPairToJis_(c, byteAt(text, i + 1)));
      i += 2;
    } else {
      appendPair(out_, kGetaJis);  // the next byte is read on its own
      ++i;
    }
  }
  // The length the text would have if it ended now.
  std::size_t finishedSize() const { return out_.size() + (twoByte_ ? 3 : 0); }
  std::string finish() {
    leaveTwoByte();
    twoByte_ = false;
    return std::move(out_);
  }
  struct Mark {
    std::size_t size;
    bool twoByte;
  };
  Mark mark() const { return {out_.size(), twoByte_}; }
  void rewind(Mark m) {
    out_.resize(m.size);
    twoByte_ = m.twoByte;
  }
  void reserve(std::size_t n) { out_.reserve(n); }

 private:
  void leaveTwoByte() {
    if (!twoByte_) return;
    out_.append(back_ == OneByteSet::Roman ? "\x1B(J" : "\x1B(B");
    twoByte_ = false;
  }

  OneByteSet back_;
  std::string out_;
  bool twoByte_ = false;
};

}  // namespace

std::string sjisToJis_(std::string_view text, OneByteSet back) {
  JisWriter writer(back);
  writer.reserve(text.size() + text.size() / 4 + 8);
  for (std::size_t i = 0; i < text.size();) writer.put(text, i);
  return writer.finish();
}

StringList sjisToJisPieces_(std::string_view text, std::size_t maxBytes, OneByteSet back) {
  StringList pieces;
  JisWriter writer(back);
  std::size_t pieceStart = 0;
  for (std::size_t i = 0; i < text.size();) {
    const JisWriter::Mark before = writer.mark();
    const std::size_t at = i;
    writer.put(text, i);
    if (writer.finishedSize() > maxBytes && at > pieceStart) {
      writer.rewind(before);
      pieces.push_back(writer.finish());
      pieceStart = i = at;
    }
  }
  pieces.push_back(writer.finish());
  return pieces;
}

std::string jisToSjis_(std::string_view text) {
  enum class Mode { OneByte, TwoByte, Kana } mode = Mode::OneByte;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = byteAt(text, i);
    if (c == kEsc) {
      if (i + 2 >= text.size()) break;  // an escape cut off at the end
      const unsigned char intermediate = byteAt(text, i + 1);
      if (intermediate == '$')
        mode = Mode::TwoByte;
      else if (intermediate == '(')
        mode = byteAt(text, i + 2) == 'I' ? Mode::Kana : Mode::OneByte;
      i += 3;
      continue;
    }
    if (mode == Mode::TwoByte && c != '\r' && c != '\n') {
      if (i + 1 < text.size() && isJisByte(c) && isJisByte(byteAt(text, i + 1))) {
        appendPair(out, jisPairToSjis_(c, byteAt(text, i + 1)));
        i += 2;
      } else {
        appendPair(out, kGetaSjis);
        ++i;
      }
      continue;
    }
    const bool kana = mode == Mode::Kana && c >= 0x21 && c <= 0x5F;
    out.push_back(static_cast<char>(kana ? c + 0x80 : c));
    ++i;
  }
  return out;
}

std::string eucToSjis_(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = byteAt(text, i);
    const bool more = i + 1 < text.size();
    if (c <= 0x80 || c == 0xFF) {
      out.push_back(static_cast<char>(c));
      ++i;
    } else if (c == 0x8E && more) {  // half-width katakana stay one byte
      out.push_back(text[i + 1]);
      i += 2;
    } else if (c == 0x8F && i + 2 < text.size()) {  // JIS X 0212: no Shift_JIS form
      appendPair(out, kGetaSjis);
      i += 3;
    } else if (more && isEucByte(c) && isEucByte(byteAt(text, i + 1))) {
      appendPair(out, jisPairToSjis_(c & 0x7F, byteAt(text, i + 1) & 0x7F));
      i += 2;
    } else {
      appendPair(out, kGetaSjis);
      ++i;
    }
  }
  return out;
}

int sjisToJisList_(const StringList& lines, StringList& out, OneByteSet back) {
  return convertLines(lines, out,
                      [back](const std::string& line) { return sjisToJis_(line, back); });
}

int jisToSjisList_(const StringList& lines, StringList& out) {
  return convertLines(lines, out, [](const std::string& line) { return jisToSjis_(line); });
}

int eucToSjisList_(const StringList& lines, StringList& out) {
  return convertLines(lines, out, [](const std::string& line) { return eucToSjis_(line); });
}

}  // namespace vrk
