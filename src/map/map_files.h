#pragma once
// The map files of the lines folder, as menu N34 lists them: the .dat files,
// then .out, then .map, each group sorted by the byte order of the names.
#include <string>
#include <vector>

struct Form1State;

std::vector<std::string> ListMapFiles(const std::string& linesFolder);

// Fills MapFileMenu from AppDir/lines, brings MapNo into range (0 when it
// names no item) and sets MapFileName (empty when there is no map file).
void BuildMapFileMenu(Form1State& form);
