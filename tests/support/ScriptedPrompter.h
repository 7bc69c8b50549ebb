#pragma once
// A prompter for tests: answers from a queue and records every question. An
// unexpected question (nothing queued) is answered Cancel, the safe way out of
// every flow.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/WindowPorts.h"

namespace vrk {

class ScriptedPrompter final : public Prompter {
 public:
  void answer(Answer answer) { replies_.push_back(Reply{answer, {}, -1}); }
  void answerText(std::string text) { replies_.push_back(Reply{Answer::Ok, std::move(text), -1}); }
  void answerIndex(int index) { replies_.push_back(Reply{Answer::Ok, {}, index}); }
  std::size_t countOfPending() const { return replies_.size(); }

  std::vector<Prompt> asked;
  // Runs while the question is open, before it is answered (a nested event
  // loop in the real dialogs).
  std::function<void(const Prompt&)> whileOpen;

 protected:
  Reply prompt(const Prompt& question) override;

 private:
  std::deque<Reply> replies_;
};

}  // namespace vrk
