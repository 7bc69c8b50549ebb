#pragma once
// Tag definitions of the HTML dictionary mode and the built-in dictionary.
//
// The class of a definition decides what the reader does with an element:
// TDEFTAG01 and TDEFTAG02 are entered (children follow until the end tag),
// TDEFTAG03 is added and not entered. The classes also decide how writeTree_
// writes the element.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/StringList.h"

namespace vrk {

class TTAGNode;

class TDEFTAG {
 public:
  explicit TDEFTAG(std::string name) : name_(std::move(name)) {}
  virtual ~TDEFTAG() = default;
  TDEFTAG(const TDEFTAG&) = delete;
  TDEFTAG& operator=(const TDEFTAG&) = delete;

  // Upper-case tag name.
  const std::string& name() const { return name_; }

  // Writes the element and everything below it.
  void write_(const TTAGNode& element, StringList& lines) const;

  // The two halves of write_, so that the walk over a deep tree needs no
  // recursion. writeOpen_ answers true when the element's children are to be
  // walked next (text children as lines, elements through their definitions);
  // writeClose_ follows them.
  virtual bool writeOpen_(const TTAGNode& element, StringList& lines) const;
  virtual void writeClose_(const TTAGNode& element, StringList& lines) const;

 protected:
  // "<NAME>" or "<NAME " + every attribute string followed by a blank + ">".
  std::string startTagLine(const TTAGNode& element) const;
  std::string endTagLine() const { return "</" + name_ + ">"; }

 private:
  std::string name_;
};

// Encloses content; children are written as a tree.
class TDEFTAG01 : public TDEFTAG {
 public:
  using TDEFTAG::TDEFTAG;
  bool writeOpen_(const TTAGNode& element, StringList& lines) const override;
  void writeClose_(const TTAGNode& element, StringList& lines) const override;
};

// Encloses content; every child entry is written as its entry text.
class TDEFTAG02 : public TDEFTAG {
 public:
  using TDEFTAG::TDEFTAG;
  bool writeOpen_(const TTAGNode& element, StringList& lines) const override;
  void writeClose_(const TTAGNode& element, StringList& lines) const override;
};

// Stands alone: no end tag is expected; only the start tag is written.
class TDEFTAG03 : public TDEFTAG {
 public:
  using TDEFTAG::TDEFTAG;
};

// Sorted list of "NAME=kind" entries, each owning its definition; names are
// looked up ignoring letter case.
class TagDictionary {
 public:
  // Adds name=kind. Without a definition one is made from the first character
  // of kind: "1" TDEFTAG01, "2" TDEFTAG02, anything else TDEFTAG03. An entry of
  // the same name is replaced.
  void add_(std::string_view name, std::string_view kind, std::unique_ptr<TDEFTAG> def = nullptr);

  const TDEFTAG* find_(std::string_view name) const;
  std::size_t count() const { return entries_.size(); }
  std::string entryAt(std::size_t i) const;  // "NAME=kind"
  const TDEFTAG* defAt(std::size_t i) const { return entries_[i].def.get(); }

 private:
  struct Entry {
    std::string key;  // lower-case name, the sort key
    std::string name;
    std::string kind;
    std::unique_ptr<TDEFTAG> def;
  };
  std::vector<Entry> entries_;
};

// Writes element as def says, or, without a definition, only its child
// elements (each through its own definition). Walks with an explicit stack.
void writeElement_(const TTAGNode& element, const TDEFTAG* def, StringList& lines);

// A fresh dictionary with the 48 built-in HTML tags.
TagDictionary initTagDict();
// The process-wide dictionary, built by initTagDict on first use and kept for
// the life of the process.
const TagDictionary& aTagDict();

}  // namespace vrk
