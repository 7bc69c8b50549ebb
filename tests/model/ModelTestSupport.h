#pragma once
// Helpers of the model tests: fixed services, a scratch folder and the round
// trip through the real tag reader.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "markup/TTAGNode.h"
#include "model/MemoHolderBase.h"
#include "model/MemoNode.h"
#include "model/ModelServices.h"
#include "model/TObjectParent.h"
#include "platform/SjisBridge.h"
#include "support/CollectingMessageSink.h"
#include "support/ScratchDir.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk::modeltest {

// The services every model test runs under: 2024-12-08 10:10:10.123, seed 42.
struct FixedServices {
  FixedClock clock{LocalTime{2024, 12, 8, 10, 10, 10, 123}};
  SeededRng rng{42};
  CollectingMessageSink messages;
  ScopedModelServices scope{ModelServices{&clock, &rng, &messages, nullptr, {}}};
};

using vrk::ScratchDir;
inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A UTF-8 text of the test sources as stored bytes, "\n" as CR LF.
inline std::string storedText(std::string_view utf8) {
  return replaceAll_(utf8LiteralToSjis(utf8), "\n", "\r\n");
}

// Reads the first element of `lines` through the tag reader into node, as a
// holder does; answers the element's name attribute unquoted.
inline std::string readBack(const StringList& lines, MemoNode& node) {
  StringList words, errors;
  toWordList_(lines, words, false);
  TTAGNode root;
  EXPECT_EQ(TTAGNode::_FromXMLWordList_aOUT_(&root, words, errors), 0);
  const TTAGNode* element = root.count() ? root.childAt(0) : nullptr;
  if (!element) {
    ADD_FAILURE() << "no element read";
    return {};
  }
  node.readTagNode_(*element);
  return unquote_(element->getAttr_("name"));
}

}  // namespace vrk::modeltest
