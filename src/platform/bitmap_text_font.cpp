#include "platform/bitmap_text_font.h"

#include <algorithm>

namespace platform {

QFont BitmapTextFont(int pixels) {
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  font.setFamily(QStringLiteral("Sans Serif"));
  font.setPixelSize(std::max(1, pixels));
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferVerticalHinting);
  return font;
}

int BitmapTextPixels(int points) { return std::max(1, (points * 96 + 36) / 72); }

}  // namespace platform
