#pragma once
// A memo holder: a named collection of memo nodes, one tab of the main
// window, stored in one holder file (".mxh" text, ".mhz" compressed). It names
// and identifies new nodes, keeps the UID index, and carries its view and
// bookkeeping settings as field lines.
//
// Node order and collection access are virtual: once a holder is shown its
// order lives in the view (the view binding overrides them), so every
// operation here walks the nodes through countOfNodes, nodeAt_, indexOfNode_
// and friends, never through aNodes directly.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/LiveRegistry.h"
#include "model/MemoBasic.h"
#include "model/MemoHolderBase.h"
#include "model/MemoNode.h"
#include "model/TObjectParentEX.h"
#include "platform/Clock.h"

namespace vrk {

class MemoFile;

// Name and node of listed nodes, in list order.
using NodeList = std::vector<std::pair<std::string, MemoNode*>>;

class MemoHolder : public MemoBasic, public MemoHolderBase {
 public:
  explicit MemoHolder(TObjectNamed* owner = nullptr);
  ~MemoHolder() override;

  bool flagChanged = false;  // modified since saved; cleared by the save command
  bool flagLoaded = false;   // the nodes are present (read, or made while running)
  // The holder file did not parse: saveFile_ refuses to write over it until
  // it has loaded cleanly.
  bool flagParseFailed = false;
  // Kept from the file and written back; nothing here depends on them.
  bool flagAccount = false;
  bool flagAutoReLoad = false;
  bool flagAutoSave = false;
  int ReloadMinutes = 0;
  int SaveMinutes = 0;
  int CountSave = 0;  // number of saves
  LocalTime TimeReLoad;
  LocalTime TimeSaved;  // time of the last save
  // Owns the nodes: entry text = node name. Its flagSort and flagAscending are
  // the holder's sort settings.
  TObjectParentEX aNodes{this};

  // --- overrides, in the slot order of MemoBasic
  int clear() override;
  std::string getNameChild_(const TObjectNamed* child) const override;
  // Re-sorts when flagSort is set.
  std::string putNameChild_as_(TObjectNamed* child, std::string_view name) override;
  std::unique_ptr<TObjectNamed> deepCopy() const override;
  // Fields, memo, comment, content, the kept flags and times, and a clone of
  // every node; ModeNodesMngr becomes "Nodes"; the current node is the one at
  // the source's current position.
  void assign_(const TObjectNamed& source) override;
  // Reads a Holder element: records, settings, stray memo lines.
  void readTagNode_(const TTAGNode& element) override;
  // The memo file's; MemoBasic's without one. Ends in "/".
  std::string getTempDir() const override;

  // --- operations appended after those of MemoBasic
  // A new node owned by this holder, not listed.
  virtual std::unique_ptr<MemoNode> createNode();
  // Unlists the node (the caller takes it): it leaves the UID index, and the
  // current node becomes none when it was this one. Null when not listed.
  virtual std::unique_ptr<MemoNode> removeNode_(MemoNode* node);
  // Rebuilds the UID index in node order; empty and repeated UIDs are
  // replaced by genUniqUID, logged as "genUID:" or "genUniqUID:" + node name.
  virtual void checkUID_(StringList* log);
  // The name as given with FlagSameName "true", else unique in the node list.
  virtual std::string uniqueNodeName_(std::string_view name) const;
  // Raw (quoted) values, or their defaults "\"YYYYMMDD\"" and "\"%.5d\"".
  virtual std::string getFormatDate() const;
  virtual std::string getFormatNumber() const;
  // newNode, then made the child of parent.
  virtual MemoNode* newChild_(MemoNode* parent);
  virtual int countOfNodes() const;
  virtual int countOfMarked() const;
  virtual void listMarked_(NodeList& list) const;           // appends
  virtual void setNodeList_(NodeList& list) const;          // appends every node
  virtual int indexOfNode_(const MemoNode* node) const;     // -1 when not listed
  virtual MemoNode* prevNode_(const MemoNode* node) const;  // null for the first
  virtual MemoNode* nextNode_(const MemoNode* node) const;  // null for the last
  virtual MemoNode* firstNode() const;
  virtual MemoNode* lastNode() const;
  virtual MemoNode* nodeAt_(int index) const;           // null outside the list
  MemoNode* findNode_(std::string_view name) override;  // letter case ignored
  // Letter case ignored; an unknown UID rebuilds the index once per call.
  MemoNode* findNodeByUID_(std::string_view uid) override;
  // removeNode_, and no current node afterwards. Null when not listed.
  virtual std::unique_ptr<MemoNode> deleteNode_(MemoNode* node);
  // Lists the node and makes this holder its owner: under the name as given
  // with FlagSameName, else under a unique name and sorted when flagSort is
  // set. 0.
  virtual int addNode_(std::unique_ptr<MemoNode> node, std::string_view name);
  // As addNode_, inserted before index (appended past the end), never sorted. 0.
  virtual int insertNode_(std::unique_ptr<MemoNode> node, std::string_view name, int index);
  virtual MemoNode* getCurNode() const;
  virtual int putCurNode_(MemoNode* node);  // its position, -1 when not listed
  virtual void putColor_(Colour colour);

