// Position reports, flight IDs and the bounds of untrusted frames.
#include <gtest/gtest.h>

#include <functional>

#include "hfdl/hfnpdu.h"
#include "hfdl/lpdu.h"
#include "hfdl_tx/hfdl_frames.h"
#include "support/reception_rig.h"

namespace {

using testing_support::ReceptionRig;
using namespace hfdl_tx;

bool Has(const std::string& text, const std::string& line) { return text.find(line + "\r\n") != std::string::npos; }

class HfdlAnalysisTest : public ::testing::Test {
 protected:
  Form1State& form() { return rig_.form(); }
  const std::string& Ana() { return form().text.Buffer(kHfdlAna); }
  const std::string& Fmt() { return form().text.Buffer(kHfdlFmt); }
  const std::vector<PositionReport>& Positions() { return rig_.sink().positions; }
  int Failed(int row) { return std::stoi(form().hfdl.HfdlReceptionStats.Texts(row)[2]); }
  // The flight of the only position report handed on, "" for none.
  std::string Reported() { return Positions().size() == 1 ? Positions()[0].FlightId : ""; }

  // One LPDU in a downlink MPDU (mode 1) or an uplink one (mode 2).
  void Downlink(const Octets& lpdu, int aircraftId = 0x23) {
    DownlinkMpduFields f;
    f.gsId = 7;
    f.aircraftId = aircraftId;
    f.lpdus = {lpdu};
    rig_.ClearText();
    rig_.AnalyzeOwn(BuildDownlinkMpdu(f), 1, 0);
  }
  void Uplink(const Octets& lpdu, int aircraftId = 0x23) {
    UplinkMpduFields f;
    f.gsId = 7;
    f.aircraft = {{aircraftId, 3, {lpdu}, false}};
    rig_.ClearText();
    rig_.AnalyzeOwn(BuildUplinkMpdu(f), 2, 0);
  }

