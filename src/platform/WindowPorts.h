#pragma once
// The windows' side effects that are not the model's: message boxes and
// dialogs, the desktop shell, child processes. Texts and paths are Shift_JIS
// (stored paths); the real implementations convert at the last step. Tests
// plug in doubles (tests/support), so that a modal flow runs in a test.
#include <optional>
#include <string>

#include "text/StringList.h"

namespace vrk {

// A message box's buttons; a box offers a set of them and answers one.
enum class Answer : unsigned { Ok = 1, Yes = 2, No = 4, Cancel = 8, YesToAll = 16 };
using Buttons = unsigned;
constexpr Buttons operator|(Answer a, Answer b) {
  return static_cast<Buttons>(a) | static_cast<Buttons>(b);
}
constexpr Buttons operator|(Buttons a, Answer b) { return a | static_cast<Buttons>(b); }

enum class BoxKind { Information, Warning, Confirmation, Error };

// One question put to the user.
struct Prompt {
  enum class Kind { Message, Input, OpenFile, SaveFile, Directory, Choice };
  Kind kind = Kind::Message;
  BoxKind box = BoxKind::Information;  // Message only
  Buttons buttons = static_cast<Buttons>(Answer::Ok);
  std::string title;
  std::string text;     // the message, or the label of an input or choice
  std::string initial;  // proposed text, path or folder
  std::string filter;   // file dialogs: "Memo file (*.mxa);;All (*)"
  StringList items;     // Choice
  bool secret = false;  // Input: typed characters are not shown (a password)
};

// The user's answer. A dialog that is cancelled answers Cancel.
struct Reply {
  Answer answer = Answer::Cancel;
  std::string text;  // the text entered, or the path or folder chosen
  int index = -1;    // Choice
};

class Prompter {
 public:
  virtual ~Prompter() = default;

  // Answers the button chosen.
  Answer ask(BoxKind box, const std::string& text, Buttons buttons);
  void inform(const std::string& text) { ask(BoxKind::Information, text, Buttons(Answer::Ok)); }
  void error(const std::string& text) { ask(BoxKind::Error, text, Buttons(Answer::Ok)); }
  // nullopt when cancelled.
  std::optional<std::string> inputText(const std::string& title, const std::string& label,
                                       const std::string& initial);
  // The same, the characters hidden while typed (a password, never stored).
  std::optional<std::string> inputSecret(const std::string& title, const std::string& label);
  std::optional<std::string> openFileName(const std::string& title, const std::string& initial,
                                          const std::string& filter);
  std::optional<std::string> saveFileName(const std::string& title, const std::string& initial,
                                          const std::string& filter);
  std::optional<std::string> directory(const std::string& title, const std::string& initial);
  std::optional<int> choose(const std::string& title, const std::string& label,
                            const StringList& items, int current);

  // Prompts open right now. A real dialog runs its own event loop, in which
  // timers and idle work must not act behind the user's back.
  int countOfOpen() const { return open_; }

 protected:
  virtual Reply prompt(const Prompt& question) = 0;

 private:
  Reply put(const Prompt& question);
  int open_ = 0;
};

class DesktopShell {
 public:
  virtual ~DesktopShell() = default;
  // Opens a document, folder or web address with its associated program.
  // 0, or -1.
  virtual int openDocument(const std::string& target, const std::string& workingDir) = 0;
  // A file browser on the folder. 0, or -1.
  virtual int explore(const std::string& directory) = 0;
  // Starts a program without waiting for it. 0, or -1.
  virtual int startDetached(const std::string& program, const StringList& arguments,
                            const std::string& workingDir) = 0;
};

class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // Runs the program and waits for its end; its standard output and error go
  // to *output when given. The exit code, or -1 when it could not run.
  // The output is read until every process holding it has closed it (also
  // children the program left running); the program gets no standard input.
  // The real one is PosixProcessRunner (platform/PosixProcessRunner.h).
  virtual int run(const std::string& program, const StringList& arguments,
                  const std::string& workingDir, std::string* output) = 0;
};

}  // namespace vrk
