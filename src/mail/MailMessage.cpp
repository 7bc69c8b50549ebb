#include "mail/MailMessage.h"

#include <cstdio>
#include <cstdlib>

#include "mail/MailHeader.h"
#include "text/CharEX.h"
#include "text/JapaneseCodes.h"

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
