#include "model/ShownLines.h"

#include <deque>
#include <unordered_map>

namespace vrk {
namespace {

// The box's lines and where each starts in its text; no lines for no text.
struct BoxLine {
  std::string_view text;
  std::size_t offset;
};

std::vector<BoxLine> splitBox(std::string_view text) {
  std::vector<BoxLine> lines;
  if (text.empty()) return lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.push_back({text.substr(start), start});
      return lines;
    }
    lines.push_back({text.substr(start, end - start), start});
    start = end + 1;
  }
}

}  // namespace

std::string boxText_(const StringList& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += sjisToUtf8(lines[i]);
  }
  return text;
}

void ShownLines::fill_(const StringList& lines, std::string_view boxText) {
  stored = lines;
  text = std::string(boxText);
  shown.clear();
  for (const BoxLine& line : splitBox(boxText)) shown.emplace_back(line.text);
  if (shown.size() != stored.size()) {
    // The box joined or split lines: compare with each line on its own.
    shown.clear();
    for (const std::string& line : stored) shown.push_back(sjisToUtf8(line));
  }
}

std::optional<StringList> ShownLines::commit_(std::string_view edited,
                                              EncodeFailure* refused) const {
  if (edited == text) return stored;
  const std::vector<BoxLine> lines = splitBox(edited);
  const std::size_t count = lines.size();
  const std::size_t shownCount = shown.size();
  // Lines kept at the front and at the back keep their place; those in
  // between find their stored bytes by their text, each stored line once.
  std::size_t head = 0;
  while (head < count && head < shownCount && lines[head].text == shown[head]) ++head;
  std::size_t tail = 0;
  while (tail < count - head && tail < shownCount - head &&
         lines[count - 1 - tail].text == shown[shownCount - 1 - tail])
    ++tail;
  std::unordered_map<std::string_view, std::deque<std::size_t>> unused;
  for (std::size_t i = head; i < shownCount - tail; ++i) unused[shown[i]].push_back(i);

  StringList out;
  out.reserve(count);
  for (std::size_t i = 0; i < head; ++i) out.push_back(stored[i]);
  for (std::size_t i = head; i < count - tail; ++i) {
    auto found = unused.find(lines[i].text);
    if (found != unused.end() && !found->second.empty()) {
      out.push_back(stored[found->second.front()]);
      found->second.pop_front();
      continue;
    }
    EncodeFailure failure;
    std::optional<std::string> bytes = utf8ToSjis(lines[i].text, &failure);
    if (!bytes) {
      if (refused) {
        *refused = std::move(failure);
        refused->offset += lines[i].offset;
      }
      return std::nullopt;
    }
    out.push_back(std::move(*bytes));
  }
  for (std::size_t i = shownCount - tail; i < shownCount; ++i) out.push_back(stored[i]);
  return out;
}

}  // namespace vrk
