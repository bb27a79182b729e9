#include "acars/acars_position_dispatch.h"

std::vector<PositionReport> DecodePositions(const AcarsMessage&, const EtcSettings&) { return {}; }
