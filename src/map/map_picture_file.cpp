#include "map/map_picture_file.h"

std::string BitmapFileName(const std::string& chosen) {
  const size_t slash = chosen.rfind('/');
  const size_t dot = chosen.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return hasExtension ? chosen : chosen + ".bmp";
}

void N1Click(const MapState& map, MapWindowLink& window) {
  const std::string chosen = window.AskSaveMapPath();
  if (chosen.empty()) return;
  SaveBmp(map.MapViewBitmap, BitmapFileName(chosen));
}
