#pragma once
// The printer settings as a property stream in the platform's form-resource
// layout: "TPF0", class name, object name, then each property as its name and
// a typed value, ended by a zero byte, and a zero byte for the empty list of
// children. The reader takes every value type such a writer emits (integers of
// 8, 16, 32 and 64 bits, short, long, wide and UTF-8 strings, identifiers,
// booleans, sets, and skips binaries, floats, lists and collections), font
// sub-properties in any order, and skips properties it does not know. It is
// bounds-checked: it stops at the first value that does not read and keeps the
// properties read before it.
#include <string>
#include <string_view>

#include "print/TStringsPrinter.h"

namespace vrk {

std::string writeStringsPrinterStream_(const TStringsPrinter& printer,
                                       std::string_view objectName = "StringsPrinter1");

// 0 when the stream read whole; -1 when it stopped early (the properties
// before the fault are set).
int readStringsPrinterStream_(std::string_view bytes, TStringsPrinter& printer);

// Font sizes in points and heights in pixels of the platform's 96 dpi screen
// (a negative height is a character height, as the writer stores it).
int fontHeightOfSize_(int size);
int fontSizeOfHeight_(int height);

}  // namespace vrk
