#pragma once
// The memo file: the document the main window has open. An ordered list of
// holders plus a few fields of its own, stored as one ".mxa" (or ".mxv") that
// names the holders; each holder lives in its own file beside it and is read
// when first needed. The whole set can also go into one ".maz" package.
//
// Paths are stored (Shift_JIS) paths; they are converted only when the
// operating system is called.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/UnitMemoBasic.h"
#include "model/UnitTObjectParent.h"
#include "text/StringList.h"

namespace vrk {

class MemoHolder;

// Name and holder of every listed holder, in list order.
using HolderList = std::vector<std::pair<std::string, MemoHolder*>>;

class MemoFile : public MemoBasic {
 public:
  explicit MemoFile(TObjectNamed* owner = nullptr);
  ~MemoFile() override;

  std::string ownName;               // the name when the file has no owner
  std::string holdersView;           // "Holders" or "TabControl"; see getHoldersView
  TObjectParent aHolders{this};      // owns the holders; names unique, letter case ignored
  MemoHolder* aCurHolder = nullptr;  // the holder to show first; not owned
  // Holders were added, opened or changed so that the ".mxa" needs saving.
  bool flagChanged = false;

  // --- overrides, in the slot order of MemoBasic
  int clear() override;
  std::string getNameChild_(const TObjectNamed* child) const override;
  std::string putNameChild_as_(TObjectNamed* child, std::string_view name) override;
  std::string getName() const override;
  std::string putName_(std::string_view name) override;
  // The File element: name, fields, memo and one reference per holder.
  int _writeTSL_deep_(StringList& lines, std::string_view indent) override;
  // Reads a File element: holder references (no nodes), fields, memo lines,
  // then chooses aCurHolder from CurrentHolder.
  void readTagNode_(const TTAGNode& element) override;

  // --- operations appended after those of MemoBasic
  // A new holder owned by this file, not listed.
  virtual std::unique_ptr<MemoHolder> createHolder();
  virtual int countOfHolders() const;
  virtual int indexOfHolder_(const MemoHolder* holder) const;    // -1 when not listed
  virtual MemoHolder* holderAt_(int index) const;                // null outside the list
  virtual MemoHolder* findHolder_(std::string_view name) const;  // letter case ignored
  virtual void listHolders_(HolderList& list) const;             // appends
  virtual std::string uniqueHolderName_(std::string_view name) const;
  // A new holder named uniquely after "new", inserted at index when it is inside
  // the list, else appended.
  virtual MemoHolder* newHolderAt_(int index);
  // Unlists the holder without freeing it (the caller takes it); aCurHolder
  // becomes none. Null when not listed.
  virtual std::unique_ptr<MemoHolder> removeHolder_(const MemoHolder* holder);
  // Under a unique name; answer the name given.
  virtual std::string addHolder_(std::unique_ptr<MemoHolder> holder, std::string_view name);
  virtual std::string insertHolder_(int index, std::unique_ptr<MemoHolder> holder,
                                    std::string_view name);
  // The whole ".mxa" text: declaration, time comment, DOCTYPE, File element.
  virtual void writeFileXML_(StringList& lines);
  virtual void moveHolderUp_(int index);
  virtual void moveHolderDown_(int index);
  virtual void moveHolderFirst_(int index);
  virtual void moveHolderLast_(int index);
  virtual void moveHolder_(int from, int to);
  // Makes sure the holder's nodes are present before they are needed whole
  // (a package, a save into another folder, a shadow content). 0 when loaded
  // (or already loaded), -1 when its file does not exist ("Not Found MemoHolder: "
  // + path in log), -2 when its file cannot be read or parsed (reasons in log).
  // The view binding overrides it to load the way a shown holder loads.
  virtual int ensureHolderLoaded_(MemoHolder& holder, StringList& log);

  // --- files
  // The path becomes Filename (quoted) and the name becomes its file name
  // without extension. A relative path is taken from the current directory. 0.
  int putFileName_(std::string_view path);
  // Filename unquoted; when empty, the safe name + ".mxa".
  std::string getFilePathMXA() const;
  // Directory of Filename with its trailing separator; empty when none. Holder
  // files are looked for here.
  std::string getDirectory() const;
  // Writes by the path's lower-cased extension: ".mxa"/".mxv" the text of
  // writeFileXML_ (the text's length), ".maz" writePackage_; -1 for any other
  // extension (nothing written, nothing changed) or a failed write. Unloaded
  // holders are loaded from the old folder when the path leaves it (and for a
  // package), then the path becomes the memo file's name, so that holders
  // saved afterwards beside it carry their nodes; a failed write gives the old
  // name back. Load problems go to log; the cause of a failure, with the
  // path, to error.
  int saveAs_(std::string_view path, StringList& log, std::string* error = nullptr);
  // The ".maz" package: every holder loaded first where possible; size of the
  // uncompressed MIME text, -1 when compressing or writing fails.
  int writePackage_(std::string_view path, StringList& log, std::string* error = nullptr);

  std::string getHoldersView() const;  // "Holders" when empty
  void putHoldersView_(std::string_view view);
  // isReadOnly (FlagReadOnly "true") makes every holder read-only; getTempDir
  // is MemoBasic's and serves the holders and their nodes.

  // Reads the holder's file into it, whatever its flagLoaded says: 0, -1 the
  // file is missing, -2 it cannot be read or parsed (reasons in errors).
  int loadHolder_(MemoHolder& holder, StringList& errors);

 private:
  // A holder is never packed or moved empty merely because it was not read yet.
  void loadUnloadedHolders_(StringList& log);
  // The package of the holders as they are; "Not Loaded: " for any still unread.
  int packHolders_(std::string_view path, std::string* error);
};

// Opens a memo file (".mxa"/".mxv" text, taken as plain bytes); the memo file
// is cleared first. 0 when a File element was read, then putFileName_
// (storedPath) and flagChanged cleared; -1 the file cannot be read, -2 its
// text is shorter than 100 characters or makes 4 words or fewer, -3 there is
// no File element (the memo file stays empty and unnamed, so nothing is saved
// over a file it did not understand). Markup errors go to errors and whatever
// tree was built is still read.
int readMemoFile_(MemoFile& file, const std::string& storedPath, StringList& errors);

// When the memo file has no holder: one new holder with one new node, which
// becomes aCurHolder. The holder counts as loaded. Answers the holder, or null
// when there were holders already.
MemoHolder* ensureOneHolder_(MemoFile& file);

}  // namespace vrk
