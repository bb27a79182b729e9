#pragma once
// The HFNPDU an LPDU carries: its type, the position reports of Performance
// and Frequency Data (which put aircraft on the list and the map), and
// Enveloped Data (an ACARS block for the ACARS parser and the registration
// table). System tables go on to ground_stations. (The decoder is declared
// with the other layers in frame_walk.h.)
#include <string>

#include "acars/acars_message.h"

// The type's name, "" for a value outside the table.
std::string HfnpduTypeName(int type);

// The flight ID field (characters 22..27) of a downlink ACARS block,
// normalised; "------" for a short block and an uplink (as the parser
// tells them).
std::string ExtractFlightIdField(const AcarsBlock& block, bool convJD, bool convJC);
// False for a flight ID that cannot be an airline's (blanks, no number) and
// for one whose airline the user listed in passList ("JL,NH").
bool IsAirlineNotListed(const std::string& flightId, const std::string& passList);
// The first two characters and the digits after them (at most four),
// padded with zeros to four digits: "JL12" gives "JL0012".
std::string NormaliseFlightNumber(const std::string& id);
