// The reference data files read as the user may keep them: each fixture
// with LF and with CR LF line ends. And the photographs they name.
#include "aircraft/reference_data.h"

#include <gtest/gtest.h>

#include "platform/bitmap24.h"
#include "platform/file_io.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

class ReferenceData : public ::testing::TestWithParam<const char*> {
 protected:
  ReferenceData() : files(AircraftFilesIn(dir.path())) { platform::EnsureFolder(dir.File("data")); }
  // The lines, each ended by the parameter's line end, unless last is
  // left open.
  void Write(const std::string& path, const std::vector<std::string>& lines, bool openLast = false) {
    std::string bytes;
    for (size_t i = 0; i < lines.size(); ++i) {
      bytes += lines[i];
      if (!(openLast && i + 1 == lines.size())) bytes += GetParam();
    }
    testing_support::WriteFile(path, bytes);
  }

  TempDir dir;
  AircraftFiles files;
};

INSTANTIATE_TEST_SUITE_P(LineEnds, ReferenceData, ::testing::Values("\n", "\r\n"));

TEST_P(ReferenceData, FlightRoutesAndRemarks) {
  EXPECT_FALSE(LookupFlightRoute(files, "JL0001"));
  const std::string longRemark(130, 'r');
  Write(files.FlightCsvPath,
        {"XX0001,\xff\xff,\xff", "ABCDEFGHI,RJAAKLAX,Nine", "JL0001,RJTTKSFO,Morning service", "JL0001,RJAAKJFK,Second",
         "JL0002,RJTT", "NH0001,RJBBRJFF," + longRemark, "NH0002,RJTTKSFO,Last line"},
        true);
  // 0xFF is a byte like any other: the lines after it are read.
  std::optional<FlightRoute> r = LookupFlightRoute(files, "JL0001");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Route, "RJTTKSFO");
  EXPECT_EQ(RouteDeparture(r->Route) + "/" + RouteDestination(r->Route), "RJTT/KSFO");
  EXPECT_EQ(r->Remark, "Morning service");
  // Keys are compared whole: neither a cut one nor its start matches.
  EXPECT_FALSE(LookupFlightRoute(files, "ABCDEFG"));
  EXPECT_FALSE(LookupFlightRoute(files, "ABCDEFI"));
  EXPECT_FALSE(LookupFlightRoute(files, "ABCDEFGHI"));
  // A missing remark is empty; a long one keeps its first 127 bytes.
  EXPECT_EQ(LookupFlightRoute(files, "JL0002")->Remark, "");
  EXPECT_EQ(LookupFlightRoute(files, "NH0001")->Remark, longRemark.substr(0, 127));
  EXPECT_EQ(RouteDestination(LookupFlightRoute(files, "JL0002")->Route), "");
  // A last line without its line end is read like any other.
  EXPECT_EQ(LookupFlightRoute(files, "NH0002")->Remark, "Last line");
}

TEST_P(ReferenceData, AirportNamesAndAircraftTypes) {
  std::string type;
  EXPECT_EQ(LookupAirportName(files, "RJTT"), "RJTT");
  EXPECT_FALSE(LookupAircraftType(files, "JA8089", type));
  // 東京国際 in code page 932.
  const std::string tokyo = "\x93\x8c\x8b\x9e\x8d\x91\x8d\xdb";
  Write(files.AirportCsvPath, {"RJTT,Tokyo,Haneda", "RJAA," + tokyo, "RJBB,"});
  Write(files.AircraftCsvPath, {"JA8088", "JA8089,B767-300", "JA8090,"});
  EXPECT_EQ(LookupAirportName(files, "RJTT"), "Haneda");  // the last field
  EXPECT_EQ(LookupAirportName(files, "RJAA"), tokyo);
  EXPECT_EQ(LookupAirportName(files, "RJBB"), "");
  EXPECT_EQ(LookupAirportName(files, "RJCC"), "RJCC");
  // A registration alone on its line, without a comma, is no entry.
  EXPECT_FALSE(LookupAircraftType(files, "JA8088", type));
  ASSERT_TRUE(LookupAircraftType(files, "JA8089", type));
  EXPECT_EQ(type, "B767-300");
  ASSERT_TRUE(LookupAircraftType(files, "JA8090", type));
  EXPECT_EQ(type, "");
}

