#include "platform/qt_color.h"
#include "platform/shared_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(SharedHelpers, RoundToInt64) {
  const std::pair<double, int64_t> cases[] = {
      {2.5, 3}, {2.4999, 2}, {-0.5, 0}, {-2.5, -2}, {-0.6, 0}, {-1.6, -1}, {0.0, 0}, {std::nan(""), 0},
      {1e300, std::numeric_limits<int64_t>::max()}, {-1e300, std::numeric_limits<int64_t>::min()},
      {std::numeric_limits<double>::infinity(), std::numeric_limits<int64_t>::max()}};
  for (auto [x, want] : cases) EXPECT_EQ(RoundToInt64(x), want) << x;
}

// Six hex digits, blue first; trailing text is ignored, anything else
// takes the default.
TEST(SharedHelpers, ColourTexts) {
  for (const char* unreadable : {"12", "GG0000", "FF 000"}) EXPECT_EQ(HexTextToColor(unreadable, 7), 7u) << unreadable;
  EXPECT_EQ(platform::ToQColor(HexTextToColor("ff8000ZZ", 0)), QColor(0, 0x80, 0xFF));
}

}  // namespace
