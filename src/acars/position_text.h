#pragma once
// A message text as the position decoders read it: by 0-based character
// positions, fixed or around a group they found, before its start or past
// its end alike. Every position outside the text reads as NUL, which is
// neither a digit, a blank nor a marker character; the text ends at its
// first NUL.
#include <string>
#include <string_view>

class PositionText {
 public:
  explicit PositionText(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

  char operator[](long i) const { return i >= 0 && i < Length() ? text_[static_cast<size_t>(i)] : '\0'; }
  long Length() const { return static_cast<long>(text_.size()); }
  // The marker's characters stand from position at on.
  bool Has(long at, std::string_view marker) const {
    for (size_t k = 0; k < marker.size(); ++k) {
      if ((*this)[at + static_cast<long>(k)] != marker[k]) return false;
    }
    return true;
  }
  // count characters from at, NUL outside the text.
  std::string Slice(long at, long count) const {
    std::string s;
    for (long k = 0; k < count; ++k) s += (*this)[at + k];
    return s;
  }

 private:
  std::string_view text_;
};
