#include "print/PropertyStream.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "platform/SjisBridge.h"
#include "text/Basic.h"

namespace vrk {
namespace {

enum ValueType : unsigned char {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
  vaUString = 21,
  vaQWord = 22,
  vaDouble = 23,
};

constexpr int kWindowTextColour = -16777208;
constexpr int kMaxNesting = 32;

// ---- writing

class Writer {
 public:
  std::string bytes;

  void shortString(std::string_view s) {
    const std::size_t n = std::min<std::size_t>(s.size(), 255);
    bytes += static_cast<char>(n);
    bytes.append(s.substr(0, n));
  }
  void name(std::string_view s) { shortString(s); }
  void integer(std::string_view prop, std::int64_t v) {
    name(prop);
    if (v >= -128 && v <= 127) {
      bytes += static_cast<char>(vaInt8);
      little(v, 1);
    } else if (v >= -32768 && v <= 32767) {
      bytes += static_cast<char>(vaInt16);
      little(v, 2);
    } else {
      bytes += static_cast<char>(vaInt32);
      little(v, 4);
    }
  }
  void string(std::string_view prop, std::string_view s) {
    name(prop);
    if (s.size() <= 255) {
      bytes += static_cast<char>(vaString);
      shortString(s);
    } else {
      bytes += static_cast<char>(vaLString);
      little(static_cast<std::int64_t>(s.size()), 4);
      bytes.append(s);
    }
  }
  void ident(std::string_view prop, std::string_view id) {
    name(prop);
    bytes += static_cast<char>(vaIdent);
    shortString(id);
  }
  void boolean(std::string_view prop, bool v) {
    name(prop);
    bytes += static_cast<char>(v ? vaTrue : vaFalse);
  }
  void set(std::string_view prop, const std::vector<std::string_view>& members) {
    name(prop);
    bytes += static_cast<char>(vaSet);
    for (std::string_view m : members) shortString(m);
    bytes += '\0';
  }

