// Holder file reader on arbitrary bytes (text, bare zlib stream or a stream
// after four bytes), then the writer: whatever reads must write a file that
// reads back and writes the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/HolderFileIO.h"
#include "model/ModelServices.h"
#include "model/UnitMemoHolder.h"
#include "model/UnitTObjectParent.h"
#include "platform/Clock.h"
#include "platform/Ports.h"
#include "text/UnitBasic.h"

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

  Listed second;
  if (readHolderBytes_(*second.holder, once, errors) != 0) std::abort();
  if (written(*second.holder) != once) std::abort();
  return 0;
}
