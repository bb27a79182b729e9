// The airline position decoders on known reports of every layout, and the
// dispatcher on the program's road with the real aircraft table and list.
#include <gtest/gtest.h>

#include <tuple>

#include "acars/acars_position_dispatch.h"
#include "acars/parser_fixture.h"
#include "acars/position_texts.h"
#include "aircraft/aircraft_list.h"
#include "aircraft/aircraft_table.h"
#include "support/recording_links.h"

namespace {

using testing_support::RecordingPositionLink;

struct Stored {
  double lat, lon;
  std::string time;
  int altitude, temperature, windDir, windSpeed, heading;
};

struct Case {
  std::string name, flight, label, text;
  std::vector<Stored> expected;
  std::string marker = "";  // a marker the report needs, blanked in the marker check
  bool labelTested = true;
  flag elsePosGet = 1, tenPointPlot = 0;
};

const std::string kJ1 = kJ1Report;
const Stored kJ1Stored = {35.5, 139.75, "1234", 35000, -45, 270, 120, 90};
const Stored kCommon = {35.5, 139.75, "1234", 35000, -45, 270, 120, 900};
const Stored kFull = {35.5, 139.75, "1234", 35000, -45, 270, 120, 400};
const Stored kGeneric = {35.5, 139.75, "-", 90000, 100, 400, 0, 400};

std::string With(std::string text, size_t at, const std::string& part) { return text.replace(at, part.size(), part); }

Stored Changed(Stored s, double lat, double lon, int altitude = 0) {
  s.lat = lat;
  s.lon = lon;
  if (altitude) s.altitude = altitude;
  return s;
}

std::vector<Case> Cases() {
  const std::string j3 = J3Report();
  const std::vector<Stored> j3Stored = {{36.0, 140.0, "1240", 35000, -45, 270, 120, 900},
                                        {36.5, 140.5, "1250", 37000, -50, 260, 100, 900}};
  const std::string nhPos = NhPosReport(), ua = UaReport();
  const std::string nhPo6 =
      PositionText(95, {{4, "PO6"}, {61, "N35300E139450"}, {74, "1234"}, {81, "35000"}, {86, "-45"}, {89, "270120"}});
  const std::string kKe = "KE/F0/F1/F2/N035.30/E139.45/";
  auto ke = [](int altitude) { return Stored{35.3, 139.45, "-", altitude, 100, 400, 0, 400}; };
  const Stored mu = {35.5, 139.75, "1234", 35000, 100, 400, 0, 400};
  return {
      {"J1", "JL0012", "H1", kJ1, {kJ1Stored}},
      {"J1 blank altitude digit", "JL0012", "H1", With(kJ1, 49, " "), {Changed(kJ1Stored, 35.5, 139.75, 30000)}},
      {"J1 letter in the altitude", "JL0012", "H1", With(kJ1, 49, "A"), {Changed(kJ1Stored, 35.5, 139.75, 90000)}},
      {"J1 at latitude 0", "JL0012", "H1", With(kJ1, 32, "00000"), {}},
      {"J2", "JL0012", "10",
       PositionText(60, {{0, "PNT"}, {14, "S35300W139450"}, {27, "0915"}, {31, "31000"}, {36, "M52"},
                         {39, "250085"}, {52, "275"}}),
       {{-35.5, -139.75, "0915", 31000, -52, 250, 85, 275}}, "PNT"},
      {"J3", "JL0012", "H1", j3, j3Stored},
      {"J3 with 10point", "JL0012", "H1", j3, j3Stored, "", true, 1, 1},
      {"J3 with 10point and no WDC", "JL0012", "H1", With(j3, 4, "POS"), {}, "", true, 1, 1},
      {"NH POS", "NH0005", "16", nhPos, {kCommon}, "POS"},
      {"NH POS blanks as 0", "NH0005", "16", With(nhPos, 61, "N353 0E1394 0"),
       {Changed(kCommon, 35.5, 139.0 + 4.0 / 6.0)}},
      {"NH PO6 is moved", "NH0005", "16", nhPo6, {Changed(kCommon, 35.43, 139.48)}, "PO6"},
      {"NH PO3 is not", "NH0005", "16", With(nhPo6, 4, "PO3"), {kCommon}},
      {"NH POQ", "NH0005", "16",
       PositionText(90, {{0, "POQ"}, {57, "N35300E139450"}, {70, "1234"}, {76, "35000"}, {81, "-45"}, {84, "270120"}}),
       {kCommon}, "POQ"},
      {"FX", "FX0005", "H1",
       PositionText(50, {{4, "*WT"}, {10, "1234"}, {16, "N3530E13945"}, {28, "35000"}, {33, "M45"}, {37, "270120"}}),
       {kCommon}, "*WT"},
      {"NW", "NW0005", "31", PositionText(40, {{2, "N35300E1394501234350-45 270120"}}), {kCommon}},
      {"NW south", "NW0005", "31", PositionText(40, {{2, "S35300E1394501234350-45 270120"}}), {}},
      {"UA", "UA0837", "H1", ua, {kFull}, "BPOS"},
      {"UA short fields", "UA0837", "H1", ua.substr(0, ua.find(",350")) + ",35,A,B,C,M5,27012",
       {{35.5, 139.75, "1234", 3500, -5, 270, 12, 400}}},
      {"CA", "CA0925", "10", "POS N 35.500 E139.750,A,B,C,D,35100,E", {Changed(kGeneric, 35.5, 139.75, 35100)},
       "POS"},
      {"UP", "UP0005", "H1", PositionText(44, {{5, "POS"}, {14, "1234N3530E13945350270120"}, {41, "M45"}}), {kFull},
       "POS"},
      {"KE slash fields", "KE0017", "33", kKe + "35000/X", {ke(35000)}},
      // The altitude is the digits up to the field's own end, at most five,
      // never a digit of the next field.
      {"KE short altitude", "KE0017", "33", kKe + "3500/X", {ke(3500)}},
      {"KE altitude before a field", "KE0017", "33", kKe + "350/123", {ke(350)}},
      {"KE altitude at the end", "KE0017", "33", kKe + "35000", {ke(35000)}},
      {"KE altitude with a blank", "KE0017", "33", kKe + "35 00/X", {ke(90000)}},
      {"KE altitude too high", "KE0017", "33", kKe + "50001/X", {ke(90000)}},
      {"KE altitude of six digits", "KE0017", "33", kKe + "035000/X", {ke(90000)}},
      {"KE scan", "KE0017", "H2", PositionText(30, {{3, "N3530 E13945"}}), {ke(90000)}},
      {"MU", "MU0523", "11",
       PositionText(60, {{0, "POS"}, {17, "N 35.500"}, {30, "E139.750"}, {43, "35000"}, {53, "1234"}}), {mu}, "POS"},
      {"MU skipped altitude place", "MU0523", "11",
       PositionText(60, {{0, "POS"}, {17, "N 35.500"}, {30, "E139.750"}, {43, "3500U"}, {52, "1234"}}),
       {Changed(mu, 35.5, 139.75, 3500)}},
      {"OZ E99", "OZ0102", "H1",
       PositionText(87, {{4, "E99"}, {58, "N35500E139750"}, {71, "1234"}, {78, "35000"}, {84, "M45"}}),
       {{35.5, 139.75, "1234", 35000, -45, 400, 0, 400}}, "E99"},
      {"OZ OZR", "OZ0102", "H1",
       PositionText(104, {{4, "OZR"}, {71, "N35500E139750"}, {84, "1234"}, {90, "35000"}, {95, "-45"},
                          {98, "270120"}}),
       {kFull}, "OZR"},
      {"BR", "BR0198", "H1",
       PositionText(96, {{4, "POS"}, {63, "N35300E139450"}, {76, "1234"}, {82, "35000"}, {87, "M45"}, {90, "270120"}}),
       {kFull}, "POS"},
      {"generic a", "ZZ0001", "H1", " N3530E13945 ", {kGeneric}, "", false},
      {"generic c", "ZZ0001", "H1", " N35 30.0 E139 45.0 ", {kGeneric}, "", false},
      {"generic e", "ZZ0001", "H1", " N3530   E13945 ", {kGeneric}, "", false},
      {"generic b", "ZZ0001", "H1", " S3530 W13945 ", {Changed(kGeneric, -35.5, -139.75)}, "", false},
      // The untested fourth character counts 0 (a blank once counted -16).
      {"generic untested digit", "ZZ0001", "H1", " N353    E13945 ", {kGeneric}, "", false},
      {"generic off", "ZZ0001", "H1", " N3530E13945 ", {}, "", false, 0},
  };
}

std::vector<PositionReport> Decode(const Case& c, const std::string& label, const std::string& text,
                                   RecordingPositionLink& link) {
  AcarsPositionState state;
  MapSettings map;
  map.ElsePosGet = c.elsePosGet;
  map.TenPointPlot = c.tenPointPlot;
  DispatchPositionDecoder(state, map, link, text, c.flight, "JA8089", label, "M01A", "ACARS:NARITA");
  return link.stored;
}

TEST(PositionDecoders, KnownReportsOfEveryLayout) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    RecordingPositionLink link;
    const std::vector<PositionReport> stored = Decode(c, c.label, c.text, link);
    ASSERT_EQ(stored.size(), c.expected.size());
    for (size_t i = 0; i < stored.size(); ++i) {
      const PositionReport& r = stored[i];
      const AircraftPosition& p = r.Position;
      const Stored& e = c.expected[i];
      EXPECT_NEAR(p.Lat, e.lat, 1e-9);
      EXPECT_NEAR(p.Lon, e.lon, 1e-9);
      EXPECT_EQ(std::make_tuple(r.Time, p.Altitude, p.Temperature, p.WindDir, p.WindSpeed, p.Heading),
                std::make_tuple(e.time, e.altitude, e.temperature, e.windDir, e.windSpeed, e.heading));
      EXPECT_EQ(r.FlightId + r.Registration + r.ReportId + r.Label + r.AccessStation,
                c.flight + "JA8089M01A" + c.label + "ACARS:NARITA");
    }
    if (stored.empty()) continue;
    // A message whose last store was accepted completes once: the
    // aircraft keeps its number and its row is marked.
    EXPECT_EQ(link.reportIds, std::vector<std::string>{c.flight + ":M01A"});
    EXPECT_EQ(link.marks, std::vector<std::string>{c.flight + ":JA8089"});
    RecordingPositionLink other;
    if (c.labelTested) {
      EXPECT_TRUE(Decode(c, "Q9", c.text, other).empty()) << "wrong label";
    }
    if (!c.marker.empty()) {
      std::string unmarked = c.text;
      unmarked.replace(unmarked.find(c.marker), c.marker.size(), std::string(c.marker.size(), '#'));
      EXPECT_TRUE(Decode(c, c.label, unmarked, other).empty()) << "no marker";
    }
  }
}

