// The hit mail's encodings, by known answers: Base64, JIS to Shift-JIS,
// the subjects and the ISO-2022-JP text that goes on the wire.
#include <gtest/gtest.h>

#include "aircraft/hit_mail.h"
#include "platform/cp932.h"

namespace {

using platform::Utf8ToCp932;

std::string Iso(const std::string& utf8) { return platform::Cp932ToIso2022Jp(Utf8ToCp932(utf8)); }

TEST(MailCoding, Base64) {
  EXPECT_EQ(Base64Encode("abc") + Base64Encode("ab") + Base64Encode("a"), "YWJjYWI=YQ==");
  // 57 bytes fill one line of 76; one more byte starts another.
  const std::string line = Base64Encode(std::string(57, 'x'));
  EXPECT_TRUE(line.size() == 76 && line.find('\r') == std::string::npos);
  EXPECT_EQ(Base64Encode(std::string(58, 'x')), line + "\r\neA==");
}

TEST(MailCoding, JisToShiftJis) {
  for (const auto& [jis, sjis] : {std::pair{0x3021, 0x889F}, {0x2422, 0x82A0}, {0x2121, 0x8140}, {0x5F21, 0xE040}}) {
    uint8_t first = static_cast<uint8_t>(jis >> 8), second = jis & 0xFF;
    JisToShiftJisPair(first, second);
    EXPECT_EQ(first << 8 | second, sjis) << std::hex << jis;
  }
  // Two-byte mode and back; text without escapes is unchanged; SO ends
  // two-byte mode and goes while what follows stays; a cut pair ends it.
  const std::pair<std::string, std::string> texts[] = {{"\x1B$B0!$\"\x1B(BA", "\x88\x9F\x82\xA0" "A"},
                                                       {Utf8ToCp932("JA8089 受信"), Utf8ToCp932("JA8089 受信")},
                                                       {"\x1B$B0!\x0E" "AB\x1B$@0", "\x88\x9F" "AB"}};
  for (auto [text, expected] : texts) {
    JisToShiftJisText(text);
    EXPECT_EQ(text, expected);
  }
}

TEST(MailCoding, Subjects) {
  MailSettings mail{"", "", "to@example.org", 0, 1, 1};
  const HitMailArgs hit{"JA8089", "JL0012", true, "remark", "San Francisco", "Tokyo"};
  auto subject = [&](const HitMailArgs& args, bool english) { return BuildMailRecord(args, mail, english, 0).Subject; };
  // A hit's are the program's run; the test mail's:
  EXPECT_EQ(subject(TestMailArgs(true), true), "=?iso-2022-jp?B?UmVjZWl2ZWQgUmVnTm8=?=");
  // Unencoded at the mobile-carrier domain, or with MIMEConv off.
  const std::string japanese = "JA8089\x1B$B$r<u?.$7$^$7$?!*\x1B(B";
  mail.MailTo = "x@mail.example";
  EXPECT_TRUE(subject(hit, true) == "Received JA8089" && subject(hit, false) == japanese);
  mail = {"", "", "to@example.org", 0, 1, 0};
  EXPECT_EQ(subject(hit, false), japanese);
}

TEST(MailCoding, WireText) {
  EXPECT_EQ(Iso("便　　名:JL0012"), "\x1B$BJX!!!!L>\x1B(B:JL0012");
  EXPECT_EQ(Iso("～"), "\x1B$B!A\x1B(B");
  EXPECT_EQ(Iso("－"), "\x1B$B!]\x1B(B");
  EXPECT_EQ(Iso("①"), "\x1B$B\".\x1B(B");  // not in JIS X 0208: the geta mark
  EXPECT_EQ(platform::Cp932ToIso2022Jp("\xB6"), "\x1B$B%+\x1B(B");
  // A registration from the air can neither end a line nor the data.
  const MailRecord r = BuildMailRecord({"JA\r\n.80", ".x", false, "", "", ""}, MailSettings{}, true, 0);
  EXPECT_NE(r.Body.find("\r\nReg.No.:JA??.80\r\n"), std::string::npos);
  EXPECT_EQ(WireBody(".x\nFlight :.y"), "..x\r\nFlight :.y");
}

}  // namespace
