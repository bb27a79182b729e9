#include "hfdl/hfnpdu.h"

#include <algorithm>
#include <cstdio>

#include "acars/acars_parser.h"
#include "acars/acars_services.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "platform/control_char_name.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/ground_stations.h"
#include "hfdl/registration.h"
#include "map/map_services.h"
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

const PositionCopy& CopyOf(const HfnpduPlace& place) {
  if (place.direction == LinkDirection::Downlink) {
    return place.path == HfnpduPath::Logon ? kDownlinkLogon : kDownlinkData;
  }
  return place.path == HfnpduPath::Logon ? kUplinkLogon : kUplinkData;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string NormaliseFlightId(Form1State& form, const std::string& raw, const HfnpduPlace& place,
                              const PositionCopy& copy) {
  const char c1 = raw.size() > 1 ? raw[1] : '\0';
  const char c2 = raw.size() > 2 ? raw[2] : '\0';
  if (!IsDigit(c2)) {
    // A three-letter designator: its two-letter code when letter.csv has one.
    const std::string code = form.svc.aircraft->LookupAirline3(form, raw);
    if (code == "--") return raw;
    return NormaliseFlightNumber(code + raw.substr(std::min<size_t>(3, raw.size())));
  }
  if (!IsDigit(c1)) return NormaliseFlightNumber(raw);
  if (copy.operatorPrefix && place.registration != "NO DATA") return NormaliseFlightNumber(place.operatorCode + raw);
  return raw;
}

void DecodePositionReport(FrameAnalysis& frame, const HfnpduPlace& place) {
  Form1State& form = frame.form;
  const FrameBits& bits = frame.bits;
  const PositionCopy& copy = CopyOf(place);
  const long h = place.h;

  std::string flight;
  for (long k = h + 2; k <= h + 7; ++k) {
    const int c = bits.Octet(k);
    if (c == 0) break;
    flight += static_cast<char>(c);
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
  const std::string time = TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(rest);
  const std::string latText = ini_numbers::FormatFloat(lat), lonText = ini_numbers::FormatFloat(lon);

  frame.Line("Flight ID = " + flight);
  frame.Line("Latitude = " + latText);
  frame.Line("Longitude = " + lonText);
  if (copy.compactTime) frame.Line("UTC Time = " + time);

  if ((copy.rejectNoTime && time == "00:00:00") || (copy.rejectLatitudeRange && (lat > 90.0 || lat < -90.0)) ||
      (copy.rejectZeroPosition && (lat == 0.0 || lon == 0.0)) || (copy.rejectEmptyFlight && flight.empty())) {
    return frame.Reject();
  }

  const std::string id = copy.normaliseFlight ? NormaliseFlightId(form, flight, place, copy) : flight;
  std::string registration;
  if (copy.registration == RegistrationSource::LpduLookup) {
    registration = place.registration;
  } else if (copy.registration == RegistrationSource::RegistrationTable) {
    const int row = FindRowByIdAndGs(form, HexText(static_cast<uint32_t>(place.aircraftId), 2), place.gsId, id);
    registration = GetRegistrationByRow(form, row);
  }
  frame.Compact("   FLIGHT ID      = " + id);
  if (copy.compactRegistration) frame.Compact("   REGISTRATION   = " + registration);
  frame.Compact("   LATITUDE       = " + latText);
  frame.Compact("   LONGITUDE      = " + lonText);
  if (copy.compactTime) {
    frame.Compact("   UTC TIME       = " + time);
  } else {
    frame.Line("UTC Time = " + time);
  }
  if (!copy.store || !IsAirlineNotListed(id, form.Etc.PassList)) return;

  const std::string reportTime = TwoDigits(hours) + TwoDigits(minutes);
  if (registration == "NO DATA") {
    const int row = form.svc.aircraft->FindRowByFlight(form, id);
    registration = row < 1 ? "unknown" : form.svc.aircraft->RowRegistration(form, row);
  }
  const std::string& station = GsName(form, place.gsId);
  form.svc.aircraft->RegisterContact(form, id, registration, station);
  form.svc.aircraft->MarkPositionReceived(form, id, registration);
  AircraftPosition position;
  position.Lat = lat;
  position.Lon = lon;
  form.svc.aircraft->UpdateAircraftRecord(form, id, registration, "XXXX", position, reportTime, station);
  if (form.controls.SpeedButton8Down) form.mapView.SelectedAircraft = form.svc.acars->FindLatestAircraft(form);
  form.svc.map->Redraw(form, 0, 1, 1, 1);
}

void DecodeEnvelopedData(FrameAnalysis& frame, const HfnpduPlace& place) {
  Form1State& form = frame.form;
  const FrameBits& bits = frame.bits;
  const long first = place.h + 2, last = place.p + place.s - 5;
  std::string text;
  for (long k = first; k <= last; ++k) text += ControlCharName(static_cast<uint8_t>(bits.Octet(k) & 0x7F));

  // Zeroed whole, so the parser never reads an earlier block's bytes. The
  // block is followed by its check sequence and DEL, as far as the bit
  // count the parser is told reaches.
  const int bitCount = 8 * (place.s - 1);
  uint8_t* acars = form.hfdl.HfdlAcarsBits.data();
  std::fill(form.hfdl.HfdlAcarsBits.begin(), form.hfdl.HfdlAcarsBits.end(), uint8_t{0});
  const uint8_t prefix[4] = {0xAB, 0x2A, 0x16, 0x16};
  for (int k = 0; k < 4; ++k) {
    for (int b = 0; b < 8; ++b) acars[8 * k + b] = static_cast<uint8_t>((prefix[k] >> b) & 1);
  }
  const long end = std::min(place.p + place.s - 2, first + bitCount / 8 - 5);
  for (long k = first; k <= end; ++k) {
    const long at = 8 * (4 + k - first);
    for (int b = 0; b < 8; ++b) acars[at + b] = static_cast<uint8_t>(bits.Bit(8 * k + b));
  }
  const AcarsEndFlag endFlag = (bits.Octet(last) & 0x7F) == 3 ? AcarsEndFlag::Etx : AcarsEndFlag::Etb;

  frame.Line("ACARS Message = " + text);
  frame.Compact("   ACARS MESSAGE  = " + text);
  const std::string flight = ExtractFlightIdField(form, acars, bitCount);
  if (!IsAirlineNotListed(flight, form.Etc.PassList)) return;
  OnHfdlAcars(form, acars, kHfdlAcarsBitsSize, HexText(static_cast<uint32_t>(place.aircraftId), 2), place.gsId);
  form.svc.acars->ParseAcarsBlock(form, acars, kHfdlAcarsBitsSize, bitCount, endFlag, AcarsSource::Hfdl);
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

void DecodeHfnpdu(FrameAnalysis& frame, const HfnpduPlace& place) {
  // No field is taken from the LPDU's check sequence.
  const long lastData = place.p + place.s - 2;
  if (place.h + 1 > lastData) return;
  const int type = frame.bits.Octet(place.h) << 8 | frame.bits.Octet(place.h + 1);
  const std::string name = HfnpduTypeName(type);
  frame.Line("HFNPDU TYPE = " + name);
  frame.Compact("   HFNPDU TYPE    = " + name);
  if (place.path == HfnpduPath::Data) {
    const bool uplink = place.direction == LinkDirection::Uplink;
    if (place.aircraftId != 0xFF && (!uplink || place.aircraftId != 0)) {
      frame.Compact("   AIRCRAFT ID    = " + HexText(static_cast<uint32_t>(place.aircraftId), 2));
    }
  }
  if (type == kSystemTable) {
    // The part's header runs to octet P + 5.
    if (place.direction == LinkDirection::Uplink && place.path == HfnpduPath::Data && place.p + 5 <= lastData) {
      HandleSystemTableHfnpdu(frame, place.p, place.s);
    }
  } else if (type == kPerformanceData || type == kFrequencyData) {
    if (place.h + 14 <= lastData) DecodePositionReport(frame, place);
  } else if (type == kEnvelopedData) {
    if (place.h + 2 <= place.p + place.s - 5) DecodeEnvelopedData(frame, place);
  }
}

std::string NormaliseFlightNumber(const std::string& id) {
  std::string digits;
  for (size_t n = 2; n < id.size() && digits.size() < 4 && IsDigit(id[n]); ++n) digits += id[n];
  return id.substr(0, 2) + std::string(4 - digits.size(), '0') + digits;
}

std::string ExtractFlightIdField(Form1State& form, const uint8_t* bits, int bitCount) {
  if (bitCount / 8 - 2 < 29) return "------";
  auto character = [bits](int n) {
    int c = 0;
    for (int b = 0; b < 7; ++b) c |= (bits[8 * n + b] & 1) << b;
    return static_cast<char>(c);
  };
  const bool downlink = character(5) < 'a';
  form.svc.acars->SetAcarsDownlink(form, downlink);
  if (!downlink) return "------";
  std::string f;
  for (int n = 22; n <= 27; ++n) f += character(n);
  return NormaliseFlightId(f, form.Etc.ConvJD != 0, form.Etc.ConvJC != 0);
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
