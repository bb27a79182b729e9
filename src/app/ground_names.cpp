#include "app/ground_names.h"

#include "platform/ini_file.h"
#include "platform/paths.h"

const std::array<const char*, 28> kDefaultAcarsStationNames = {
    "NARITA",   "KOBE",     "NOTO",     "KOMATSU",    "OKAYAMA", "SASAYAMA", "HAKODATE",  "AKITA",
    "SENDAI",   "KANSAI",   "NIIGATA",  "TSUKUBA",    "HANEDA",  "HACHIJYO", "TOYAMA",    "HANAMAKI",
    "MEMANBETSU", "OBIHIRO", "HIROSHIMA", "FUKUSHIMA", "MISAWA", "AOMORI",   "SHONAI",    "SHIBI",
    "----",     "----",     "BROADCAST", "VDL"};

void LoadGroundStationNames(std::array<std::string, 28>& names, const std::string& appDir) {
  IniFile ini;
  ini.Load(platform::JoinPath(appDir, "data/ground.txt"));
  for (int k = 0; k < 28; ++k) {
    std::string key = k < 26 ? std::string(1, static_cast<char>('A' + k)) : (k == 26 ? "2" : "3");
    names[static_cast<size_t>(k)] = ini.ReadString("GroundStations", key, kDefaultAcarsStationNames[k]);
  }
}
