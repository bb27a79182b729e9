#include "platform/qt_color.h"
#include "platform/shared_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

TEST(SharedHelpers, RoundToInt64) {
  const std::pair<double, int64_t> cases[] = {
      {2.5, 3}, {2.4999, 2}, {-0.5, 0}, {-2.5, -2}, {-0.6, 0}, {-1.6, -1}, {0.0, 0}};
  for (auto [x, want] : cases) EXPECT_EQ(RoundToInt64(x), want) << x;
  EXPECT_EQ(RoundToInt64(std::nan("")), 0);
  EXPECT_EQ(RoundToInt64(1e300), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(RoundToInt64(-1e300), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(RoundToInt64(std::numeric_limits<double>::infinity()), std::numeric_limits<int64_t>::max());
}

TEST(SharedHelpers, BitsToAscii7IgnoresTheParityBit) {
  const uint8_t a[] = {1, 0, 0, 0, 0, 0, 1, 1};
  EXPECT_EQ(BitsToAscii7(a, 0), 65);
  const uint8_t two[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0};
  EXPECT_EQ(BitsToAscii7(two, 0), 0);
  EXPECT_EQ(BitsToAscii7(two, 1), 127);
}

TEST(SharedHelpers, BoundedStrLen) {
  const std::pair<size_t, int> cases[] = {{0, 0}, {1000, 1000}, {1001, 1001}, {5000, 1001}};
  for (auto [len, want] : cases) {
    std::string s(len, 'x');
    EXPECT_EQ(BoundedStrLen(s.c_str()), want) << len;
  }
}

TEST(SharedHelpers, HexTextToColor) {
  const TColor def = 0x123456;
  const std::pair<const char*, TColor> cases[] = {
      {"000000", 0x000000}, {"FFFFFF", 0xFFFFFF}, {"200000", 0x200000}, {"FF8000", 0xFF8000},
      {"ff8000", 0xFF8000}, {"FF8000ZZ", 0xFF8000}, {"12", def},          {"GG0000", def},
      {"", def},            {"FF 000", def}};
  for (auto [text, want] : cases) EXPECT_EQ(HexTextToColor(text, def), want) << text;
  EXPECT_FALSE(ParseColorText("12").has_value());
  EXPECT_EQ(ColorToHexText(0x200000), "200000");
  EXPECT_EQ(ColorToHexText(0x0000FF), "0000FF");
  // "FF8000" is blue FF, green 80, red 0.
  QColor c = platform::ToQColor(HexTextToColor("FF8000", 0));
  EXPECT_EQ(c, QColor(0, 0x80, 0xFF));
}

}  // namespace
