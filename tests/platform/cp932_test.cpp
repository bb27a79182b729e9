#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp932, RoundTripsTrailBytesAndTheNecRow) {
  // ソ 83 5C, 表 95 5C, ① 87 40 (the NEC row that plain Shift-JIS lacks).
  const std::string bytes = "\x83\x5C\x95\x5C\x87\x40";
  QString text = platform::Cp932ToQString(bytes);
  EXPECT_EQ(text, QString::fromUtf8("ソ表①"));
  EXPECT_EQ(platform::QStringToCp932(text), bytes);
  // Backslash and tilde stay themselves.
  EXPECT_EQ(platform::Cp932ToQString("\\~"), QString("\\~"));
}

TEST(Cp932, BadInputStillConverts) {
  // A text cut in mid-character: the lone lead byte becomes U+FFFD.
  QString cut = platform::Cp932ToQString("AB\x83");
  EXPECT_EQ(cut, QString("AB") + QChar(0xFFFD));
  // An emoji has no code point in CP932.
  EXPECT_EQ(platform::QStringToCp932(QString::fromUtf8("a\xF0\x9F\x98\x80z")), "a?z");
  EXPECT_EQ(platform::Utf8ToCp932(platform::Cp932ToUtf8("\x83\x5C")), "\x83\x5C");
}

}  // namespace
