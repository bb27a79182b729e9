// The tables HFDL keeps: the ground stations (freqs.csv in and out,
// system.txt, system tables reassembled from their parts), the registration
// rows with their ICAO24.csv lookups, and the reception statistics.
#include <gtest/gtest.h>

#include <cstdio>

#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/reception_stats.h"
#include "hfdl/registration.h"
#include "hfdl_tx/hfdl_frames.h"
#include "support/reception_rig.h"

namespace {

using testing_support::ReadFile;
using testing_support::ReceptionRig;
using testing_support::WriteFile;
using namespace hfdl_tx;

class HfdlTables : public ::testing::Test {
 protected:
  HfdlReception& hfdl() { return rig_.form().hfdl; }
  void Load(const std::string& bytes) {
    WriteFile(hfdl().FreqsCsvPath, bytes);
    LoadHfdlSystemTable(hfdl());
  }
  // A station's name and its first frequencies: "Alpha 100 200 300 0".
  std::string Station(int id, int count = 4) {
    std::string text = hfdl().GsNames[id];
    for (int c = 0; c < count; ++c) text += " " + std::to_string(hfdl().GsFrequencies[id][c]);
    return text;
  }
  // An uplink frame of one system-table part.
  void SendPart(int sequence, int partsMinusOne, const Octets& data, int version = 40) {
    UplinkMpduFields f;
    f.aircraft = {{0xFF, 3, {DataLpdu(SystemTableHfnpdu(sequence, partsMinusOne, version, data))}, false}};
    rig_.AnalyzeOwn(BuildUplinkMpdu(f), 2, 0);
  }
  const std::string& Ana() { return rig_.form().text.Buffer(kHfdlAna); }
  bool Buffered() { return Ana().find("System Table Data Buffed...") != std::string::npos; }

  HfdlRegistrationTable& table() { return hfdl().HfdlRegistrations; }
  // A registration row's fields: "Id Gs Icao24 RegNo Lt Aircraft Souce".
  std::string Row(size_t row) {
    if (row >= table().Rows.size()) return "no row " + std::to_string(row);
    const HfdlRegistrationRow& r = table().Rows[row];
    return r.Id + " " + r.Gs + " " + r.Icao24 + " " + r.RegNo + " " + r.Lt + " " + r.Aircraft + " " + r.Souce;
  }
  // An ACARS block carried by HFDL: SOH, mode, then the address.
  void Acars(const std::string& address, const std::string& id, int gs) {
    const std::string text = std::string("+*\x16\x16\x01") + "2" + address + "\x15" + "5Z2\x03xx";
    OnHfdlAcars(hfdl(), lookups_, testing_support::BlockOf(text, true, AcarsBearer::Hfdl, "Lch"), id, gs);
  }
  void Logon(const std::string& id, const std::string& address, int gs = 2) {
    OnHfdlLogon(hfdl(), lookups_, id, address, "HFDL", "-", "-", "-", gs);
  }

