#pragma once
// The received text: the six text buffers the received-text window shows
// and the day's log files they are written to.
#include <array>
#include <string>

struct ReceivedText {
  std::array<std::string, 6> TextBuffers;
  std::string SearchLogPath, ListLogPath, AcarsRawLogPath, AcarsPrcLogPath, AcarsMesLogPath;
  std::string HfdlDatLogPath, HfdlAnaLogPath, HfdlFmtLogPath;
  std::string LogDate;
  // The log being imported; writers then write to its "_c" twin.
  std::string ImportPath;
};
