#include "map/map_files.h"

#include <cstdio>

#include "app/form1_state.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "map/zoom_factors.h"

std::vector<std::string> ListMapFiles(const std::string& linesFolder) {
  std::vector<std::string> names;
  for (const char* pattern : {"*.dat", "*.out", "*.map"}) {
    for (std::string& name : platform::ListFiles(linesFolder, pattern)) names.push_back(std::move(name));
  }
  return names;
}

void BuildMapFileMenu(Form1State& form) {
  std::string lines = platform::JoinPath(form.app.AppDir, "lines");
  form.controls.MapFileMenu = ListMapFiles(lines);
  int items = static_cast<int>(form.controls.MapFileMenu.size());
  if (form.Map.MapNo < 0 || form.Map.MapNo >= items) form.Map.MapNo = 0;
  form.mapView.MapFileName = items == 0 ? std::string() : platform::JoinPath(lines, form.controls.MapFileMenu[form.Map.MapNo]);
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
