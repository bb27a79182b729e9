#include "aircraft/aircraft_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/shared_helpers.h"

namespace {

constexpr int32_t kNoAltitude = 90000;  // and above
constexpr int32_t kHeadingWorkedOutEqual = 900;
constexpr double kPi = 3.14159265358979323846;
constexpr long long kMsPerDay = 86400000;

int InUse(const AircraftState& a) {
  return std::clamp<int>(a.AircraftCount, 0, static_cast<int>(a.Aircraft.Records.size()));
}

// Ids are kept to 7 characters and compared as kept, so a longer id finds
// its record again.
bool SameId(const char* stored, const std::string& given) { return RecordText(stored) == given.substr(0, 7); }

void StoreText(char* field, const std::string& text, size_t length) {
  std::memset(field, 0, 8);
  std::memcpy(field, text.data(), std::min(text.size(), length));
}

int32_t FlightLevelOf(int32_t altitude) { return static_cast<int32_t>(10 * RoundToInt64(altitude * 0.001)); }

TDateTime ReportTimeOf(const std::string& text) {
  if (text == "--:--") return 0;
  return platform::EncodeTime(std::stoi(text.substr(0, 2)), std::stoi(text.substr(3, 2)), 0);
}

TrackPoint NewPoint(const AircraftPosition& p, const std::string& timeText, TDateTime now) {
  TrackPoint t;
  t.Lat = p.Lat;
  t.Lon = p.Lon;
  t.Heading = p.Heading;
  t.Altitude = p.Altitude;
  t.Temperature = p.Temperature;
  t.WindDir = p.WindDir;
  t.WindSpeed = p.WindSpeed;
  t.ReportTime = ReportTimeOf(timeText);
  t.ReceiveTime = now;
  t.AgeClass = 1;
  return t;
}

// Points 0 .. LastPoint by report time; only the report's own fields move,
// the reception time and fading class stay with their index.
void SortTrack(AircraftRecord& r) {
  const TDateTime kTwelveHours = 0.5;
  std::vector<TrackPoint>& pts = r.Points;
  const int last = std::min<int>(r.LastPoint, static_cast<int>(pts.size()) - 1);
  for (int pass = 0; pass <= last; ++pass) {
    for (int j = 1; j <= last; ++j) {
      TrackPoint& a = pts[static_cast<size_t>(j - 1)];
      TrackPoint& b = pts[static_cast<size_t>(j)];
      if (b.ReportTime < a.ReportTime && a.ReportTime - b.ReportTime < kTwelveHours) {
        std::swap(a.Lat, b.Lat);
        std::swap(a.Lon, b.Lon);
        std::swap(a.Heading, b.Heading);
        std::swap(a.Altitude, b.Altitude);
        std::swap(a.Temperature, b.Temperature);
        std::swap(a.WindDir, b.WindDir);
        std::swap(a.WindSpeed, b.WindSpeed);
        std::swap(a.ReportTime, b.ReportTime);
      }
    }
  }
}

// The heading from q to p, 0 north, 90 east; 900 for the same place.
int32_t HeadingBetween(const TrackPoint& q, const TrackPoint& p) {
  const double dLat = p.Lat - q.Lat;
  double dLon = p.Lon - q.Lon;
  if (dLat == 0.0 && dLon == 0.0) return kHeadingWorkedOutEqual;
  if (dLon > 180.0) dLon = p.Lon - 360.0 - q.Lon;
  if (dLon < -180.0) dLon = p.Lon + 360.0 - q.Lon;
  dLon *= std::cos(std::fabs(p.Lat) * kPi / 180.0);
  return static_cast<int32_t>(std::atan2(dLon, dLat) * 180.0 / kPi);
}

// Clears the map's selection when it names this record (its aircraft goes).
void ForgetSelectionOf(AircraftView& v, int index) {
  if (v.AircraftSelected && v.SelectedAircraft == index) {
    v.SelectedAircraft = 0;
    v.AircraftSelected = 0;
  }
}

int ExtendTrack(AircraftState& a, const EtcSettings& etc, int found, const AircraftPosition& p, const std::string& time,
                const std::string& station) {
  AircraftRecord& r = a.Aircraft.Records[static_cast<size_t>(found)];
  const TrackPoint& last = r.Points[static_cast<size_t>(r.LastPoint)];
  if (last.Lat == p.Lat && last.Lon == p.Lon) return 0;
  for (int i = 0; i < InUse(a); ++i) ++a.Aircraft.Records[static_cast<size_t>(i)].Age;
  const std::string timeText = ReportTimeText(time, etc.LocalHourOffset);
  StoreText(r.LastTime, timeText, 5);
  const int capacity = static_cast<int>(r.Points.size());
  if (++r.LastPoint >= capacity) {
    // The oldest point goes; every field of the others moves down.
    std::rotate(r.Points.begin(), r.Points.begin() + 1, r.Points.end());
    r.LastPoint = capacity - 1;
  }
  r.Points[static_cast<size_t>(r.LastPoint)] = NewPoint(p, timeText, platform::Now());
  if (p.Altitude < kNoAltitude) {
    const int32_t level = FlightLevelOf(p.Altitude);
    r.AltTrend = level == r.FlightLevel ? 2 : r.FlightLevel > level ? 3 : 4;
    r.FlightLevel = level;
  }
  r.AccessStation = station;
  // This record, which another of the same flight (another registration)
  // may precede.
  SortTrack(r);
  // A track of one point (MaxPlotData 1) has no earlier point to head from.
  if (p.Heading > 360 && r.LastPoint > 0) {
    r.Points[static_cast<size_t>(r.LastPoint)].Heading =
        HeadingBetween(r.Points[static_cast<size_t>(r.LastPoint - 1)], r.Points[static_cast<size_t>(r.LastPoint)]);
  }
  r.Age = 0;
  return 1;
}

// The route, type and flight-number forms of a new record, from the list
// row that registered the aircraft.
void TakeListRow(AircraftState& a, AircraftRecord& r, const std::string& flightId, const std::string& registration) {
  const int row = FindRowByRegAndFlight(a, registration, flightId);
  if (row == 0) {
    r.Route3 = "XXX>XXX";
    r.Route4 = "XXXX>XXXX";
    r.AircraftType = "XXXX-XXX";
    r.FlightNo7 = r.FlightNo7Alt = "XXXXXXX";
    r.FlightNo6 = r.FlightNo6Alt = "XXXXXX";
    return;
  }
  const AircraftListRow& listed = a.List.Rows[static_cast<size_t>(row - 1)];
  r.AircraftType = listed.Aircraft;
  r.FlightNo7 = ConvertFlightNumber(a.Files, flightId, false);
  r.FlightNo7Alt = ConvertFlightNumber(a.Files, flightId, true);
  r.FlightNo6 = FormatFlightNumber(flightId, false);
  r.FlightNo6Alt = FormatFlightNumber(flightId, true);
  if (listed.Dept == "----") {
    r.Route3 = r.Route4 = LookupD002Entry(a.Files, r.FlightNo7Alt);
  } else {
    r.Route3 = LookupAirportName(a.Files, listed.Dept) + ">" + LookupAirportName(a.Files, listed.Dest);
    r.Route4 = listed.Dept + ">" + listed.Dest;
  }
}

int AddRecord(AircraftState& a, const EtcSettings& etc, AircraftLink& link, const std::string& flightId,
              const std::string& registration, const AircraftPosition& p, const std::string& time,
              const std::string& station) {
  std::vector<AircraftRecord>& records = a.Aircraft.Records;
  const int count = InUse(a);
  for (int i = 0; i < count; ++i) ++records[static_cast<size_t>(i)].Age;
  link.AddCompany(flightId.substr(0, 2));
  int slot = count;
  if (count >= static_cast<int>(records.size())) {
    // Full: the record heard least recently, the first on a tie.
    slot = 0;
    for (int i = 1; i < count; ++i) {
      if (records[static_cast<size_t>(i)].Age > records[static_cast<size_t>(slot)].Age) slot = i;
    }
    const AircraftRecord& old = records[static_cast<size_t>(slot)];
    ClearPosMark(a, link, RecordText(old.Registration), RecordText(old.FlightId));
    AircraftView view = link.View();
    ForgetSelectionOf(view, slot);
    link.SetView(view);
  }
  AircraftRecord& r = records[static_cast<size_t>(slot)];
  StoreText(r.FlightId, flightId, 7);
  StoreText(r.Registration, registration, 7);
  r.LastPoint = 0;
  const std::string timeText = ReportTimeText(time, etc.LocalHourOffset);
  r.Points[0] = NewPoint(p, timeText, platform::Now());
  r.FlightLevel = p.Altitude < kNoAltitude ? FlightLevelOf(p.Altitude) : 0;
  r.AltTrend = p.Altitude < kNoAltitude ? 1 : 0;
  StoreText(r.LastTime, timeText, 5);
  TakeListRow(a, r, flightId, registration);
  r.AccessStation = station;
  r.Age = 0;
  if (slot == count) ++a.AircraftCount;
  if (a.AircraftCount == 1) link.FirstAircraftStored();
  return 1;
}

}  // namespace

