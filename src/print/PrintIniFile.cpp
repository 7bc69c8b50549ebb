#include "print/PrintIniFile.h"

#include <charconv>

#include "platform/Path.h"
#include "print/PropertyStream.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"

namespace vrk {
namespace {

// "[name]" after trimming: the name, else nullopt.
std::optional<std::string_view> sectionName(std::string_view line) {
  const std::string_view t = trimView_(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
  return trimView_(t.substr(1, t.size() - 2));
}

// The key of a "key=value" line, trimmed; nullopt without "=".
std::optional<std::string_view> keyOf(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return trimView_(line.substr(0, eq));
}

// [begin, end) of the lines inside the section (after its header); begin is
// npos when the section is absent.
std::pair<std::size_t, std::size_t> sectionRange(const StringList& lines,
                                                 std::string_view section) {
  std::size_t begin = std::string::npos;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = sectionName(lines[i]);
    if (!name) continue;
    if (begin != std::string::npos) return {begin, i};
    if (sameText_(*name, section)) begin = i + 1;
  }
  return {begin, lines.size()};
}

std::size_t keyLine(const StringList& lines, std::string_view section, std::string_view key) {
  const auto [begin, end] = sectionRange(lines, section);
  if (begin == std::string::npos) return std::string::npos;
  for (std::size_t i = begin; i < end; ++i) {
    const auto k = keyOf(lines[i]);
    if (k && sameText_(*k, key)) return i;
  }
  return std::string::npos;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string countKey(std::string_view key) { return std::string(key) + "_c"; }
std::string lineKey(std::string_view key, std::size_t i) {
  return std::string(key) + "_d" + std::to_string(i);
}

}  // namespace

std::optional<std::string> iniSectionValue_(const StringList& lines, std::string_view section,
                                            std::string_view key) {
  const std::size_t i = keyLine(lines, section, key);
  if (i == std::string::npos) return std::nullopt;
  return std::string(lines[i].substr(lines[i].find('=') + 1));
}

void iniSetSectionValue_(StringList& lines, std::string_view section, std::string_view key,
                         std::string_view value) {
  std::string line = std::string(key) + "=" + std::string(value);
  const std::size_t i = keyLine(lines, section, key);
  if (i != std::string::npos) {
    lines[i] = std::move(line);
    return;
  }
  auto [begin, end] = sectionRange(lines, section);
  if (begin == std::string::npos) {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(std::move(line));
    return;
  }
  // After the section's last non-blank line, so that a blank separator stays last.
  std::size_t at = end;
  while (at > begin && isBlank_(lines[at - 1])) --at;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void iniDeleteSectionKey_(StringList& lines, std::string_view section, std::string_view key) {
  const std::size_t i = keyLine(lines, section, key);
  if (i != std::string::npos) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
}

StringList bytesToHexLines_(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  StringList lines;
  for (std::size_t i = 0; i < bytes.size(); i += 32) {
    std::string line;
    for (const char c : bytes.substr(i, 32)) {
      const auto b = static_cast<unsigned char>(c);
      line += kDigits[b >> 4];
      line += kDigits[b & 15];
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string hexLinesToBytes_(const StringList& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    for (std::size_t i = 0; i + 1 < line.size(); i += 2) {
      const int high = hexDigit(line[i]), low = hexDigit(line[i + 1]);
      bytes += static_cast<char>(high < 0 || low < 0 ? 0 : high * 16 + low);
    }
  }
  return bytes;
}

int readPrinterSettings_(const StringList& lines, std::string_view section, std::string_view key,
                         TStringsPrinter& printer) {
  int count = 0;
  if (const auto raw = iniSectionValue_(lines, section, countKey(key))) {
    const std::string_view t = trimView_(*raw);
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), count);
    if (ec != std::errc() || end != t.data() + t.size()) count = 0;
  }
  if (count <= 0) return 1;
  StringList hex;
  for (int i = 0; i < count; ++i) {
    auto line = iniSectionValue_(lines, section, lineKey(key, static_cast<std::size_t>(i)));
    if (!line) break;  // a count that outruns the lines (corrupt or huge) ends here
    hex.push_back(std::string(trimView_(*line)));
  }
  return readStringsPrinterStream_(hexLinesToBytes_(hex), printer);
}

void writePrinterSettings_(StringList& lines, std::string_view section, std::string_view key,
                           const TStringsPrinter& printer) {
  writeStreamLines_(lines, section, key, bytesToHexLines_(writeStringsPrinterStream_(printer)));
}

void writeStreamLines_(StringList& lines, std::string_view section, std::string_view key,
                       const StringList& hex) {
  int stored = 0;
  if (const auto raw = iniSectionValue_(lines, section, countKey(key))) {
    const std::string_view t = trimView_(*raw);
    std::from_chars(t.data(), t.data() + t.size(), stored);
  }
  for (std::size_t i = 0; i < hex.size(); ++i)
    iniSetSectionValue_(lines, section, lineKey(key, i), hex[i]);
  for (int i = stored - 1; i >= static_cast<int>(hex.size()); --i)
    iniDeleteSectionKey_(lines, section, lineKey(key, static_cast<std::size_t>(i)));
  if (hex.empty())
    iniDeleteSectionKey_(lines, section, countKey(key));
  else
    iniSetSectionValue_(lines, section, countKey(key), std::to_string(hex.size()));
}

int loadPrinterSettings_(const std::string& path, std::string_view section, std::string_view key,
                         TStringsPrinter& printer) {
  const std::optional<std::string> os = toOsPath_(path);
  std::string bytes;
  if (!os || readFileBytes_(*os, bytes) != 0) return 1;
  StringList lines;
  bytesToLines_(bytes, lines);
  return readPrinterSettings_(lines, section, key, printer);
}

int savePrinterSettings_(const std::string& path, std::string_view section, std::string_view key,
                         const TStringsPrinter& printer, std::string* error) {
  const std::optional<std::string> os = toOsPath_(path);
  if (!os) {
    if (error) *error = "cannot convert the name of " + path;
    return -1;
  }
  StringList lines;
  std::string bytes;
  std::string why;
  if (readFileBytes_(*os, bytes, &why) == 0) {
    bytesToLines_(bytes, lines);
  } else if (pathExists_(path)) {
    // Its other sections would be lost with it.
    if (error) *error = why;
    return -1;
  }
  writePrinterSettings_(lines, section, key, printer);
  return writeFileAtomic_(*os, linesToBytes_(lines), error);
}

std::string printIniPath_(const std::string& programDir) {
  return joinPath_(programDir, kPrintIniName);
}

}  // namespace vrk
