#pragma once
// Reading map files as they were made to be read: a CR before a line feed
// is dropped, and a line arrives in pieces of at most 127 characters, each
// a line of its own. The last line needs no line feed.
#include <cstdio>
#include <string>
#include <string_view>

// The map files' number fields: "." starts the fraction, "-" anywhere
// makes the value negative, and any other character counts as a digit
// worth its code minus that of "0". A text of 1000 characters or more is 0.
double ParseDecimal(std::string_view text);

class MapLineReader {
 public:
  explicit MapLineReader(const std::string& path);
  ~MapLineReader();
  MapLineReader(const MapLineReader&) = delete;
  MapLineReader& operator=(const MapLineReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // The next piece, without its line feed; false at the end of the file.
  bool Next(std::string_view& piece);
  // The 1-based number of the last piece read.
  int LineNumber() const { return number_; }

 private:
  static constexpr size_t kMaxPiece = 127;
  FILE* file_ = nullptr;
  char buffer_[65536];
  size_t position_ = 0, length_ = 0;
  int number_ = 0;
};

// The fields of a point line: the text before its last separator (from
// the separator before it, if any) and the text after it. False when the
// line holds no separator.
bool SplitPointLine(std::string_view line, char separator, std::string_view& first, std::string_view& second);

// A point line begins with "-", ".", "/" or a digit.
bool IsPointLine(std::string_view line);
