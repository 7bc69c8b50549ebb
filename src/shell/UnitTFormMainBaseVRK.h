#pragma once
// Level 2 of the main window: the log window, the application settings, new
// holders, new, cloned and deleted nodes (deleted nodes go to the "Trush"
// holder), the version report, the desktop shell and printing.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "shell/AppSettings.h"
#include "shell/UnitTFormMainBase0007.h"

class QImage;
class QPainter;
class QPrinter;
class QRect;

namespace vrk {

class TFormLog;

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

  // --- nodes
  // The current holder gets a new node of the kind: null when a guard
  // refuses or there is no current holder.
  MemoNode* newMemoNodeKind_(std::string_view name, NodeKind kind);
  // Clones of the current node: the number made.
  int cloneMemoNode_(int count);

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
  // The page of printImage_ on any painter.
  static void paintImagePage_(QPainter& painter, const QRect& page, const QImage& image,
                              std::string_view caption, bool frame);

  AppSettings aSettings;
  std::string defaultOpenFile;

 private:
  int explore_(const std::string& dir);
  // Paints on the services' printer; -1 when there is none or it cannot start.
  int printWith_(const std::function<void(QPainter&, QPrinter&)>& paint);
  void fillNewNode_(MemoNode& node, MemoHolder& holder, std::string name, NodeKind kind);

  TFormLog* aFormLog = nullptr;
};

}  // namespace vrk
