#include "platform/control_char_name.h"

#include <gtest/gtest.h>

namespace {

TEST(HfdlText, ControlCharNamesAndBack) {
  EXPECT_EQ(ControlCharName(10), "<VF>");
  EXPECT_EQ(ControlCharName(65), "A");
  EXPECT_EQ(ControlCharName(127), "<DEL>");
  EXPECT_EQ(ControlCharName(1), "<SOH>");
  EXPECT_EQ(ControlCharName(0xB1), "\xB1");
  for (int v = 0; v < 128; ++v) {
    std::string name = ControlCharName(static_cast<uint8_t>(v));
    auto back = ControlCharValue(name);
    EXPECT_EQ(back.has_value(), v < 32 || v == 127) << v;
    if (back) {
      EXPECT_EQ(*back, v);
    }
  }
}

}  // namespace
