#pragma once
// Colours as the program keeps them: 0x00BBGGRR (red in the low byte), the
// settings file's six hex digits read left to right as blue, green, red.
#include <cstdint>

using TColor = uint32_t;

namespace platform {

inline TColor MakeColor(int red, int green, int blue) {
  return static_cast<TColor>(red & 0xFF) | (static_cast<TColor>(green & 0xFF) << 8) |
         (static_cast<TColor>(blue & 0xFF) << 16);
}

}  // namespace platform
