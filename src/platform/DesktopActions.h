#pragma once
// What the node editor and the commands do through the ports beyond a single
// call: opening a document (or exploring its folder) through the desktop
// shell, and a console command with its output captured as lines.
#include <string_view>

#include "platform/WindowPorts.h"
#include "text/StringList.h"

namespace vrk {

// Web addresses ("http:", "https:", "file:") and text documents (.html .htm
// .xml .txt .ini .log) are opened with their program, from the current
// directory; any other target has its folder explored when that folder
// exists; otherwise the confirmation box target + " not exists" is shown.
// 0 when handed to the shell and the shell took it; -1 otherwise.
int openDocument_(std::string_view target, DesktopShell& shell, Prompter& prompter);

// Runs the command line through /bin/sh in `directory` (the current one when
// empty), with standard output and error captured together and no standard
// input, until every process that holds the output has closed it. LF ends a
// line, CR is dropped, other bytes are kept; a rest without LF is the last
// line. 0, also when the command fails after starting; -1, adding nothing,
// when it cannot be started (the directory does not exist, for one).
int runCaptured_(StringList& lines, std::string_view directory, std::string_view commandLine,
                 ProcessRunner& runner);

}  // namespace vrk