std::string RecordText(const char* field) { return std::string(field, strnlen(field, 7)); }

std::string ReportTimeText(const std::string& time, int localHourOffset) {
  // Any character that is not a digit leaves the report without a time.
  if (time.size() < 4 || !std::all_of(time.begin(), time.begin() + 4, [](char c) { return c >= '0' && c <= '9'; })) {
    return "--:--";
  }
  int hour = 10 * (time[0] - '0') + (time[1] - '0') + localHourOffset;
  const int minute = 10 * (time[2] - '0') + (time[3] - '0');
  if (hour > 23) hour -= 24;
  if (hour < 0) hour += 24;
  if (hour < 0 || hour > 23 || minute > 59) return "--:--";
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
  return text;
}

int UpdateAircraftRecord(AircraftState& a, const EtcSettings& etc, AircraftLink& link, const std::string& flightId,
                         const std::string& registration, const std::string& reportId, const AircraftPosition& p,
                         const std::string& time, const std::string& accessStation) {
  if (a.Aircraft.Records.empty() || a.Aircraft.Records[0].Points.empty()) return 0;
  for (int i = 0; i < InUse(a); ++i) {
    const AircraftRecord& r = a.Aircraft.Records[static_cast<size_t>(i)];
    if (!SameId(r.Registration, registration)) continue;
    if (reportId != "XXXX" && RecordText(r.LastReportId) == reportId.substr(0, 4)) return 0;
    if (SameId(r.FlightId, flightId)) return ExtendTrack(a, etc, i, p, time, accessStation);
  }
  return AddRecord(a, etc, link, flightId, registration, p, time, accessStation);
}

