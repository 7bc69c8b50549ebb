#pragma once
// The prompter over Qt's message boxes and standard dialogs.
#include <QString>

#include "platform/WindowPorts.h"

namespace vrk {

class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QString title) : title_(std::move(title)) {}

 protected:
  Reply prompt(const Prompt& question) override;

 private:
  QString title_;  // caption of message boxes
};

}  // namespace vrk
