#pragma once
// Stored paths. Files written on older installations hold "\" separators and
// drive letters; both separators are read (character-aware, since "\" is also a
// trail byte), "X:" and a leading separator count as absolute, and "/" is
// written. The operating system only ever sees UTF-8, converted at the last step.
#include <optional>
#include <string>
#include <string_view>

namespace vrk {

// A byte at i that is a path separator ("\" or "/") and not the trail byte of a
// double-byte character.
bool isPathSeparatorAt(std::string_view path, std::size_t i);

bool isAbsolutePath_(std::string_view path);

// Separators as "/", "file:///x" as "/x" (and "file://host/x" as "//host/x").
std::string normalizePath_(std::string_view path);

// File name part: after the last separator or drive colon.
std::string extractFileName_(std::string_view path);
// Directory part including its trailing separator (empty when there is none).
std::string extractFilePath_(std::string_view path);
// Extension from the last "." of the file name on, or empty.
std::string extractFileExt_(std::string_view path);
std::string changeFileExt_(std::string_view path, std::string_view extension);
// base joined with a relative name by one "/"; an absolute name stands alone.
std::string joinPath_(std::string_view base, std::string_view name);
// Stored path made absolute against `directory`, "." and ".." steps resolved.
std::string expandFileName_(std::string_view path, std::string_view directory);

// The process's current directory as a stored path ending in "/"; "/" when it
// cannot be named.
std::string currentDirectory_();

// A stored path as the UTF-8 name the operating system takes; nullopt when a
// byte of it is not Shift_JIS, so that the caller can report the name.
std::optional<std::string> toOsPath_(std::string_view path);
// A name from the operating system as stored text; nullopt when the name holds
// characters Shift_JIS cannot hold.
std::optional<std::string> fromOsPath_(std::string_view utf8Path);

// Whether a stored path names anything, a regular file, a folder (links
// followed). False also when the name cannot be converted.
bool pathExists_(std::string_view path);
bool isFile_(std::string_view path);
bool isDirectory_(std::string_view path);

// How the system names the file at a stored path: made absolute against the
// current directory, "." and ".." resolved and links followed as far as they
// exist; letter case counts, as it does on this system. A path that cannot be
// resolved keeps its stored spelling (and so equals only itself).
std::string fileKey_(std::string_view path);
// Whether two stored paths name one file (their fileKey_ is the same).
bool isSameFile_(std::string_view a, std::string_view b);

}  // namespace vrk
