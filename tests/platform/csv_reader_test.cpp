#include "platform/csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::kUncut;
using Lines = std::vector<std::vector<std::string>>;

TEST(CsvReader, LineEndsFieldsAndCapacities) {
  struct Case {
    std::string bytes;
    std::vector<size_t> capacities;
    platform::CsvOptions options;
    Lines expected;
  };
  const std::vector<size_t> two = {kUncut, kUncut};
  const Case cases[] = {
      // CR LF and LF; an empty line is one empty field; the last line needs
      // no LF, and a final LF starts no other.
      {"a,b\r\nc\n\r\n\nd", two, {}, {{"a", "b"}, {"c"}, {""}, {""}, {"d"}}},
      {"a\n", two, {}, {{"a"}}},
      {"", two, {}, {}},
      // Only a CR before the LF is part of the line end.
      {"a\rb,c\r\r\nd\r", two, {}, {{"a\rb", "c\r"}, {"d\r"}}},
      {"a,b\r\n", two, {false, true}, {{"a", "b\r"}}},
      // Empty fields count; fields past the last capacity are ignored; no quoting.
      {",a,,\"b,c\",d\n,", {kUncut, kUncut, kUncut, kUncut}, {}, {{"", "a", "", "\"b"}, {"", ""}}},
      {"abcdef,xyz,12", {3, 0, 5}, {}, {{"abc", "", "12"}}},
      // With allFields the further fields take the last capacity; 0xFF is a
      // byte like any other.
      {"k,a,bcd,\xff\xffz\ny", {kUncut, 2}, {true, true, true}, {{"k", "a", "bc", "\xff\xff"}, {"y"}}},
      // 日 93 FA, 本 96 7B: a cut inside a character drops its lead byte,
      // unless the cut counts bytes.
      {"A\x93\xfa\x96\x7b", {3}, {}, {{"A\x93\xfa"}}},
      {"A\x93\xfa\x96\x7b", {4}, {}, {{"A\x93\xfa"}}},
      {"A\x93\xfa\x96\x7b", {4}, {true, false}, {{"A\x93\xfa\x96"}}},
  };
  for (const Case& c : cases) {
    platform::CsvReader reader(c.bytes, c.capacities, c.options);
    Lines lines;
    while (reader.Next()) lines.emplace_back(reader.Fields().begin(), reader.Fields().end());
    EXPECT_EQ(lines, c.expected) << c.bytes;
  }
  // A trail byte in the lead range (88 88) is still a trail byte; one that
  // looks like ASCII ('\' in ソ 83 5C) goes with its lead.
  EXPECT_EQ(platform::CutWholeCharacters("\x88\x88\x88\x88X", 4), "\x88\x88\x88\x88");
  EXPECT_EQ(platform::CutWholeCharacters("\x88\x88\x88\x88X", 3), "\x88\x88");
  EXPECT_EQ(platform::CutWholeCharacters("\x83\x5c\x83\x5c", 3), "\x83\x5c");
}

}  // namespace