// The dispatcher on the program's road: the real parser, table and list.
class PositionDispatch : public ParserTest {
 protected:
  void J1(const std::string& flight, const std::string& msgNo, const std::string& reg = "JA8089", int lat = 35300) {
    Receive(Down(With(kJ1, 32, std::to_string(lat)), msgNo, true, flight, reg));
  }
  int Records() const { return f.aircraft.AircraftCount; }
  const AircraftRecord& Record(int i) const { return f.aircraft.Aircraft.Records[static_cast<size_t>(i)]; }
};

TEST_F(PositionDispatch, TheFlightIdsAirlinePicksTheDecoder) {
  f.Etc.ConvJC = 0;
  f.Map.ElsePosGet = 0;
  J1("Nu0012", "M01A");
  J1("nu0012", "M02A");
  J1("000012", "M03A");
  f.Map.ElsePosGet = 1;
  J1("nu0012", "M04A");
  // The J1 layout carries an altitude; the generic scan finds the same
  // place without one.
  ASSERT_EQ(Records(), 3);
  const std::pair<const char*, int> records[] = {{"Nu0012", 35000}, {"000012", 35000}, {"nu0012", 90000}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(RecordText(Record(i).FlightId), records[i].first);
    EXPECT_EQ(Record(i).Points[0].Altitude, records[i].second);
  }
}

