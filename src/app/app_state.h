#pragma once
// What the program as a whole keeps for the run: whether it runs, the
// language in use, its folder and the paths of its files (the aircraft
// reference files are the aircraft's).
#include <cstdint>
#include <string>

#include "app/settings_sections.h"

struct AppState {
  flag Running = 0;
  flag UseEnglish = 1;
  // WaveDual of a server that does not decode, kept for the save.
  int32_t SavedWaveDual = 0;
  std::string AppDir;
  std::string WaveFilePath, SelcalWavePath, MesgSearchWavePath, SearchCsvPath;
  std::string SelcalCsvPath;
  std::string MesgSearchListPath;
};
