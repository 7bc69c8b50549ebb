#pragma once
// Directory walks for file lists (dropped folders, file list windows). Every
// entry counts, hidden ones included, in the order the file system gives
// them; a listed path is the directory, a separator ("/" added when the
// directory does not end with one; an empty directory is "/") and the entry's
// name. A directory that does not exist adds nothing and answers 0. A name
// that Shift_JIS cannot hold is left out.
//
// A symbolic link to a directory counts as a directory but is never walked
// into, so that a link loop cannot make the walk endless.
//
// The long walks let the caller's event pump run before each descent, so that
// the user can set the break flag (the caller's, cleared by it beforehand);
// the core itself knows nothing of the window system.
#include <functional>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

using EventPump = std::function<void()>;

// The entries of the directory that are not directories; no descent. The
// number added.
int listDirFiles_(StringList& lines, std::string_view directory);

// Every file below the directory; a subdirectory is walked as it is met,
// before the entries after it. After each descent a set break flag stops the
// walk. The number of files added.
int listFiles_(StringList& lines, std::string_view directory, const bool& breakFlag,
               const EventPump& pumpEvents = {});

// Every directory below the directory, each after the directories below it.
// After each descent a set break flag stops the walk before that directory is
// added. The number of directories added.
int listDirs_(StringList& lines, std::string_view directory, const bool& breakFlag,
              const EventPump& pumpEvents = {});

}  // namespace vrk
