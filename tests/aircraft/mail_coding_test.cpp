// The hit mail's encodings, by known answers: Base64, JIS to Shift-JIS,
// the subjects and the ISO-2022-JP text that goes on the wire.
#include <gtest/gtest.h>

#include "aircraft/hit_mail.h"
#include "platform/cp932.h"

namespace {

using platform::Utf8ToCp932;

std::string Iso(const std::string& utf8) { return platform::Cp932ToIso2022Jp(Utf8ToCp932(utf8)); }

TEST(MailCoding, Base64) {
  EXPECT_EQ(Base64Encode("abc"), "YWJj");
  EXPECT_EQ(Base64Encode("ab"), "YWI=");
  EXPECT_EQ(Base64Encode("a"), "YQ==");
  const std::string full = Base64Encode(std::string(57, 'x'));
  EXPECT_EQ(full.size(), 76u);
  EXPECT_EQ(full.find('\r'), std::string::npos);
  const std::string more = Base64Encode(std::string(58, 'x'));
  ASSERT_EQ(more.size(), 82u);
  EXPECT_EQ(more.substr(76, 2), "\r\n");
  EXPECT_EQ(more.substr(78), "eA==");
}

TEST(MailCoding, JisToShiftJis) {
  const std::pair<uint16_t, uint16_t> pairs[] = {{0x3021, 0x889F}, {0x2422, 0x82A0}, {0x2121, 0x8140}, {0x5F21, 0xE040}};
  for (const auto& [jis, sjis] : pairs) {
    uint8_t first = jis >> 8, second = jis & 0xFF;
    JisToShiftJisPair(first, second);
    EXPECT_EQ(first << 8 | second, sjis) << std::hex << jis;
  }
  std::string text = "\x1B$B0!$\"\x1B(BA";
  JisToShiftJisText(text);
  EXPECT_EQ(text, "\x88\x9F\x82\xA0" "A");
  text = "JA8089 " + Utf8ToCp932("受信");
  const std::string composed = text;
  JisToShiftJisText(text);
  EXPECT_EQ(text, composed);
  // SO ends two-byte mode and goes; what follows stays. A cut pair ends it.
  text = "\x1B$B0!\x0E" "AB\x1B$@0";
  JisToShiftJisText(text);
  EXPECT_EQ(text, "\x88\x9F" "AB");
}

TEST(MailCoding, Subjects) {
  MailSettings mail;
  mail.MailTo = "to@example.org";
  mail.MIMEConv = 1;
  HitMailArgs hit{"JA8089", "JL0012", true, "remark", "San Francisco", "Tokyo"};
  EXPECT_EQ(BuildMailRecord(hit, mail, true, 0).Subject, "=?iso-2022-jp?B?UmVjZWl2ZWQgSkE4MDg5?=");
  EXPECT_EQ(BuildMailRecord(hit, mail, false, 0).Subject, "=?iso-2022-jp?B?SkE4MDg5GyRCJHI8dT8uJDckXiQ3JD8hKhsoQg==?=");
  EXPECT_EQ(BuildMailRecord(TestMailArgs(true), mail, true, 0).Subject, "=?iso-2022-jp?B?UmVjZWl2ZWQgUmVnTm8=?=");
  // Unencoded at the mobile-carrier domain, or with MIMEConv off.
  const std::string japanese = "JA8089\x1B$B$r<u?.$7$^$7$?!*\x1B(B";
  mail.MailTo = "x@mail.example";
  EXPECT_EQ(BuildMailRecord(hit, mail, true, 0).Subject, "Received JA8089");
  EXPECT_EQ(BuildMailRecord(hit, mail, false, 0).Subject, japanese);
  mail.MailTo = "to@example.org";
  mail.MIMEConv = 0;
  EXPECT_EQ(BuildMailRecord(hit, mail, false, 0).Subject, japanese);
}

TEST(MailCoding, WireText) {
  EXPECT_EQ(Iso("便　　名:JL0012"), "\x1B$BJX!!!!L>\x1B(B:JL0012");
  EXPECT_EQ(Iso("～"), "\x1B$B!A\x1B(B");
  EXPECT_NE(Iso("－").find("!]"), std::string::npos);
  // Not in JIS X 0208: the geta mark.
  EXPECT_EQ(Iso("①"), "\x1B$B\".\x1B(B");
  EXPECT_EQ(platform::Cp932ToIso2022Jp("\xB6"), "\x1B$B%+\x1B(B");
  // A registration from the air can neither end a line nor the data.
  MailSettings mail;
  const MailRecord r = BuildMailRecord({"JA\r\n.80", ".x", false, "", "", ""}, mail, true, 0);
  EXPECT_NE(r.Body.find("\r\nReg.No.:JA??.80\r\n"), std::string::npos);
  EXPECT_EQ(WireBody(".x\nFlight :.y"), "..x\r\nFlight :.y");
  for (char c : r.Body + r.Subject) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

}  // namespace
