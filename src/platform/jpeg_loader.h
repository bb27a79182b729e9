#pragma once
// JPEG photographs (pics/<registration>.jpg and the like) into bitmaps.
// The files are the user's or come from anywhere: a damaged one is
// "missing", never the end of the program.
#include <optional>
#include <string>

#include "platform/bitmap24.h"

namespace platform {

// The picture, grey or colour, as a 24-bit bitmap; nothing when the file
// is missing or damaged (a decoding error, a premature end), or when its
// width or height is 0 or above 16384 pixels. With a largest size, a
// larger photograph is decoded straight down to fit it (in eighths of its
// size, at most 1/8 down), so that a big file never has to be held whole.
std::optional<Bitmap24> LoadJpeg(const std::string& path, int maxWidth = 0, int maxHeight = 0);

}  // namespace platform
