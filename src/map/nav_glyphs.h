#pragma once
// The glyphs of the navigation points: single pixels around the point,
// the same at every zoom step.
#include <cstdint>
#include <vector>

struct GlyphRun {
  int8_t dy;        // row, downward from the point
  int8_t dx0, dx1;  // columns dx0..dx1
};

// The runs of a point type '0'..'9' ('0' has none); none for any other.
const std::vector<GlyphRun>& NavGlyph(char type);
