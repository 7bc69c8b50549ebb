#pragma once
// "vrkprint.ini": the printer settings beside the program. Unlike the flat
// settings file it has sections ("[StringsPrinter1]"). A settings object is
// kept as its property stream in upper-case hexadecimal, 32 bytes a line:
// "<key>_c" holds the number of lines and "<key>_d0", "<key>_d1", ... the
// lines. Saving replaces only its own keys, deletes line keys the shorter
// stream no longer needs, keeps every other section and key, and writes the
// file atomically.
#include <optional>
#include <string>
#include <string_view>

#include "print/TStringsPrinter.h"
#include "text/StringList.h"

namespace vrk {

constexpr std::string_view kPrintIniName = "vrkprint.ini";
constexpr std::string_view kPrintIniSection = "StringsPrinter1";
constexpr std::string_view kPrintIniKey = "Property";

// Keys and section names compare with letter case ignored.
std::optional<std::string> iniSectionValue_(const StringList& lines, std::string_view section,
                                            std::string_view key);
// Replaces the key's line in place, else adds it at the end of the section
// (a missing section is added at the end of the file).
void iniSetSectionValue_(StringList& lines, std::string_view section, std::string_view key,
                         std::string_view value);
void iniDeleteSectionKey_(StringList& lines, std::string_view section, std::string_view key);

// Bytes as hexadecimal lines of 64 digits, and back (a pair that is not
// hexadecimal gives 0).
StringList bytesToHexLines_(std::string_view bytes);
std::string hexLinesToBytes_(const StringList& lines);

// Reads the settings stored under section and key of the lines. 0 read
// whole; 1 nothing stored (printer unchanged); -1 the stream stopped early
// (what was read before is set). A count far beyond the stored lines stops at
// the first missing line.
int readPrinterSettings_(const StringList& lines, std::string_view section, std::string_view key,
                         TStringsPrinter& printer);
// Stores hexadecimal lines under key: the line keys, the surplus ones of a
// longer earlier stream deleted from the highest down, then the count (deleted
// when there are no lines).
void writeStreamLines_(StringList& lines, std::string_view section, std::string_view key,
                       const StringList& hex);
void writePrinterSettings_(StringList& lines, std::string_view section, std::string_view key,
                           const TStringsPrinter& printer);

// The same on the file at path (a stored path). Loading a missing file is 1.
// Saving: 0, or -1 with the cause in error (the old file is kept).
int loadPrinterSettings_(const std::string& path, std::string_view section, std::string_view key,
                         TStringsPrinter& printer);
int savePrinterSettings_(const std::string& path, std::string_view section, std::string_view key,
                         const TStringsPrinter& printer, std::string* error = nullptr);

// vrkprint.ini in the folder beside the program (a stored path ending in "/").
std::string printIniPath_(const std::string& programDir);

}  // namespace vrk
