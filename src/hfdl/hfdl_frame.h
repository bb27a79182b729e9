#pragma once
// One HFDL frame as the analysis makes it: what arrived (the octets, the
// mode, the channel), what the layers found in it (the squitter, or the
// MPDU header, its LPDUs and their HFNPDUs), what the program's tables
// answered for it (station names, registrations, the system table), and
// what it hands on (position reports and ACARS blocks, in the order they
// came). The analysis, formatted and DAT texts are written from this value
// afterwards; nothing in it refers back to the program's state.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "acars/acars_message.h"
#include "acars/position_report.h"
#include "platform/date_time.h"

// Mode codes of frames that did not come from the air here.
constexpr int kNetworkModeCode = 20;
constexpr int kNetworkChannel = 2;

// A frame as the FEC or a linked copy hands it over.
struct HfdlFrameInput {
  std::vector<uint8_t> Octets;
  size_t BitCount = 0;  // 8 x octets, or 4 x the hex digits of a relayed frame
  // 10 x interleave + rate (0..3, 10..13) for own reception, 20 relayed.
  int ModeCode = kNetworkModeCode;
  int Channel = kNetworkChannel;  // 0, 1, or 2 for a relayed frame
  std::string SourceTag;          // "Lch", "Rch", "NET", "RAW"
  std::string ErrorRatioLine;     // own reception: the probes' error ratio
};

enum class LinkDirection { Uplink, Downlink };

// The aircraft an MPDU header lists: one on the downlink, up to eight on
// the uplink. An LPDU of size S takes S + 1 octets.
struct AircraftBlock {
  int AircraftId = 0;
  int RateCode = 0;
  std::vector<int> LpduSizes;
};

struct HfdlSquitter {
  int GsId = 0;
  std::string GsName;
  int FrameIndex = 0;
  int FrameOffset = 0;
  std::array<int, 12> Slots = {};
  int ChangeNote = 0;
  bool IsoNotSupported = false;
  int Version = 0;
  bool UtcSynchronized = false;
  struct Station {
    int GsId = 0;
    std::string Name;
    uint32_t Mask = 0;           // bit k: frequency slot k + 1 in use
    std::vector<int> KHz;        // the first three in use, as the table knows them
  };
  std::array<Station, 3> Stations;
};

enum class SystemTableOutcome { AlreadyReceived, Buffered, Completed };

struct HfdlSystemTablePart {
  int Version = 0;
  int Parts = 0;
  int Sequence = 0;
  SystemTableOutcome Outcome = SystemTableOutcome::Buffered;
};

// Performance or frequency data: a flight and its place at a time.
struct HfdlPosition {
  std::string Flight;  // as sent
  std::string LatText, LonText, TimeText;
  // The four places a report is decoded differ in what they print and keep.
  bool TimeWithCompact = true;  // else "UTC Time" follows the compact lines
  bool CompactRegistration = false;
  // The report breaks a rule of its place: the frame ends as failed here.
  bool Rejected = false;
  std::string FlightId;      // normalised
  std::string Registration;
  // Handed on to the aircraft table.
  std::optional<PositionReport> Report;
};

// An ACARS block carried in Enveloped Data.
struct HfdlEnvelope {
  std::string Text;   // as the analysis shows it, control characters by name
  AcarsBlock Block;
  // The block's airline is one the program follows: it is registered and
  // handed to the ACARS parser.
  bool HandedOn = false;
};

enum class HfnpduPath {
  Data,   // in an Unnumbered (Acknowledged) Data LPDU, from octet P + 1
  Logon,  // in a log-on LPDU whose octet 4 is 0xFF, from octet P + 4
};

struct HfdlHfnpdu {
  HfnpduPath Path = HfnpduPath::Data;
  int Type = 0;
  bool ShowAircraftId = false;  // the compact text names the aircraft
  std::optional<HfdlSystemTablePart> SystemTable;
  std::optional<HfdlPosition> Position;
  std::optional<HfdlEnvelope> Envelope;
};

struct HfdlLpdu {
  int Number = 0;  // 1-based within its aircraft's LPDUs
  int Size = 0;
  bool CrcOk = false;
  bool Separator = false;  // a dotted line follows it
  int Type = 0;
  // The log-on family.
  bool ShowAircraftId = false;
  std::optional<std::string> Address;  // the ICAO address, six hex digits
  std::string Registration;            // what ICAO24.csv gave for it
  std::optional<int> Reason;           // Log-on Denied, Log-off Request
  std::optional<std::string> AllocatedId;
  std::optional<HfdlHfnpdu> Hfnpdu;
};

struct HfdlAircraftLpdus {
  AircraftBlock Header;
  std::vector<HfdlLpdu> Lpdus;
};

struct HfdlMpdu {
  LinkDirection Direction = LinkDirection::Downlink;
  int LpduCount = 0;      // the downlink header's count
  int AircraftCount = 0;  // the uplink header's count
  int GsId = 0;
  std::string GsName;
  bool UtcSynchronized = false;
  int UplinkRateCode = 0;
  // The aircraft the header lists.
  std::vector<AircraftBlock> Blocks;
  // The LPDUs walked, by aircraft; a rejected report stops the walk.
  std::vector<HfdlAircraftLpdus> Aircraft;
};

// Where the analysis ended a frame that does not end well.
enum class HfdlFailure {
  None,
  SpduCrc,           // "SPDU CRC Failed"
  MpduParity,        // "MPDU Header Parity Failed"
  UplinkParity,      // "Uplink MPDU Parity Failed"
  MpduHeaderCrc,     // "MPDU Header CRC Failed"
  MpduHeaderSize,    // "MPDU Header Size Failed"
  PositionRejected,  // a position report broke a rule: no line of its own
};

// What a frame hands on, in the order the LPDUs carried it.
using HfdlDelivery = std::variant<PositionReport, AcarsBlock>;

struct HfdlFrame {
  HfdlFrameInput Input;
  TDateTime Received = 0;
  std::optional<HfdlSquitter> Squitter;
  std::optional<HfdlMpdu> Mpdu;
  HfdlFailure Failure = HfdlFailure::None;
  // The octets the DAT line shows.
  int DatOctets = 0;
  std::vector<HfdlDelivery> Deliveries;

  bool Failed() const { return Failure != HfdlFailure::None; }
  bool OwnReception() const { return Input.Channel == 0 || Input.Channel == 1; }
  // A completed system table was stored by this frame.
  bool CompletedSystemTable() const;
};