TEST_P(ReferenceData, AirlineDesignatorsAndFlightNumberForms) {
  EXPECT_EQ(LookupAirline2(files, "JL0001"), "-");
  EXPECT_EQ(LookupAirline3(files, "JAL123"), "--");
  EXPECT_EQ(ConvertFlightNumber(files, "JL0012", false), "JL0012");
  Write(files.LetterCsvPath, {"JL,JAL,JAL,Japan Airlines", "BA,BAW,BAW,British Airways", "ZZ,ZZZ,"});
  EXPECT_EQ(LookupAirline2(files, "JL0001"), "Japan Airlines");
  EXPECT_EQ(LookupAirline2(files, "ZZ0001"), "");
  EXPECT_EQ(LookupAirline3(files, "JAL123"), "JL");
  EXPECT_EQ(LookupAirline3(files, "ANA123"), "--");
  EXPECT_EQ(ConvertFlightNumber(files, "JAL123", false), "JAL123");
  EXPECT_EQ(ConvertFlightNumber(files, "JL0012", false), "JAL0012");
  EXPECT_EQ(ConvertFlightNumber(files, "JL0012", true), "JAL12");
  EXPECT_EQ(ConvertFlightNumber(files, "XY0012", false), "XY0012");
  // Letters after the digits are part of the number.
  EXPECT_EQ(ConvertFlightNumber(files, "BA031T", true), "BAW31T");
  EXPECT_EQ(FormatFlightNumber("JL0012", false), "JL0012");
  EXPECT_EQ(FormatFlightNumber("JL0012", true), "JL12");
  EXPECT_EQ(FormatFlightNumber("JL0000", true), "JL");
}

TEST_P(ReferenceData, RoutesByFlightNumberWithContinuationLines) {
  EXPECT_EQ(LookupD002Entry(files, "JAL123"), "NO INFO");
  Write(files.D002Path, {"JAL123,\"JALRJTT>RJCC\",1", "125,", "JAL7,NRT>ITM", "ANA5,\"ANARJTT>RJOO\""});
  EXPECT_EQ(LookupD002Entry(files, "JAL123"), "JALRJTT>RJCC");
  EXPECT_EQ(LookupD002Entry(files, "JAL125"), "RJTT>RJCC");
  // A shorter route replaces the one held whole.
  EXPECT_EQ(LookupD002Entry(files, "JAL7"), "NRT>ITM");
  EXPECT_EQ(LookupD002Entry(files, "ANA5"), "ANARJTT>RJOO");
  EXPECT_EQ(LookupD002Entry(files, "JAL999"), "NO INFO");
}

// Fitted into the information window's frame as they are read, in colour
// or grey; the map's tests take the damaged and the missing.
TEST(ReferenceDataPhotographs, FittedToTheFrameInColourOrGrey) {
  TempDir dir;
  const AircraftFiles files = AircraftFilesIn(dir.path());
  platform::EnsureFolder(files.PicsFolder);
  EXPECT_EQ(PhotoPath(files, "../x"), dir.File("pics/.._x.jpg"));
  testing_support::WriteJpeg(PhotoPath(files, "JA8089"), 400, 200, 0x0000FF);
  testing_support::WriteJpeg(NoImagePath(files), 16, 16, 0x808080, true);
  Bitmap24 picture;
  ASSERT_TRUE(ReadJpeg(PhotoPath(files, "JA8089"), picture));
  EXPECT_EQ(std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()), "200x100");
  EXPECT_NEAR(static_cast<int>(picture.Pixel(10, 10) & 0xFF), 255, 8);  // red
  ASSERT_TRUE(ReadJpeg(NoImagePath(files), picture));
  const TColor g = picture.Pixel(3, 3);
  EXPECT_EQ(g & 0xFF, (g >> 8) & 0xFF);
}

}  // namespace
