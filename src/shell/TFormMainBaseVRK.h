#pragma once
// Level 2 of the main window: the log window, the application settings, new
// holders, new, cloned and deleted nodes (deleted nodes go to the "Trush"
// holder), the version report, the desktop shell and printing.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "shell/AppSettings.h"
#include "shell/TFormMainBase0007.h"

class QDragEnterEvent;
class QDropEvent;
class QImage;
class QPainter;
class QPrinter;
class QRect;

namespace vrk {

class TFormAbout;
class TFormLog;
class TFormSelectHolder;

// The kinds of the window-level new node.
enum class NodeKind { Text = 0, Image = 1, Icon = 2, Url = 3, Poser = 4, PoserLike = 5 };

class TFormMainBaseVRK : public TFormMainBase0007 {
  Q_OBJECT

 public:
  static constexpr std::string_view kVersionText = "17.0.1";
  static constexpr std::string_view kReleaseDate = "Dec 10, 2024";
  static constexpr std::string_view kDefaultAddress = "https://www.example.org/";

  using TFormMainBase0007::TFormMainBase0007;

  void formCreate() override;
  int addLog_(std::string_view line) override;
  int showFormLog() override;
  MemoHolder* newHolder_(int index) override;
  void writeVersionTS_(StringList& lines) override;
  int getAutoSaveTime() override;
  void putAutoSaveTime_(int seconds) override;
  int newMemoNode_() override;
  std::string getVersionText() const override;

  TFormLog* getFormLog();  // created on first use

  // Replaces the memo file by the ".mxa" at path and shows its current
  // holder. 0; readMemoFile_'s negative code (reasons logged) with an empty
  // memo file in its place.
  int _loadMemoFile_(const std::string& path);

  // --- opening files (TFormMainBaseVRKOpen.cpp)
  // Opens what the name is, by its extension: web addresses (downloaded into
  // the temporary directory first), folders (a URL node: 1), ".z", ".maz",
  // ".mxa"/".mxv", ".mxh"/".mhz", any other file as a new node, and names
  // without extension by the forms that exist. 0 handled, -1 nothing opened.
  int _open_(const std::string& name);
  // Replaces the open memo file by the ".mxa"/".mxv" at name, after the
  // reload question (same file), the extension question and the save prompts
  // of changed files. 0, or -1 when nothing was loaded.
  int openMemoFile_(const std::string& name);
  // "Save As" ends the lock for the rest of the run; where names the caller
  // for the log line "FlagFileLock=false in " + where.
  void endFileLock_(std::string_view where);
  // The holder file as a holder of the memo file, current; null when refused
  // (busy, for the commands that call it), cancelled or unreadable.
  MemoHolder* openHolder_(const std::string& path);
  // The same without the busy refusal: start-up and drops open inside a task.
  MemoHolder* _openHolder_(const std::string& path);
  // Unpacks a ".maz" beside itself (each existing file asked for) and opens
  // its memo file. 0, or -1.
  int openPackage_(const std::string& path);
  // Decompresses "NAME.z" into NAME (asked for when NAME exists) and opens
  // that. 0, or -1.
  int openCompressed_(const std::string& path);
  // A new holder of CSV text (the second line names the columns), appended;
  // null when the text holds no records.
  MemoHolder* importCSV_(const StringList& lines);
  // Files dropped on the window (stored paths), by the drag-and-drop mode.
  void dropFiles_(const StringList& paths);
  // The start-up file: the command line's argument (the program path first),
  // else defaultOpenFile, else "noname.mxa" in the current directory.
  int openArg1(const std::string& commandLine);
  TFormAbout* getFormAbout();  // created on first use
  // The empty memo file of newMemoFile_, as it was made: while it stays so,
  // another file replaces it without the save prompts.
  void rememberEmptyMemoFile_();
  bool isUntouchedEmptyMemoFile_();

  // --- nodes
  // The current holder gets a new node of the kind: null when a guard
  // refuses or there is no current holder.
  MemoNode* newMemoNodeKind_(std::string_view name, NodeKind kind);
  // Clones of the current node: the number made.
  int cloneMemoNode_(int count);

  // A command of the upper levels by its name in the menu tables, for the
  // frames below them; -1 when the window has none.
  virtual int runCommandNamed_(std::string_view name);

  // --- holders that nodes go into
  TFormSelectHolder* getFormSelectHolder();  // created on first use
  // The modal choice among the names (current: the index selected first, -1
  // for none): the index chosen, -1 for a new holder; nullopt when cancelled.
  std::optional<int> selectHolder_(const StringList& names, int current, bool currentEnabled);
  // Reads a holder that nodes go into, without running its "*Autoexec.ppa":
  // false when its file did not read whole, so that the caller refuses
  // before anything changes.
  bool loadTargetHolder_(MemoHolder& holder);

  // --- the screen
  // The whole screen with this window hidden while it is taken; a null image
  // when the platform gives none.
  QImage grabScreenImage_();
  // The picture as the content of an image node, in BMP.
  static bool putImageContent_(MemoNode& node, const QImage& image);

  // --- the Trush holder
  MemoHolder* getTrushHolder() const;
  // The node goes into the Trush holder (made when there is none); answers it.
  MemoHolder* _moveToTrush_(std::unique_ptr<MemoNode> node, std::string_view name);
  // Deletes the current node of a check list or list.
  int _deleteOneNode1_(std::string& message);
  // Deletes the current node of a tree with its subtree: the number deleted.
  int _deleteNodeTree_(std::string& message);
  // The delete command: by the holder's view mode, as one long operation.
  int UIDeleteMemoNode();

  // --- the version report
  void showVersion();

  // --- desktop
  int ShellExecuteOpen_(std::string_view document);
  int exploreCurrentDir();
  int exploreFileDir();
  int exploreProgramDir();

  // --- printing
  // The window scaled to the page. 0, or -1 when no printer can print.
  int UIHardCopy();
  // The picture scaled into 97% of the page, centred, with the caption at the
  // top left and optionally a black frame. 0, or -1.
  int printImage_(const QImage& image, std::string_view caption, bool frame);
  // Paints one job on the services' printer; -1 when there is none or it
  // cannot start.
  int printWith_(const std::function<void(QPainter&, QPrinter&)>& paint);
  // The page of printImage_ on any painter.
  static void paintImagePage_(QPainter& painter, const QRect& page, const QImage& image,
                              std::string_view caption, bool frame);

  AppSettings aSettings;
  std::string defaultOpenFile;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  std::string openFileName() const;
  int explore_(const std::string& dir);
  void fillNewNode_(MemoNode& node, MemoHolder& holder, std::string name, NodeKind kind);

  TFormLog* aFormLog = nullptr;
  TFormAbout* aFormAbout = nullptr;
  TFormSelectHolder* aFormSelectHolder = nullptr;
  WeakRef<MemoHolder> aEmptyHolder;
  std::string aEmptyHolderText;
};

}  // namespace vrk
