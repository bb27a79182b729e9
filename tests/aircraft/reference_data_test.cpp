// The reference data files read as the user may keep them: CR LF line ends,
// the last line left open, code page 932 and stray bytes.
#include "aircraft/reference_data.h"

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "support/test_support.h"

namespace {

using testing_support::WriteFile;

TEST(ReferenceData, Lookups) {
  testing_support::TempDir dir;
  const AircraftFiles files = AircraftFilesIn(dir.path());
  platform::EnsureFolder(dir.File("data"));
  const auto route = [&](const std::string& key) {
    const std::optional<FlightRoute> r = LookupFlightRoute(files, key);
    return r ? r->Route + "|" + r->Remark : "none";
  };
  const auto type = [&](const std::string& key) {
    std::string t;
    return LookupAircraftType(files, key, t) ? t : "none";
  };
  // Without the files.
  EXPECT_EQ(route("JL0001") + type("JA8089") + LookupAirportName(files, "RJTT"), "nonenoneRJTT");
  EXPECT_EQ(LookupAirline2(files, "JL0001") + LookupAirline3(files, "JAL123") + LookupD002Entry(files, "JAL123"),
            "---NO INFO");
  const std::string longRemark(130, 'r'), tokyo = "\x93\x8c\x8b\x9e\x8d\x91\x8d\xdb";  // 東京国際
  WriteFile(files.FlightCsvPath,
            "XX0001,\xff\xff,\xff\r\nABCDEFGHI,RJAAKLAX,Nine\r\nJL0001,RJTTKSFO,Morning service\r\n"
            "JL0001,RJAAKJFK,2\r\n"
            "JL0002,RJTT\r\nNH0001,RJBBRJFF," + longRemark + "\r\nNH0002,RJTTKSFO,Last line");
  WriteFile(files.AirportCsvPath, "RJTT,Tokyo,Haneda\r\nRJAA," + tokyo + "\r\nRJBB,\r\n");
  WriteFile(files.AircraftCsvPath, "JA8088\r\nJA8089,B767-300\r\nJA8090,\r\n");
  WriteFile(files.LetterCsvPath, "JL,JAL,JAL,Japan Airlines\r\nBA,BAW,BAW,British Airways\r\nZZ,ZZZ,\r\n");
  WriteFile(files.D002Path, "JAL123,\"JALRJTT>RJCC\",1\r\n125,\r\nJAL7,NRT>ITM\r\nANA5,\"ANARJTT>RJOO\"\r\n");
  const std::pair<std::string, std::string> rows[] = {
      // 0xFF is a byte like any other; keys are compared whole; a missing
      // remark is empty, a long one keeps 127 bytes; an open last line.
      {route("JL0001"), "RJTTKSFO|Morning service"},
      {route("ABCDEFG") + route("ABCDEFI") + route("ABCDEFGHI"), "nonenonenone"},
      {route("JL0002"), "RJTT|"},
      {route("NH0001"), "RJBBRJFF|" + longRemark.substr(0, 127)},
      {route("NH0002"), "RJTTKSFO|Last line"},
      {RouteDeparture("RJTTKSFO") + "/" + RouteDestination("RJTTKSFO") + "/" + RouteDestination("RJTT"), "RJTT/KSFO/"},
      // The last field; an empty one; none.
      {LookupAirportName(files, "RJTT") + "|" + LookupAirportName(files, "RJAA"), "Haneda|" + tokyo},
      {LookupAirportName(files, "RJBB") + "|" + LookupAirportName(files, "RJCC"), "|RJCC"},
      // A registration alone on its line, without a comma, is no entry.
      {type("JA8088") + "|" + type("JA8089") + "|" + type("JA8090"), "none|B767-300|"},
      {LookupAirline2(files, "JL0001") + "|" + LookupAirline2(files, "ZZ0001"), "Japan Airlines|"},
      {LookupAirline3(files, "JAL123") + "|" + LookupAirline3(files, "ANA123"), "JL|--"},
      // Letters after the digits are part of the number.
      {ConvertFlightNumber(files, "JAL123", false) + "|" + ConvertFlightNumber(files, "JL0012", false),
       "JAL123|JAL0012"},
      {ConvertFlightNumber(files, "JL0012", true) + "|" + ConvertFlightNumber(files, "XY0012", false), "JAL12|XY0012"},
      {ConvertFlightNumber(files, "BA031T", true), "BAW31T"},
      {FormatFlightNumber("JL0012", false) + "|" + FormatFlightNumber("JL0012", true), "JL0012|JL12"},
      {FormatFlightNumber("JL0000", true), "JL"},
      // Routes by flight number with continuation lines; a shorter route
      // replaces the one held whole.
      {LookupD002Entry(files, "JAL123") + "|" + LookupD002Entry(files, "JAL125"), "JALRJTT>RJCC|RJTT>RJCC"},
      {LookupD002Entry(files, "JAL7") + "|" + LookupD002Entry(files, "ANA5"), "NRT>ITM|ANARJTT>RJOO"},
      {LookupD002Entry(files, "JAL999"), "NO INFO"},
  };
  for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}

}  // namespace
