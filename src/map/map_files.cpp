#include "map/map_files.h"

#include <cstdio>

#include "map/map_redraw.h"
#include "map/map_state.h"
#include "map/zoom_factors.h"
#include "platform/file_io.h"
#include "platform/paths.h"

std::vector<std::string> ListMapFiles(const std::string& linesFolder) {
  std::vector<std::string> names;
  for (const char* pattern : {"*.dat", "*.out", "*.map"}) {
    for (std::string& name : platform::ListFiles(linesFolder, pattern)) names.push_back(std::move(name));
  }
  return names;
}

void BuildMapFileMenu(std::vector<std::string>& menu, MapSettings& settings, MapState& map, const std::string& appDir) {
  const std::string lines = platform::JoinPath(appDir, "lines");
  menu = ListMapFiles(lines);
  const int items = static_cast<int>(menu.size());
  if (settings.MapNo < 0 || settings.MapNo >= items) settings.MapNo = 0;
  map.MapFileName = items == 0 ? std::string() : platform::JoinPath(lines, menu[static_cast<size_t>(settings.MapNo)]);
}

void AppMenuClick(const std::vector<std::string>& menu, MapSettings& settings, MapState& map, const std::string& appDir,
                  int index) {
  if (index < 0 || index >= static_cast<int>(menu.size())) return;
  map.MapFileName = platform::JoinPath(platform::JoinPath(appDir, "lines"), menu[static_cast<size_t>(index)]);
  RequestRedraw(map, {MapLayer::Background, MapLayer::Aircraft});
  settings.MapNo = index;
}

void N36Click(std::vector<std::string>& menu, MapSettings& settings, MapState& map, const std::string& appDir) {
  const std::string lines = platform::JoinPath(appDir, "lines");
  menu = ListMapFiles(lines);
  if (menu.empty()) return;
  settings.MapNo = 0;
  map.MapFileName = platform::JoinPath(lines, menu.front());
  RequestRedraw(map, {MapLayer::Background, MapLayer::Aircraft, MapLayer::Altitude});
}

void N37Click(MapState& map) {
  map.MapDebug = map.MapDebug ? 0 : 1;
  RequestRedraw(map, {MapLayer::Background, MapLayer::Aircraft});
}

std::vector<std::string> ZoomListItems() {
  std::vector<std::string> items;
  for (double z : ZoomFactors) {
    char buf[16];
    if (z < 10) {
      // One decimal, written without the locale's separator.
      int tenths = static_cast<int>(z * 10 + 0.5);
      std::snprintf(buf, sizeof buf, "x%d.%d", tenths / 10, tenths % 10);
    } else {
      std::snprintf(buf, sizeof buf, "x%d", static_cast<int>(z));
    }
    items.push_back(buf);
  }
  return items;
}
