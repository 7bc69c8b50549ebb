#include "text/StringEX.h"

#include <algorithm>
#include <array>

#include "text/CharEX.h"

namespace vrk {
namespace {

constexpr auto npos = std::string_view::npos;

thread_local std::size_t droppedHalfChars = 0;

// Entity characters are below 0x40, where no trail byte lies, so they are
// mapped byte by byte; the bytes between them are appended a run at a time. Half
// a character (a lead byte before one of them, or at the end) would claim the
// byte after it in every reader, the closing quote or "<BR/>" included: it is
// dropped, being no text.
void appendEntities(std::string& out, std::string_view text, bool quotes) {
  static constexpr auto kSpecial = [] {
    std::array<bool, 256> special{};
    for (const unsigned char c : {'&', '<', '>', '"'}) special[c] = true;
    return special;
  }();
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(text[i]))) {
      if (isHalfCharAt(text, i)) {
        out.append(text.substr(done, i - done));
        done = i + 1;
        ++droppedHalfChars;
      } else {
        ++i;  // the trail byte, whatever its value
      }
      continue;
    }
    if (!kSpecial[static_cast<unsigned char>(text[i])]) continue;
    std::string_view entity;
    switch (text[i]) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      default:  // a double quote
        if (!quotes) continue;
        entity = "&quot;";
    }
    out.append(text.substr(done, i - done)).append(entity);
    done = i + 1;
  }
  out.append(text.substr(done));
}

std::string escapeEntities(std::string_view text, bool quotes) {
  std::string out;
  out.reserve(text.size());
  appendEntities(out, text, quotes);
  return out;
}

// Next delimiter at or after `from` that stands outside a quoted run; the scan
// starts outside a run. A doubled closing quote closes the run and opens it
// again at once, which keeps the pair inside (a quote that opens a run is never
// a delimiter).
std::size_t findUnquotedDelimiter(std::string_view text, std::string_view delimiters,
                                  std::size_t from) {
  char closing = '\0';
  for (std::size_t i = from; i < text.size(); i += charLengthAt(text, i)) {
    if (charLengthAt(text, i) == 2) continue;
    const char c = text[i];
    if (closing != '\0') {
      if (c == closing) closing = '\0';
    } else if (delimiters.find(c) != npos) {
      return i;
    } else if (c == '"' || c == '\'') {
      closing = c;
    }
  }
  return npos;
}

using DelimiterFinder = std::size_t (*)(std::string_view, std::string_view, std::size_t);

SplitPair splitPair(std::string_view text, std::string_view delimiters, DelimiterFinder find) {
  const std::size_t at = find(text, delimiters, 0);
  if (at == npos) return {std::string(text), std::string()};
  return {std::string(text.substr(0, at)), trim_(text.substr(at + 1))};
}

void splitList(std::string_view text, std::string_view delimiters, StringList& list,
               DelimiterFinder find) {
  list.clear();
  std::size_t start = 0;
  for (std::size_t at = find(text, delimiters, 0); at != npos; at = find(text, delimiters, start)) {
    list.push_back(trim_(text.substr(start, at - start)));
    start = at + 1;
  }
  if (start < text.size()) list.emplace_back(text.substr(start));
}

std::string removeCharsOf(std::string_view text, std::string_view set) {
  std::string out;
  std::size_t done = 0;
  for (std::size_t at = findCharOf_(text, set); at != npos; at = findCharOf_(text, set, done)) {
    out.append(text.substr(done, at - done));
    done = at + 1;
  }
  return out.append(text.substr(done));
}

