#pragma once
// Word-list tokenizer and tag tree reader of the markup dialect every model
// file is written in, with the HTML dictionary mode of the inspection window.
//
// Text is Shift_JIS bytes throughout. Error lines are appended to the
// caller's list; nothing here raises or shows UI.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "markup/TDEFTAG.h"
#include "text/StringList.h"

namespace vrk {

// Text lines to words (appended): tag words "<...>" trimmed, text words as
// they are. Blank text between tags gives no word; with keepBreaks a line
// break outside a tag gives the word "<CR/>".
void toWordList_(const StringList& lines, StringList& words, bool keepBreaks);

// The tokenizer behind toWordList_, fed in pieces of any size, so that a file
// never has to become one list of lines or words. Each feed appends the words
// it completed; what is still pending at the end is dropped.
class WordScanner {
 public:
  WordScanner(StringList& words, bool keepBreaks) : words_(words), keepBreaks_(keepBreaks) {}
  void feed(std::string_view text);

 private:
  void cutWord();

  StringList& words_;
  const bool keepBreaks_;
  std::string buffer_;
  bool inTag_ = false;
  bool inQuote_ = false;
  bool breakOpen_ = false;  // the last byte began a break that one more CR or LF completes
};

struct SplitTag {
  std::string name;  // empty when the word holds no name (or for "</ >")
  StringList attrs;  // attribute strings, entities decoded
  bool isEmptyElement = false;
  bool isEndTag = false;
};
SplitTag splitTag_(std::string_view word);

// Attribute tokens (as split at blanks) to attribute strings key="value".
StringList joinAttrs_(const StringList& tokens);

// One element of a tag tree. Its entries are its children in document order:
// a text child (text, no node) or an element child (the tag word as read and
// the child, owned by this node).
class TTAGNode {
 public:
  struct TagEntry {
    std::string text;
    std::unique_ptr<TTAGNode> node;
  };

  TTAGNode() = default;
  ~TTAGNode();
  TTAGNode(const TTAGNode&) = delete;
  TTAGNode& operator=(const TTAGNode&) = delete;

  // Absent on the root; present (possibly empty) on every element the reader makes.
  std::optional<StringList> aAttrs;
  TTAGNode* aParent = nullptr;
  std::string tagName;
  std::string endTagName;
  const TDEFTAG* aDef = nullptr;  // dictionary mode only; the dictionary owns it

  // --- children
  std::size_t count() const { return entries_.size(); }
  const std::string& textAt(std::size_t i) const { return entries_[i].text; }
  TTAGNode* childAt(std::size_t i) const { return entries_[i].node.get(); }  // null for text
  const std::vector<TagEntry>& entries() const { return entries_; }
  void addText_(std::string text);
  // The text children run together.
  std::string text() const;

  // Frees every element below this node, then empties it. Iterative, so any
  // depth is safe.
  void clearTree();

  // --- reading: 0 on success, -1 at the first error (the tree keeps what was
  // built before it)
  // XML mode.
  static int _FromXMLWordList_aOUT_(TTAGNode* root, const StringList& words, StringList& errors);
  // HTML dictionary mode: every tag must be in dict.
  static int _FromWordList_aDict_(TTAGNode* root, const StringList& words,
                                  const TagDictionary& dict, StringList& errors);
  // Dictionary mode with aTagDict.
  static int fromHTMLWordList_(TTAGNode* root, const StringList& words, StringList& errors);

  // Elements a reader keeps open at once (below the node it starts at); one
  // more is a markup error. Model files nest three deep and pages seldom pass a
  // hundred, while a few bytes a tag would otherwise build millions.
  static constexpr std::size_t kMaxDepth = 1024;

  // The readers above, one word at a time: a streaming reader may take the
  // finished children of an element away whenever current() is that element.
  class Builder {
   public:
    // XML mode without dict, dictionary mode with it.
    Builder(TTAGNode* root, const TagDictionary* dict, StringList& errors)
        : current_(root), dict_(dict), errors_(errors) {}
    // 0, or -1 at an error (lines in errors); stop feeding after an error.
    int addWord_(std::string word);
    TTAGNode* current() const { return current_; }

   private:
    TTAGNode* current_;
    const TagDictionary* dict_;
    StringList& errors_;
    std::string lastName_;
    std::size_t index_ = 0;  // of the word, for the error lines
    std::size_t depth_ = 0;  // elements open below the start
  };

  // Appends a new element to current with tagWord as entry text and answers it.
  // Without a current element nothing is made; the message goes to errors when
  // given.
  static TTAGNode* addNew___(TTAGNode* current, std::string_view name, StringList attrs,
                             std::string tagWord, StringList* errors = nullptr);
  static TTAGNode* addNew___(TTAGNode* current, const TDEFTAG* def, StringList attrs,
                             std::string tagWord, StringList* errors = nullptr);

  // --- lookup
  // First direct child element with exactly this tagName; null for a blank name.
  TTAGNode* findTag_(std::string_view name) const;
  // Raw value (quotes kept) of the attribute whose key matches ignoring case.
  std::string getAttr_(std::string_view key) const;
  std::string getAttrAt_(int index) const;
  // Trimmed key and value around the first "=": answers index; 0 without "="
  // (key is the whole string), -2 out of range, -1 without an attribute list.
  int splitAttrAt_(int index, std::string& key, std::string& value) const;
  // Every attribute string followed by CR LF.
  std::string getAttrText() const;
  int countOfAttrs() const;

  // Writes a dictionary-mode tree through its definitions; an element without
  // one writes only its child elements.
  void writeTree_(StringList& lines) const;

 private:
  static TTAGNode* newChild_(TTAGNode* current, std::string_view name, const TDEFTAG* def,
                             StringList attrs, std::string tagWord, StringList* errors);
  void addEntry_(TagEntry entry);

  std::vector<TagEntry> entries_;
};

}  // namespace vrk
