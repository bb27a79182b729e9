#pragma once
// A whole command-line argument as a number: trailing characters refuse it.
#include <charconv>
#include <cstring>

template <typename T>
bool ParseNumber(const char* text, T& value) {
  const char* end = text + std::strlen(text);
  auto r = std::from_chars(text, end, value);
  return r.ec == std::errc() && r.ptr == end;
}
