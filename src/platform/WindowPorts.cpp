#include "platform/WindowPorts.h"

namespace vrk {

Reply Prompter::put(const Prompt& question) {
  ++open_;
  struct Close {
    int& open;
    ~Close() { --open; }
  } close{open_};
  return prompt(question);
}

Answer Prompter::ask(BoxKind box, const std::string& text, Buttons buttons) {
  Prompt question;
  question.box = box;
  question.buttons = buttons;
  question.text = text;
  return put(question).answer;
}

std::optional<std::string> Prompter::inputText(const std::string& title, const std::string& label,
                                               const std::string& initial) {
  const Reply reply = put(Prompt{Prompt::Kind::Input, {}, {}, title, label, initial, {}, {}});
  if (reply.answer == Answer::Cancel) return std::nullopt;
  return reply.text;
}

std::optional<std::string> Prompter::inputSecret(const std::string& title,
                                                 const std::string& label) {
  Prompt question{Prompt::Kind::Input, {}, {}, title, label, {}, {}, {}};
  question.secret = true;
  const Reply reply = put(question);
  if (reply.answer == Answer::Cancel) return std::nullopt;
  return reply.text;
}

std::optional<std::string> Prompter::openFileName(const std::string& title,
                                                  const std::string& initial,
                                                  const std::string& filter) {
  const Reply reply = put(Prompt{Prompt::Kind::OpenFile, {}, {}, title, {}, initial, filter, {}});
  if (reply.answer == Answer::Cancel || reply.text.empty()) return std::nullopt;
  return reply.text;
}

std::optional<std::string> Prompter::saveFileName(const std::string& title,
                                                  const std::string& initial,
                                                  const std::string& filter) {
  const Reply reply = put(Prompt{Prompt::Kind::SaveFile, {}, {}, title, {}, initial, filter, {}});
  if (reply.answer == Answer::Cancel || reply.text.empty()) return std::nullopt;
  return reply.text;
}

std::optional<std::string> Prompter::directory(const std::string& title,
                                               const std::string& initial) {
  const Reply reply = put(Prompt{Prompt::Kind::Directory, {}, {}, title, {}, initial, {}, {}});
  if (reply.answer == Answer::Cancel || reply.text.empty()) return std::nullopt;
  return reply.text;
}

std::optional<int> Prompter::choose(const std::string& title, const std::string& label,
                                    const StringList& items, int current) {
  Prompt question{Prompt::Kind::Choice, {}, {}, title, label, {}, {}, items};
  if (current >= 0 && current < static_cast<int>(items.size())) question.initial = items[current];
  const Reply reply = put(question);
  if (reply.answer == Answer::Cancel || reply.index < 0 ||
      reply.index >= static_cast<int>(items.size()))
    return std::nullopt;
  return reply.index;
}

}  // namespace vrk