// Last dot-parts that name a site rather than a page.
constexpr std::array<std::string_view, 255> kSiteEndings = {
    ".com", ".org", ".net", ".gov", ".edu", ".int", ".name", ".info", ".biz", ".mil", ".ac", ".ad",
    ".ae",  ".af",  ".ag",  ".ai",  ".al",  ".am",  ".an",   ".ao",   ".aq",  ".ar",  ".as", ".at",
    ".au",  ".aw",  ".az",  ".ba",  ".bb",  ".bd",  ".be",   ".bg",   ".bh",  ".bi",  ".bj", ".bm",
    ".bn",  ".bo",  ".br",  ".bs",  ".bt",  ".bv",  ".bw",   ".by",   ".bz",  ".ca",  ".cc", ".cd",
    ".cf",  ".cg",  ".ch",  ".ci",  ".ck",  ".cl",  ".cm",   ".cn",   ".co",  ".cr",  ".cs", ".cu",
    ".cv",  ".cx",  ".cy",  ".cz",  ".de",  ".dj",  ".dk",   ".dm",   ".do",  ".dz",  ".ec", ".ee",
    ".eg",  ".eh",  ".er",  ".es",  ".et",  ".fi",  ".fj",   ".fk",   ".fm",  ".fo",  ".fr", ".fx",
    ".ga",  ".gb",  ".gd",  ".ge",  ".gf",  ".gg",  ".gh",   ".gi",   ".gl",  ".gm",  ".gn", ".gp",
    ".gq",  ".gr",  ".gs",  ".gt",  ".gu",  ".gw",  ".gy",   ".hk",   ".hm",  ".hn",  ".hr", ".ht",
    ".hu",  ".id",  ".ie",  ".il",  ".in",  ".io",  ".iq",   ".ir",   ".is",  ".it",  ".je", ".jm",
    ".jo",  ".jp",  ".ke",  ".kg",  ".kh",  ".ki",  ".km",   ".kn",   ".kp",  ".kr",  ".kw", ".ky",
    ".kz",  ".la",  ".lb",  ".lc",  ".li",  ".lk",  ".lr",   ".ls",   ".lt",  ".lu",  ".lv", ".ly",
    ".ma",  ".mc",  ".md",  ".mg",  ".mh",  ".mk",  ".ml",   ".mm",   ".mn",  ".mo",  ".mp", ".mq",
    ".mr",  ".ms",  ".mt",  ".mu",  ".mv",  ".mw",  ".mx",   ".my",   ".mz",  ".na",  ".nc", ".ne",
    ".nf",  ".ng",  ".ni",  ".nl",  ".no",  ".np",  ".nr",   ".nt",   ".nu",  ".nz",  ".om", ".pa",
    ".pe",  ".pf",  ".pg",  ".ph",  ".pk",  ".pl",  ".pm",   ".pn",   ".pr",  ".pt",  ".pw", ".py",
    ".qa",  ".re",  ".ro",  ".ru",  ".rw",  ".sa",  ".sb",   ".sc",   ".sd",  ".se",  ".sg", ".sh",
    ".si",  ".sj",  ".sk",  ".sl",  ".sm",  ".sn",  ".so",   ".sr",   ".st",  ".su",  ".sv", ".sy",
    ".sz",  ".tc",  ".td",  ".tf",  ".tg",  ".th",  ".tj",   ".tk",   ".tn",  ".to",  ".tp", ".tr",
    ".tt",  ".tv",  ".tw",  ".tz",  ".ua",  ".uk",  ".ug",   ".um",   ".us",  ".uy",  ".uz", ".va",
    ".vc",  ".ve",  ".vi",  ".vg",  ".vn",  ".vu",  ".wf",   ".ws",   ".ye",  ".yt",  ".yu", ".za",
    ".zm",  ".zr",  ".zw",
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The odometer walk from byte end-1 towards the first byte.
std::string stepDigits(std::string_view text, std::size_t end, bool up) {
  std::string out(text);
  const char wrapFrom = up ? '9' : '0';
  const char wrapTo = up ? '0' : '9';
  bool carry = false;
  for (std::size_t i = end; i-- > 0;) {
    char& c = out[i];
    if (!isDigit(c)) {
      if (carry) break;
      continue;
    }
    if (c != wrapFrom) {
      c = static_cast<char>(up ? c + 1 : c - 1);
      break;
    }
    c = wrapTo;
    carry = true;
  }
  return out;
}

// The walk of the tens starts before the last digit, which stays as it is.
std::string stepTens(std::string_view text, bool up) {
  const auto last = std::find_if(text.rbegin(), text.rend(), isDigit);
  if (last == text.rend()) return std::string(text);
  return stepDigits(text, static_cast<std::size_t>(text.rend() - last) - 1, up);
}

}  // namespace

