#include "platform/jpeg_loader.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace platform {

namespace {

constexpr JDIMENSION kLargestSide = 16384;
// A progressive giant needs its whole coefficient buffer: it fails here
// instead of taking gigabytes.
constexpr long kLargestMemory = 256L * 1024 * 1024;

// libjpeg's own error handler ends the process; this one jumps back.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

// A warning is corrupt data or a premature end: the file is damaged.
void EmitMessage(j_common_ptr info, int level) {
  if (level < 0) ErrorExit(info);
}

// What the decoder fills, prepared before the first scan line: the
// target's size, the source column of each target column shown, and the
// row buffer.
struct Plan {
  JpegSize target;
  int firstColumn = 0;
  std::vector<int> sourceColumns;
  std::vector<uint8_t> row;
};

enum class PlanResult { Missing, NothingShown, Ready };

// The plan for a source of this size.
PlanResult MakePlan(const JpegScaling& scaling, int width, int height, Plan& plan) {
  plan.target = scaling.size ? scaling.size(width, height) : JpegSize{width, height};
  const JpegSize t = plan.target;
  if (t.width < 1 || t.height < 1) return PlanResult::Missing;
  const int first = std::max(scaling.firstColumn, 0);
  const int last = std::min(scaling.lastColumn, t.width - 1);
  plan.firstColumn = first;
  if (first > last) return PlanResult::NothingShown;
  plan.sourceColumns.resize(static_cast<size_t>(last - first + 1));
  for (int c = first; c <= last; ++c) {
    plan.sourceColumns[static_cast<size_t>(c - first)] = NearestSourceIndex(c, width, t.width);
  }
  plan.row.resize(static_cast<size_t>(width) * 3);
  return PlanResult::Ready;
}

// Between setjmp and the last libjpeg call only plain data and objects made
// before setjmp live on this frame, so that the jump skips no destructor.
bool Decode(std::FILE* file, const JpegScaling& scaling, Plan& plan, Bitmap24& out) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = ErrorExit;
  errors.pub.emit_message = EmitMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kLargestMemory;
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  if (info.image_width == 0 || info.image_height == 0 || info.image_width > kLargestSide ||
      info.image_height > kLargestSide) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  const PlanResult planned =
      MakePlan(scaling, static_cast<int>(info.image_width), static_cast<int>(info.image_height), plan);
  if (planned != PlanResult::Ready) {
    // None of it would be seen: the picture stays empty, undecoded.
    jpeg_destroy_decompress(&info);
    return planned == PlanResult::NothingShown;
  }
  info.out_color_space = JCS_EXT_BGR;  // the bitmap's byte order, grey files included
  jpeg_start_decompress(&info);
  const int sourceHeight = static_cast<int>(info.output_height);
  out.Resize(static_cast<int>(plan.sourceColumns.size()), plan.target.height);
  int r = 0;
  // Every row is read, so that a file cut short is found out.
  while (info.output_scanline < info.output_height) {
    const int y = static_cast<int>(info.output_scanline);
    JSAMPROW row = plan.row.data();
    jpeg_read_scanlines(&info, &row, 1);
    for (; r < plan.target.height && NearestSourceIndex(r, sourceHeight, plan.target.height) == y; ++r) {
      uint8_t* target = out.ScanLine(r);
      for (size_t c = 0; c < plan.sourceColumns.size(); ++c) {
        std::memcpy(target + 3 * c, plan.row.data() + 3 * static_cast<size_t>(plan.sourceColumns[c]), 3);
      }
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

int NearestSourceIndex(int t, int s, int n) {
  if (n <= 0) return 0;
  return static_cast<int>(int64_t{t} * s / n);
}

JpegSize FitWithin(int sourceWidth, int sourceHeight, int maxWidth, int maxHeight) {
  if (maxWidth <= 0 || maxHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0 ||
      (sourceWidth <= maxWidth && sourceHeight <= maxHeight)) {
    return {sourceWidth, sourceHeight};
  }
  const int64_t w = sourceWidth, h = sourceHeight;
  if (w * maxHeight >= h * maxWidth) return {maxWidth, static_cast<int>(std::max<int64_t>(1, h * maxWidth / w))};
  return {static_cast<int>(std::max<int64_t>(1, w * maxHeight / h)), maxHeight};
}

std::optional<ScaledJpeg> LoadJpegScaled(const std::string& path, const JpegScaling& scaling) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  Plan plan;
  ScaledJpeg scaled;
  const bool ok = Decode(file, scaling, plan, scaled.picture);
  std::fclose(file);
  if (!ok) return std::nullopt;
  scaled.firstColumn = plan.firstColumn;
  return scaled;
}

std::optional<Bitmap24> LoadJpeg(const std::string& path, int maxWidth, int maxHeight) {
  JpegScaling scaling;
  scaling.size = [maxWidth, maxHeight](int w, int h) { return FitWithin(w, h, maxWidth, maxHeight); };
  std::optional<ScaledJpeg> scaled = LoadJpegScaled(path, scaling);
  if (!scaled) return std::nullopt;
  return std::move(scaled->picture);
}

}  // namespace platform
