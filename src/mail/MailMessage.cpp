#include "mail/MailMessage.h"

#include <cstdio>
#include <cstdlib>

#include "mail/MailHeader.h"
#include "model/MemoNode.h"
#include "text/CharEX.h"
#include "text/JapaneseCodes.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

// RFC 5322's limit of a line without its CR LF.
constexpr std::size_t kMaxLineOctets = 998;

bool isUnsafeInAddress(unsigned char c) {
  return c == '\r' || c == '\n' || c == '\0' || c == '<' || c == '>' || c >= 0x80;
}

std::string joined(const StringList& parts, std::string_view separator) {
  std::string text;
  for (const std::string& part : parts) {
    if (!text.empty()) text.append(separator);
    text.append(part);
  }
  return text;
}

void addHeader(StringList& lines, std::string_view name, const std::string& value) {
  if (value.empty()) return;
  lines.push_back(std::string(name).append(": ").append(value));
}

}  // namespace

MailFields mailFieldsOfNode_(const MemoNode& node) {
  const auto inherited = [&node](std::string_view key) {
    return unquote_(node.getFieldInherited_(key));
  };
  MailFields f;
  f.smtpServer = inherited("SMTPServer");
  f.subject = inherited("Subject");
  if (f.subject.empty()) f.subject = node.getName();
  f.to = inherited("To");
  f.cc = inherited("CC");
  f.bcc = inherited("BCC");
  f.from = inherited("From");
  f.replyTo = inherited("ReplyTo");
  f.userId = inherited("UserID");
  f.security = inherited("SMTPSecurity");
  f.smtpUser = inherited("SMTPUser");
  f.dateTimeSended = unquote_(node.getField_("DateTimeSended"));
  return f;
}

std::optional<MailServer> mailServerOf_(std::string_view text, bool tlsFromStart) {
  const std::string_view trimmed = trimView_(text);
  MailServer server;
  server.port = tlsFromStart ? 465 : 25;
  const std::size_t colon = trimmed.rfind(':');
  server.host = std::string(trimmed.substr(0, colon));
  if (colon != std::string_view::npos) {
    const std::string_view digits = trimmed.substr(colon + 1);
    int port = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9' || port > 65535) return std::nullopt;
      port = port * 10 + (c - '0');
    }
    if (digits.empty() || port < 1 || port > 65535) return std::nullopt;
    server.port = port;
  }
  if (server.host.empty()) return std::nullopt;
  for (const char c : server.host)
    if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x80)
      return std::nullopt;
  return server;
}

StringList splitAddresses_(std::string_view box) {
  StringList addresses;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = box.find(',', start);
    const std::string_view entry = trimView_(box.substr(start, comma - start));
    if (!entry.empty()) addresses.emplace_back(entry);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return addresses;
}

StringList mailRecipients_(const MailFields& fields) {
  StringList recipients;
  for (const std::string* box : {&fields.to, &fields.cc, &fields.bcc})
    for (std::string& address : splitAddresses_(*box)) recipients.push_back(std::move(address));
  return recipients;
}

std::string mailRefusal_(const MailFields& fields) {
  const std::string from(trimView_(fields.from));
  if (from.empty()) return "no From address";
  StringList addresses = mailRecipients_(fields);
  if (addresses.empty()) return "no recipient in To, CC or BCC";
  addresses.insert(addresses.begin(), from);
  for (const std::string& address : addresses)
    for (const char c : address)
      if (isUnsafeInAddress(static_cast<unsigned char>(c)))
        return "the address \"" + address + "\" holds a character no address may hold";
  return {};
}

std::string mailDate_(const LocalTime& time, int utcOffsetMinutes) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const int offset = std::abs(utcOffsetMinutes);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %d %s %04d  %02d:%02d:%02d %c%02d%02d",
                kDays[time.dayOfWeek()], time.day, kMonths[(time.month - 1) % 12], time.year,
                time.hour, time.minute, time.second, utcOffsetMinutes < 0 ? '-' : '+', offset / 60,
                offset % 60);
  return text;
}

StringList buildMailMessage_(const MailFields& fields, const StringList& memo,
                             std::string_view date) {
  StringList lines;
  lines.push_back("From: <" + std::string(trimView_(fields.from)) + ">");
  addHeader(lines, "To", joined(splitAddresses_(fields.to), ","));
  addHeader(lines, "CC", joined(splitAddresses_(fields.cc), ","));
  if (!fields.subject.empty()) {
    // A folded subject continues on lines of its own.
    const std::string subject = encodeMailSubject_(fields.subject);
    std::size_t start = 0;
    for (std::size_t fold = subject.find("\r\n"); fold != std::string::npos;
         start = fold + 2, fold = subject.find("\r\n", start)) {
      lines.push_back((start == 0 ? "Subject: " : "") + subject.substr(start, fold - start));
    }
    lines.push_back((start == 0 ? "Subject: " : "") + subject.substr(start));
  }
  addHeader(lines, "X-Mailer", std::string(kMailer));
  addHeader(lines, "Reply-To", std::string(trimView_(fields.replyTo)));
  addHeader(lines, "Date", std::string(date));
  lines.push_back("Mime-Version: 1.0");
  lines.push_back("Content-Type: text/plain; charset=iso-2022-jp");
  lines.push_back("");
  for (const std::string& line : memo)
    for (std::string& piece : sjisToJisPieces_(line, kMaxLineOctets, OneByteSet::Ascii))
      lines.push_back(std::move(piece));
  return lines;
}

}  // namespace vrk