  ReceptionRig rig_;
  testing_support::FixedLookups lookups_;
};

TEST_F(HfdlTables, ReadingFreqsCsvAndSystemTxt) {
  const std::string longName(70, 'N');
  Load("Alpha,100,200,300\r\n\"Bravo\",5\r\n" + longName + ",12345678901234567,abc,-5,2147483648,7 ,21\r\nDelta,7");
  EXPECT_EQ(Station(1), "Alpha 100 200 300 0");
  EXPECT_EQ(Station(2), "Bravo 5 0 0 0");
  // Long fields are cut (the number to 15 digits, past the int range), bad
  // numbers are 0, and loading goes on after them.
  EXPECT_EQ(Station(3, 6), std::string(63, 'N') + " 0 0 -5 0 0 21");
  // A last line without a line feed is read whole, its last number too.
  EXPECT_EQ(Station(4, 1), "Delta 7");
  // Fewer lines than stations: the rest stay empty; GS 0 is never loaded.
  EXPECT_EQ(Station(5, 1), " 0");
  EXPECT_EQ(Station(0, 1), " 0");

  // Nineteen stations and no more; twenty numbers each.
  std::string text;
  for (int id = 1; id <= 21; ++id) {
    text += "S" + std::to_string(id) + "," + std::to_string(id);
    for (int n = 1; n <= 21; ++n) text += "," + std::to_string(n);
    text += "\n";
  }
  Load(text);
  EXPECT_EQ(Station(19, 1), "S19 19");
  EXPECT_EQ(hfdl().GsFrequencies[19][19], 19);
  // A missing file leaves the table empty.
  std::remove(hfdl().FreqsCsvPath.c_str());
  LoadHfdlSystemTable(hfdl());
  EXPECT_EQ(Station(19, 1), " 0");
  WriteFile(hfdl().SystemTxtPath, "one\r\ntwo\nthree");
  LoadSystemTableText(hfdl());
  EXPECT_EQ(hfdl().SystemTableText.Lines, (std::vector<std::string>{"one", "two", "three"}));

  Load(ReadFile(std::string(SKARVEL_SOURCE_DIR) + "/data/freqs.csv"));
  EXPECT_EQ(hfdl().GsNames[1], "San Francisco / California");
  for (int id = 1; id <= 19; ++id) EXPECT_FALSE(hfdl().GsNames[id].empty()) << id;
}

TEST_F(HfdlTables, SystemTableParts) {
  const Octets data = SystemTableData({{4, true, 0, 0, {Frequency(89120, 1)}}});
  // A table of one part completes on its second arrival.
  SendPart(0, 0, data);
  EXPECT_TRUE(Buffered());
  EXPECT_EQ(hfdl().SystemVer, 35);
  rig_.ClearText();
  SendPart(0, 0, data);
  EXPECT_FALSE(Buffered());
  EXPECT_EQ(hfdl().SystemVer, 40);
  EXPECT_EQ(Station(4, 2), "Riverhead 8912 0");
  rig_.ClearText();
  SendPart(0, 0, data);
  EXPECT_NE(Ana().find("This System Table Data is Already Received"), std::string::npos);

  SendPart(0, 1, data, 41);
  // A part whose number is not below the part count changes nothing.
  SendPart(5, 1, data, 41);
  EXPECT_EQ(hfdl().SystemVer, 40);
  // Another version starts again: part 1 of 42 does not complete it with
  // part 0 of 41.
  SendPart(1, 1, data, 42);
  SendPart(1, 1, data, 42);
  EXPECT_EQ(hfdl().SystemVer, 40);
  SendPart(0, 1, data, 42);
  EXPECT_EQ(hfdl().SystemVer, 42);
}

TEST_F(HfdlTables, SystemTableRecordsMustLieInsideTheTable) {
  // A record announcing three frequencies with room for two: the first
  // record is used, the cut one dropped.
  Octets data = SystemTableData({{4, true, 0, 0, {Frequency(89120, 1)}}, {5, true, 0, 0, {}}});
  Octets cut = SystemTableData({{6, true, 0, 0, {Frequency(1, 0), Frequency(2, 0), Frequency(3, 0)}}});
  cut.resize(cut.size() - 4);
  data.insert(data.end(), cut.begin(), cut.end());
  hfdl().GsFrequencies[6][0] = 77;
  SendPart(0, 0, data);
  SendPart(0, 0, data);
  ASSERT_EQ(hfdl().SystemVer, 40);
  const auto& memo = hfdl().SystemTableText.Lines;
  EXPECT_EQ(std::count(memo.begin(), memo.end(), std::string(60, '.')), 2);
  EXPECT_EQ(hfdl().GsFrequencies[6][0], 77);
  // Six octets of a record are not a record.
  SendPart(0, 0, Octets(6, 0), 42);
  SendPart(0, 0, Octets(6, 0), 42);
  ASSERT_EQ(hfdl().SystemVer, 42);
  EXPECT_EQ(hfdl().SystemTableText.Lines.size(), 2u);

  // S = 7: the part's lines are written, but it carries no data.
  rig_.ClearText();
  SendPart(0, 0, {}, 43);
  EXPECT_NE(Ana().find("PDU Sequence Number = 0"), std::string::npos);
  SendPart(0, 0, {}, 43);
  EXPECT_EQ(hfdl().SystemVer, 42);
  // S = 6: the header does not fit before the check sequence.
  rig_.ClearText();
  UplinkMpduFields f;
  f.aircraft = {{0xFF, 3, {DataLpdu({0xFF, 0xD0, 0x00, 0x80})}, false}};
  rig_.AnalyzeOwn(BuildUplinkMpdu(f), 2, 0);
  EXPECT_NE(Ana().find("HFNPDU TYPE = System Table Uplink\r\n"), std::string::npos);
  EXPECT_EQ(Ana().find("System Table Version"), std::string::npos);
  EXPECT_NE(rig_.form().text.Buffer(kHfdlDat), "");
}

TEST_F(HfdlTables, RegistrationRowsFromLogonsAndAcars) {
  Acars(".JA801A", "31", 2);
  EXPECT_EQ(Row(0), "31 2 86D0A0 JA801A NH BOEING 787-8 ACARS");
  // A log-on of the same address and ID only changes the source.
  Logon("31", "86D0A0");
  EXPECT_EQ(Row(0), "31 2 86D0A0 JA801A NH BOEING 787-8 HFDL");
  // A new ID adds a row, with what ICAO24.csv tells; an unlisted address
  // has no data.
  Logon("32", "86D0A0");
  EXPECT_EQ(Row(1), "32 2 86D0A0 JA801A NH BOEING 787-8 HFDL");
  Logon("33", "ABCDEF");
  EXPECT_EQ(Row(2), "33 2 ABCDEF NO DATA - NO DATA HFDL");
  ClearRegistrationRows(table());

  // aircraft.csv before ICAO24.csv for the type.
  Acars(".JA8089", "23", 7);
  EXPECT_EQ(Row(0), "23 7 800001 JA8089 JL B777-200 ACARS");
  // The same registration again: one row; another one: a second row.
  Acars(".JA8089", "23", 7);
  Acars("..JA807", "23", 7);
  EXPECT_EQ(Row(1), "23 7 ------ JA807 -- - ACARS");
  // ID "FF" never matches and adds nothing.
  Acars(".JA8089", "FF", 7);
  EXPECT_EQ(table().Rows.size(), 2u);
  EXPECT_EQ(FindRowByIdAndGs(table(), "FF", 7, "JL"), -1);
}

TEST_F(HfdlTables, RegistrationLookupsAndUpdates) {
  AddRegistrationRow(table(), "23", 7, "ACARS", "JL", "JA8089", "-", "800001");
  AddRegistrationRow(table(), "23", 7, "ACARS", "JLX", "JA8090", "-", "800002");
  AddRegistrationRow(table(), "23", 8, "ACARS", "JL", "JA8091", "-", "800003");
  // The last match, 1-based; 0 for none.
  EXPECT_EQ(FindRowByIdAndGs(table(), "23", 7, "JL0012"), 2);
  EXPECT_EQ(FindRowByIdAndGs(table(), "23", 7, "NH0012"), 0);
  EXPECT_EQ(FindRowByIdAndGs(table(), "24", 7, "JL"), 0);
  EXPECT_EQ(FindRowByIdAndGs(table(), "23", 8, "JL"), 3);
  EXPECT_EQ(GetRegistrationByRow(table(), 2), "JA8090");
  EXPECT_EQ(GetRegistrationByRow(table(), 0), "NO DATA");
  EXPECT_EQ(GetRegistrationByRow(table(), 4), "NO DATA");
  EXPECT_EQ(FindRowByIcao24(table(), "800003"), 2);
  EXPECT_EQ(FindRowByIcao24(table(), "800009"), -1);

  ClearRegistrationRows(table());
  AddRegistrationRow(table(), "23", 7, "HFDL", "JL", "-", "-", "800001");
  // ID "FF", the operator and the address never replace; "-" and "JA0000" not
  // the registration or type.
  UpdateRegistrationRow(table(), 0, "FF", "ACARS", "NH", "JA8089", "B772", "999999");
  EXPECT_EQ(Row(0), "23 7 800001 JA8089 JL B772 ACARS");
  UpdateRegistrationRow(table(), 0, "24", "HFDL", "-", "JA0000", "-", "-");
  EXPECT_EQ(Row(0), "24 7 800001 JA8089 JL B772 HFDL");
}

TEST_F(HfdlTables, Icao24FileRules) {
  const std::string description(70, 'D');
  WriteFile(hfdl().Icao24CsvPath,
            "ABC,X,Y,JA0001\n"                       // four fields: no match by registration
            "0000011,SSSS,OOOO,JA00022X,desc one\n"  // fields cut to 6, 3, 3, 7
            "000002,S,O,JA0003,first,extra\n"
            "000002,S,O,JA0003,second\n"
            "000004,S,O,JA0004," +
                description +
                "\n"
                "000005,S,O,JA0005,crlf\r\n"
                "000006,S,O,JA0006,after\xFF,x\n"
                "000007,S,O,JA0007,gone\n");
  Icao24Record r;
  EXPECT_EQ(LookupIcao24ByRegistration(hfdl(), "JA0001", r), "------");
  EXPECT_EQ(LookupIcao24File(hfdl(), "ABC", r), "JA0001");
  EXPECT_EQ(LookupIcao24File(hfdl(), "000001", r), "JA00022");
  EXPECT_EQ(r.ShortCode + " " + r.Operator, "SSS OOO");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0003"), "first");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0004"), std::string(63, 'D'));
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0005"), "crlf\r");
  // A byte 0xFF ends the file.
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0006"), "after");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0007"), "NO DATA");
  EXPECT_EQ(LookupIcao24File(hfdl(), "000007", r), "NO DATA");
  // Only the address with a comma after it matches: "00000" is no address.
  EXPECT_EQ(LookupIcao24File(hfdl(), "00000", r), "NO DATA");

  // The file is read again when it changes, and missing it finds nothing.
  WriteFile(hfdl().Icao24CsvPath, "800001,B77,JL,JA8090,BOEING 777-300\n");
  EXPECT_EQ(LookupIcao24File(hfdl(), "800001", r), "JA8090");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA8090"), "BOEING 777-300");
  std::remove(hfdl().Icao24CsvPath.c_str());
  r = Icao24Record();
  r.Operator = "kept";
  EXPECT_EQ(LookupIcao24File(hfdl(), "800001", r), "NO DATA");
  EXPECT_EQ(LookupIcao24ByRegistration(hfdl(), "JA8090", r), "------");
  EXPECT_EQ(r.Operator, "kept");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA8090"), "NO DATA");
}

TEST(HfdlStats, RatiosAndTheTotal) {
  using Texts = std::array<std::string, 4>;
  ReceptionStats stats;
  EXPECT_EQ(stats.Texts(9), (Texts{"Total", "0", "0", "0.000"}));
  for (int code : {1, 1, 13}) CountFrame(stats, code, false);
  // Frames from a linked copy (20) and unknown codes count nowhere; VHF
  // ACARS blocks (30) have their own row and join the total.
  for (int code : {1, 20, 7, 30}) CountFrame(stats, code, true);
  EXPECT_EQ(stats.Texts(1), (Texts{"BPSK 600bits/s  1.8s", "3", "1", "66.667"}));
  EXPECT_EQ(stats.Texts(8), (Texts{"MSK  2400bits/s (VHF)", "1", "1", "0.000"}));
  EXPECT_EQ(stats.Texts(9), (Texts{"Total", "5", "2", "60.000"}));
}

}  // namespace
