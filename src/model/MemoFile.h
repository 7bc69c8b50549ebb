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
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/MemoBasic.h"
#include "model/TObjectParent.h"
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
  // The file this was read from when it did not read whole (cut before
  // </File>, or stopped by a markup error); empty otherwise. It is never
  // written over: what lay beyond the break would be lost.
  std::string incompleteFile;

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
  // path, to error. -2 (the reason in log, nothing written) when path is the
  // incompleteFile.
  int saveAs_(std::string_view path, StringList& log, std::string* error = nullptr);
  // True, with the reason in log, when path is the incompleteFile.
  bool refusesToWrite_(std::string_view path, StringList& log) const;
  // The ".maz" package: every holder loaded first where possible; one whose
  // file is missing or does not read is left out (reason in log), so that it
  // stays missing when unpacked. Size of the uncompressed MIME text, -1 when
  // compressing or writing fails (the cause in error).
  int writePackage_(std::string_view path, StringList& log, std::string* error = nullptr);

  std::string getHoldersView() const;  // "Holders" when empty
  void putHoldersView_(std::string_view view);
  // isReadOnly (FlagReadOnly "true") makes every holder read-only; getTempDir
  // is MemoBasic's and serves the holders and their nodes.

  // Reads the holder's file into it, whatever its flagLoaded says: 0, -1 the
  // file is missing, -2 it cannot be read or parsed (reasons in errors).
  int loadHolder_(MemoHolder& holder, StringList& errors);

  // --- one file per holder. Files are told apart as the system does (see
  // isSameFile_); two holders whose names differ only after a "." would
  // otherwise share one ("Notes.old" and "Notes.new" both use "Notes.mxh").
  // The first listed holder other than except whose getFileName is path; null
  // when no other holder saves there.
  MemoHolder* holderOfFile_(std::string_view path, const MemoHolder* except = nullptr) const;
  // The holder listed first among those saving to holder's file, when that is
  // not holder itself: while there is one, holder is not written (a memo file
  // read with two such holders keeps the first one's file as it is).
  MemoHolder* earlierHolderOfFile_(MemoHolder& holder) const;
  // A name for holder (listed or about to be) whose file no other holder has:
  // name by the unique-name rule when that file is free; else the name with
  // its dots made "_" (the part after a dot names no file), then numbered
  // "_01", "_02", ... until both name and file are free. A holder with a path
  // of its own gets the unique name, which does not move its file.
  std::string freeHolderName_(const MemoHolder& holder, std::string_view name) const;
  // Every later holder that saves to the file of an earlier one, after it.
  std::vector<std::pair<MemoHolder*, MemoHolder*>> sharedHolderFiles_() const;

 private:
  // How the system names the file at a stored path (see isSameFile_), as it
  // was the first time asked: resolving links costs system calls, and every
  // save asks for every holder of the file. Forgotten by clear.
  const std::string& fileKeyOf_(std::string_view path) const;
  mutable std::unordered_map<std::string, std::string> aFileKeys;

  // The File element; ownPaths: the path of each holder that has one of its own.
  void writeFileElement_(StringList& lines, std::string_view indent, bool ownPaths);
  // A holder is never packed or moved empty merely because it was not read yet.
  void loadUnloadedHolders_(StringList& log);
  // The package of the holders as they are; a holder still unread ("Not
  // Loaded: " message) or whose file did not read has no part (reason in log).
  int packHolders_(std::string_view path, StringList& log, std::string* error);
};

// Opens a memo file (".mxa"/".mxv" text, taken as plain bytes); the memo file
// is cleared first. 0 when a File element was read, then putFileName_
// (storedPath) and flagChanged cleared; -1 the file cannot be read, -2 its
// text is shorter than 100 characters or makes 4 words or fewer, -3 there is
// no File element (the memo file stays empty and unnamed, so nothing is saved
// over a file it did not understand). Markup errors go to errors and whatever
// tree was built is still read; so is a text cut before </File> (an
// "incomplete" line in errors). Either way incompleteFile names the file.
int readMemoFile_(MemoFile& file, const std::string& storedPath, StringList& errors);

// The report of a holder that shares the file of an earlier one (load, save).
std::string sharedFileText_(const MemoHolder& first, MemoHolder& second);

// When the memo file has no holder: one new holder with one new node, which
// becomes aCurHolder. The holder counts as loaded. Answers the holder, or null
// when there were holders already.
MemoHolder* ensureOneHolder_(MemoFile& file);

}  // namespace vrk
