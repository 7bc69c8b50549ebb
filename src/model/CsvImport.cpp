#include "model/CsvImport.h"

#include "model/MemoBasic.h"
#include "model/MemoHolder.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {

StringList csvColumns_(const StringList& lines) {
  StringList columns;
  if (lines.size() <= 2 || isBlank_(lines[1])) return columns;
  splitText_(trim_(lines[1]), ",", columns);
  for (std::string& column : columns) column = trim_(column);
  return columns;
}

std::string csvFieldValue_(std::string_view value) {
  const std::string text = trim_(value);
  if (text.empty()) return "\"\"";
  if (!startsWith_(text, "\"")) return quoted_(text);
  // A lone quote, or one without its closing partner.
  if (text.size() < 2 || !endsWith_(text, "\"")) return quoted_(text);
  return text;
}

std::string csvFieldKey_(const StringList& columns, std::size_t j) {
  std::string name = j < columns.size() ? trim_(columns[j]) : std::string();
  // What would end the key or break the field line is replaced; none of these
  // bytes is a trail byte.
  for (char& c : name)
    if (c == '=' || c == '"' || c == '\'' || c == '<' || c == '>' || c == '&' || c == ' ' ||
        c == '\t')
      c = '_';
  if (!name.empty()) return name;
  return formatInteger_("%.2d", static_cast<std::int64_t>(j) + 1).value_or(std::to_string(j + 1));
}

int importCsvRecords_(const StringList& lines, MemoHolder& holder) {
  const StringList columns = csvColumns_(lines);
  if (columns.empty()) return 0;
  int made = 0;
  StringList values;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    MemoNode* node = holder.newNode();
    if (!node) break;
    ++made;
    splitText_(lines[i], ",", values);
    for (std::size_t j = 0; j < values.size() && j < columns.size(); ++j)
      node->putField_(csvFieldKey_(columns, j), csvFieldValue_(values[j]));
  }
  return made;
}

}  // namespace vrk