std::string quote_(std::string_view text, char q) {
  const std::string_view mark(&q, 1);
  std::string out;
  if (!startsWith_(text, mark)) out += q;
  out += text;
  // Tested on the text itself, so that an empty text gives the pair.
  if (!endsWith_(text, mark)) out += q;
  return out;
}

std::string unquote_(std::string_view text, char q) { return std::string(unquoteView_(text, q)); }

std::string_view unquoteView_(std::string_view text, char q) {
  const std::string_view mark(&q, 1);
  if (!startsWith_(text, mark)) return text;
  std::string_view inner = text.substr(1);
  if (endsWith_(inner, mark)) inner.remove_suffix(1);
  return inner;
}

std::string escapeHTML_(std::string_view text) {
  std::string out = escapeEntities(text, false);
  if (!out.empty() && out[0] == ' ') out.replace(0, 1, "&nbsp;");
  return out;
}

std::size_t countOfDroppedHalfChars() { return droppedHalfChars; }

std::string escapeXML_(std::string_view text) { return escapeEntities(text, true); }

void appendEscapedXML_(std::string& out, std::string_view text) { appendEntities(out, text, true); }

std::string unescapeXML_(std::string_view text) {
  static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
      {"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
  if (text.find('&') == npos) return std::string(text);
  // One pass, left to right: no replacement can make or break another entity,
  // so this equals replacing each entity in turn. "&" is never a trail byte,
  // but a lead byte before it claims it.
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = charLengthAt(text, at);
    const auto entity =
        text[at] != '&'
            ? std::end(kEntities)
            : std::find_if(std::begin(kEntities), std::end(kEntities), [&](const auto& e) {
                return startsWithText_(text.substr(at), e.first);
              });
    if (entity != std::end(kEntities)) {
      out += entity->second;
      at += entity->first.size();
    } else {
      out.append(text.substr(at, length));
      at += length;
    }
  }
  return out;
}

SplitPair splitWord_(std::string_view text) { return splitAt_(text, " \t"); }

SplitPair splitAt_(std::string_view text, std::string_view delimiters) {
  return splitPair(text, delimiters, findCharOf_);
}

SplitPair splitQuotedAt_(std::string_view text, std::string_view delimiters) {
  return splitPair(trim_(text), delimiters, findUnquotedDelimiter);
}

void splitText_(std::string_view text, std::string_view delimiters, StringList& list) {
  splitList(text, delimiters, list, findCharOf_);
}

void splitQuoted_(std::string_view text, std::string_view delimiters, StringList& list) {
  splitList(text, delimiters, list, findUnquotedDelimiter);
}

std::string safeFileName_(std::string_view text) {
  static constexpr std::string_view kUnsafe = "\\/:,;*?\"<>|";
  std::string out(text);
  for (std::size_t at = findCharOf_(out, kUnsafe); at != npos;
       at = findCharOf_(out, kUnsafe, at + 1)) {
    out[at] = '_';
  }
  return out;
}

std::string urlToFileName_(std::string_view address) {
  if (isBlank_(address)) return "space.html";
  std::string name(address);
  if (endsWith_(name, "/")) name += "index.html";
  name = removeCharsOf(name, ":<>/\\");
  const std::size_t dot = findLastCharOf_(name, ".");
  const std::string extension = dot == npos ? std::string() : lowerCase_(name.substr(dot));
  if (extension == "." ||
      std::find(kSiteEndings.begin(), kSiteEndings.end(), extension) != kSiteEndings.end()) {
    name += "_index.html";
  }
  return name;
}

bool hasDigit_(std::string_view text) { return std::any_of(text.begin(), text.end(), isDigit); }

bool allDigits_(std::string_view text) { return std::all_of(text.begin(), text.end(), isDigit); }

std::string digitsOf_(std::string_view text) {
  std::string out;
  std::copy_if(text.begin(), text.end(), std::back_inserter(out), isDigit);
  return out;
}

std::string incDigits_(std::string_view text) { return stepDigits(text, text.size(), true); }
std::string decDigits_(std::string_view text) { return stepDigits(text, text.size(), false); }
std::string incTens_(std::string_view text) { return stepTens(text, true); }
std::string decTens_(std::string_view text) { return stepTens(text, false); }

std::string boolText_(bool flag) { return flag ? "true" : "false"; }

}  // namespace vrk