 private:
  void little(std::int64_t v, int n) {
    const auto u = static_cast<std::uint64_t>(v);
    for (int i = 0; i < n; ++i) bytes += static_cast<char>((u >> (8 * i)) & 0xFF);
  }
};

const char* alignName(TStringsPrinterHeaderAlign a) {
  static constexpr const char* kNames[] = {"haNone", "haLeft", "haCenter", "haRight"};
  return kNames[static_cast<int>(a)];
}
const char* pageOptionName(TStringsPrinterPageOption o) {
  static constexpr const char* kNames[] = {"poBoth", "poOdd", "poEven"};
  return kNames[static_cast<int>(o)];
}
const char* rangeName(TStringsPrinterRangeOption o) {
  return o == TStringsPrinterRangeOption::roLimited ? "roLimited" : "roWhole";
}

// ---- reading

// One value as read: integers, text (Shift_JIS), identifiers, booleans and
// sets are kept; other types are only skipped.
struct Value {
  ValueType type = vaNull;
  std::int64_t integer = 0;
  std::string text;
  std::vector<std::string> members;
  bool isInteger() const {
    return type == vaInt8 || type == vaInt16 || type == vaInt32 || type == vaInt64 ||
           type == vaQWord;
  }
  bool isText() const {
    return type == vaString || type == vaLString || type == vaWString || type == vaUTF8String ||
           type == vaUString;
  }
};

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool atEnd() const { return at_ >= bytes_.size(); }
  bool byte(unsigned char& out) {
    if (at_ >= bytes_.size()) return false;
    out = static_cast<unsigned char>(bytes_[at_++]);
    return true;
  }
  bool take(std::size_t n, std::string_view& out) {
    if (n > bytes_.size() - at_) return false;
    out = bytes_.substr(at_, n);
    at_ += n;
    return true;
  }
  bool little(int n, std::int64_t& out) {
    std::string_view raw;
    if (!take(static_cast<std::size_t>(n), raw)) return false;
    std::uint64_t u = 0;
    for (int i = n - 1; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(raw[i]);
    // Sign-extend the narrower integers.
    if (n < 8 && (u >> (8 * n - 1)) & 1) u |= ~std::uint64_t(0) << (8 * n);
    out = static_cast<std::int64_t>(u);
    return true;
  }
  bool shortString(std::string& out) {
    unsigned char n = 0;
    std::string_view raw;
    if (!byte(n) || !take(n, raw)) return false;
    out.assign(raw);
    return true;
  }
  bool longLength(std::size_t& n) {
    std::int64_t v = 0;
    if (!little(4, v) || v < 0) return false;
    n = static_cast<std::size_t>(v);
    return true;
  }

  bool value(Value& out, int depth = 0) {
    unsigned char type = 0;
    if (!byte(type)) return false;
    out = Value();
    out.type = static_cast<ValueType>(type);
    std::string_view raw;
    std::size_t n = 0;
    switch (type) {
      case vaNull:
      case vaNil:
      case vaFalse:
      case vaTrue:
        return true;
      case vaInt8:
        return little(1, out.integer);
      case vaInt16:
        return little(2, out.integer);
      case vaInt32:
        return little(4, out.integer);
      case vaInt64:
      case vaQWord:
        return little(8, out.integer);
      case vaExtended:
        return take(10, raw);
      case vaSingle:
        return take(4, raw);
      case vaCurrency:
      case vaDate:
      case vaDouble:
        return take(8, raw);
      case vaString:
      case vaIdent:
        return shortString(out.text);
      case vaLString:
        if (!longLength(n) || !take(n, raw)) return false;
        out.text.assign(raw);
        return true;
      case vaUTF8String:
        if (!longLength(n) || !take(n, raw)) return false;
        out.text = utf8ToSjis(raw).value_or(std::string());
        return true;
      case vaWString:
      case vaUString:
        if (!longLength(n) || n > (bytes_.size() - at_) / 2 || !take(2 * n, raw)) return false;
        out.text = utf8ToSjis(utf16ToUtf8(raw)).value_or(std::string());
        return true;
      case vaBinary:
        return longLength(n) && take(n, raw);
      case vaSet:
        while (true) {
          std::string member;
          if (!shortString(member)) return false;
          if (member.empty()) return true;
          out.members.push_back(std::move(member));
        }
      case vaList:
        if (depth >= kMaxNesting) return false;
        while (true) {
          if (atEnd()) return false;
          if (bytes_[at_] == 0) return ++at_, true;
          Value item;
          if (!value(item, depth + 1)) return false;
        }
      case vaCollection:
        if (depth >= kMaxNesting) return false;
        while (true) {
          unsigned char head = 0;
          if (!byte(head)) return false;
          if (head == 0) return true;
          if (head == vaInt8 || head == vaInt16 || head == vaInt32) {  // an item's index
            std::int64_t ignored = 0;
            if (!little(head == vaInt8 ? 1 : head == vaInt16 ? 2 : 4, ignored)) return false;
            if (!byte(head)) return false;
          }
          if (head != vaList) return false;
          if (!properties(depth + 1)) return false;
        }
      default:
        return false;
    }
  }

  // A property list of a collection item, skipped.
  bool properties(int depth) {
    while (true) {
      std::string name;
      if (!shortString(name)) return false;
      if (name.empty()) return true;
      Value v;
      if (!value(v, depth)) return false;
    }
  }

 private:
  static std::string utf16ToUtf8(std::string_view raw) {
    std::string out;
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
      char32_t c =
          static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8);
      if (c >= 0xD800 && c < 0xDC00 && i + 3 < raw.size()) {
        const char32_t low =
            static_cast<unsigned char>(raw[i + 2]) | (static_cast<unsigned char>(raw[i + 3]) << 8);
        if (low >= 0xDC00 && low < 0xE000) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          i += 2;
        }
      }
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return out;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
};

std::optional<int> intOf(const Value& v) {
  if (!v.isInteger() || v.integer < std::numeric_limits<int>::min() ||
      v.integer > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(v.integer);
}

template <typename Enum, std::size_t N>
std::optional<Enum> enumOf(const Value& v, const char* const (&names)[N]) {
  if (v.type != vaIdent) return std::nullopt;
  for (std::size_t i = 0; i < N; ++i)
    if (v.text == names[i]) return static_cast<Enum>(i);
  return std::nullopt;
}

constexpr const char* kAlignNames[] = {"haNone", "haLeft", "haCenter", "haRight"};
constexpr const char* kPageOptionNames[] = {"poBoth", "poOdd", "poEven"};
constexpr const char* kRangeNames[] = {"roWhole", "roLimited"};

bool lowerEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Sets one property; false when the value does not fit the property (the
// reading stops there). Unknown names are skipped.
bool apply(const std::string& name, const Value& v, TStringsPrinter& p) {
  using IntSetter = void (TStringsPrinter::*)(int);
  static const std::pair<const char*, IntSetter> kIntegers[] = {
      {"ColumnCount", &TStringsPrinter::setColumnCount_},
      {"ColumnSpace", &TStringsPrinter::setColumnSpace_},
      {"FirstLineNumber", &TStringsPrinter::setFirstLineNumber_},
      {"FirstPageNumber", &TStringsPrinter::setFirstPageNumber_},
      {"LastLine", &TStringsPrinter::setLastLine_},
      {"LastPage", &TStringsPrinter::setLastPage_},
      {"MarginBottom", &TStringsPrinter::setMarginBottom_},
      {"MarginLeft", &TStringsPrinter::setMarginLeft_},
      {"MarginRight", &TStringsPrinter::setMarginRight_},
      {"MarginTop", &TStringsPrinter::setMarginTop_},
      {"MarginLine", &TStringsPrinter::setMarginLine_},
      {"StartLine", &TStringsPrinter::setStartLine_},
      {"StartPage", &TStringsPrinter::setStartPage_},
  };
  for (const auto& [key, setter] : kIntegers) {
    if (!lowerEquals(name, key)) continue;
    const std::optional<int> i = intOf(v);
    if (!i) return false;
    (p.*setter)(*i);
    return true;
  }
  auto text = [&](void (TStringsPrinter::*setter)(std::string)) {
    if (!v.isText()) return false;
    (p.*setter)(v.text);
    return true;
  };
  if (lowerEquals(name, "FileName")) return text(&TStringsPrinter::setFileName_);
  if (lowerEquals(name, "Header")) return text(&TStringsPrinter::setHeader_);
  if (lowerEquals(name, "Footer")) return text(&TStringsPrinter::setFooter_);
  if (lowerEquals(name, "HeaderAlign") || lowerEquals(name, "FooterAlign")) {
    const auto a = enumOf<TStringsPrinterHeaderAlign>(v, kAlignNames);
    if (!a) return false;
    lowerEquals(name, "HeaderAlign") ? p.setHeaderAlign_(*a) : p.setFooterAlign_(*a);
    return true;
  }
  if (lowerEquals(name, "PageOption")) {
    const auto o = enumOf<TStringsPrinterPageOption>(v, kPageOptionNames);
    if (o) p.setPageOption_(*o);
    return o.has_value();
  }
  if (lowerEquals(name, "RangeOption") || lowerEquals(name, "LineRangeOption")) {
    const auto o = enumOf<TStringsPrinterRangeOption>(v, kRangeNames);
    if (!o) return false;
    lowerEquals(name, "RangeOption") ? p.setRangeOption_(*o) : p.setLineRangeOption_(*o);
    return true;
  }
  if (lowerEquals(name, "LineNumber")) {
    if (v.type != vaTrue && v.type != vaFalse) return false;
    p.setLineNumber_(v.type == vaTrue);
    return true;
  }
  if (name.size() > 5 && lowerEquals(name.substr(0, 5), "Font.")) {
    const std::string sub = name.substr(5);
    TStringsPrinterFont f = p.font();
    if (lowerEquals(sub, "Name")) {
      if (!v.isText()) return false;
      f.name = v.text;
    } else if (lowerEquals(sub, "Size") || lowerEquals(sub, "Height") ||
               lowerEquals(sub, "Charset")) {
      const std::optional<int> i = intOf(v);
      if (!i) return false;
      if (lowerEquals(sub, "Size"))
        f.size = *i < 0 ? -*i : *i;
      else if (lowerEquals(sub, "Height"))
        f.size = fontSizeOfHeight_(*i);
      else
        f.charset = *i;
    } else if (lowerEquals(sub, "Color")) {
      if (const std::optional<int> i = intOf(v)) {
        f.color = *i;
      } else if (v.type == vaIdent) {
        f.color =
            v.text == "clWindowText" ? kWindowTextColour : static_cast<int>(textToColour_(v.text));
      } else {
        return false;
      }
    } else if (lowerEquals(sub, "Style")) {
      if (v.type != vaSet) return false;
      f.bold = f.italic = f.underline = f.strikeOut = false;
      for (const std::string& m : v.members) {
        if (m == "fsBold")
          f.bold = true;
        else if (m == "fsItalic")
          f.italic = true;
        else if (m == "fsUnderline")
          f.underline = true;
        else if (m == "fsStrikeOut")
          f.strikeOut = true;
      }
    }
    p.setFont_(f);
    return true;
  }
  return true;  // a property of some other version: skipped
}

}  // namespace

int fontHeightOfSize_(int size) { return -static_cast<int>(std::lround(size * 96.0 / 72.0)); }

int fontSizeOfHeight_(int height) {
  // A positive height includes the internal leading; taken as a size all the same.
  const int h = height < 0 ? -height : height;
  return static_cast<int>(std::lround(h * 72.0 / 96.0));
}

std::string writeStringsPrinterStream_(const TStringsPrinter& p, std::string_view objectName) {
  Writer w;
  w.bytes = "TPF0";
  w.shortString("TStringsPrinter");
  w.shortString(objectName);
  w.integer("ColumnCount", p.columnCount());
  w.integer("ColumnSpace", p.columnSpace());
  w.string("FileName", p.fileName());
  w.integer("FirstLineNumber", p.firstLineNumber());
  w.integer("FirstPageNumber", p.firstPageNumber());
  const TStringsPrinterFont& f = p.font();
  w.integer("Font.Charset", f.charset);
  if (f.color == kWindowTextColour)
    w.ident("Font.Color", "clWindowText");
  else
    w.integer("Font.Color", f.color);
  w.integer("Font.Height", fontHeightOfSize_(f.size));
  w.string("Font.Name", f.name);
  std::vector<std::string_view> style;
  if (f.bold) style.push_back("fsBold");
  if (f.italic) style.push_back("fsItalic");
  if (f.underline) style.push_back("fsUnderline");
  if (f.strikeOut) style.push_back("fsStrikeOut");
  w.set("Font.Style", style);
  w.string("Footer", p.footer());
  w.ident("FooterAlign", alignName(p.footerAlign()));
  w.string("Header", p.header());
  w.ident("HeaderAlign", alignName(p.headerAlign()));
  w.integer("LastLine", p.lastLine());
  w.integer("LastPage", p.lastPage());
  w.boolean("LineNumber", p.lineNumber());
  w.ident("LineRangeOption", rangeName(p.lineRangeOption()));
  w.integer("MarginBottom", p.marginBottom());
  w.integer("MarginLeft", p.marginLeft());
  w.integer("MarginRight", p.marginRight());
  w.integer("MarginTop", p.marginTop());
  w.integer("MarginLine", p.marginLine());
  w.ident("PageOption", pageOptionName(p.pageOption()));
  w.ident("RangeOption", rangeName(p.rangeOption()));
  w.integer("StartLine", p.startLine());
  w.integer("StartPage", p.startPage());
  w.bytes += '\0';  // end of the properties
  w.bytes += '\0';  // no children
  return w.bytes;
}

int readStringsPrinterStream_(std::string_view bytes, TStringsPrinter& printer) {
  Reader r(bytes);
  std::string_view signature;
  if (!r.take(4, signature) || signature != "TPF0") return -1;
  unsigned char first = 0;
  if (!r.byte(first)) return -1;
  std::string className, objectName;
  if ((first & 0xF0) == 0xF0) {  // filer flags of inherited or inline objects
    if (first & 0x02) {
      Value position;
      if (!r.value(position)) return -1;
    }
    if (!r.shortString(className)) return -1;
  } else {
    std::string_view rest;
    if (!r.take(first, rest)) return -1;
    className.assign(rest);
  }
  if (!r.shortString(objectName)) return -1;
  while (true) {
    std::string name;
    if (!r.shortString(name)) return -1;
    if (name.empty()) break;
    Value v;
    if (!r.value(v)) return -1;
    if (!apply(name, v, printer)) return -1;
  }
  return 0;
}

}  // namespace vrk
