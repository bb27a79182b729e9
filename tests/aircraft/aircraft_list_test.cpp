// The received-aircraft list: rows by flight and registration, what the
// reference files and pics/ give them, the LIST log, ageing, and what a
// selected row shows in the information window.
#include "aircraft/aircraft_list.h"

#include <gtest/gtest.h>

#include "aircraft/aircraft_state.h"
#include "aircraft/aircraft_table.h"
#include "platform/file_io.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::FixedClock;
using testing_support::RecordingAircraftLink;
using testing_support::TempDir;
using testing_support::WriteFile;

const TDateTime kNow = platform::EncodeDateTime(2026, 12, 6, 14, 3, 7);
const TDateTime kSecond = 1.0 / 86400;

class AircraftListRows : public ::testing::Test {
 protected:
  AircraftListRows() {
    a.Files = AircraftFilesIn(dir.path());
    a.Aircraft.Allocate(5, 50);
    platform::EnsureFolder(dir.File("data"));
    platform::EnsureFolder(dir.File("pics"));
    list.ShowNew = 1;
    list.ListLog = 1;
    list.DeleteTime = 5;
  }
  void Contact(const std::string& flight, const std::string& reg) {
    RegisterContact(a, list, link, flight, reg, "NARITA");
  }
  void Store(const std::string& flight, const std::string& reg) {
    AircraftPosition p;
    p.Lat = 35.0 + a.AircraftCount;
    p.Lon = 139.0;
    UpdateAircraftRecord(a, etc, link, flight, reg, "XXXX", p, "1234", "NARITA");
  }
  const AircraftListRow& Row(int r) const { return a.List.Rows.at(static_cast<size_t>(r - 1)); }
  std::string Flights() const {
    std::string s;
    for (const AircraftListRow& r : a.List.Rows) s += r.Flight + "/" + r.Registration + " ";
    return s;
  }

  TempDir dir;
  FixedClock clock{kNow};
  AircraftState a;
  ListSettings list{};
  EtcSettings etc{};
  RecordingAircraftLink link;
};

TEST_F(AircraftListRows, OneRowPerFlightAndRegistrationSortedByFlight) {
  EXPECT_EQ(ListStatusText(a), "0 contacts");
  WriteFile(a.Files.AircraftCsvPath, "JA8089,B767-300\n");
  Contact("NH0005", "JA8090");
  Contact("JL0001", "unknown");
  Store("JL0001", "unknown");
  EXPECT_EQ(ListStatusText(a), "2 contacts");
  // The row learns its registration and type, and so does its record.
  Contact("JL0001", "JA8089");
  EXPECT_EQ(Flights(), "JL0001/JA8089 NH0005/JA8090 ");
  EXPECT_EQ(Row(1).Aircraft, "B767-300");
  EXPECT_EQ(RecordText(a.Aircraft.Records[0].Registration), "JA8089");
  EXPECT_EQ(a.Aircraft.Records[0].AircraftType, "B767-300");
  EXPECT_EQ(link.layerRedraws, 1);
  // "unknown" matches on the row's side only; a new row of a flight comes
  // after the rows it already has.
  Contact("JL0001", "unknown");
  Contact("JL0001", "JA8091");
  Contact("JL0001", "JA8092");
  EXPECT_EQ(Flights(), "JL0001/JA8089 JL0001/JA8091 JL0001/JA8092 NH0005/JA8090 ");
  EXPECT_EQ(FindRowByRegAndFlight(a, "JA8092", "JL0001"), 3);
  EXPECT_EQ(FindRowByFlight(a, "NH0005"), 4);
  EXPECT_EQ(RowRegistration(a, 4), "JA8090");
  // Only new rows are logged and selected.
  EXPECT_EQ(std::count(link.listLog.begin(), link.listLog.end(), '\n'), 4);
  EXPECT_EQ(a.List.Selected, 3);
  EXPECT_EQ(link.shown.back().Registration, "JA8092");
}

TEST_F(AircraftListRows, TheListLogLineInBothLanguages) {
  WriteFile(a.Files.FlightCsvPath, "JL0012,RJTTKSFO,Morning service\n");
  WriteFile(a.Files.AircraftCsvPath, "JA8089,B767-300\n");
  testing_support::WriteJpeg(dir.File("pics/JA8089.jpg"), 8, 8, 0x00FF00);
  WriteFile(dir.File("x.jpg"), "outside pics/");
  Contact("JL0012", "JA8089");
  Contact("NH0005", "JA8090");
  Contact("UA0837", "../x");
  link.english = false;
  Contact("JL0034", "JA8089");
  EXPECT_EQ(link.listLog,
            "JL0012,O,JA8089,RJTT,KSFO,B767-300,Morning service,14:03:07\r\n"
            "NH0005,X,JA8090,----,----,NO DATA,-,14:03:07\r\n"
            "UA0837,X,../x,----,----,NO DATA,-,14:03:07\r\n"
            "JL0034,\x81\x9b,JA8089,----,----,B767-300,-,14:03:07\r\n");
  EXPECT_EQ(Row(2).Pos, "\x81\x7e");
  list.ListLog = 0;
  Contact("CA0925", "B2447");
  EXPECT_EQ(std::count(link.listLog.begin(), link.listLog.end(), '\n'), 4);
}

