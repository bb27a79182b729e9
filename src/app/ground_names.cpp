#include "app/ground_names.h"

#include "app/form1_state.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

const std::array<const char*, 28> kDefaultAcarsStationNames = {
    "NARITA",   "KOBE",     "NOTO",     "KOMATSU",    "OKAYAMA", "SASAYAMA", "HAKODATE",  "AKITA",
    "SENDAI",   "KANSAI",   "NIIGATA",  "TSUKUBA",    "HANEDA",  "HACHIJYO", "TOYAMA",    "HANAMAKI",
    "MEMANBETSU", "OBIHIRO", "HIROSHIMA", "FUKUSHIMA", "MISAWA", "AOMORI",   "SHONAI",    "SHIBI",
    "----",     "----",     "BROADCAST", "VDL"};

void LoadGroundStationNames(Form1State& form) {
  IniFile ini;
  ini.Load(platform::JoinPath(form.app.AppDir, "data/ground.txt"));
  for (int k = 0; k < 28; ++k) {
    std::string key = k < 26 ? std::string(1, static_cast<char>('A' + k)) : (k == 26 ? "2" : "3");
    form.acars.AcarsStationNames[k] = ini.ReadString("GroundStations", key, kDefaultAcarsStationNames[k]);
  }
}
