// Random texts through every airline position decoder into a real table,
// random data files through the lookups, random bytes through the alerts'
// readers and encoders and texts through both searches: nothing may fault,
// read outside its input or write outside its folder. Built and run under
// the sanitizers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "acars/acars_position_dispatch.h"
#include "acars/message_search.h"
#include "aircraft/aircraft_list.h"
#include "aircraft/aircraft_table.h"
#include "aircraft/smtp_dialogue.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::RecordingAircraftLink;
using testing_support::TempDir;

std::mt19937 rng(20261206);
int Pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
std::string Bytes(int length) {
  std::string s;
  for (int i = 0; i < length; ++i) s += static_cast<char>(Pick(256));
  return s;
}
// Characters of the reports' layouts, digits most, and now and then any
// byte.
std::string Text(int length) {
  static const char kAlphabet[] = "NSEW,/.-MU ";
  std::string s;
  for (int i = 0; i < length; ++i) {
    const int kind = Pick(10);
    s += kind < 6 ? static_cast<char>('0' + Pick(10)) : kind < 9 ? kAlphabet[Pick(sizeof kAlphabet - 1)] : Bytes(1)[0];
  }
  return s;
}

// Every report goes into a real table of a few records and short tracks.
class TableLink : public PositionLink {
 public:
  TableLink() { aircraft.Aircraft.Allocate(4, 3); }
  bool StorePosition(const PositionReport& r) override {
    EXPECT_TRUE(std::isfinite(r.Position.Lat) && std::fabs(r.Position.Lat) < 100.0);
    EXPECT_TRUE(std::isfinite(r.Position.Lon) && std::fabs(r.Position.Lon) < 1000.0);
    return UpdateAircraftRecord(aircraft, etc, link, r.FlightId, r.Registration, r.ReportId, r.Position, r.Time,
                                r.AccessStation) == 1;
  }
  void SetAircraftReportId(const std::string& flightId, const std::string& reportId) override {
    ::SetAircraftReportId(aircraft, flightId, reportId);
  }
  void FollowStoredPosition() override {}
  void MarkPositionReceived(const std::string& flightId, const std::string& registration) override {
    ::MarkPositionReceived(aircraft, link, flightId, registration);
  }

  AircraftState aircraft;
  EtcSettings etc{};
  RecordingAircraftLink link;
};

TEST(AircraftFuzz, RandomTextsThroughEveryDecoder) {
  TableLink table;
  AcarsPositionState state;
  const char* airlines[] = {"JL", "Nu", "NH", "FX", "NW", "UA", "CA", "UP", "KE", "MU", "OZ", "BR", "ZZ"};
  const char* labels[] = {"H1", "10", "16", "31", "11", "33", "40", "41", "21", "23", "H2"};
  int stored = 0;
  for (int run = 0; run < 100000; ++run) {
    MapSettings map{};
    map.ElsePosGet = static_cast<flag>(Pick(2));
    map.TenPointPlot = static_cast<flag>(Pick(2));
    table.etc.LocalHourOffset = Pick(47) - 23;
    const std::string flight = std::string(airlines[Pick(13)]) + "00" + std::to_string(Pick(10)) + "1";
    const std::string label = Pick(10) == 0 ? Bytes(2) : labels[Pick(11)];
    std::string text = Text(Pick(121));
    // Often a marker where the layouts look for one, and a position group.
    static const std::pair<size_t, const char*> kMarkers[] = {{4, "PNT"}, {0, "PNT"}, {4, "POS"},  {4, "PO6"},
                                                              {0, "POQ"}, {4, "*WT"}, {3, "BPOS"}, {0, "POS"},
                                                              {5, "POS"}, {4, "E99"}, {4, "OZR"},  {4, "WDC"}};
    static const char* const kGroups[] = {
        "N35300E139450", "S3530W13945", "N3530 E13945", "N35 30.0 E139 45.0", "/N035.30/E139.45/35000/", "N 35.500"};
    const auto& marker = kMarkers[Pick(12)];
    if (Pick(2) && text.size() > 8) text.replace(marker.first, std::strlen(marker.second), marker.second);
    if (Pick(2) && text.size() > 20) {
      const std::string group = kGroups[Pick(6)];
      text.replace(static_cast<size_t>(Pick(static_cast<int>(text.size()))), group.size(), group);
    }
    if (DispatchPositionDecoder(state, map, table, text, flight, "JA80" + std::to_string(Pick(9)), label,
                                "M" + std::to_string(Pick(100)), "ACARS:X")) {
      ++stored;
    }
    if (Pick(50) == 0) AgeListRows(table.aircraft, ListSettings{}, table.link);
  }
  EXPECT_GT(stored, 0);
  EXPECT_LE(table.aircraft.AircraftCount, 4);
}