TEST_F(AircraftListRows, RowsAgeOutByTheirLastContactAcrossMidnightAndDays) {
  Contact("JL0012", "JA8089");
  Store("JL0012", "JA8089");
  clock.Set(kNow + kSecond);
  Contact("NH0005", "JA8090");
  clock.Set(kNow + 5 * 60 * kSecond + kSecond);
  link.running = false;
  AgeListRows(a, list, link);
  EXPECT_EQ(a.List.Rows.size(), 2u);  // nothing runs once the window closes
  link.running = true;
  AgeListRows(a, list, link);
  // Strictly older than five minutes: JL0012 and its record go.
  EXPECT_EQ(Flights(), "NH0005/JA8090 ");
  EXPECT_EQ(a.AircraftCount, 0);
  EXPECT_EQ(link.layerRedraws, 1);
  // Without a record only the row goes, and nothing is drawn.
  clock.Set(kNow + 7 * 60 * kSecond);
  AgeListRows(a, list, link);
  EXPECT_EQ(ListStatusText(a), "0 contacts");
  EXPECT_EQ(link.layerRedraws, 1);

  // Four minutes across midnight stay; a day and a minute do not.
  clock.Set(platform::EncodeDateTime(2026, 12, 6, 23, 58, 0));
  Contact("JL0012", "JA8089");
  clock.Set(platform::EncodeDateTime(2026, 12, 7, 0, 2, 0));
  AgeListRows(a, list, link);
  EXPECT_EQ(a.List.Rows.size(), 1u);
  clock.Set(platform::EncodeDateTime(2026, 12, 7, 23, 59, 0));
  AgeListRows(a, list, link);
  EXPECT_EQ(a.List.Rows.size(), 0u);
}

TEST_F(AircraftListRows, ASelectedRowFillsTheInformationWindow) {
  WriteFile(a.Files.FlightCsvPath, "JL0012,RJTTKSFO,RJAA\nNH0005,RJTTRJBB,Evening\n");
  WriteFile(a.Files.AirportCsvPath, "RJTT,Haneda\nRJAA,Narita\n");
  WriteFile(a.Files.LetterCsvPath, "JL,JAL,JAL,Japan Airlines\n");
  WriteFile(a.Files.AircraftCsvPath, "JA8089,B767-300\n");
  testing_support::WriteJpeg(dir.File("pics/noimage.jpg"), 8, 8, 0x808080);
  testing_support::WriteJpeg(dir.File("pics/JA8089.jpg"), 40, 20, 0x0000FF);
  const std::string photo = testing_support::ReadFile(dir.File("pics/JA8089.jpg"));
  Contact("JL0012", "JA8089");
  AircraftInformation info = link.shown.back();
  EXPECT_EQ(info.Flight + "|" + info.Registration + "|" + info.Airline, "JL0012|JA8089|Japan Airlines");
  EXPECT_EQ(info.Departure + "|" + info.Destination + "|" + info.Remarks, "Haneda|KSFO|Narita");
  EXPECT_EQ(info.AircraftType + "|" + info.AircraftTypeHint, "B767-300|B767-300");
  EXPECT_EQ(info.Picture.Width(), 40);
  EXPECT_EQ(info.Position + (info.PositionLink ? "|link" : ""), "None");

  // A position arrives: the label of the aircraft shown follows.
  MarkPositionReceived(a, link, "JL0012", "JA8089");
  EXPECT_EQ(link.shown.back().Position + (link.shown.back().PositionLink ? "|link" : ""), "Have|link");
  MarkPositionReceived(a, link, "UA0837", "N12345");  // no row: nothing
  EXPECT_EQ(link.shown.size(), 2u);

  // A damaged photograph gives way to noimage.jpg; an unknown type is "-".
  WriteFile(dir.File("pics/JA8089.jpg"), photo.substr(0, photo.size() / 2));
  SelectRow(a, link, FindRowByFlight(a, "JL0012"));
  info = link.shown.back();
  EXPECT_EQ(info.Picture.Width(), 8);
  EXPECT_EQ(info.Position + (info.PositionLink ? "|link" : ""), "have|link");
  link.icao24 = "----";
  link.english = false;
  Contact("NH0005", "JA9999");
  info = link.shown.back();
  EXPECT_EQ(info.AircraftType + "|" + info.AircraftTypeHint + "|" + info.Airline, "-||-");
  EXPECT_EQ(info.Remarks, "Evening");
  EXPECT_EQ(info.Position, "\x82\xc8\x82\xb5");

  // N6: the empty window with the fallback photograph.
  ClearAllRows(a);
  ResetInformation(a, link);
  EXPECT_EQ(link.shown.back().Flight + link.shown.back().Position, "------\x82\xc8\x82\xb5");
  EXPECT_EQ(link.shown.back().Picture.Width(), 8);
  EXPECT_EQ(ListStatusText(a), "0 contacts");
}

// The question leaves the event loop running: a new flight that takes the
// selection, or the row ageing out, must not change what is deleted.
TEST_F(AircraftListRows, DeletingTakesTheRowAskedAboutWhateverArrivesMeanwhile) {
  Contact("JL0012", "JA8089");
  Store("JL0012", "JA8089");
  Contact("NH0005", "JA8090");
  SelectRow(a, link, FindRowByFlight(a, "JL0012"));
  link.whileAsking = [&] { Contact("AA0001", "N12345"); };
  DeleteSelectedRow(a, link);
  EXPECT_EQ(Flights(), "AA0001/N12345 NH0005/JA8090 ");
  EXPECT_EQ(FindAircraftByFlightId(a, "JL0012"), 0);
  link.whileAsking = [&] {
    clock.Set(kNow + 301 * kSecond);
    AgeListRows(a, list, link);
  };
  DeleteSelectedRow(a, link);  // the row asked about is gone already
  EXPECT_EQ(Flights(), "NH0005/JA8090 ");
}

}  // namespace
