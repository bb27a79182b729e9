#pragma once
// What the aircraft information window shows of one aircraft.
#include <string>

#include "platform/bitmap24.h"

struct AircraftInformation {
  std::string Flight = "------";
  std::string Registration = "------";
  std::string Airline = "-";
  std::string Departure = "----";
  std::string Destination = "----";
  std::string AircraftType = "-";
  std::string Remarks = "-";
  // The position plotted: shown as a link; otherwise "None".
  bool PositionPlotted = false;
  // The aircraft's photograph; null keeps the picture shown.
  Bitmap24 Picture;
};
