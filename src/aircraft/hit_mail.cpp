#include "aircraft/hit_mail.h"

#include <algorithm>

#include "platform/cp932.h"
#include "platform/web_addresses.h"

namespace {

// The Japanese texts, converted once.
struct JapaneseTexts {
  std::string subjectTail = platform::Utf8ToCp932("を受信しました！");
  std::string received = platform::Utf8ToCp932("Skarvelが以下の情報を受信しました");
  std::string registration = platform::Utf8ToCp932("機体番号:");
  std::string flight = platform::Utf8ToCp932("便　　名:");
  std::string dept = platform::Utf8ToCp932("出発空港:");
  std::string dest = platform::Utf8ToCp932("到着空港:");
  std::string time = platform::Utf8ToCp932("時　　刻:");
  std::string remark = platform::Utf8ToCp932("備　　考:");
  std::string lookup = platform::Utf8ToCp932("便名検索:>");
  std::string testRemark = platform::Utf8ToCp932("テストメール");
  std::string testDest = platform::Utf8ToCp932("××空港");
  std::string testDept = platform::Utf8ToCp932("○○空港");
};

const JapaneseTexts& Japanese() {
  static const JapaneseTexts texts;
  return texts;
}

bool EndsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

HitMailArgs TestMailArgs(bool english) {
  if (english) return {"RegNo", "FlightNo", true, "test mail", "Dest. airport", "Dept. airport"};
  const JapaneseTexts& j = Japanese();
  return {"RegNo", "FlightNo", true, j.testRemark, j.testDest, j.testDept};
}

std::string MailValue(std::string_view cp932) {
  std::string out(cp932);
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = '?';
  }
  return out;
}

ComposedMail ComposeHitMail(const HitMailArgs& args, bool english, TDateTime now) {
  const std::string registration = MailValue(args.Registration);
  const std::string flight = MailValue(args.Flight);
  const std::string id = args.ByRegistration ? registration : flight;
  const std::string time = platform::FormatTime(now);
  ComposedMail m;
  if (english) {
    m.Subject = "Received " + id;
    m.Body = "Skarvel received following infomation\n"
             "Reg.No.:" + registration + "\n"
             "Flight :" + flight + "\n"
             "Dept.  :" + MailValue(args.DeptName) + "\n"
             "Dest.  :" + MailValue(args.DestName) + "\n"
             "Time   :" + time + "\n"
             "Remarks:" + MailValue(args.Remark) + "\n";
    return m;
  }
  const JapaneseTexts& j = Japanese();
  m.Subject = id + j.subjectTail;
  m.Body = j.received + "\n" + j.registration + registration + "\n" + j.flight + flight + "\n" + j.dept +
           MailValue(args.DeptName) + "\n" + j.dest + MailValue(args.DestName) + "\n" + j.time + time + "\n" +
           j.remark + MailValue(args.Remark) + "\n" + j.lookup + FlightLookupUrl + "?F=" + flight;
  return m;
}

std::string WireBody(std::string_view cp932Body) {
  std::string out;
  size_t start = 0;
  while (true) {
    const size_t lf = cp932Body.find('\n', start);
    const size_t length = lf == std::string_view::npos ? lf : lf - start;
    std::string line = platform::Cp932ToIso2022Jp(cp932Body.substr(start, length));
    // A line of a single "." would end the data.
    if (!line.empty() && line[0] == '.') out += '.';
    out += line;
    if (lf == std::string_view::npos) break;
    out += "\r\n";
    start = lf + 1;
  }
  return out;
}

std::string SubjectHeaderValue(std::string_view cp932Subject, const std::string& mailTo, bool mimeConv) {
  const std::string subject = platform::Cp932ToIso2022Jp(cp932Subject);
  if (EndsWith(mailTo, MobileCarrierSuffix) || !mimeConv) return subject;
  return "=?iso-2022-jp?B?" + Base64Encode(subject) + "?=";
}

MailRecord BuildMailRecord(const HitMailArgs& args, const MailSettings& mail, bool english, TDateTime now) {
  ComposedMail composed = ComposeHitMail(args, english, now);
  if (mail.SJISConv) JisToShiftJisText(composed.Body);
  MailRecord r;
  r.From = MailValue(mail.MailFrom);
  r.To = MailValue(mail.MailTo);
  r.Subject = SubjectHeaderValue(composed.Subject, mail.MailTo, mail.MIMEConv != 0);
  r.Body = WireBody(composed.Body);
  return r;
}

std::string Base64Encode(std::string_view bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  int column = 0;
  auto put = [&](uint32_t sixBits) {
    if (column == 76) {
      out += "\r\n";
      column = 0;
    }
    out += kAlphabet[sixBits & 0x3F];
    ++column;
  };
  size_t written = 0;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k) group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (size_t k = 0; k <= n; ++k) put(group >> (18 - 6 * k));
    written += n + 1;
  }
  for (; written % 4 != 0; ++written) out += '=';
  return out;
}

void JisToShiftJisPair(uint8_t& first, uint8_t& second) {
  const uint8_t j1 = first, j2 = second;
  const uint8_t rowOffset = j1 <= 0x5E ? 0x70 : 0xB0;
  if (j1 % 2 == 1) {
    first = static_cast<uint8_t>((j1 + 1) / 2 + rowOffset);
    second = static_cast<uint8_t>(j2 + (j2 <= 0x5F ? 0x1F : 0x20));
  } else {
    first = static_cast<uint8_t>(j1 / 2 + rowOffset);
    second = static_cast<uint8_t>(j2 + 0x7E);
  }
}

void JisToShiftJisText(std::string& text) {
  auto escapeAt = [&](size_t i, const char* seq) { return text.compare(i, 3, seq) == 0; };
  std::string out;
  bool twoByte = false;
  for (size_t i = 0; i < text.size();) {
    if (escapeAt(i, "\x1B$B") || escapeAt(i, "\x1B$@")) {
      twoByte = true;
      i += 3;
    } else if (escapeAt(i, "\x1B(B") || escapeAt(i, "\x1B(J") || escapeAt(i, "\x1B(I")) {
      twoByte = false;
      i += 3;
    } else if (text[i] == '\x0E' || text[i] == '\x0F') {
      // SO and SI end two-byte mode; what follows them stays.
      twoByte = false;
      ++i;
    } else if (!twoByte) {
      out += text[i++];
    } else {
      // A pair cut by the end of the text ends the conversion.
      if (i + 1 >= text.size()) break;
      uint8_t first = static_cast<uint8_t>(text[i]), second = static_cast<uint8_t>(text[i + 1]);
      JisToShiftJisPair(first, second);
      out += static_cast<char>(first);
      out += static_cast<char>(second);
      i += 2;
    }
  }
  text = std::move(out);
}
