#include "platform/jpeg_loader.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace platform {

namespace {

constexpr JDIMENSION kLargestSide = 16384;
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

// The largest eighth of the picture that fits, at least 1/8.
unsigned ScaleEighths(JDIMENSION width, JDIMENSION height, int maxWidth, int maxHeight) {
  if (maxWidth <= 0 || maxHeight <= 0) return 8;
  for (unsigned n = 8; n > 1; --n) {
    if ((width * n + 7) / 8 <= static_cast<JDIMENSION>(maxWidth) &&
        (height * n + 7) / 8 <= static_cast<JDIMENSION>(maxHeight)) {
      return n;
    }
  }
  return 1;
}

// Between setjmp and the last libjpeg call only plain data lives on this
// frame, so that the jump skips no destructor.
bool Decode(std::FILE* file, int maxWidth, int maxHeight, Bitmap24* out) {
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
  info.out_color_space = JCS_EXT_BGR;  // the bitmap's byte order, grey files included
  info.scale_num = ScaleEighths(info.image_width, info.image_height, maxWidth, maxHeight);
  info.scale_denom = 8;
  jpeg_start_decompress(&info);
  out->Resize(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out->ScanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<Bitmap24> LoadJpeg(const std::string& path, int maxWidth, int maxHeight) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  Bitmap24 picture;
  const bool ok = Decode(file, maxWidth, maxHeight, &picture);
  std::fclose(file);
  if (!ok) return std::nullopt;
  return picture;
}

}  // namespace platform
