#pragma once
// The VHF ACARS ground-station names by mode character, from
// data/ground.txt (section GroundStations, keys A..Z, 2, 3).
#include <array>
#include <string>


extern const std::array<const char*, 28> kDefaultAcarsStationNames;

// The names of data/ground.txt of the program folder.
void LoadGroundStationNames(std::array<std::string, 28>& names, const std::string& appDir);
