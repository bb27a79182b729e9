#include "hfdl/lpdu.h"

#include "hfdl/frame_walk.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/registration.h"

namespace {

enum LpduType {
  kUnnumberedAckData = 0x1D,
  kUnnumberedData = 0x0D,
  kLogonRequestNormal = 0x8F,
  kLogonRequestDls = 0xBF,
  kLogonConfirm = 0x9F,
  kLogonResume = 0x4F,
  kLogonResumeConfirm = 0x5F,
  kLogonDenied = 0x2F,
  kLogoffRequest = 0x3F,
};

struct TypeName {
  int type;
  const char* name;
};

constexpr TypeName kTypeNames[] = {
    {kUnnumberedAckData, "Unnumbered Acknowledged Data"},
    {kUnnumberedData, "Unnumbered Data"},
    {kLogonRequestNormal, "Log-on Request (Normal)"},
    {kLogonRequestDls, "Log-on Request (DLS)"},
    {kLogonConfirm, "Log-on Confirm"},
    {kLogonResume, "Log-on Resume"},
    {kLogonResumeConfirm, "Log-on Resume-Confirm"},
    {kLogonDenied, "Log-on Denied"},
    {kLogoffRequest, "Log-off Request"},
};

const char* const kDeniedReasons[] = {"Reserved", "Aircraft ID not available",
                                      "HFDL Ground Station Sub-system does not support RLS", "Other"};
const char* const kLogoffReasons[] = {"Reserved",
                                      "Not within slot boundaries",
                                      "Downlink sent in uplink slot",
                                      "RLS protocol error",
                                      "Invalid aircraft ID",
                                      "HFDL Ground Station Sub-system does not support RLS",
                                      "Other",
                                      "Temporary Transceiver Shutdown"};

bool IsLogonFamily(int type) {
  return type == kLogonRequestNormal || type == kLogonRequestDls || type == kLogonConfirm || type == kLogonResume ||
         type == kLogonResumeConfirm || type == kLogonDenied || type == kLogoffRequest;
}

bool AllocatesId(int type) {
  return type == kLogonRequestNormal || type == kLogonRequestDls || type == kLogonConfirm || type == kLogonResume ||
         type == kLogonResumeConfirm;
}

// The last octet of an LPDU that holds data; the two after it are its
// check sequence, and no field is taken from them.
long LastDataOctet(long p, int s) { return p + s - 2; }

// The type and log-on fields of one LPDU whose check sequence holds.
void DecodeLpdu(FrameWalk& walk, LinkDirection direction, const AircraftBlock& block, int gsId, long p, int s,
                HfdlLpdu& lpdu) {
  const FrameBits& bits = walk.bits;
  lpdu.Type = bits.Octet(p);
  if (lpdu.Type == kUnnumberedData || lpdu.Type == kUnnumberedAckData) {
    lpdu.Hfnpdu = DecodeHfnpdu(walk, direction, HfnpduPath::Data, p + 1, p, s, block.AircraftId, gsId, lpdu, "");
    return;
  }
  if (!IsLogonFamily(lpdu.Type)) return;

  lpdu.ShowAircraftId = block.AircraftId != 0xFF;
  if (p + 3 > LastDataOctet(p, s)) return;
  const uint32_t address = static_cast<uint32_t>(bits.OctetMsbFirst(p + 1)) << 16 |
                           static_cast<uint32_t>(bits.OctetMsbFirst(p + 2)) << 8 |
                           static_cast<uint32_t>(bits.OctetMsbFirst(p + 3));
  lpdu.Address = HexText(address, 6);
  Icao24Record record;
  lpdu.Registration = LookupIcao24File(walk.hfdl, *lpdu.Address, record);

  if (p + 4 > LastDataOctet(p, s)) return;
  const int octet4 = bits.Octet(p + 4);
  if (lpdu.Type == kLogonDenied || lpdu.Type == kLogoffRequest) {
    lpdu.Reason = octet4;
    return;
  }
  if (!AllocatesId(lpdu.Type)) return;
  if (octet4 == 0xFF) {
    lpdu.Hfnpdu =
        DecodeHfnpdu(walk, direction, HfnpduPath::Logon, p + 4, p, s, block.AircraftId, gsId, lpdu, record.Operator);
    return;
  }
  lpdu.AllocatedId = HexText(static_cast<uint32_t>(octet4), 2);
  OnHfdlLogon(walk.hfdl, walk.lookups, *lpdu.AllocatedId, *lpdu.Address, "HFDL", "-", "-", "-", gsId);
}

}  // namespace

std::string LpduTypeName(int type) {
  for (const TypeName& t : kTypeNames) {
    if (t.type == type) return t.name;
  }
  return "";
}

std::string LpduReasonText(int type, int code) {
  if (type == kLogonDenied) return code >= 1 && code <= 3 ? kDeniedReasons[code] : kDeniedReasons[0];
  return code >= 1 && code <= 7 ? kLogoffReasons[code] : kLogoffReasons[0];
}

void WalkLpdus(FrameWalk& walk, HfdlMpdu& mpdu, const std::vector<AircraftBlock>& blocks) {
  const LinkDirection direction = mpdu.Direction;
  for (size_t b = 0; b < blocks.size(); ++b) {
    const AircraftBlock& block = blocks[b];
    HfdlAircraftLpdus& aircraft = mpdu.Aircraft.emplace_back();
    aircraft.Header = block;
    const bool lastBlock = b + 1 == blocks.size();
    for (size_t k = 0; k < block.LpduSizes.size(); ++k) {
      const int s = block.LpduSizes[k];
      const long p = walk.cursor;
      HfdlLpdu& lpdu = aircraft.Lpdus.emplace_back();
      lpdu.Number = static_cast<int>(k) + 1;
      lpdu.Size = s;
      lpdu.Separator = direction == LinkDirection::Uplink ? !lastBlock : k + 1 < block.LpduSizes.size();
      // Below 2 there is no room for a type octet before the check sequence.
      lpdu.CrcOk = s >= 2 && walk.bits.CrcHolds(p, s - 1);
      if (lpdu.CrcOk) {
        DecodeLpdu(walk, direction, block, mpdu.GsId, p, s, lpdu);
        if (walk.Ended()) return;
      }
      walk.cursor = p + s + 1;
    }
  }
}
