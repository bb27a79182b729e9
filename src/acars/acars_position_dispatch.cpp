#include "acars/acars_position_dispatch.h"

#include "acars/airline_position_decoders.h"

namespace {

using Decoder = bool (*)(PositionDecoding&);

// The decoder of each airline, by the flight id's first two characters.
struct Dispatch {
  const char* airlines[7];
  Decoder decoder;
};

const Dispatch kDispatch[] = {
    {{"JL", "JC", "NU", "Nu", "JO", "EG", "00"}, DecodePositionJL},
    {{"NH", "EL", "KZ", "NQ"}, DecodePositionNH},
    {{"FX"}, DecodePositionFX},
    {{"NW"}, DecodePositionNW},
    {{"UA", "CI", "AA", "CO"}, DecodePositionUA},
    {{"UP"}, DecodePositionUP},
    {{"KE"}, DecodePositionKE},
    {{"OZ"}, DecodePositionOZ},
    {{"MU"}, DecodePositionMU},
    {{"CA"}, DecodePositionCA},
    {{"BR", "FM"}, DecodePositionBR},
};

Decoder DecoderOf(const std::string& flightId, const MapSettings& map) {
  const std::string airline = flightId.substr(0, 2);
  for (const Dispatch& d : kDispatch) {
    for (const char* a : d.airlines) {
      if (a && airline == a) return d.decoder;
    }
  }
  return map.ElsePosGet ? DecodePositionGeneric : nullptr;
}

// A digit character's value. Any other character counts 0: the NUL that
// fills the last place of the shorter layouts, and the untested fourth
// latitude character of some generic patterns.
int Digit(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

bool Hand(PositionLink& link, const AcarsPositionState& state, const PositionMessage& m, const PositionGroup& g,
          double lat, double lon) {
  PositionReport r;
  r.Origin = PositionOrigin::Acars;
  r.FlightId = m.FlightId;
  r.Registration = m.Registration;
  r.ReportId = m.MsgNo;
  r.Time = g.Time;
  r.AccessStation = m.AccessStation;
  r.Label = m.Label;
  r.Position = {lat, lon, g.Heading, g.Altitude, g.Temperature, g.WindDir, g.WindSpeed};
  for (int i = 0; i < 4; ++i) r.FieldValid[i] = state.FieldValid[i] != 0;
  return link.StorePosition(r);
}

}  // namespace

bool DispatchPositionDecoder(AcarsPositionState& state, const MapSettings& map, PositionLink& link,
                             const std::string& text, const std::string& flightId, const std::string& registration,
                             const std::string& label, const std::string& msgNo, const std::string& accessStation) {
  const PositionMessage message{text, flightId, registration, label, msgNo, accessStation};
  state.FromAcars = 0;
  const Decoder decoder = DecoderOf(message.FlightId, map);
  if (decoder) {
    PositionDecoding d{state, map, link, message};
    decoder(d);
  }
  return state.FromAcars != 0;
}

bool StoreDegMinPosition(const AcarsPositionState& state, PositionLink& link, const PositionMessage& message,
                         const PositionGroup& g) {
  // Degrees, then minutes and tenths of a minute.
  const long double sixth = 1.0L / 6.0L;
  long double lat = 10 * Digit(g.Lat[0]) + Digit(g.Lat[1]) +
                    (0.1L * Digit(g.Lat[2]) + 0.01L * Digit(g.Lat[3]) + 0.001L * Digit(g.Lat[4])) * 10 * sixth;
  long double lon = 100 * Digit(g.Lon[0]) + 10 * Digit(g.Lon[1]) + Digit(g.Lon[2]) +
                    (0.1L * Digit(g.Lon[3]) + 0.01L * Digit(g.Lon[4]) + 0.001L * Digit(g.Lon[5])) * 10 * sixth;
  if (!g.North) lat = -lat;
  if (!g.East) lon = -lon;
  if (lat == 0.0L || lon == 0.0L) return false;
  // NH's "PO6" reports are moved by a fixed amount, north or south alike.
  if (message.FlightId.compare(0, 2, "NH") == 0 && state.NhCorrection) {
    lat -= 0.07L;
    lon -= 0.27L;
  }
  return Hand(link, state, message, g, static_cast<double>(lat), static_cast<double>(lon));
}

bool StoreDecimalPosition(const AcarsPositionState& state, PositionLink& link, const PositionMessage& message,
                          const PositionGroup& group) {
  PositionGroup g = group;
  double lat =
      10 * Digit(g.Lat[0]) + Digit(g.Lat[1]) + 0.1 * Digit(g.Lat[2]) + 0.01 * Digit(g.Lat[3]) + 0.001 * Digit(g.Lat[4]);
  double lon = 100 * Digit(g.Lon[0]) + 10 * Digit(g.Lon[1]) + Digit(g.Lon[2]) + 0.1 * Digit(g.Lon[3]) +
               0.01 * Digit(g.Lon[4]) + 0.001 * Digit(g.Lon[5]);
  if (!g.North) lat = -lat;
  if (!g.East) lon = -lon;
  if (lat == 0.0 || lon == 0.0) return false;
  // The decimal layouts' own none values.
  if (!state.FieldValid[0]) g.Altitude = 90000;
  if (!state.FieldValid[1]) g.Temperature = 100;
  if (!state.FieldValid[2]) g.Heading = 400;
  if (!state.FieldValid[3]) g.WindDir = 400;
  return Hand(link, state, message, g, lat, lon);
}

bool PositionStored(PositionLink& link, bool stored, const std::string& flightId, const std::string& reportId) {
  if (!stored) return false;
  link.SetAircraftReportId(flightId, reportId);
  link.FollowStoredPosition();
  return true;
}
