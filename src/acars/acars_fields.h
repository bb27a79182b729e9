#pragma once
// The fields of one parsed ACARS block, as the outputs, the position
// decoders and the watch lists are handed them.
#include <string>

struct AcarsFields {
  char Mode = 0;          // as received (the direction is Downlink's)
  std::string ModeText;   // the mode as a one-character text
  std::string Address;    // registration without leading dots, or "Uplink"
  std::string Label;
  std::string BlockId;
  std::string MsgNo;      // "----" for an uplink
  std::string FlightId;   // "------" for an uplink
  // The block's own text, every character of it (the stores take it whole;
  // what is shown stops at a NUL from the air).
  std::string Text;
  std::string StationName;
  bool Downlink = false;
};
