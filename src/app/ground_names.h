#pragma once
// The VHF ACARS ground-station names by mode character, from
// data/ground.txt (section GroundStations, keys A..Z, 2, 3).
#include <array>
#include <string>

struct Form1State;

extern const std::array<const char*, 28> kDefaultAcarsStationNames;

void LoadGroundStationNames(Form1State& form);
