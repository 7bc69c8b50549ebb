// MIME reader on arbitrary bytes: the entity parser (with its nesting cap), the
// lenient base64 line decoder, and a copy of the parsed tree.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/Base64.h"
#include "model/TContent.h"
#include "text/Basic.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vrk;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  StringList lines;
  bytesToLines_(bytes, lines);

  TContent content(nullptr);
  content.parseMIME_(lines);
  auto copy = content.deepCopy();

  std::string decoded;
  decodeBase64Lines_(lines, decoded);
  StringList encoded;
  encodeBase64Lines_(decoded, encoded);
  return 0;
}
