#pragma once
// The ACARS block parser: the single entry of every ACARS block, whatever
// its road (VHF, HFDL, a linked copy, an import, the DDE item). It takes
// the block apart, runs it through the duplicate filters and multi-block
// stores, and hands back the message value; it writes nothing itself.
#include <array>
#include <optional>
#include <string>

#include "acars/acars_message.h"
#include "app/settings_sections.h"

class AcarsStores;
struct AcarsReception;

// Places 2..5 of a flight id: two or three digits right-justified, blanks
// as "0", then the JD -> JL and 00 -> JC conversions. Six characters in,
// six out.
std::string NormaliseFlightId(std::string id, bool convJD, bool convJC);
// The digit test on places 2..5: each a digit or an upper-case letter.
bool FlightIdPlausible(const std::string& id);
// A block's direction: its road's where the road knows it; otherwise mode
// "2" (category A ground stations send it both ways) and "`" go by the
// block id, "0".."9" down and anything else up, and every other mode
// character below "a" is a downlink.
bool AcarsBlockIsDownlink(const AcarsBlock& block);
// Character n of a block counted from its "+", as the parser reads it;
// 0 past its end.
char AcarsCharacter(const AcarsBlock& block, int n);

class AcarsParser {
 public:
  // Nothing for a block shorter than 29 characters and for a downlink
  // whose flight id fails the digit test.
  std::optional<AcarsMessage> Parse(const AcarsBlock& block, AcarsStores& stores,
                                    const std::array<std::string, 28>& stationNames, const EtcSettings& etc);

  // The ground-station name of the last mode letter; another mode
  // character keeps it.
  std::string AcarsModeName;

 private:
  void SetModeName(const std::array<std::string, 28>& stationNames, char mode);
};

// The parser of the reception state, with its stores and station names.
std::optional<AcarsMessage> ParseAcarsBlock(AcarsReception& acars, const EtcSettings& etc, const AcarsBlock& block);
