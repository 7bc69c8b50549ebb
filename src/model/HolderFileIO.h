#pragma once
// Reading holder files. The framing is decided by the bytes, whatever the
// extension says: a bare zlib stream, a zlib stream after four leading bytes,
// or plain text beginning with "<" after optional blanks. The text streams
// through the tokenizer and the tag reader one Holder child at a time, so the
// whole file never becomes one tag tree.
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

class MemoHolder;

// Reads the holder file at storedPath into holder. 0 on success (flagLoaded
// set, flagParseFailed cleared); -1 the file cannot be read; -2 the bytes are
// neither text nor a zlib stream, or the stream is broken or cut; -3 markup
// errors, no Holder element, or a text that ends before </Holder> (cut). On -2 and -3 the holder is
// left unchanged except that flagParseFailed is set, and the reasons go to errorLines.
int readHolderFile_(MemoHolder& holder, const std::string& storedPath, StringList& errorLines);
// The same on bytes already in memory (package parts, tests).
int readHolderBytes_(MemoHolder& holder, std::string_view bytes, StringList& errorLines);

// The error line of a file cut before the closing tag of its root element
// (source: the file, when known).
std::string endsEarly_(std::string_view closingTag, std::string_view source = {});

}  // namespace vrk
