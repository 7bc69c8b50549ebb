#pragma once
// Reading a ".maz" package back: the compressed MIME message is parsed and
// every part that carries a file name is written into a folder. Part names
// come from the file, so they are reduced to a bare file name first.
//
// Paths are stored (Shift_JIS) paths.
#include <functional>
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

// The last component of a part's file name ("/" and "\" both separate, a
// drive letter goes), so that it stays inside the target folder; empty when
// nothing usable remains ("", ".", "..", or a name holding control bytes).
std::string safePartName_(std::string_view name);

// Asked before an existing file is replaced; true lets the part replace it.
using MayOverwrite = std::function<bool(const std::string& path)>;

struct UnpackedPackage {
  StringList written;        // paths written, in part order
  StringList kept;           // existing files the caller chose to keep
  StringList refused;        // part names that reduce to no usable name
  std::string memoFilePath;  // the first part's file (the memo file); empty without one
};

// How the unpacked files reach the disk: each one synced before it counts as
// written; all of them with one sync at the end (many new files: a sync per
// part costs more than the unpacking); or not at all (a scratch folder that
// is removed afterwards). A file that replaces another is synced in every mode.
enum class UnpackSync { EachPart, AtEnd, None };

// Unpacks the package at packagePath into folder (created when missing).
// Parts named ".mhz" are stored compressed, so that every holder file opens
// where its name says what it is. 0; -1 the package cannot be read, inflated or
// holds no whole part; -2 a file could not be written (the message in error;
// parts written before stay); -3 the package ends early (no closing
// delimiter): its whole parts are written, the cut one is not, and the
// message in error says so.
int unpackPackage_(const std::string& packagePath, const std::string& folder,
                   const MayOverwrite& mayOverwrite, UnpackedPackage& result,
                   std::string* error = nullptr, UnpackSync sync = UnpackSync::EachPart);

}  // namespace vrk
