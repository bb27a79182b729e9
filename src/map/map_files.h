#pragma once
// The map files of the lines folder, as menu N34 lists them: the .dat files,
// then .out, then .map, each group sorted by the byte order of the names.
#include <string>
#include <vector>

#include "app/settings_sections.h"

struct MapState;

std::vector<std::string> ListMapFiles(const std::string& linesFolder);

// Fills the menu's items from appDir/lines, brings MapNo into range (0 when
// it names no item) and sets MapFileName (empty when there is no map file).
void BuildMapFileMenu(std::vector<std::string>& menu, MapSettings& settings, MapState& map, const std::string& appDir);
// A map file chosen from the menu (its index among the items): the
// background and the aircraft layer are drawn anew.
void AppMenuClick(const std::vector<std::string>& menu, MapSettings& settings, MapState& map, const std::string& appDir,
                  int index);
// "Re list map files": the menu anew from the lines folder, and its first
// file chosen. A missing or empty folder leaves the menu empty and the
// chosen file as it was.
void N36Click(std::vector<std::string>& menu, MapSettings& settings, MapState& map, const std::string& appDir);
// "Map Debug Mode" on or off.
void N37Click(MapState& map);
