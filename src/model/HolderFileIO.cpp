#include "model/HolderFileIO.h"

#include <algorithm>
#include <fstream>

#include "markup/TTAGNode.h"
#include "model/MemoHolder.h"
#include "platform/Path.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"

namespace vrk {
namespace {

// Bytes handed to the tokenizer at a time; its words are read before the next piece.
constexpr std::size_t kPiece = std::size_t(1) << 16;

bool isPlainText(std::string_view bytes) {
  const auto first = std::find_if_not(bytes.begin(), bytes.end(), [](char c) {
    return isBlankByte(static_cast<unsigned char>(c));
  });
  return first != bytes.end() && *first == '<';
}

// One pass: text is fed in pieces, words go to the tag reader as they are
// cut, and every finished child of the Holder element is staged and freed at
// once. Nothing reaches the holder unless the whole text reads.
class HolderStream {
 public:
  HolderStream(MemoHolder& holder, StringList& errors, std::string_view source)
      : holder_(holder),
        errors_(errors),
        source_(source),
        scanner_(words_, false),
        builder_(&root_, nullptr, errors) {}

  // 0, or -1 at a markup error.
  int feed(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); at += kPiece)
      if (feedPiece(text.substr(at, kPiece)) != 0) return -1;
    return 0;
  }

  // 0 when a Holder element was read and handed over, else -1.
  int finish() {
    if (!element_) element_ = root_.findTag_("Holder");  // an empty <Holder/>
    if (!element_) {
      errors_.push_back("no Holder element");
      return -1;
    }
    // An element still open at the end means the text was cut: what follows
    // the cut (records, settings) is not here, so nothing of it is taken.
    if (const TTAGNode* open = builder_.current(); open && open != &root_) {
      errors_.push_back(endsEarly_("</Holder>", source_));
      return -1;
    }
    drain();
    holder_.commitRead_(read_);
    return 0;
  }

 private:
  int feedPiece(std::string_view piece) {
    scanner_.feed(piece);
    for (std::string& word : words_) {
      if (builder_.addWord_(std::move(word)) < 0) return -1;
      TTAGNode* current = builder_.current();
      if (element_) {
        if (current == element_) drain();
      } else if (current && current->aParent == &root_ && current->tagName == "Holder") {
        element_ = current;
      }
    }
    words_.clear();
    return 0;
  }

  void drain() {
    for (const TTAGNode::TagEntry& entry : element_->entries())
      holder_.readHolderEntry_(entry.text, entry.node.get(), read_);
    element_->clearTree();
  }

  MemoHolder& holder_;
  StringList& errors_;
  const std::string_view source_;
  StringList words_;
  WordScanner scanner_;
  TTAGNode root_;
  TTAGNode::Builder builder_;
  TTAGNode* element_ = nullptr;  // the first Holder element of the root
  MemoHolder::ReadState read_;
};

// Flags the holder by the outcome: -2 and -3 mark a file that must not be
// written over.
int settle(MemoHolder& holder, int code) {
  if (code == 0) holder.flagLoaded = true;
  if (code != -1) holder.flagParseFailed = code != 0;
  return code;
}

int readBytes(MemoHolder& holder, std::string_view bytes, StringList& errorLines,
              std::string_view source) {
  HolderStream stream(holder, errorLines, source);
  if (isPlainText(bytes))
    return settle(holder, stream.feed(bytes) == 0 && stream.finish() == 0 ? 0 : -3);
  std::string why;
  const int inflated = inflateTo_(
      bytes, [&stream](std::string_view text) { return stream.feed(text); }, &why);
  if (inflated == -1) {
    errorLines.push_back("not a holder file: " + why);
    return settle(holder, -2);
  }
  return settle(holder, inflated == 0 && stream.finish() == 0 ? 0 : -3);
}

}  // namespace

std::string endsEarly_(std::string_view closingTag, std::string_view source) {
  return "incomplete: the file ends early, before its " + std::string(closingTag) +
         (source.empty() ? "" : ": " + std::string(source));
}

int readHolderBytes_(MemoHolder& holder, std::string_view bytes, StringList& errorLines) {
  return readBytes(holder, bytes, errorLines, {});
}

int readHolderFile_(MemoHolder& holder, const std::string& storedPath, StringList& errorLines) {
  const std::optional<std::string> os = toOsPath_(storedPath);
  std::ifstream in;
  if (os) in.open(*os, std::ios::binary);
  if (!in) {
    errorLines.push_back("cannot open " + storedPath);
    return -1;
  }
  // Plain text streams from the file piece by piece; a compressed file is read
  // whole and streams out of the inflater.
  std::string piece(kPiece, '\0');
  const auto readPiece = [&] {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    return std::string_view(piece.data(), static_cast<std::size_t>(in.gcount()));
  };
  std::string head;
  while (isBlank_(head) && in) head += readPiece();
  if (!isPlainText(head)) {
    std::string bytes;
    std::string why;
    if (readFileBytes_(*os, bytes, &why) != 0) {
      errorLines.push_back(why);
      return -1;
    }
    return readBytes(holder, bytes, errorLines, storedPath);
  }
  HolderStream stream(holder, errorLines, storedPath);
  int code = stream.feed(head);
  for (std::string_view next = readPiece(); code == 0 && !next.empty(); next = readPiece())
    code = stream.feed(next);
  if (in.bad()) {
    errorLines.push_back("cannot read " + storedPath);
    return -1;
  }
  return settle(holder, code == 0 && stream.finish() == 0 ? 0 : -3);
}

}  // namespace vrk