void SetAircraftReportId(AircraftState& a, const std::string& flightId, const std::string& reportId) {
  const std::string id = reportId.substr(0, 4);
  for (int i = 0; i < InUse(a); ++i) {
    AircraftRecord& r = a.Aircraft.Records[static_cast<size_t>(i)];
    if (!SameId(r.FlightId, flightId)) continue;
    if (RecordText(r.LastReportId) == id) return;
    StoreText(r.LastReportId, id, 4);
  }
}

int FindAircraftByFlightId(const AircraftState& a, const std::string& flightId) {
  for (int i = 0; i < InUse(a); ++i) {
    if (SameId(a.Aircraft.Records[static_cast<size_t>(i)].FlightId, flightId)) return i + 1;
  }
  return 0;
}

int DeleteAircraft(AircraftState& a, AircraftLink& link, int index) {
  const int count = InUse(a);
  if (index < 0 || index >= count) return 0;
  std::vector<AircraftRecord>& records = a.Aircraft.Records;
  const std::string prefix = RecordText(records[static_cast<size_t>(index)].FlightId).substr(0, 2);
  std::rotate(records.begin() + index, records.begin() + index + 1, records.begin() + count);
  records[static_cast<size_t>(count - 1)].Visible = 0;
  AircraftView v = link.View();
  if (link.FollowingNewest()) {
    if (v.LatestAircraft == index) {
      v.LatestAircraft = -1;
      v.LatestAircraftShown = 0;
    } else if (v.LatestAircraft > index) {
      --v.LatestAircraft;
    }
  }
  a.AircraftCount = count - 1;
  const bool airlineLeft = std::any_of(
      records.begin(), records.begin() + a.AircraftCount,
      [&](const AircraftRecord& r) { return RecordText(r.FlightId).compare(0, prefix.size(), prefix) == 0; });
  if (!airlineLeft) link.RemoveCompany(prefix);
  ForgetSelectionOf(v, index);
  if (v.AircraftSelected && v.SelectedAircraft > index) --v.SelectedAircraft;
  if (a.AircraftCount == 0) {
    v.SelectedAircraft = 0;
    v.AircraftSelected = 0;
    link.TableEmptied();
  } else if (v.SelectedAircraft < 0) {
    v.SelectedAircraft = 0;
    v.AircraftSelected = 0;
  } else if (v.SelectedAircraft > a.AircraftCount - 1) {
    v.SelectedAircraft = a.AircraftCount - 1;
  }
  v.KeepViewOnce = 1;
  link.SetView(v);
  return 1;
}