TEST(AircraftFuzz, RandomDataFilesThroughTheLookups) {
  TempDir dir;
  const AircraftFiles files = AircraftFilesIn(dir.path());
  platform::EnsureFolder(dir.File("data"));
  // Lines of random length with commas, quotes, CR, LF, 0xFF and lead bytes.
  auto file = [&] {
    static const char kPieces[] = ",,\"\r\n\n\xff\x81\x93JALB0123-";
    std::string s;
    const int n = Pick(400);
    for (int i = 0; i < n; ++i) s += Pick(3) ? kPieces[Pick(sizeof kPieces - 1)] : Bytes(1)[0];
    return s;
  };
  for (int run = 0; run < 2000; ++run) {
    for (const std::string* path :
         {&files.FlightCsvPath, &files.AirportCsvPath, &files.AircraftCsvPath, &files.LetterCsvPath, &files.D002Path}) {
      testing_support::WriteFile(*path, file());
    }
    const std::string key = Pick(2) ? "JAL" + Bytes(Pick(5)) : Bytes(Pick(10));
    std::string type;
    if (std::optional<FlightRoute> r = LookupFlightRoute(files, key)) {
      EXPECT_LE(r->Remark.size(), 127u);
    }
    LookupAirportName(files, key);
    LookupAircraftType(files, key, type);
    LookupAirline2(files, key);
    EXPECT_LE(LookupAirline3(files, key).size(), 3u);
    EXPECT_LE(LookupD002Entry(files, key).size(), 63u);
    ConvertFlightNumber(files, key, Pick(2));
    FormatFlightNumber(key, Pick(2));
  }
}

TEST(AlertsFuzz, ReadersEncodersAndSearches) {
  // Bytes that lean towards those the parsers look at.
  auto bytes = [&](int maxLength) {
    static const char kFavoured[] = "\r\n,*-.\x1B$B(J\x0E\x0F 250AB\x81\x82\xFF";
    std::string s(static_cast<size_t>(Pick(maxLength + 1)), ' ');
    for (char& c : s) c = Pick(2) ? kFavoured[Pick(sizeof kFavoured - 1)] : static_cast<char>(Pick(256));
    return s;
  };
  TempDir dir;
  MessageSearch search;
  testing_support::RecordingAlertsLink link;
  WatchList w;
  for (int i = 0; i < 2000; ++i) {
    testing_support::WriteFile(dir.File("list"), bytes(400));
    LoadSearchList(w, dir.File("list"));
    for (const SearchListRow& row : w.Rows) ASSERT_TRUE(row.Search.size() <= 8 && row.Remarks.size() <= 31);
    OpenMessageSearch(search, dir.File("list"), dir.File("hits"), "");

    std::string input = bytes(300), reply;
    while (TakeSmtpReply(input, reply, 100)) ASSERT_LE(reply.size(), 100u);
    std::string text = bytes(200);
    const size_t before = text.size();
    JisToShiftJisText(text);
    ASSERT_LE(text.size(), before);
    const std::string body = WireBody(bytes(200));
    for (size_t k = 0; k < body.size(); ++k) {
      ASSERT_LT(static_cast<unsigned char>(body[k]), 0x80u);
      ASSERT_TRUE(body[k] != '\n' || (k > 0 && body[k - 1] == '\r'));
    }
    platform::Iso2022JpToUtf8(bytes(100));

    search.SearchStrings = {bytes(2), bytes(120)};
    SearchAcarsMessage(search, MsgSrchSettings{0, 0, 1}, link, bytes(8), bytes(8), bytes(300));
    w.Rows.resize(2);
    w.Rows[1].Search = "*******";
    ASSERT_GE(FindSearchMatch(w, bytes(10)), 1);
  }
  // Every hit is a file of the hit folder.
  EXPECT_EQ(platform::ListFiles(dir.File("hits"), "*.log").size(), search.HitNames.size());
  EXPECT_GT(search.HitNames.size(), 0u);
}

}  // namespace
