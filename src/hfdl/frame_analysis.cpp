#include "hfdl/frame_analysis.h"

#include <algorithm>

#include "hfdl/crc.h"
#include "hfdl/frame_walk.h"
#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_reception.h"
#include "platform/date_time.h"

namespace {

class NoLookups : public HfdlLookups {
 public:
  std::string LookupAirline3(const std::string&) const override { return "--"; }
  bool LookupAircraftType(const std::string&, std::string&) const override { return false; }
};

// The octets an MPDU's header and its LPDUs take: a false sync passes the
// 16-bit header CRC now and then, and its sizes may point far past the frame.
bool LpdusFitInFrame(const FrameBits& bits, long headerOctets, const std::vector<AircraftBlock>& blocks) {
  long end = headerOctets + 2;
  for (const AircraftBlock& block : blocks) {
    for (int size : block.LpduSizes) end += size + 1;
  }
  return end <= bits.Octets();
}

void AnalyzeDownlink(FrameWalk& walk) {
  const FrameBits& bits = walk.bits;
  HfdlMpdu& mpdu = walk.frame.Mpdu.emplace();
  mpdu.Direction = LinkDirection::Downlink;
  AircraftBlock block;
  const int lpdus = static_cast<int>(bits.Field(2, 4));
  mpdu.LpduCount = lpdus;
  if (!bits.CrcHolds(0, lpdus + 6)) {
    walk.frame.Failure = HfdlFailure::MpduHeaderCrc;
    return;
  }
  block.AircraftId = static_cast<int>(bits.Field(16, 8));
  block.RateCode = static_cast<int>(bits.Field(32, 3));
  for (int k = 0; k < lpdus; ++k) block.LpduSizes.push_back(static_cast<int>(bits.Field(48 + 8 * k, 8)));
  const std::vector<AircraftBlock> blocks = {block};
  if (!LpdusFitInFrame(bits, lpdus + 6, blocks)) {
    walk.frame.Failure = HfdlFailure::MpduHeaderSize;
    return;
  }
  mpdu.GsId = static_cast<int>(bits.Field(8, 7));
  mpdu.GsName = GsName(walk.hfdl, mpdu.GsId);
  mpdu.UtcSynchronized = bits.Bit(15) != 0;
  walk.cursor = lpdus + 8;
  mpdu.Blocks = blocks;
  WalkLpdus(walk, mpdu, blocks);
}

void AnalyzeUplink(FrameWalk& walk) {
  const FrameBits& bits = walk.bits;
  HfdlMpdu& mpdu = walk.frame.Mpdu.emplace();
  mpdu.Direction = LinkDirection::Uplink;
  const int aircraft = static_cast<int>(bits.Field(4, 3)) + 1;
  mpdu.AircraftCount = aircraft;
  std::vector<AircraftBlock> blocks;
  long b = 16;
  for (int a = 0; a < aircraft; ++a) {
    int parity = 0;
    for (int i = 9; i <= 15; ++i) parity ^= bits.Bit(b + i);
    if (parity == bits.Bit(b + 8)) {
      walk.frame.Failure = HfdlFailure::UplinkParity;
      return;
    }
    AircraftBlock block;
    block.AircraftId = static_cast<int>(bits.Field(b, 8));
    block.RateCode = static_cast<int>(bits.Field(b + 9, 3));
    const int lpdus = static_cast<int>(bits.Field(b + 12, 4));
    for (int j = 0; j < lpdus; ++j) block.LpduSizes.push_back(static_cast<int>(bits.Field(b + 16 + 8 * j, 8)));
    blocks.push_back(block);
    b += 16 + 8 * lpdus;
  }
  const long headerOctets = b / 8;
  if (!bits.CrcHolds(0, headerOctets)) {
    walk.frame.Failure = HfdlFailure::MpduHeaderCrc;
    return;
  }
  if (!LpdusFitInFrame(bits, headerOctets, blocks)) {
    walk.frame.Failure = HfdlFailure::MpduHeaderSize;
    return;
  }
  mpdu.GsId = static_cast<int>(bits.Field(8, 7));
  mpdu.GsName = GsName(walk.hfdl, mpdu.GsId);
  mpdu.UtcSynchronized = bits.Bit(15) != 0;
  mpdu.UplinkRateCode = static_cast<int>(bits.Field(25, 3));
  walk.cursor = headerOctets + 2;
  mpdu.Blocks = blocks;
  WalkLpdus(walk, mpdu, blocks);
}

}  // namespace

const HfdlLookups& NoHfdlLookups() {
  static const NoLookups none;
  return none;
}

bool FrameBits::CrcHolds(long firstOctet, long octetCount) const {
  return CheckCrc16(octets_, size_, firstOctet, octetCount);
}

std::string HexText(uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = kDigits[value & 15];
  return text;
}

std::string DataRateLine(int code) {
  // Codes 0 and 5-7 have no rate of their own.
  static const char* const kRates[8] = {"Reserved",   "300bits/s", "600bits/s", "1200bits/s",
                                        "1800bits/s", "Reserved",  "Reserved",  "Reserved"};
  return std::string("Uplink Data Rate = ") + kRates[code & 7];
}

std::string UtcLine(bool synchronized) {
  return synchronized ? "UTC Link = Synchronized" : "UTC Link = Not synchronized";
}

bool HfdlFrame::CompletedSystemTable() const {
  if (!Mpdu) return false;
  for (const HfdlAircraftLpdus& aircraft : Mpdu->Aircraft) {
    for (const HfdlLpdu& lpdu : aircraft.Lpdus) {
      if (lpdu.Hfnpdu && lpdu.Hfnpdu->SystemTable &&
          lpdu.Hfnpdu->SystemTable->Outcome == SystemTableOutcome::Completed) {
        return true;
      }
    }
  }
  return false;
}

HfdlFrame AnalyzeHfdlFrame(HfdlReception& hfdl, const EtcSettings& etc, const HfdlLookups& lookups,
                           HfdlFrameInput input) {
  HfdlFrame frame;
  frame.Input = std::move(input);
  frame.Received = platform::Now();
  FrameWalk walk{hfdl, etc, lookups, frame, FrameBits(frame.Input.Octets.data(), frame.Input.BitCount)};
  // A frame shorter than its octets claim cannot be read past them.
  if (walk.bits.Size() > 8 * frame.Input.Octets.size()) walk.bits = FrameBits(frame.Input.Octets);

  if (walk.bits.Bit(0) == 0) {
    AnalyzeSquitter(walk);
  } else {
    int parity = 0;
    for (int i = 0; i <= 6; ++i) parity ^= walk.bits.Bit(i);
    if (parity == walk.bits.Bit(7)) {
      frame.Failure = HfdlFailure::MpduParity;
    } else if (walk.bits.Bit(1)) {
      AnalyzeDownlink(walk);
    } else {
      AnalyzeUplink(walk);
    }
  }
  // Every path keeps the cursor inside the frame; this holds it there.
  frame.DatOctets = static_cast<int>(std::min<long>(walk.cursor, walk.bits.Octets()));
  return frame;
}
