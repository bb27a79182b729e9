#pragma once
// The HFNPDU an LPDU carries: its type, the position reports of Performance
// and Frequency Data (which put aircraft on the list and the map), and
// Enveloped Data (an ACARS block for the ACARS parser and the registration
// table). System tables go on to ground_stations.
#include <cstddef>
#include <cstdint>
#include <string>

#include "hfdl/lpdu.h"

class FrameAnalysis;
struct Form1State;

// The ACARS block handed to the parser: the prefix and the block of the
// largest LPDU (S = 255).
constexpr size_t kHfdlAcarsBitsSize = 32 + 8 * 255;

enum class HfnpduPath {
  Data,   // in an Unnumbered (Acknowledged) Data LPDU, from octet P + 1
  Logon,  // in a log-on LPDU whose octet 4 is 0xFF, from octet P + 4
};

struct HfnpduPlace {
  LinkDirection direction = LinkDirection::Downlink;
  HfnpduPath path = HfnpduPath::Data;
  long h = 0;  // the HFNPDU's first octet
  long p = 0;  // the LPDU's first octet
  int s = 0;   // the LPDU's size field
  int aircraftId = 0;
  int gsId = 0;
  // The log-on path: what ICAO24.csv gave for the LPDU's address.
  std::string registration = "NO DATA";
  std::string operatorCode;
};

void DecodeHfnpdu(FrameAnalysis& frame, const HfnpduPlace& place);

// The type's name, "" for a value outside the table.
std::string HfnpduTypeName(int type);

// The flight ID field (characters 22..27) of a downlink ACARS block held
// one bit per byte from its "+" prefix, normalised; "------" for a short
// or an uplink block. Sets the parser's downlink flag for the block.
std::string ExtractFlightIdField(Form1State& form, const uint8_t* bits, int bitCount);
// False for a flight ID that cannot be an airline's (blanks, no number) and
// for one whose airline the user listed in passList ("JL,NH").
bool IsAirlineNotListed(const std::string& flightId, const std::string& passList);
// The first two characters and the digits after them (at most four),
// padded with zeros to four digits: "JL12" gives "JL0012".
std::string NormaliseFlightNumber(const std::string& id);