// A report is read from the whole message once it is: a single block's own
// text, or the text its blocks make together.
TEST_F(PositionDispatch, AReportIsReadFromTheWholeMessage) {
  // An aircraft to each row: no row's blocks meet another's open message.
  const auto block = [](const char* reg, const std::string& text, const std::string& msgNo, bool etx = true) {
    return Down(text, msgNo, etx, "JL0012", reg);
  };
  const std::string head = kJ1.substr(0, 40), rest = kJ1.substr(40);
  struct Row {
    const char* name;
    std::vector<acars_tx::Message> blocks;
    std::vector<size_t> reports;  // per message delivered
  };
  const Row rows[] = {
      {"single block", {block("JA8001", kJ1, "M01A")}, {1}},
      {"split over two blocks",
       {block("JA8002", head, "M01A", false), block("JA8002", "M01B" + rest, "M01B")},
       {0, 1}},
      {"single beside an open message",
       {block("JA8003", "OPEN ", "M02A", false), block("JA8003", kJ1, "M07A")},
       {0, 1}},
      {"out of sequence", {block("JA8004", kJ1, "M01A", false), block("JA8004", "M01C" + rest, "M01C")}, {0, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    rig.sink().messages.clear();
    for (const acars_tx::Message& m : r.blocks) Receive(m);
    std::vector<size_t> reports;
    for (const AcarsMessage& m : Messages()) reports.push_back(m.Positions.size());
    EXPECT_EQ(reports, r.reports);
    if (Last().Positions.empty()) continue;
    EXPECT_NEAR(Last().Positions[0].Position.Lat, 35.5, 1e-9);
    EXPECT_NEAR(Last().Positions[0].Position.Lon, 139.75, 1e-9);
    EXPECT_TRUE(Last().PositionStored);
  }
}

TEST_F(PositionDispatch, AnAcceptedMessageSelectsTheNewestOnlyWhileFollowing) {
  J1("JL0012", "M01A");
  J1("JL0034", "M01A", "JA8090", 36000);
  EXPECT_EQ(f.mapView.SelectedAircraft, 0);
  f.controls.SpeedButton8Down = 1;
  J1("JL0034", "M02A", "JA8090", 37000);
  EXPECT_EQ(f.mapView.SelectedAircraft, 1);
  EXPECT_EQ(f.mapView.KeepViewOnce, 1);
  f.controls.SpeedButton8Down = 0;
  f.mapView.SelectedAircraft = 1;
  J1("JL0012", "M02A", "JA8089", 38000);
  EXPECT_EQ(f.mapView.SelectedAircraft, 1);
}

TEST_F(PositionDispatch, TheMessageNumberStaysWithTheRecordAndTheRowIsMarked) {
  J1("JL0012", "M01A");
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(RecordText(Record(0).LastReportId), "M01A");
  EXPECT_EQ(f.aircraft.List.Rows.at(0).Pos, "O");
  EXPECT_TRUE(Last().PositionStored);
  // The same position again: its only store is refused.
  ClearPosMark(f.aircraft, rig.wiring().Aircraft(), "JA8089", "JL0012");
  J1("JL0012", "M02A");
  EXPECT_FALSE(Last().PositionStored);
  EXPECT_EQ(RecordText(Record(0).LastReportId), "M01A");
  EXPECT_EQ(f.aircraft.List.Rows.at(0).Pos, "X");
  // A later message with the record's last number is a repeat, whatever it
  // carries.
  J1("JL0012", "M01A", "JA8089", 36000);
  EXPECT_FALSE(Last().PositionStored);
  EXPECT_EQ(Record(0).LastPoint, 0);
}

}  // namespace
