#include "platform/shared_helpers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

int64_t RoundToInt64(double x) {
  if (std::isnan(x)) return 0;
  double v = std::trunc(x + 0.5);
  // 2^63 is exactly representable; anything at or above it does not fit.
  if (v >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
  if (v < -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

std::string FormatFixed(double v, int decimals) {
  // Wide enough for the largest double with 20 decimals.
  char buf[352];
  const auto [end, error] =
      std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, std::clamp(decimals, 0, 20));
  if (error != std::errc()) return {};
  return std::string(buf, end);
}

int BitsToAscii7(const uint8_t* bits, int n) {
  const uint8_t* b = bits + 8 * static_cast<ptrdiff_t>(n);
  return b[0] + 2 * b[1] + 4 * b[2] + 8 * b[3] + 16 * b[4] + 32 * b[5] + 64 * b[6];
}

int BoundedStrLen(const char* text) {
  int n = 0;
  while (n <= 1000 && text[n] != '\0') ++n;
  return n;
}

std::optional<TColor> ParseColorText(std::string_view text) {
  if (text.size() < 6) return std::nullopt;
  TColor value = 0;
  for (int i = 0; i < 6; ++i) {
    char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return std::nullopt;
    }
    value = (value << 4) | static_cast<TColor>(digit);
  }
  return value;
}

TColor HexTextToColor(std::string_view text, TColor def) {
  auto v = ParseColorText(text);
  return v ? *v : def;
}

std::string ColorToHexText(TColor colour) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(colour & 0xFFFFFF));
  return buf;
}
