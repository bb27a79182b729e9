#pragma once
// The airline position decoders, one per report layout family. Each finds
// its reports by the message label and a marker at a fixed place, or by
// scanning the text for a latitude/longitude pattern; reads the digits at
// their positions; and stores each group it finds at once. All return the
// message's FromAcars, which the dispatcher does not use.
#include "acars/acars_position_dispatch.h"

// What a decoder works with.
struct PositionDecoding {
  AcarsPositionState& State;
  const MapSettings& Map;
  PositionLink& Link;
  const PositionMessage& Message;
};

bool DecodePositionJL(PositionDecoding& d);       // JL, JC, NU, Nu, JO, EG, 00
bool DecodePositionNH(PositionDecoding& d);       // NH, EL, KZ, NQ
bool DecodePositionFX(PositionDecoding& d);
bool DecodePositionNW(PositionDecoding& d);
bool DecodePositionUA(PositionDecoding& d);       // UA, CI, AA, CO
bool DecodePositionCA(PositionDecoding& d);
bool DecodePositionUP(PositionDecoding& d);
bool DecodePositionKE(PositionDecoding& d);
bool DecodePositionMU(PositionDecoding& d);
bool DecodePositionOZ(PositionDecoding& d);
bool DecodePositionBR(PositionDecoding& d);       // BR, FM
bool DecodePositionGeneric(PositionDecoding& d);  // any other airline
