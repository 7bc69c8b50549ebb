#pragma once
#include <functional>
#include <string>
#include <vector>

#include "text/StringList.h"

namespace vrk {
class MemoFile;
class MemoHolder;
}  // namespace vrk

namespace vrk::tool {

// vrk-tool dump FILE (.mxa .mxv .maz .mxh .mhz, also any of them + ".z")
int runDump(const std::vector<std::string>& args);
// vrk-tool convert IN OUT [--time YYYYMMDDhhnnsszzz] [--seed N]
int runConvert(const std::vector<std::string>& args);
// vrk-tool unpack PACKAGE.maz DIR
int runUnpack(const std::vector<std::string>& args);

// FILE opened as dump opens it (every holder loaded as far as it reads), for
// other commands: use gets the memo file and the lone holder of a holder file
// (else null); reading errors are in errors. The exit code of a FILE that
// cannot be opened, else use's.
int withOpenedInput(const std::string& arg, StringList& errors,
                    const std::function<int(MemoFile& file, MemoHolder* lone)>& use);

}  // namespace vrk::tool
