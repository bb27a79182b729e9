#include "platform/csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::CsvOptions;
using platform::CsvReader;
using platform::kUncut;
using Lines = std::vector<std::vector<std::string>>;

Lines ReadAll(std::string_view bytes, std::vector<size_t> capacities, CsvOptions options = {}) {
  CsvReader reader(bytes, std::move(capacities), options);
  Lines lines;
  while (reader.Next()) lines.emplace_back(reader.Fields().begin(), reader.Fields().end());
  return lines;
}

TEST(CsvReader, LineEnds) {
  const std::vector<size_t> two = {kUncut, kUncut};
  // CR LF and LF; an empty line is one empty field; the last line needs no LF.
  EXPECT_EQ(ReadAll("a,b\r\nc\n\r\n\nd", two), (Lines{{"a", "b"}, {"c"}, {""}, {""}, {"d"}}));
  // A final LF ends the last line and starts no other.
  EXPECT_EQ(ReadAll("a\n", two), (Lines{{"a"}}));
  EXPECT_EQ(ReadAll("", two), Lines{});
  // Only a CR before the LF is part of the line end.
  EXPECT_EQ(ReadAll("a\rb,c\r\r\nd\r", two), (Lines{{"a\rb", "c\r"}, {"d\r"}}));
  EXPECT_EQ(ReadAll("a,b\r\n", two, {false, true}), (Lines{{"a", "b\r"}}));
}

TEST(CsvReader, FieldsAndCapacities) {
  // Empty fields count; fields past the last capacity are ignored; no quoting.
  EXPECT_EQ(ReadAll(",a,,\"b,c\",d\n,", {kUncut, kUncut, kUncut, kUncut}),
            (Lines{{"", "a", "", "\"b"}, {"", ""}}));
  EXPECT_EQ(ReadAll("abcdef,xyz,12", {3, 0, 5}), (Lines{{"abc", "", "12"}}));
  // With allFields the further fields take the last capacity; 0xFF is a
  // byte like any other.
  EXPECT_EQ(ReadAll("k,a,bcd,\xff\xffz\ny", {kUncut, 2}, {true, true, true}),
            (Lines{{"k", "a", "bc", "\xff\xff"}, {"y"}}));
}

TEST(CsvReader, CutsWholeCharacters) {
  // 日 93 FA, 本 96 7B: a cut inside a character drops its lead byte.
  EXPECT_EQ(ReadAll("A\x93\xfa\x96\x7b", {3}), (Lines{{"A\x93\xfa"}}));
  EXPECT_EQ(ReadAll("A\x93\xfa\x96\x7b", {4}), (Lines{{"A\x93\xfa"}}));
  // A trail byte in the lead range (88 88) is still a trail byte.
  EXPECT_EQ(platform::CutWholeCharacters("\x88\x88\x88\x88X", 4), "\x88\x88\x88\x88");
  EXPECT_EQ(platform::CutWholeCharacters("\x88\x88\x88\x88X", 3), "\x88\x88");
  // A trail byte that looks like ASCII ('\' in ソ 83 5C) goes with its lead.
  EXPECT_EQ(platform::CutWholeCharacters("\x83\x5c\x83\x5c", 3), "\x83\x5c");
  // The byte-count cut splits the character.
  EXPECT_EQ(ReadAll("A\x93\xfa\x96\x7b", {4}, {true, false}), (Lines{{"A\x93\xfa\x96"}}));
}

}  // namespace
