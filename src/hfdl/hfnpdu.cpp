#include "hfdl/hfnpdu.h"

#include <algorithm>
#include <cstdio>

#include "acars/acars_parser.h"
#include "hfdl/frame_walk.h"
#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/registration.h"
#include "platform/control_char_name.h"
#include "platform/ini_file.h"

namespace {

constexpr int kSystemTable = 0xFFD0;
constexpr int kPerformanceData = 0xFFD1;
constexpr int kFrequencyData = 0xFFD5;
constexpr int kEnvelopedData = 0xFFFF;

std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// Where a registration for the aircraft table comes from.
enum class RegistrationSource { LpduLookup, RegistrationTable, None };

// The four places a position report is decoded differ only in these.
struct PositionCopy {
  bool rejectNoTime;
  bool rejectLatitudeRange;
  bool rejectZeroPosition;
  bool rejectEmptyFlight;
  bool normaliseFlight;
  bool operatorPrefix;  // a numeric flight ID takes the ICAO24.csv operator code
  RegistrationSource registration;
  bool compactRegistration;
  bool compactTime;  // else the "UTC Time = " line follows the compact lines
  bool store;
};

constexpr PositionCopy kDownlinkLogon = {true,  true, true, true, true, true, RegistrationSource::LpduLookup,
                                         false, true, true};
constexpr PositionCopy kDownlinkData = {false, true, false, true, true, false, RegistrationSource::RegistrationTable,
                                        true,  true, true};
constexpr PositionCopy kUplinkLogon = {false, true, false, true, true, false, RegistrationSource::LpduLookup,
                                       false, true, true};
constexpr PositionCopy kUplinkData = {false, false, false, false, false, false, RegistrationSource::None,
                                      false, false, false};

const PositionCopy& CopyOf(LinkDirection direction, HfnpduPath path) {
  if (direction == LinkDirection::Downlink) return path == HfnpduPath::Logon ? kDownlinkLogon : kDownlinkData;
  return path == HfnpduPath::Logon ? kUplinkLogon : kUplinkData;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The place of an HFNPDU in its frame and what its LPDU found.
struct Place {
  LinkDirection direction;
  HfnpduPath path;
  long h;  // the HFNPDU's first octet
  long p;  // the LPDU's first octet
  int s;   // the LPDU's size field
  int aircraftId;
  int gsId;
  std::string registration;  // the log-on path: what ICAO24.csv gave for the LPDU's address
  std::string operatorCode;
};

std::string NormaliseHfdlFlightId(const HfdlLookups& lookups, const std::string& raw, const Place& place,
                                  const PositionCopy& copy) {
  const char c1 = raw.size() > 1 ? raw[1] : '\0';
  const char c2 = raw.size() > 2 ? raw[2] : '\0';
  if (!IsDigit(c2)) {
    // A three-letter designator: its two-letter code when letter.csv has one.
    const std::string code = lookups.LookupAirline3(raw);
    if (code == "--") return raw;
    return NormaliseFlightNumber(code + raw.substr(std::min<size_t>(3, raw.size())));
  }
  if (!IsDigit(c1)) return NormaliseFlightNumber(raw);
  if (copy.operatorPrefix && place.registration != "NO DATA") return NormaliseFlightNumber(place.operatorCode + raw);
  return raw;
}

HfdlPosition DecodePositionReport(FrameWalk& walk, const Place& place) {
  const FrameBits& bits = walk.bits;
  const PositionCopy& copy = CopyOf(place.direction, place.path);
  const long h = place.h;
  HfdlPosition pos;

  for (long k = h + 2; k <= h + 7; ++k) {
    const int c = bits.Octet(k);
    if (c == 0) break;
    pos.Flight += static_cast<char>(c);
  }
  const uint32_t latField = bits.Field(8 * (h + 8), 20);
  const uint32_t lonField = bits.Field(8 * (h + 8) + 20, 20);
  auto degrees = [](uint32_t v) {
    const int units = v > 0x7FFFF ? static_cast<int>(v) - 0x100000 : static_cast<int>(v);
    return units * 180.0 / 524287.0;
  };
  const double lat = degrees(latField), lon = degrees(lonField);
  const int seconds = 2 * static_cast<int>(bits.Field(8 * (h + 13), 16));
  const int hours = seconds / 3600, minutes = seconds % 3600 / 60, rest = seconds % 60;
  // Hours can pass 23: they are printed as they come.
  pos.TimeText = TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(rest);
  pos.LatText = ini_numbers::FormatFloat(lat);
  pos.LonText = ini_numbers::FormatFloat(lon);
  pos.TimeWithCompact = copy.compactTime;
  pos.CompactRegistration = copy.compactRegistration;

  if ((copy.rejectNoTime && pos.TimeText == "00:00:00") || (copy.rejectLatitudeRange && (lat > 90.0 || lat < -90.0)) ||
      (copy.rejectZeroPosition && (lat == 0.0 || lon == 0.0)) || (copy.rejectEmptyFlight && pos.Flight.empty())) {
    pos.Rejected = true;
    walk.frame.Failure = HfdlFailure::PositionRejected;
    return pos;
  }

  pos.FlightId = copy.normaliseFlight ? NormaliseHfdlFlightId(walk.lookups, pos.Flight, place, copy) : pos.Flight;
  if (copy.registration == RegistrationSource::LpduLookup) {
    pos.Registration = place.registration;
  } else if (copy.registration == RegistrationSource::RegistrationTable) {
    const int row = FindRowByIdAndGs(walk.hfdl.HfdlRegistrations, HexText(static_cast<uint32_t>(place.aircraftId), 2),
                                     place.gsId, pos.FlightId);
    pos.Registration = GetRegistrationByRow(walk.hfdl.HfdlRegistrations, row);
  }
  if (!copy.store || !IsAirlineNotListed(pos.FlightId, walk.etc.PassList)) return pos;

  PositionReport report;
  report.Origin = PositionOrigin::Hfdl;
  report.FlightId = pos.FlightId;
  report.Registration = pos.Registration;
  report.ReportId = "XXXX";
  report.Time = TwoDigits(hours) + TwoDigits(minutes);
  report.AccessStation = GsName(walk.hfdl, place.gsId);
  report.Position.Lat = lat;
  report.Position.Lon = lon;
  pos.Report = report;
  walk.frame.Deliveries.emplace_back(report);
  return pos;
}

HfdlEnvelope DecodeEnvelopedData(FrameWalk& walk, const Place& place) {
  const FrameBits& bits = walk.bits;
  HfdlEnvelope envelope;
  const long first = place.h + 2, last = place.p + place.s - 5;
  for (long k = first; k <= last; ++k) envelope.Text += ControlCharName(static_cast<uint8_t>(bits.Octet(k) & 0x7F));

  // The block from its SOH: the parser counts its characters from the "+"
  // that VHF sends before it and the two SYN, so the terminator is at
  // N - 1 where N = s - 3 (the block within the LPDU's size), and the
  // two characters after it follow as far as the LPDU's data reaches.
  const int n = place.s - 3;
  const long end = std::min(place.p + place.s - 2, first + n - 3);
  AcarsBlock& block = envelope.Block;
  for (int i = kAcarsSyncLength; i < n + 2; ++i) {
    const long k = first + i - kAcarsSyncLength;
    const char c = k <= end ? static_cast<char>(bits.Octet(k) & 0x7F) : '\0';
    if (i < n) {
      block.Characters.push_back(c);
    } else {
      block.CheckSequence.push_back(c);
    }
  }
  block.End = (bits.Octet(last) & 0x7F) == 3 ? AcarsEndFlag::Etx : AcarsEndFlag::Etb;
  block.Bearer = AcarsBearer::Hfdl;
  block.Direction = place.direction == LinkDirection::Downlink ? AcarsDirection::Downlink : AcarsDirection::Uplink;
  block.SourceTag = walk.frame.Input.SourceTag;

  const std::string flight = ExtractFlightIdField(block, walk.etc.ConvJD != 0, walk.etc.ConvJC != 0);
  if (!IsAirlineNotListed(flight, walk.etc.PassList)) return envelope;
  envelope.HandedOn = true;
  OnHfdlAcars(walk.hfdl, walk.lookups, block, HexText(static_cast<uint32_t>(place.aircraftId), 2), place.gsId);
  walk.frame.Deliveries.emplace_back(block);
  return envelope;
}

}  // namespace

std::string HfnpduTypeName(int type) {
  switch (type) {
    case 0xFFD0:
      return "System Table Uplink";
    case 0xFFD1:
      return "Performance Data Downlink";
    case 0xFFD2:
      return "System Table Request";
    case 0xFFD5:
      return "Frequency Data Downlink";
    case 0xFFDE:
      return "Delayed Echo Application (Uplink and Downlink)";
    case 0xFFFF:
      return "Enveloped Data";
    default:
      return type >= 0xFFD3 && type <= 0xFFDD ? "Reserved" : "";
  }
}

HfdlHfnpdu DecodeHfnpdu(FrameWalk& walk, LinkDirection direction, HfnpduPath path, long h, long p, int s,
                        int aircraftId, int gsId, const HfdlLpdu& lpdu, const std::string& operatorCode) {
  HfdlHfnpdu hfnpdu;
  hfnpdu.Path = path;
  hfnpdu.Type = -1;
  // No field is taken from the LPDU's check sequence.
  const long lastData = p + s - 2;
  if (h + 1 > lastData) return hfnpdu;
  const Place place{direction, path, h, p, s, aircraftId, gsId,
                    path == HfnpduPath::Logon ? lpdu.Registration : "NO DATA", operatorCode};
  hfnpdu.Type = walk.bits.Octet(h) << 8 | walk.bits.Octet(h + 1);
  if (path == HfnpduPath::Data) {
    const bool uplink = direction == LinkDirection::Uplink;
    hfnpdu.ShowAircraftId = aircraftId != 0xFF && (!uplink || aircraftId != 0);
  }
  if (hfnpdu.Type == kSystemTable) {
    // The part's header runs to octet P + 5.
    if (direction == LinkDirection::Uplink && path == HfnpduPath::Data && p + 5 <= lastData) {
      hfnpdu.SystemTable = HandleSystemTableHfnpdu(walk, p, s);
    }
  } else if (hfnpdu.Type == kPerformanceData || hfnpdu.Type == kFrequencyData) {
    if (h + 14 <= lastData) hfnpdu.Position = DecodePositionReport(walk, place);
  } else if (hfnpdu.Type == kEnvelopedData) {
    if (h + 2 <= p + s - 5) hfnpdu.Envelope = DecodeEnvelopedData(walk, place);
  }
  return hfnpdu;
}

std::string NormaliseFlightNumber(const std::string& id) {
  std::string digits;
  for (size_t n = 2; n < id.size() && digits.size() < 4 && IsDigit(id[n]); ++n) digits += id[n];
  return id.substr(0, 2) + std::string(4 - digits.size(), '0') + digits;
}

std::string ExtractFlightIdField(const AcarsBlock& block, bool convJD, bool convJC) {
  const int n = kAcarsSyncLength + static_cast<int>(block.Characters.size());
  if (n < 29) return "------";
  if (!AcarsBlockIsDownlink(block)) return "------";
  std::string f;
  for (int i = 22; i <= 27; ++i) f += AcarsCharacter(block, i);
  return NormaliseFlightId(f, convJD, convJC);
}

bool IsAirlineNotListed(const std::string& flightId, const std::string& passList) {
  if (flightId.size() < 5) return false;
  for (size_t n = 0; n < 5; ++n) {
    if (flightId[n] == ' ') return false;
  }
  const std::string number = flightId.substr(2, 4);
  if (number.size() == 4 && (number == "0000" || number == "    ")) return false;
  const std::string airline = flightId.substr(0, 2);
  for (size_t n = 0; n + 2 <= passList.size(); n += 3) {
    if (passList.compare(n, 2, airline) == 0) return false;
  }
  return true;
}
