// Holder file reader on arbitrary bytes (text, bare zlib stream or a stream
// after four bytes), then the writer. The first save may put in order what it
// read (field keys trimmed, settings quoted, lines of blanks emptied); from the
// second on, a file must read back and write the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/HolderFileIO.h"
#include "model/MemoHolder.h"
#include "model/ModelServices.h"
#include "model/TObjectParent.h"
#include "platform/Clock.h"
#include "platform/Ports.h"
#include "support/CollectingMessageSink.h"
#include "text/Basic.h"

namespace {

using namespace vrk;

struct Listed {
  Listed() {
    auto made = std::make_unique<MemoHolder>(&list);
    holder = made.get();
    list.addChild_(std::move(made), "h");
  }
  TObjectParent list;
  MemoHolder* holder = nullptr;
};

std::string written(MemoHolder& holder) {
  StringList lines;
  holder.writeFile_(lines);
  return linesToBytes_(lines);
}

// Stops the run, showing where the two writes part.
[[noreturn]] void differ(const std::string& a, const std::string& b) {
  std::size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const std::size_t from = at < 80 ? 0 : at - 80;
  std::fprintf(stderr, "writes differ at byte %zu:\n%.160s\n---\n%.160s\n", at,
               a.c_str() + std::min(from, a.size()), b.c_str() + std::min(from, b.size()));
  std::abort();
}

std::string readAndWrite(std::string_view bytes) {
  Listed listed;
  StringList errors;
  if (readHolderBytes_(*listed.holder, bytes, errors) != 0) {
    for (const std::string& error : errors) std::fprintf(stderr, "%s\n", error.c_str());
    std::fprintf(stderr, "the file written does not read back:\n%.*s\n",
                 static_cast<int>(bytes.size()), bytes.data());
    std::abort();
  }
  return written(*listed.holder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FixedClock clock{LocalTime{2024, 12, 8, 10, 10, 10, 123}};
  SeededRng rng{42};
  CollectingMessageSink messages;
  ScopedModelServices scope{ModelServices{&clock, &rng, &messages, nullptr, {}}};

  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Listed first;
  StringList errors;
  if (readHolderBytes_(*first.holder, bytes, errors) != 0) return 0;
  const std::string once = written(*first.holder);

  const std::string twice = readAndWrite(once);
  if (const std::string again = readAndWrite(twice); again != twice) differ(twice, again);
  return 0;
}
