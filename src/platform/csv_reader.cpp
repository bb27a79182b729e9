#include "platform/csv_reader.h"

#include <algorithm>

#include "platform/cp932.h"

namespace platform {

std::string_view CutWholeCharacters(std::string_view text, size_t capacity) {
  if (text.size() <= capacity) return text;
  // From the start: a trail byte may lie in the lead-byte range.
  size_t end = 0;
  while (true) {
    const size_t width = IsCp932Lead(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > capacity) break;
    end += width;
  }
  return text.substr(0, end);
}

CsvReader::CsvReader(std::string_view bytes, std::vector<size_t> capacities, CsvOptions options)
    : rest_(bytes), capacities_(std::move(capacities)), options_(options) {
  fields_.reserve(capacities_.size());
}

bool CsvReader::Next() {
  if (rest_.empty()) return false;
  std::string_view line = rest_;
  const size_t lf = rest_.find('\n');
  if (lf == std::string_view::npos) {
    rest_ = {};
  } else {
    line = rest_.substr(0, lf);
    rest_.remove_prefix(lf + 1);
    if (options_.dropCrBeforeLf && !line.empty() && line.back() == '\r') line.remove_suffix(1);
  }
  line_ = line;
  // Trail bytes are never ',' or LF, so the split needs no decoding.
  fields_.clear();
  size_t start = 0;
  while (fields_.size() < capacities_.size() || (options_.allFields && !capacities_.empty())) {
    const size_t comma = line.find(',', start);
    std::string_view field = line.substr(start, comma == std::string_view::npos ? comma : comma - start);
    const size_t capacity = capacities_[std::min(fields_.size(), capacities_.size() - 1)];
    fields_.push_back(options_.wholeCharacters ? CutWholeCharacters(field, capacity) : field.substr(0, capacity));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return true;
}

}  // namespace platform
