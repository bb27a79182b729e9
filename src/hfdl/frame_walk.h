#pragma once
// What the layers of one frame's analysis share while they take it apart.
#include "app/settings_sections.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/frame_bits.h"
#include "hfdl/hfdl_frame.h"

struct HfdlReception;

struct FrameWalk {
  HfdlReception& hfdl;
  const EtcSettings& etc;
  const HfdlLookups& lookups;
  HfdlFrame& frame;
  FrameBits bits;
  // The octet the next LPDU starts at; at the end, the DAT line's octets.
  long cursor = 0;

  bool Ended() const { return frame.Failure != HfdlFailure::None; }
};

// The layers, outermost first.
void AnalyzeSquitter(FrameWalk& walk);
void WalkLpdus(FrameWalk& walk, HfdlMpdu& mpdu, const std::vector<AircraftBlock>& blocks);
// The HFNPDU of the LPDU at octet p of size s, from octet h on.
HfdlHfnpdu DecodeHfnpdu(FrameWalk& walk, LinkDirection direction, HfnpduPath path, long h, long p, int s,
                        int aircraftId, int gsId, const HfdlLpdu& lpdu, const std::string& operatorCode);
