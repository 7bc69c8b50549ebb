#include "support/ScriptedPrompter.h"

namespace vrk {

Reply ScriptedPrompter::prompt(const Prompt& question) {
  asked.push_back(question);
  if (whileOpen) whileOpen(question);
  if (replies_.empty()) return Reply{};
  Reply reply = replies_.front();
  replies_.pop_front();
  return reply;
}

}  // namespace vrk
