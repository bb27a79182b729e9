#pragma once
// The LPDUs of an MPDU, walked once the header's CRC has passed and its
// sizes fit the frame: each one's check sequence, its type, the log-on
// family's fields (which feed the registration table) and the HFNPDU it
// carries. One walk serves both directions; their few differences are
// decided by LinkDirection.
#include <string>
#include <vector>

class FrameAnalysis;

enum class LinkDirection { Uplink, Downlink };

// The aircraft an MPDU header lists: one on the downlink, up to eight on
// the uplink. An LPDU of size S takes S + 1 octets.
struct AircraftBlock {
  int AircraftId = 0;
  int RateCode = 0;
  std::vector<int> LpduSizes;
};

// Walks the LPDUs from the frame's HfdlFrameOctets on, moving it along.
void WalkLpdus(FrameAnalysis& frame, LinkDirection direction, const std::vector<AircraftBlock>& blocks, int gsId);

// The type's name, "" for a value outside the table.
std::string LpduTypeName(int type);
