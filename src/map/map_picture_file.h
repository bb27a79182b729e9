#pragma once
// "Save map image": what the map image shows, as a 24-bit bitmap file.
#include <string>

#include "map/map_links.h"
#include "map/map_state.h"

// The name with ".bmp" added when its file name has no extension.
std::string BitmapFileName(const std::string& chosen);
// Asks for the file and writes MapViewBitmap into it, as a bitmap whatever
// the extension; a failure is reported as every write failure is.
void N1Click(const MapState& map, MapWindowLink& window);
