#pragma once
// The hit mail: the notification a watch-list hit (or the test-mail button)
// sends, composed in code page 932 and encoded for the wire, and the queue
// of mails waiting to be sent or retried. smtp_dialogue.h sends one mail;
// hit_mailer.h drives the queue.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "app/settings_sections.h"
#include "platform/date_time.h"

// SendHitMail's arguments: what the mail tells.
struct HitMailArgs {
  std::string Registration, Flight;
  bool ByRegistration = true;  // the registration matched, else the flight
  std::string Remark, DestName, DeptName;
};

// The test-mail button's mail, in the language in use.
HitMailArgs TestMailArgs(bool english);

// A recipient at this domain gets an unencoded subject. A reserved name
// that reaches nobody: replace it once the owner names the real one.
inline constexpr char MobileCarrierSuffix[] = "@mail.example";

// Subject and body as composed: code page 932, lines ended by LF (the
// Japanese lookup line has none).
struct ComposedMail {
  std::string Subject, Body;
};
// now: the time of this attempt.
ComposedMail ComposeHitMail(const HitMailArgs& args, bool english, TDateTime now);

// The mail as it goes on the wire, every text 7-bit: the addresses, the
// Subject header's value and the body in ISO-2022-JP with CR LF line ends,
// dot-stuffed, without the CR LF that ends the data.
struct MailRecord {
  std::string From, To, Subject, Body;
};
MailRecord BuildMailRecord(const HitMailArgs& args, const MailSettings& mail, bool english, TDateTime now);

// A value put into the mail: control bytes and DEL become '?', so that a
// registration from the air cannot end the data or add a header.
std::string MailValue(std::string_view cp932);
// The body for DATA: ISO-2022-JP line by line, CR LF between lines, and a
// second '.' before a line's leading one.
std::string WireBody(std::string_view cp932Body);
// The Subject header's value: an encoded word of the ISO-2022-JP subject,
// or those bytes as they are for a recipient at the mobile-carrier domain
// or with MIMEConv off.
std::string SubjectHeaderValue(std::string_view cp932Subject, const std::string& mailTo, bool mimeConv);

// Base64 (RFC 4648 alphabet) with CR LF after every 76 characters when
// more follow; the '=' padding counts no line break.
std::string Base64Encode(std::string_view bytes);
// JIS X 0208 in escape sequences to Shift-JIS, in place; text without
// escapes is unchanged.
void JisToShiftJisText(std::string& text);
void JisToShiftJisPair(uint8_t& first, uint8_t& second);

// A mail waiting to be sent: its arguments, its failed attempts (0..3) and
// when it may be tried again (milliseconds of the mailer's clock; fresh
// mails are due at once).
struct PendingHitMail {
  HitMailArgs Args;
  int MailRetryCount = 0;
  int64_t RetryAtMs = 0;
  bool Sending = false;  // its dialogue runs
};

// The mails of the watch list, first in first sent, one dialogue at a time,
// and the status bar's text (UTF-8).
struct HitMailQueue {
  std::deque<PendingHitMail> Pending;
  std::string StatusText;

  bool InFlight() const {
    for (const PendingHitMail& m : Pending) {
      if (m.Sending) return true;
    }
    return false;
  }
};
