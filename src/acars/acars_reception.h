#pragma once
// Everything ACARS reception keeps: both channels' demodulators and
// framers, the parser's last block, the duplicate filters and multi-block
// slots, the position decoders' state and the ground-station names by mode
// character.
#include <array>
#include <string>

#include "acars/acars_parser.h"
#include "acars/acars_position_dispatch.h"
#include "acars/acars_receiver.h"
#include "acars/acars_stores.h"

struct AcarsReception {
  AcarsReceiver AcarsRx;   // both channels' demodulators and framers
  AcarsParser AcarsParse;  // the ground-station name of the last mode letter
  AcarsStores AcarsStore;  // duplicate filters and multi-block slots
  // Whether the last message's last position store was accepted
  // (FromAcars) and the decoders' working flags.
  AcarsPositionState PositionDecoders;
  std::array<std::string, 28> AcarsStationNames;
};
