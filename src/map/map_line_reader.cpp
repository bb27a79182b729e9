#include "map/map_line_reader.h"

#include <cstring>

namespace {

constexpr size_t kMaxDecimal = 1000;

// The place of each fraction digit: 0.1, then each a tenth of the one
// before, divided once here rather than per digit.
struct FractionPlaces {
  FractionPlaces() {
    double place = 0.1;
    for (double& p : places) {
      p = place;
      place /= 10;
    }
  }
  double places[kMaxDecimal];
};

const FractionPlaces kPlaces;

}  // namespace

double ParseDecimal(std::string_view text) {
  if (text.size() >= kMaxDecimal) return 0.0;
  double value = 0.0;
  size_t fractionDigits = 0;
  bool fraction = false;
  bool negative = false;
  for (char c : text) {
    if (c == '.') {
      fraction = true;
    } else if (c == '-') {
      negative = true;
    } else {
      const int digit = static_cast<unsigned char>(c) - '0';
      if (fraction) {
        value += digit * kPlaces.places[fractionDigits++];
      } else {
        value = value * 10 + digit;
      }
    }
  }
  return negative ? -value : value;
}

MapLineReader::MapLineReader(const std::string& path) { file_ = std::fopen(path.c_str(), "rb"); }

MapLineReader::~MapLineReader() {
  if (file_) std::fclose(file_);
}

bool MapLineReader::Next(std::string_view& piece) {
  // A piece needs at most 129 bytes: 127 characters, a CR and the LF.
  constexpr size_t kReach = 129;
  if (length_ - position_ < kReach && file_ && !std::feof(file_)) {
    std::memmove(buffer_, buffer_ + position_, length_ - position_);
    length_ -= position_;
    position_ = 0;
    length_ += std::fread(buffer_ + length_, 1, sizeof buffer_ - length_, file_);
  }
  const size_t available = length_ - position_;
  if (available == 0) return false;
  const char* start = buffer_ + position_;
  ++number_;
  if (const void* lf = std::memchr(start, '\n', available < kReach ? available : kReach)) {
    const size_t end = static_cast<size_t>(static_cast<const char*>(lf) - start);
    // A CR before the line feed belongs to the line end.
    const size_t length = end > 0 && start[end - 1] == '\r' ? end - 1 : end;
    if (length <= kMaxPiece) {
      piece = std::string_view(start, length);
      position_ += end + 1;
      return true;
    }
  }
  const size_t length = available < kMaxPiece ? available : kMaxPiece;
  piece = std::string_view(start, length);
  position_ += length;
  return true;
}

bool SplitPointLine(std::string_view line, char separator, std::string_view& first, std::string_view& second) {
  const size_t last = line.rfind(separator);
  if (last == std::string_view::npos) return false;
  const size_t before = last == 0 ? std::string_view::npos : line.rfind(separator, last - 1);
  const size_t start = before == std::string_view::npos ? 0 : before + 1;
  first = line.substr(start, last - start);
  second = line.substr(last + 1);
  return true;
}

bool IsPointLine(std::string_view line) {
  if (line.empty()) return false;
  const char c = line[0];
  return c == '-' || c == '.' || c == '/' || (c >= '0' && c <= '9');
}
