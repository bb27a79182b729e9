#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp932, RoundTripsTrailBytesAndTheNecRowAndStillConvertsBadInput) {
  // ソ 83 5C, 表 95 5C, ① 87 40 (the NEC row that plain Shift-JIS lacks).
  const std::string bytes = "\x83\x5C\x95\x5C\x87\x40";
  EXPECT_EQ(platform::Cp932ToQString(bytes), QString::fromUtf8("ソ表①"));
  EXPECT_EQ(platform::QStringToCp932(QString::fromUtf8("ソ表①")), bytes);
  EXPECT_EQ(platform::Utf8ToCp932(platform::Cp932ToUtf8(bytes)), bytes);
  // Backslash and tilde stay themselves.
  EXPECT_EQ(platform::Cp932ToQString("\\~"), QString("\\~"));
  // A lead byte cut from its trail becomes U+FFFD; an emoji has no code point.
  EXPECT_EQ(platform::Cp932ToQString("AB\x83"), QString("AB") + QChar(0xFFFD));
  EXPECT_EQ(platform::QStringToCp932(QString::fromUtf8("a\xF0\x9F\x98\x80z")), "a?z");
}

}  // namespace
