#include "app/tool/ToolMail.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "app/tool/ToolCommon.h"
#include "app/tool/ToolModel.h"
#include "mail/MailMessage.h"
#include "mail/SmtpDialogue.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "platform/SjisBridge.h"
#include "platform/TcpLineClient.h"

namespace vrk::tool {
namespace {

constexpr int kReplyTimeoutMs = 30'000;

int usage() {
  std::fprintf(stderr, "usage: vrk-tool mail MEMOFILE HOLDER NODE [--send HOST:PORT]\n");
  return kExitUsage;
}

int failed(const std::string& why) {
  std::fprintf(stderr, "vrk-tool: %s\n", sjisToUtf8(why).c_str());
  return kExitIncomplete;
}

std::string hostName() {
  char name[256] = {};
  return ::gethostname(name, sizeof name - 1) == 0 ? name : "localhost";
}

// Runs one mail through the server, then QUIT. True once the server took it.
bool sendOver(TcpLineClient& client, SmtpDialogue& dialogue, SmtpDialogue::Mail mail,
              std::string& why) {
  bool quitting = false;
  const auto apply = [&](const SmtpActions& actions) {
    for (const std::string& line : actions.lines)
      if (!client.writeLine(line, why)) return false;
    return !actions.close;
  };
  if (!apply(dialogue.send(std::move(mail)))) return false;
  for (;;) {
    const std::optional<std::string> line = client.readLine(why);
    if (!line) {
      dialogue.closed(why);
      break;
    }
    if (!apply(dialogue.received(*line))) break;
    if (dialogue.lastMailSent().has_value() && !quitting &&
        dialogue.state() == SmtpDialogue::State::Ready) {
      quitting = true;
      if (!apply(dialogue.quit())) break;
    }
  }
  if (!dialogue.lastFailure().empty() && dialogue.lastMailSent() != true)
    why = dialogue.lastFailure();
  return dialogue.lastMailSent() == true;
}

// The node's mail on stdout, or sent to `server` ("host:port"): 0 when done.
int mailOf(const MemoNode& node, const std::optional<std::string>& server) {
  const MailFields fields = mailFieldsOfNode_(node);
  if (const std::string refusal = mailRefusal_(fields); !refusal.empty()) return failed(refusal);
  const SystemClock& clock = SystemClock::instance();
  const StringList message =
      buildMailMessage_(fields, node.aMemo, mailDate_(clock.now(), clock.utcOffsetMinutes()));
  if (!server) {
    for (const std::string& line : message) std::cout << line << "\r\n";
    return 0;
  }
  // From the command line the mail goes out in plain text: a server that
  // wants TLS or a password is reached from the window.
  if (smtpSecurityOf_(fields.security) != SmtpSecurity::None || !fields.smtpUser.empty())
    return failed("the node asks for TLS or a login, which vrk-tool mail --send does not do");
  const std::optional<MailServer> address = mailServerOf_(*server, false);
  if (!address) return failed("not a server: " + *server);
  TcpLineClient client(kReplyTimeoutMs);
  std::string why;
  if (!client.connect(address->host, address->port, why)) return failed("Connect Faile: " + why);
  SmtpDialogue dialogue(fields.userId.empty() ? hostName() : fields.userId, SmtpSecurity::None,
                        std::nullopt);
  if (!sendOver(client, dialogue, {fields.from, mailRecipients_(fields), message}, why))
    return failed(why);
  std::fprintf(stderr, "Success\n");
  return 0;
}

}  // namespace

int runMail(const std::vector<std::string>& args) {
  if (args.size() != 3 && !(args.size() == 5 && args[3] == "--send")) return usage();
  const std::optional<std::string> holderName = utf8ToSjis(args[1]);
  const std::optional<std::string> nodeName = utf8ToSjis(args[2]);
  StringList errors;
  const int result = withOpenedInput(args[0], errors, [&](MemoFile& file, MemoHolder*) {
    MemoHolder* holder = holderName ? file.findHolder_(*holderName) : nullptr;
    if (!holder) return failed("no holder named " + args[1]);
    MemoNode* node = nodeName ? holder->findNode_(*nodeName) : nullptr;
    if (!node) return failed("no node named " + args[2] + " in " + args[1]);
    return mailOf(*node, args.size() == 5 ? std::optional(args[4]) : std::nullopt);
  });
  return result != 0 ? result : exitWith(errors);
}

}  // namespace vrk::tool
