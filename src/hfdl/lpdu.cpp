#include "hfdl/lpdu.h"

#include "app/form1_state.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/hfnpdu.h"
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

std::string Reason(int type, int code) {
  if (type == kLogonDenied) return code >= 1 && code <= 3 ? kDeniedReasons[code] : kDeniedReasons[0];
  return code >= 1 && code <= 7 ? kLogoffReasons[code] : kLogoffReasons[0];
}

// The last octet of an LPDU that holds data; the two after it are its
// check sequence, and no field is taken from them.
long LastDataOctet(long p, int s) { return p + s - 2; }

// The type and log-on fields of one LPDU whose check sequence holds.
void DecodeLpdu(FrameAnalysis& frame, LinkDirection direction, const AircraftBlock& block, int gsId, long p, int s) {
  const FrameBits& bits = frame.bits;
  const int type = bits.Octet(p);
  const std::string name = LpduTypeName(type);
  frame.Line("LPDU TYPE = " + name);
  frame.Compact("   DATA TYPE      = " + name);

  HfnpduPlace place;
  place.direction = direction;
  place.p = p;
  place.s = s;
  place.aircraftId = block.AircraftId;
  place.gsId = gsId;

  if (type == kUnnumberedData || type == kUnnumberedAckData) {
    place.path = HfnpduPath::Data;
    place.h = p + 1;
    DecodeHfnpdu(frame, place);
    return;
  }
  if (!IsLogonFamily(type)) return;

  if (block.AircraftId != 0xFF) frame.Compact("   AIRCRAFT ID    = " + HexText(block.AircraftId, 2));
  if (p + 3 > LastDataOctet(p, s)) return;
  const uint32_t address = static_cast<uint32_t>(bits.OctetMsbFirst(p + 1)) << 16 |
                           static_cast<uint32_t>(bits.OctetMsbFirst(p + 2)) << 8 |
                           static_cast<uint32_t>(bits.OctetMsbFirst(p + 3));
  const std::string addressText = HexText(address, 6);
  frame.Line("Aircraft ICAO Address = " + addressText);
  frame.Compact("   ICAO24 ADDRESS = " + addressText);
  Icao24Record record;
  place.registration = LookupIcao24File(frame.form, addressText, record);
  place.operatorCode = record.Operator;
  frame.Compact("   REGISTRATION   = " + place.registration);

  if (p + 4 > LastDataOctet(p, s)) return;
  const int octet4 = bits.Octet(p + 4);
  if (type == kLogonDenied || type == kLogoffRequest) {
    frame.Line("Reason = " + Reason(type, octet4));
    return;
  }
  if (!AllocatesId(type)) return;
  if (octet4 == 0xFF) {
    place.path = HfnpduPath::Logon;
    place.h = p + 4;
    DecodeHfnpdu(frame, place);
    return;
  }
  const std::string id = HexText(static_cast<uint32_t>(octet4), 2);
  auto logon = [&] { OnHfdlLogon(frame.form, id, addressText, "HFDL", "-", "-", "-", gsId); };
  if (direction == LinkDirection::Uplink) logon();
  frame.Line("Aircraft Address = " + id);
  frame.Compact("   ALLOCATION ID  = " + id);
  if (direction == LinkDirection::Downlink) logon();
}

}  // namespace

std::string LpduTypeName(int type) {
  for (const TypeName& t : kTypeNames) {
    if (t.type == type) return t.name;
  }
  return "";
}

void WalkLpdus(FrameAnalysis& frame, LinkDirection direction, const std::vector<AircraftBlock>& blocks, int gsId) {
  Form1State& form = frame.form;
  for (size_t b = 0; b < blocks.size(); ++b) {
    const AircraftBlock& block = blocks[b];
    if (direction == LinkDirection::Uplink) frame.Line("Aircraft ID = " + HexText(block.AircraftId, 2));
    const bool lastBlock = b + 1 == blocks.size();
    for (size_t k = 0; k < block.LpduSizes.size(); ++k) {
      const int s = block.LpduSizes[k];
      const long p = form.hfdl.HfdlFrameOctets;
      const bool separator = direction == LinkDirection::Uplink ? !lastBlock : k + 1 < block.LpduSizes.size();
      // Below 2 there is no room for a type octet before the check sequence.
      if (s < 2 || !frame.bits.CrcHolds(p, s - 1)) {
        frame.Line("LPDU Number " + std::to_string(k + 1) + " CRC Failed");
        frame.Compact("   CRC FAILED");
        if (separator) {
          frame.Line("..............................");
          frame.Compact("  ..............................");
        }
        frame.RefreshAnalysisView();
      } else {
        DecodeLpdu(frame, direction, block, gsId, p, s);
        if (frame.Ended()) return;
        if (separator) {
          frame.Line("..............................");
          frame.Compact("  ..............................");
        }
      }
      form.hfdl.HfdlFrameOctets = static_cast<int32_t>(p + s + 1);
    }
  }
}
