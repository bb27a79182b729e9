#pragma once
// The data files (freqs.csv, ICAO24.csv and the like) are lines of
// comma-separated fields in code page 932, without quoting: a field is the
// bytes between two commas. Each field has a byte capacity, the size of the
// buffer the files were made for; a longer field is cut.
#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

namespace platform {

struct CsvOptions {
  // A CR before the LF belongs to the line end; false keeps it as text of
  // the last field.
  bool dropCrBeforeLf = true;
  // A cut keeps whole two-byte characters; false cuts at the byte count
  // even inside one.
  bool wholeCharacters = true;
  // Fields past the last capacity are read too, cut at the last capacity;
  // false ignores them.
  bool allFields = false;
};

// A capacity that never cuts.
constexpr size_t kUncut = std::numeric_limits<size_t>::max();

// The longest start of text that fits capacity bytes without splitting a
// two-byte character.
std::string_view CutWholeCharacters(std::string_view text, size_t capacity);

// Reads bytes line by line:
//   CsvReader reader(bytes, {63, 15, 15});
//   while (reader.Next()) Use(reader.Fields());
// Lines end at LF; a last line without one is read when it is not empty.
class CsvReader {
 public:
  // capacities[i] is field i's capacity; fields past the last are ignored
  // unless options.allFields.
  CsvReader(std::string_view bytes, std::vector<size_t> capacities, CsvOptions options = {});

  // Moves to the next line; false after the last.
  bool Next();
  // The line's fields as views into bytes, as many as it has (up to the
  // number of capacities unless allFields); an empty line is one empty
  // field.
  const std::vector<std::string_view>& Fields() const { return fields_; }
  // The whole line, without its line end.
  std::string_view Line() const { return line_; }

 private:
  std::string_view rest_;
  std::vector<size_t> capacities_;
  CsvOptions options_;
  std::vector<std::string_view> fields_;
  std::string_view line_;
};

}  // namespace platform
