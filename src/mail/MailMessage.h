#pragma once
// A plain-text mail in ISO-2022-JP built from the send window's fields and a
// memo: the header lines, an empty line, the body lines. Texts inside are
// Shift_JIS as everywhere; what leaves here is 7-bit.
#include <optional>
#include <string>
#include <string_view>

#include "text/LocalTime.h"
#include "text/StringList.h"

namespace vrk {

// The fields of the send window as typed; To, CC and BCC may hold several
// addresses separated by commas.
struct MailFields {
  std::string smtpServer, subject, to, cc, bcc, from, replyTo, userId;
  std::string security, smtpUser;  // "SMTPSecurity" ("none", "starttls", "tls"), "SMTPUser"
  std::string dateTimeSended;
};

class MemoNode;

// The window's fields as a node gives them, without their quotes: each found
// on the node, else its holder, else the memo file; the subject falls back to
// the node's name; "DateTimeSended" from the node alone.
MailFields mailFieldsOfNode_(const MemoNode& node);

// "host", "host:port" (port 1-65535); the port defaults by security (25, or
// 465 for TLS from the start). nullopt when the text names no server.
struct MailServer {
  std::string host;
  int port = 25;
};
std::optional<MailServer> mailServerOf_(std::string_view text, bool tlsFromStart);

inline constexpr std::string_view kMailer = "vrk.exe 001103";

// The addresses of a box: split at commas, trimmed, empty entries left out.
StringList splitAddresses_(std::string_view box);

// Why the fields cannot make a mail, before any connection: no From, no
// recipient, or an address holding CR, LF, NUL, "<", ">" or an 8-bit byte
// (which would end a command line or open another address). Empty when fine.
std::string mailRefusal_(const MailFields& fields);

// Every To, CC and BCC address in that order: the envelope's recipients.
StringList mailRecipients_(const MailFields& fields);

// "Fri, 11 Dec 2026  17:40:05 +0900": English names, as mail requires, and
// the zone the clock gives.
std::string mailDate_(const LocalTime& time, int utcOffsetMinutes);

// The whole message, one line a list entry, without line ends. BCC appears in
// no header. Body lines whose JIS passes 998 octets are cut between
// characters, each piece a line of its own that returns to ASCII. Lines are
// not dot-stuffed: that belongs to the transfer.
StringList buildMailMessage_(const MailFields& fields, const StringList& memo,
                             std::string_view date);

}  // namespace vrk
