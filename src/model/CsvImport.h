#pragma once
// CSV text as memo nodes: the second line names the columns, every line from
// the third on is one node whose fields are the columns it has values for.
// The first line is a title and is not read. Values are split at commas only
// (no quoting), as the files that older installations exported are.
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

class MemoHolder;

// The column names (trimmed), or none when the text has two lines or fewer
// or a blank second line: then nothing is imported.
StringList csvColumns_(const StringList& lines);

// The stored form of a value: trimmed, an empty one as a pair of double
// quotes, and in double quotes unless it is quoted already. A value with
// only a leading quote is quoted whole, so that the field line stays whole.
std::string csvFieldValue_(std::string_view value);

// The field key of column j (from 0): its trimmed name with "=", quotes,
// "<", ">", "&", blank and tab as "_", or j+1 in two digits ("01", "02", ...)
// when the name is empty.
std::string csvFieldKey_(const StringList& columns, std::size_t j);

// One new node per record line, appended to the holder (it must have no
// current node, so that new nodes go to the end). Positions with both a
// column and a value become fields; extra values are ignored. Answers the
// number of nodes made (0 when nothing is importable).
int importCsvRecords_(const StringList& lines, MemoHolder& holder);

}  // namespace vrk
