#pragma once
// The airline position decoders: the position reports that an airline's
// downlink messages carry in their text, picked by the flight id's airline.
#include <vector>

#include "acars/acars_message.h"
#include "app/settings_sections.h"

// The reports found in a whole downlink message; none while no airline
// format is known.
std::vector<PositionReport> DecodePositions(const AcarsMessage& message, const EtcSettings& etc);
