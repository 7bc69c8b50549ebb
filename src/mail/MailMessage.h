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
};

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
