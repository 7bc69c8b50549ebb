#pragma once
// The model's message boxes collected for a test to read.
#include <string>
#include <vector>

#include "platform/Ports.h"

namespace vrk {

class CollectingMessageSink final : public MessageSink {
 public:
  void showMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

}  // namespace vrk
