// Markup reader on arbitrary bytes: tokenizer (both break settings), both
// reader modes, writing the dictionary tree, tag splitting and the quote-aware
// splitters the tag splitting builds on.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "markup/TTAGNode.h"
#include "text/Basic.h"
#include "text/StringEX.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vrk;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  StringList lines;
  bytesToLines_(bytes, lines);

  StringList withBreaks;
  toWordList_(lines, withBreaks, true);
  StringList words;
  toWordList_(lines, words, false);

  // "<CR/>" is no HTML tag, so the dictionary reads the words without breaks.
  StringList errors;
  TTAGNode xmlRoot;
  TTAGNode::_FromXMLWordList_aOUT_(&xmlRoot, withBreaks, errors);
  TTAGNode::_FromXMLWordList_aOUT_(nullptr, words, errors);
  TTAGNode htmlRoot;
  TTAGNode::fromHTMLWordList_(&htmlRoot, words, errors);
  StringList written;
  htmlRoot.writeTree_(written);

  for (std::size_t i = 0; i < xmlRoot.count(); ++i) {
    const TTAGNode* child = xmlRoot.childAt(i);
    if (child == nullptr) continue;
    child->getAttr_("name");
    std::string key, value;
    for (int a = 0; a < child->countOfAttrs(); ++a) child->splitAttrAt_(a, key, value);
  }

  for (const std::string& word : words) splitTag_(word);
  StringList tokens;
  splitQuoted_(bytes, " \t", tokens);
  splitQuotedAt_(bytes, "=,");
  return 0;
}