  ReceptionRig rig_;
};

using HfdlPosition = HfdlAnalysisTest;
using HfdlFrames = HfdlAnalysisTest;

Octets Report(const std::string& flight, uint32_t lat, uint32_t lon, uint16_t time, uint16_t type = 0xFFD1) {
  return PositionHfnpdu(type, flight, lat, lon, time);
}

// The characters of a transmitter's ACARS block from SOH on, as a road hands
// them to the parser.
::AcarsBlock BlockOf(const AcarsBlockFields& f) {
  std::string characters = kAcarsSyncCharacters;
  const Octets octets = hfdl_tx::AcarsBlock(f);
  for (size_t n = 0; n + 1 < octets.size(); ++n) characters += static_cast<char>(octets[n] & 0x7F);
  return testing_support::BlockOf(characters, f.etx, AcarsBearer::Hfdl, "Lch");
}

TEST_F(HfdlPosition, MostNegativeLatitudeIsRejectedWhereLatitudeIsChecked) {
  // Octets 00 00 08 00 00: latitude 0x80000, -524288 units.
  const Octets report = Report("JL123 ", 0x80000, 0, 0x0708);
  const struct {
    const char* name;
    std::function<void()> send;
    bool rejected;
  } places[] = {
      {"downlink log-on", [&] { Downlink(LogonLpdu(0x8F, 0x800001, -1, report)); }, true},
      {"downlink data", [&] { Downlink(DataLpdu(report)); }, true},
      {"uplink log-on", [&] { Uplink(LogonLpdu(0x8F, 0x800001, -1, report)); }, true},
      {"uplink data", [&] { Uplink(DataLpdu(report)); }, false},
  };
  int failed = 0;
  for (const auto& p : places) {
    p.send();
    EXPECT_TRUE(Has(Ana(), "Latitude = -180.000343323409")) << p.name;
    EXPECT_EQ(Fmt().empty(), p.rejected) << p.name;
    EXPECT_TRUE(Positions().empty()) << p.name;
    failed += p.rejected;
    EXPECT_EQ(Failed(1) + Failed(2), failed) << p.name;
  }
}

TEST_F(HfdlPosition, NoTimeRejectsOnTheDownlinkLogonPathOnly) {
  const Octets report = Report("JL123 ", 0x1C71C, 0x1C71C, 0);
  Downlink(LogonLpdu(0x8F, 0x800001, -1, report));
  EXPECT_TRUE(Fmt().empty());
  EXPECT_TRUE(Positions().empty());
  Uplink(LogonLpdu(0x8F, 0x800001, -1, report));
  EXPECT_TRUE(Has(Fmt(), "   UTC TIME       = 00:00:00"));
  ASSERT_EQ(Reported(), "JL0123");
  EXPECT_EQ(Positions()[0].Registration, "JA8089");
  EXPECT_EQ(Positions()[0].Time, "0000");
  Downlink(DataLpdu(report));
  EXPECT_EQ(Reported(), "JL0123");
  // A zero longitude and an empty flight ID.
  Downlink(LogonLpdu(0x8F, 0x800001, -1, Report("JL123 ", 0x1C71C, 0, 0x0708)));
  EXPECT_TRUE(Fmt().empty());
  Downlink(DataLpdu(Report("", 0x1C71C, 0x1C71C, 0x0708)));
  EXPECT_TRUE(Fmt().empty());
  EXPECT_TRUE(Positions().empty());
  EXPECT_EQ(Failed(1), 3);
}

TEST_F(HfdlPosition, PassListKeepsAirlinesOut) {
  form().Etc.PassList = "JL,NH";
  Downlink(DataLpdu(Report("JL123 ", 0x1C71C, 0x1C71C, 0x0708)));
  EXPECT_TRUE(Has(Fmt(), "   FLIGHT ID      = JL0123"));
  EXPECT_TRUE(Positions().empty());
  Downlink(DataLpdu(EnvelopedHfnpdu(hfdl_tx::AcarsBlock(AcarsBlockFields()))));
  EXPECT_TRUE(Has(Ana(), "ACARS Message = <SOH>2.JA8089<NAK>5Z2<STX>M01AJL12  TEST<ETX>"));
  EXPECT_TRUE(rig_.sink().messages.empty());
  AcarsBlockFields nh;
  nh.flight = "NH0205";
  Downlink(DataLpdu(EnvelopedHfnpdu(hfdl_tx::AcarsBlock(nh))));
  EXPECT_TRUE(rig_.sink().messages.empty());
  EXPECT_TRUE(form().hfdl.HfdlRegistrations.Rows.empty());
  // Another airline goes through.
  Downlink(DataLpdu(Report("BA0012", 0x1C71C, 0x1C71C, 0x0708)));
  EXPECT_EQ(Reported(), "BA0012");
}

TEST_F(HfdlPosition, FlightIds) {
  // A numeric flight on the downlink log-on path takes the operator code.
  Downlink(LogonLpdu(0x8F, 0x800001, -1, Report("12345", 0x1C71C, 0x1C71C, 0xFFFF)));
  EXPECT_TRUE(Has(Fmt(), "   FLIGHT ID      = JL1234"));
  // Hours pass 23 as they come.
  EXPECT_TRUE(Has(Ana(), "UTC Time = 36:24:30"));
  // An airline letter.csv does not know keeps its raw ID.
  Downlink(DataLpdu(Report("XYZ9", 0x1C71C, 0x1C71C, 0x0708)));
  EXPECT_TRUE(Has(Fmt(), "   FLIGHT ID      = XYZ9"));
  EXPECT_EQ(NormaliseFlightNumber("JL12"), "JL0012");
  EXPECT_EQ(NormaliseFlightNumber("JL123456"), "JL1234");
  EXPECT_EQ(NormaliseFlightNumber("JL1A2"), "JL0001");
}

TEST_F(HfdlPosition, AcarsFlightIdField) {
  auto field = [](const std::string& flight, bool convJD, bool convJC, char mode = '2') {
    AcarsBlockFields f;
    f.mode = mode;
    f.flight = flight;
    f.text = "A TEXT LONG ENOUGH FOR ANY BLOCK";
    return ExtractFlightIdField(BlockOf(f), convJD, convJC);
  };
  EXPECT_EQ(field("JL12  ", false, false), "JL0012");
  EXPECT_EQ(field("JL1 2 ", false, false), "JL0102");
  EXPECT_EQ(field("JD012 ", false, false), "JD0012");
  EXPECT_EQ(field("JD012 ", true, false), "JL0012");
  EXPECT_EQ(field("  12  ", true, false), "000012");
  EXPECT_EQ(field("  12  ", true, true), "JC0012");
  // An uplink block has no flight.
  EXPECT_EQ(field("JL12  ", false, false, 'a'), "------");
  // Fewer than 29 characters from the "+".
  EXPECT_EQ(ExtractFlightIdField(testing_support::BlockOf(std::string(30, '\0'), true, AcarsBearer::Hfdl, "Lch"),
                                 false, false),
            "------");
}

TEST_F(HfdlFrames, AnUplinkFramesBlockIsAnUplink) {
  // A category A uplink: mode "2", its text right after STX.
  AcarsBlockFields up;
  up.address = ".N010AB";
  up.label = "B6";
  up.blockId = 'F';
  up.msgNo = up.flight = "";
  up.text = "HFDL UPLINK TEXT 10";
  Uplink(DataLpdu(EnvelopedHfnpdu(hfdl_tx::AcarsBlock(up))));
  ASSERT_EQ(rig_.sink().messages.size(), 1u);
  EXPECT_FALSE(rig_.sink().messages[0].Downlink());
  // The rig loads no ground-station names.
  EXPECT_TRUE(Has(form().text.Buffer(kAcarsPrc), "  (N010AB)    [B6:F] MODE:2   \r\nHFDL UPLINK TEXT 10"));
  EXPECT_TRUE(Has(form().text.Buffer(kAcarsMes), "MODE:2   \r\nHFDL UPLINK TEXT 10"));
  EXPECT_TRUE(Has(form().text.Buffer(kAcarsRaw), "<SOH>2.N010AB<NAK>B6F<STX>HFDL UPLINK TEXT 10<ETX>"));
}

TEST_F(HfdlPosition, AirlineNotListed) {
  EXPECT_TRUE(IsAirlineNotListed("JL0012", ""));
  EXPECT_FALSE(IsAirlineNotListed("JL00", ""));
  EXPECT_FALSE(IsAirlineNotListed("JL 012", ""));
  EXPECT_FALSE(IsAirlineNotListed("JL0000", ""));
  // A block without a flight ID passes unless "--" is listed.
  EXPECT_TRUE(IsAirlineNotListed("------", ""));
  EXPECT_FALSE(IsAirlineNotListed("------", "--"));
  EXPECT_FALSE(IsAirlineNotListed("NH0012", "JL,NH"));
  EXPECT_TRUE(IsAirlineNotListed("LH0012", "JL,NH"));
  EXPECT_FALSE(IsAirlineNotListed("JL0012", "--,JL"));
}

TEST_F(HfdlFrames, LpduTypesAndReasons) {
  Downlink(LogonLpdu(0x4F, 0x800001, 0x24));
  EXPECT_TRUE(Has(Ana(), "LPDU TYPE = Log-on Resume"));
  EXPECT_TRUE(Has(Ana(), "Aircraft Address = 24"));
  Downlink(LogonLpdu(0x9F, 0x800001, 0xFF, {0xD2}));
  EXPECT_TRUE(Has(Ana(), "LPDU TYPE = Log-on Confirm"));
  EXPECT_TRUE(Has(Ana(), "HFNPDU TYPE = System Table Request"));
  EXPECT_FALSE(Has(Ana(), "Aircraft Address = FF"));
  // A type outside the table has no name, and nothing more is read.
  Downlink(LogonLpdu(0x77, 0x800001, 0x24));
  EXPECT_TRUE(Has(Ana(), "LPDU TYPE = "));
  EXPECT_FALSE(Has(Ana(), "Aircraft ICAO Address = 800001"));
  Downlink(LogonLpdu(0x2F, 0x800001, 2));
  EXPECT_TRUE(Has(Ana(), "Reason = HFDL Ground Station Sub-system does not support RLS"));
  Downlink(LogonLpdu(0x3F, 0x800001, 9), 0xFF);
  EXPECT_TRUE(Has(Ana(), "Reason = Reserved"));
  EXPECT_FALSE(Has(Fmt(), "   AIRCRAFT ID    = FF"));
  EXPECT_EQ(LpduTypeName(0x0D), "Unnumbered Data");
}

TEST_F(HfdlFrames, FieldsInTheCheckSequenceAreNotRead) {
  // S = 5: the address fits, octet 4 would be the check sequence.
  Downlink(LogonLpdu(0x8F, 0x800001, -1));
  EXPECT_TRUE(Has(Ana(), "Aircraft ICAO Address = 800001"));
  EXPECT_EQ(Ana().find("Aircraft Address"), std::string::npos);
  EXPECT_TRUE(form().hfdl.HfdlRegistrations.Rows.empty());
  // S = 4: not even the address.
  Downlink(Lpdu({0x8F, 0x01, 0x00}));
  EXPECT_TRUE(Has(Ana(), "LPDU TYPE = Log-on Request (Normal)"));
  EXPECT_TRUE(Has(Fmt(), "   AIRCRAFT ID    = 23"));
  EXPECT_EQ(Ana().find("ICAO"), std::string::npos);
  // A position report one octet short, Enveloped Data with no character.
  Octets report = Report("JL123 ", 0x1C71C, 0x1C71C, 0x0708);
  report.pop_back();
  Downlink(DataLpdu(report));
  EXPECT_TRUE(Has(Ana(), "HFNPDU TYPE = Performance Data Downlink"));
  EXPECT_EQ(Ana().find("Flight ID"), std::string::npos);
  EXPECT_TRUE(Positions().empty());
  Downlink(DataLpdu({0xFF, 0xFF, 0x01, 0x02}));
  EXPECT_TRUE(Has(Ana(), "HFNPDU TYPE = Enveloped Data"));
  EXPECT_TRUE(rig_.sink().frames.at(0).Deliveries.empty());
  // None of these fails the frame.
  EXPECT_EQ(Failed(1), 0);
  EXPECT_EQ(form().hfdl.HfdlReceptionStats.Texts(1)[1], "4");
}

TEST_F(HfdlFrames, TinyLpduSizesFailTheirCheck) {
  DownlinkMpduFields f;
  f.lpdus = {Octets{0x0D}, Octets{0x0D, 0x0D}, DataLpdu(TypeOnlyHfnpdu(0xFFD2))};
  rig_.AnalyzeOwn(BuildDownlinkMpdu(f), 1, 0);
  EXPECT_TRUE(Has(Ana(), "LPDU Number 1 CRC Failed"));
  EXPECT_TRUE(Has(Ana(), "LPDU Number 2 CRC Failed"));
  // The third is found after S + 1 octets of each, and the DAT line ends
  // after it.
  EXPECT_TRUE(Has(Ana(), "HFNPDU TYPE = System Table Request"));
  EXPECT_EQ(rig_.sink().frames.at(0).DatOctets, 11 + 1 + 2 + 5);
}

TEST_F(HfdlFrames, SquitterTableBounds) {
  SquitterFields f;
  f.gsId = 25;
  f.mask1 = 0xFFFFF;
  f.gsId2 = 3;
  f.mask2 = 0xFF0FF;  // slots 1-8 and 13-20
  f.gsId3 = 127;
  f.version = 3;
  form().hfdl.GsActiveFreqs[19][0] = 9;
  rig_.AnalyzeOwn(BuildSquitter(f), 0, 0);
  EXPECT_TRUE(Has(Ana(), "Ground Station Name = "));
  EXPECT_TRUE(Has(Ana(), "  [ 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ]"));
  EXPECT_TRUE(Has(Ana(), "  [ 1 2 3 4 5 6 7 8 13 14 15 16 17 18 19 20 ]"));
  const int32_t expected[6] = {1, 2, 3, 4, 5, 6};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(form().hfdl.GsActiveFreqs[3][c], expected[c]);
  EXPECT_EQ(form().hfdl.GsActiveFreqs[19][0], 9);
  EXPECT_TRUE(Has(Fmt(), "   FREQUENCIES    = [ 17985kHz 15025kHz 11184kHz ] (Reykjavik)"));
  EXPECT_TRUE(Has(Fmt(), "   FREQUENCIES    = [ ] ()"));
  // Bit 4 is no part of the version.
  EXPECT_TRUE(Has(Ana(), "SPDU Version = 3"));
  Octets withBit4 = BuildSquitter(f);
  withBit4[0] |= 0x10;
  rig_.ClearText();
  rig_.AnalyzeNetwork(withBit4);
  EXPECT_TRUE(Has(Ana(), "SPDU CRC Failed"));
}

TEST_F(HfdlFrames, ReservedDataRates) {
  for (int code : {0, 5, 6, 7}) {
    DownlinkMpduFields f;
    f.rateCode = code;
    rig_.ClearText();
    rig_.AnalyzeOwn(BuildDownlinkMpdu(f), 1, 0);
    EXPECT_TRUE(Has(Ana(), "Uplink Data Rate = Reserved")) << code;
  }
}

TEST_F(HfdlFrames, NetworkFrameShorterThanItsHeader) {
  // A squitter cut to 40 octets fails its CRC instead of reading on.
  const Octets squitter = ScenarioSquitter().octets;
  rig_.AnalyzeNetwork(Octets(squitter.begin(), squitter.begin() + 40));
  EXPECT_TRUE(Has(Ana(), "SPDU CRC Failed"));
  rig_.ClearText();
  const Octets logon = ScenarioLogonConfirm().octets;
  rig_.AnalyzeNetwork(Octets(logon.begin(), logon.end() - 1));
  EXPECT_TRUE(Has(Ana(), "MPDU Header Size Failed"));
  EXPECT_TRUE(form().text.Buffer(kHfdlDat).empty());
}

// A client of a linked copy leaves its own frames to its server; a server
// decodes them as a copy on its own does.
TEST_F(HfdlFrames, ClientLeavesItsFramesToTheServer) {
  form().exchange.NetConnected = 1;
  const ScenarioFrame squitter = ScenarioSquitter();
  rig_.AnalyzeOwn(squitter.octets, squitter.mode, 0);
  EXPECT_TRUE(rig_.sink().frames.empty());
  EXPECT_TRUE(Ana().empty());
  form().Net.Server = 1;
  rig_.AnalyzeOwn(squitter.octets, squitter.mode, 0);
  EXPECT_EQ(rig_.sink().frames.size(), 1u);
  EXPECT_TRUE(Has(Ana(), "Ground Station ID = 1"));
}

}  // namespace