void SetAircraftTypeAndReg(AircraftState& a, AircraftLink& link, const std::string& registration,
                           const std::string& flightId, int row) {
  const int k = FindAircraftByFlightId(a, flightId);
  if (k == 0) return;
  AircraftRecord& r = a.Aircraft.Records[static_cast<size_t>(k - 1)];
  if (row >= 1 && row <= static_cast<int>(a.List.Rows.size()))
    r.AircraftType = a.List.Rows[static_cast<size_t>(row - 1)].Aircraft;
  StoreText(r.Registration, registration, 7);
  link.RedrawAircraftViews();
}

void SortAircraftTrackByTime(AircraftState& a, const std::string& flightId) {
  const int k = FindAircraftByFlightId(a, flightId);
  if (k > 0) SortTrack(a.Aircraft.Records[static_cast<size_t>(k - 1)]);
}

void UpdateTrackAges(AircraftState& a, const MapSettings& map, AircraftLink& link, TDateTime blockTime) {
  // Whole milliseconds: a point exactly one step old is in the next class.
  const long long step = static_cast<long long>(map.TimeAdjustMin) * 60000;
  bool changed = false;
  for (int i = 0; i < InUse(a); ++i) {
    AircraftRecord& r = a.Aircraft.Records[static_cast<size_t>(i)];
    const int last = std::min<int>(r.LastPoint, static_cast<int>(r.Points.size()) - 1);
    for (int j = 0; j <= last; ++j) {
      TrackPoint& pt = r.Points[static_cast<size_t>(j)];
      const long long age = std::llround((blockTime - pt.ReceiveTime) * kMsPerDay);
      const long long ageClass = std::max(age / step + 1, 1LL);
      if (ageClass != pt.AgeClass && ageClass < 40) {
        pt.AgeClass = static_cast<int32_t>(ageClass);
        changed = true;
      }
    }
  }
  if (changed) link.RedrawAircraftViews();
}

int FindLatestAircraft(const AircraftState& aircraft) {
  for (int i = 0; i < InUse(aircraft); ++i) {
    if (aircraft.Aircraft.Records[static_cast<size_t>(i)].Age == 0) return i;
  }
  return 0;
}
