#include "app/tool/ToolMarkup.h"

#include <cstdio>
#include <iostream>
#include <utility>

#include "app/tool/ToolCommon.h"
#include "markup/TTAGNode.h"

namespace vrk::tool {
namespace {

// Writes NODE objects with an explicit stack: trees from files can nest deeper
// than the call stack allows.
void writeTreeJson(std::ostream& out, const TTAGNode& root) {
  struct Frame {
    const TTAGNode* node;
    std::size_t next;
  };
  auto open = [&out](const TTAGNode& node) {
    out << "{\"tag\":" << jsonString(node.tagName) << ",\"end\":" << jsonString(node.endTagName);
    if (node.aAttrs) {
      out << ",\"attrs\":[";
      for (std::size_t i = 0; i < node.aAttrs->size(); ++i)
        out << (i ? "," : "") << jsonString((*node.aAttrs)[i]);
      out << ']';
    }
    out << ",\"children\":[";
  };
  std::vector<Frame> stack{{&root, 0}};
  open(root);
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next == top.node->count()) {
      out << "]}";
      stack.pop_back();
      continue;
    }
    const std::size_t i = top.next++;
    if (i) out << ',';
    if (const TTAGNode* child = top.node->childAt(i)) {
      open(*child);
      stack.push_back({child, 0});
    } else {
      out << jsonString(top.node->textAt(i));
    }
  }
}

bool wordsOfFile(const std::string& path, StringList& words) {
  StringList lines;
  if (!readTextLines(path, lines)) return false;
  toWordList_(lines, words, false);
  return true;
}

}  // namespace

int runWords(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: vrk-tool words FILE\n");
    return kExitUsage;
  }
  StringList words;
  if (!wordsOfFile(args[0], words)) return kExitUsage;
  std::cout << "{\"words\":[";
  for (std::size_t i = 0; i < words.size(); ++i) std::cout << (i ? "," : "") << jsonString(words[i]);
  std::cout << "]}\n";
  return 0;
}

int runTree(const std::vector<std::string>& args) {
  bool html = false;
  std::vector<std::string> files;
  for (const auto& arg : args) {
    if (arg == "--html")
      html = true;
    else
      files.push_back(arg);
  }
  if (files.size() != 1) {
    std::fprintf(stderr, "usage: vrk-tool tree [--html] FILE\n");
    return kExitUsage;
  }
  StringList words, errors;
  if (!wordsOfFile(files[0], words)) return kExitUsage;
  TTAGNode root;
  const int result = html ? TTAGNode::fromHTMLWordList_(&root, words, errors)
                          : TTAGNode::_FromXMLWordList_aOUT_(&root, words, errors);
  std::cout << "{\"result\":" << result << ",\"errors\":[";
  for (std::size_t i = 0; i < errors.size(); ++i) std::cout << (i ? "," : "") << jsonString(errors[i]);
  std::cout << "],\"root\":";
  writeTreeJson(std::cout, root);
  std::cout << "}\n";
  return result != 0 && errors.empty() ? kExitIncomplete : exitWith(errors);
}

}  // namespace vrk::tool
