#pragma once
// What the aircraft information window shows of one aircraft: the texts of
// its value labels (each hint is the label's own text, but the type's),
// whether the position label is a link, and the photograph. Texts are bytes
// in code page 932. The defaults are the window's empty state.
#include <string>

#include "platform/bitmap24.h"

struct AircraftInformation {
  std::string Flight = "------";        // Label3
  std::string Registration = "------";  // Label5
  std::string Airline = "-";            // Label15
  std::string Departure = "----";       // Label10
  std::string Destination = "----";     // Label11
  std::string AircraftType = "-";       // Label13
  std::string AircraftTypeHint;         // empty while the type is unknown
  std::string Remarks = "-";            // Label14
  // Label7: "have" (or "Have") as a link while a position is plotted,
  // else "None"; "なし" in either language until a row is shown.
  std::string Position = "\x82\xc8\x82\xb5";
  bool PositionLink = false;
  // The aircraft's photograph; null keeps the picture shown.
  Bitmap24 Picture;
};
