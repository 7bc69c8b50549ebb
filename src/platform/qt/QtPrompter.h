#pragma once
// The prompter over Qt's message boxes and standard dialogs.
#include <QString>
#include <string_view>

#include "platform/WindowPorts.h"

namespace vrk {

// A file dialog filter in the "text|pattern|text|pattern" form as Qt's
// "text (pattern);;...": patterns joined by blanks, "*.*" as "*" (names
// without a dot too). A field left out is made good: a text without its
// pattern takes the one in its own parentheses (else "*"), a pattern without
// its text is its own. A filter without "|" is taken as Qt's already.
QString qtFileFilter_(std::string_view filter);

class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QString title) : title_(std::move(title)) {}

 protected:
  Reply prompt(const Prompt& question) override;

 private:
  QString title_;  // caption of message boxes
};

}  // namespace vrk
