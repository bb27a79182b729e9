#include "hfdl/squitter.h"

#include <cmath>

#include "app/form1_state.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/ground_stations.h"
#include "platform/date_time.h"
#include "radio/radio_services.h"

namespace {

constexpr int kSquitterOctets = 66;
constexpr int kActiveColumns = 6;

const char* const kChangeNotes[4] = {"No change, same frequency, GS up", "Channel down", "Upcoming frequency change",
                                     "Ground Station down"};

// Slots 3..12 of frame N, then slots 1 and 2 of frame N+1.
std::string SlotLabel(int s) {
  if (s <= 6) return "Frame N   Slot 0" + std::to_string(s + 3);
  if (s <= 9) return "Frame N   Slot " + std::to_string(s + 3);
  return "Frame N+1 Slot 0" + std::to_string(s - 9);
}

std::string SlotValue(int value) {
  if (value == 0) return "Uplinks";
  if (value == 254) return "Random Access";
  if (value == 255) return "Reserved";
  return HexText(static_cast<uint32_t>(value), 2);
}

struct StationBlock {
  int gsId;
  uint32_t mask;
};

void UpdateStation(FrameAnalysis& frame, const StationBlock& station) {
  Form1State& form = frame.form;
  const bool inTable = GsIdInTable(station.gsId);
  std::string list;
  int column = 0;
  for (int k = 0; k < 20; ++k) {
    if (!((station.mask >> k) & 1)) continue;
    list += " " + std::to_string(k + 1);
    // A row holds six slots; the frequency list reads the first three.
    if (inTable && column < kActiveColumns) form.hfdl.GsActiveFreqs[station.gsId][column++] = k + 1;
  }
  std::string frequencies;
  if (inTable) {
    for (; column < kActiveColumns; ++column) form.hfdl.GsActiveFreqs[station.gsId][column] = 0;
    const TDateTime now = platform::Now();
    form.hfdl.GsCheckedTime[station.gsId] = now - std::floor(now);
    for (int c = 0; c < 3; ++c) {
      const int slot = form.hfdl.GsActiveFreqs[station.gsId][c];
      if (slot != 0) frequencies += std::to_string(form.hfdl.GsFrequencies[station.gsId][slot - 1]) + "kHz ";
    }
  }
  const std::string& name = GsName(form, station.gsId);
  frame.Line("Operating Frequencies : " + name);
  frame.Line("  [" + list + " ]");
  frame.Compact("   FREQUENCIES    = [ " + frequencies + "]" + " (" + name + ")");
}

}  // namespace

void AnalyzeSquitter(FrameAnalysis& frame) {
  Form1State& form = frame.form;
  const FrameBits& bits = frame.bits;
  form.hfdl.HfdlFrameOctets = kSquitterOctets;
  if (!bits.CrcHolds(0, kSquitterOctets - 2)) return frame.Fail("SPDU CRC Failed");

  frame.Line("/SPDU Information(" + form.app.SourceTag + ")/" + std::string(32, '-'));
  const int gsId = static_cast<int>(bits.Field(8, 7));
  frame.Line("Ground Station ID = " + std::to_string(gsId));
  frame.Line("Ground Station Name = " + GsName(form, gsId));
  frame.Compact(" SQUITTER");
  frame.Compact("  GS NAME         = " + GsName(form, gsId));
  frame.Line("TDMA Frame Index = " + std::to_string(bits.Field(16, 12)));
  frame.Line("TDMA Frame Offset = " + std::to_string(bits.Field(28, 4)));
  for (int s = 0; s < 12; ++s) frame.Line(SlotLabel(s) + " = " + SlotValue(bits.Octet(40 + s)));
  const char* note = kChangeNotes[bits.Field(6, 2)];
  frame.Line(std::string("Change Note = ") + note);
  frame.Compact(std::string("   CHANGE NOTE    = ") + note);
  frame.Line(bits.Bit(5) ? "ISO8208 Protocol Implementation = not supported"
                         : "ISO8208 Protocol Implementation = supported");
  // Two bits, as the air interface defines the version.
  frame.Line("SPDU Version = " + std::to_string(bits.Field(2, 2)));
  frame.Line(UtcLine(bits.Bit(15)));

  const StationBlock stations[3] = {{gsId, bits.Field(436, 20)},
                                    {static_cast<int>(bits.Field(456, 7)), bits.Field(464, 20)},
                                    {static_cast<int>(bits.Field(484, 7)), bits.Field(492, 20)}};
  for (const StationBlock& station : stations) UpdateStation(frame, station);
  form.svc.radio->RefreshFrequencies(form);
}
