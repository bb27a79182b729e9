#pragma once
// JPEG photographs (pics/<registration>.jpg and the like) into bitmaps,
// scaled by nearest pixel as they are decoded. The files are the user's or
// come from anywhere: a damaged one is "missing", never the end of the
// program, and a huge one is never held whole.
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "platform/bitmap24.h"

namespace platform {

struct JpegSize {
  int width = 0;
  int height = 0;
};

// What a caller asks of a photograph: the size of its picture for the
// source's size, and the columns of that picture it can show.
struct JpegScaling {
  std::function<JpegSize(int sourceWidth, int sourceHeight)> size;
  int firstColumn = 0;
  int lastColumn = std::numeric_limits<int>::max();
};

// Target column (or row) t of n takes source column t * s / n, worked out
// in 64 bits.
int NearestSourceIndex(int t, int s, int n);

// The size within maxWidth x maxHeight that keeps the proportions; a
// source that fits already keeps its size, and so does any source when a
// limit is 0.
JpegSize FitWithin(int sourceWidth, int sourceHeight, int maxWidth, int maxHeight);

// Target columns firstColumn.. of the scaled picture (as many as the
// scaling asks for and there are; an empty picture when none of them
// exists). Nothing when the file is missing or damaged (a decoding error,
// a premature end), when its width or height is 0 or above 16384 pixels,
// or when the scaled size is empty. Decoded scan line by scan line; only
// one source row is held at a time.
struct ScaledJpeg {
  Bitmap24 picture;
  int firstColumn = 0;
};
std::optional<ScaledJpeg> LoadJpegScaled(const std::string& path, const JpegScaling& scaling);

// The whole picture, fitted within maxWidth x maxHeight as FitWithin says.
std::optional<Bitmap24> LoadJpeg(const std::string& path, int maxWidth = 0, int maxHeight = 0);

}  // namespace platform
