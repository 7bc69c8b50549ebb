#pragma once
// The common record of the model: memo lines, comment lines, field lines
// "key=value" and at most one attached content.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/TObjectNamed.h"
#include "text/Basic.h"
#include "text/StringList.h"

namespace vrk {

class TContent;
class TTAGNode;

class MemoBasic : public TObjectNamed {
 public:
  explicit MemoBasic(TObjectNamed* owner = nullptr);
  ~MemoBasic() override;

  StringList aMemo;
  std::optional<StringList> aComment;  // absent: no comment
  // "key=value" lines; values normally keep their double quotes, keys compare
  // ignoring letter case.
  StringList aFields;
  std::unique_ptr<TContent> aContent;

  // Virtual operations in slot order, after those of TObjectNamed.
  int clear() override;
  std::unique_ptr<TObjectNamed> deepCopy() const override;
  void assign_(const TObjectNamed& source) override;
  virtual int _writeTSL_deep_(StringList& lines, std::string_view indent);
  virtual void readTagNode_(const TTAGNode& element);
  // Attaches a file or web address by its extension: the content's size, 0 for
  // a text file read into the memo, or -8 download failed, -7 "file:" path
  // missing, -6 path missing, -2 failure while reading, -1 file vanished.
  virtual int loadContent_(std::string_view source, std::string_view fileName);
  // Size or length written, -2 binary without data, -1 failure.
  virtual int saveContent_(std::string_view path);
  // Ends in "/".
  virtual std::string getTempDir() const;
  virtual Colour getColor() const;

  // --- fields
  std::string getField_(std::string_view key) const;  // raw value, quotes kept
  int getIndexField_(std::string_view key) const;     // -1 when absent
  // Appends or replaces; an empty value deletes an existing line. Answers the
  // line's index.
  int putField_(std::string_view key, std::string_view value);
  std::string removeField_(std::string_view key);  // the whole line, empty when absent
  bool isReadOnly() const;
  void putReadOnly_(bool flag);
  std::string getFilename() const;  // unquoted

  // --- keyword search over the parts of the record (name, memo, comment,
  // fields), character-aware; with ignore single-byte letters fold. An empty
  // keyword finds nothing and changes nothing.
  // Whether the keyword occurs in a chosen part; tested Name, Memo, Comment,
  // Field, stopping at the first hit.
  bool findKeyword_(std::string_view keyword, bool ignore, bool inFields, bool inComment,
                    bool inMemo, bool inName) const;
  // Appends "Name:" + name, then "Memo:", "Comment:", "Fields:" + the hit's
  // count "%.6d" + ":" + its numbered line; true when any part gave a line.
  bool grepKeyword_(std::string_view keyword, bool ignore, StringList& out, bool inFields,
                    bool inComment, bool inMemo, bool inName) const;
  // Replaces every occurrence in the chosen parts; one log line per changed
  // name ("replace name " + the name asked for) or line ("replace Memo " +
  // its number "%.6d", "replace Comment ", "replace Field "). The number of
  // log lines added.
  int replaceKeyword_(std::string_view find, std::string_view replacement, StringList& log,
                      bool inFields, bool inComment, bool inMemo, bool inName, bool ignore);

  // --- markup; each appends to lines and answers the count written, -1 when
  // nothing is written
  int writeComment_(StringList& lines, std::string_view indent) const;
  int writeFields_(StringList& lines, std::string_view indent) const;
  static int writeFieldLines_(const StringList& fields, StringList& lines, std::string_view indent);
  int writeMemo_(StringList& lines, std::string_view indent) const;
  void readFieldTag_(const TTAGNode& element);
  // Text up to each BR becomes a line; an element it does not know stays in
  // the text as written (keepElementAsText_).
  void readCommentTag_(const TTAGNode& element);
  // A child element that memo or comment text does not know (tagWord: the tag
  // as read) joins the pending line as the markup it was written as: its tag,
  // its text, its end tag; a BR inside it still ends a line into lines. So a
  // hand-written "<b>bold</b>" is kept as text, not dropped.
  static void keepElementAsText_(std::string_view tagWord, const TTAGNode& element,
                                 std::string& pending, StringList& lines);

  // --- contents
  // The file's bytes into the content: size, -1 no such file, -2 read failure.
  int loadContentFile_(std::string_view file, std::string_view type, std::string_view encoding);
  int loadContentStream_(std::string_view bytes, std::string_view type, std::string_view encoding);
  void putContentFields_(std::string_view fileName, std::string_view type,
                         std::string_view encoding);
  int makeBlankImage();  // the content's size
  // -1 when the record has a content but no Content-Type (the content is
  // dropped), else 0; a missing content is parsed from the memo lines.
  int parseContentFromMemo();
};

// Stored field values are kept in double quotes.
std::string quoted_(std::string_view value);

}  // namespace vrk
