#include "hfdl/squitter.h"

#include <cmath>

#include "hfdl/frame_walk.h"
#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_reception.h"
#include "platform/date_time.h"

namespace {

constexpr int kSquitterOctets = 66;
constexpr int kActiveColumns = 6;

const char* const kChangeNotes[4] = {"No change, same frequency, GS up", "Channel down", "Upcoming frequency change",
                                     "Ground Station down"};

// The station's frequencies in use into the ground-station table: a row
// holds six slots, the frequency list reads the first three.
HfdlSquitter::Station UpdateStation(HfdlReception& hfdl, int gsId, uint32_t mask) {
  HfdlSquitter::Station station;
  station.GsId = gsId;
  station.Mask = mask;
  station.Name = GsName(hfdl, gsId);
  if (!GsIdInTable(gsId)) return station;
  int column = 0;
  for (int k = 0; k < 20 && column < kActiveColumns; ++k) {
    if ((mask >> k) & 1) hfdl.GsActiveFreqs[gsId][column++] = k + 1;
  }
  for (; column < kActiveColumns; ++column) hfdl.GsActiveFreqs[gsId][column] = 0;
  const TDateTime now = platform::Now();
  hfdl.GsCheckedTime[static_cast<size_t>(gsId)] = now - std::floor(now);
  for (int c = 0; c < 3; ++c) {
    const int slot = hfdl.GsActiveFreqs[gsId][c];
    if (slot != 0) station.KHz.push_back(hfdl.GsFrequencies[gsId][slot - 1]);
  }
  return station;
}

}  // namespace

std::string ChangeNoteText(int note) { return kChangeNotes[note & 3]; }

void AnalyzeSquitter(FrameWalk& walk) {
  const FrameBits& bits = walk.bits;
  walk.cursor = kSquitterOctets;
  if (!bits.CrcHolds(0, kSquitterOctets - 2)) {
    walk.frame.Failure = HfdlFailure::SpduCrc;
    return;
  }
  HfdlSquitter& s = walk.frame.Squitter.emplace();
  s.GsId = static_cast<int>(bits.Field(8, 7));
  s.GsName = GsName(walk.hfdl, s.GsId);
  s.FrameIndex = static_cast<int>(bits.Field(16, 12));
  s.FrameOffset = static_cast<int>(bits.Field(28, 4));
  for (int k = 0; k < 12; ++k) s.Slots[static_cast<size_t>(k)] = bits.Octet(40 + k);
  s.ChangeNote = static_cast<int>(bits.Field(6, 2));
  s.IsoNotSupported = bits.Bit(5) != 0;
  // Two bits, as the air interface defines the version.
  s.Version = static_cast<int>(bits.Field(2, 2));
  s.UtcSynchronized = bits.Bit(15) != 0;
  s.Stations[0] = UpdateStation(walk.hfdl, s.GsId, bits.Field(436, 20));
  s.Stations[1] = UpdateStation(walk.hfdl, static_cast<int>(bits.Field(456, 7)), bits.Field(464, 20));
  s.Stations[2] = UpdateStation(walk.hfdl, static_cast<int>(bits.Field(484, 7)), bits.Field(492, 20));
}