  // --- MemoHolderBase
  // Local time "YYYYMMDD_hhnnsszzz", "_", eight random digits; not in the UID
  // index (letter case ignored).
  std::string genUniqUID() override;
  // The holder's own Filename when FlagExtra or FlagAbsolutePath is "true"
  // (a holder opened from a file is saved back there), else defaultFileName.
  // Always absolute: a relative Filename is taken from the current directory.
  std::string getFileName() override;
  // Own FlagReadOnly, else the memo file's.
  bool isReadOnlyHolder() const override;
  std::string getFieldInherited_(std::string_view key) const override;
  MemoHolderBase* findHolderOfMemoFile_(std::string_view name) override;

  // --- new nodes
  // Made from the NewNodeOption template, named by the NewNodeName rule and
  // made unique, inserted before the current node (appended without one),
  // with a fresh Created (when the template had one) and UID. The current
  // node does not change. A FormatNumber the checked formatter refuses counts
  // as the default "%.5d".
  MemoNode* newNode();

  // --- settings; the getters answer the raw field or its default
  bool getFlagSort() const;
  bool getFlagAscending() const;
  // Also stored as fields; the nodes are not reordered.
  void putFlagSort_(bool flag);
  void putFlagAscending_(bool flag);
  std::string getFileExt() const;        // "\".mxh\""
  std::string getNewNodeName() const;    // "\"Daily\""
  std::string getNewNodeOption() const;  // "\"Normal\""
  std::string getModeNodesMngr() const;  // "\"Nodes\""
  // The owner when it is a memo file, or the owner of the list that lists
  // this holder; null otherwise.
  MemoFile* getMemoFile() const;

  // --- the holder file
  // Memo file directory (the current one when the holder has no memo file or
  // the memo file no name) + safe holder name with the FileExt extension, with
  // "/" separators; "noname.mxh" when the name is empty.
  std::string defaultFileName() const;
  // FlagExtra or FlagAbsolutePath "true" with a Filename: the name does not
  // place the file.
  bool hasOwnPath() const;
  // The file the holder would be saved to under name (getFileName for its own).
  std::string fileNameAs_(std::string_view name) const;
  void writeSettings_(StringList& lines, std::string_view indent) const;
  void writeHolder_(StringList& lines, std::string_view indent);
  // The whole holder file text: declaration, time comment, DOCTYPE, Holder.
  void writeFile_(StringList& lines);
  // What the last writeHolder_, writeFile_ or saveFile_ could not keep, for
  // the caller to report: half characters (a lead byte without its trail),
  // which the escaper drops so that the file reads back. Empty when all was kept.
  StringList aWriteLosses;
  // Counts the save, then writes by the path's lower-cased extension, atomically:
  // ".mxh" text, ".mhz" compressed. The text's length in bytes; -1 for any other
  // extension (the counters stay increased) or a failed write; -2 when the
  // holder's file failed to parse (nothing written, nothing counted). The
  // cause of a failure, with the path, goes to error.
  int saveFile_(std::string_view path, std::string* error = nullptr);
  // Every field key of every node not yet in list (letter case ignored);
  // answers the number added.
  int collectFieldKeys_(StringList& list) const;
  // Every non-empty value (unquoted) of key over all nodes not yet in list. 0.
  int collectFieldValues_(std::string_view key, StringList& list) const;

  // Field names of the nodes in view order, each once (letter case ignored;
  // the text before the first "=", trimmed; lines without "=" skipped),
  // appended to list; the number in list afterwards.
  virtual int getFieldNames_(StringList& list) const;
  // The distinct non-empty values of the field, unquoted, in view order
  // (letter case ignored), appended to list; the number added.
  virtual int getFieldValues_(std::string_view name, StringList& list) const;

  // --- reading, one Holder child at a time, so that a large file streams
  // through without its whole tag tree (HolderFileIO). What is read is staged
  // and only taken over by commitRead_, so a read that fails half-way leaves
  // the holder as it was.
  struct ReadState {
    MemoBasic settings;  // the Field elements, merged as a record merges them
    StringList memo;     // the holder's own memo lines
    // A deque grows without copying, so a large file's read has no peak here.
    std::deque<std::pair<std::string, std::unique_ptr<MemoNode>>> nodes;
    bool afterElement = false;  // the entry before was an element
  };
  // One child entry of a Holder element: its text, or its element when it is one.
  void readHolderEntry_(const std::string& text, const TTAGNode* element, ReadState& read);
  // Merges the staged fields, appends the memo lines, adds the nodes in order
  // (addNode_), then sets the members from the fields: current node, sort and
  // kept flags, counters, times.
  void commitRead_(ReadState& read);

 private:
  // Takes the lines written so far (and empties the list) after each record.
  using Flush = std::function<void(StringList&)>;
  void writeHolderTo_(StringList& lines, std::string_view indent, const Flush& flush);
  void writeFileTo_(StringList& lines, const Flush& flush);
  std::string fileName_() const;  // getFileName, which its base declares non-const
  std::string defaultFileNameAs(std::string_view holderName) const;
  MemoNode* lookupUID_(std::string_view uid) const;
  bool isListed_(const MemoNode* node) const;

  MemoNode* curNode = nullptr;  // not owned
  // Lower-cased UID -> node; absent until first needed and after clear.
  std::optional<std::unordered_map<std::string, WeakRef<MemoNode>>> aUIDIndex;
};

}  // namespace vrk
