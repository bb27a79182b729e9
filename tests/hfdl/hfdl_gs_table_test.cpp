// The ground-station table: freqs.csv in and out, system.txt, and the
// reassembly of system tables from their parts.
#include <gtest/gtest.h>

#include <cstdio>

#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/file_io.h"
#include "support/reception_rig.h"

namespace {

using testing_support::ReceptionRig;
using testing_support::ReadFile;
using testing_support::WriteFile;
using namespace hfdl_tx;

class HfdlGsTable : public ::testing::Test {
 protected:
  HfdlReception& hfdl() { return rig_.form().hfdl; }
  void Load(const std::string& bytes) {
    WriteFile(hfdl().FreqsCsvPath, bytes);
    LoadHfdlSystemTable(hfdl());
  }
  // An uplink frame of one system-table part.
  void SendPart(int sequence, int partsMinusOne, const Octets& data, int version = 40) {
    UplinkMpduFields f;
    f.aircraft = {{0xFF, 3, {DataLpdu(SystemTableHfnpdu(sequence, partsMinusOne, version, data))}, false}};
    rig_.AnalyzeOwn(BuildUplinkMpdu(f), 2, 0);
  }
  const std::string& Ana() { return rig_.form().text.Buffer(kHfdlAna); }
  bool Buffered() { return Ana().find("System Table Data Buffed...") != std::string::npos; }

  ReceptionRig rig_;
};

TEST_F(HfdlGsTable, ReadsNamesAndFrequencies) {
  Load("Alpha,100,200,300\r\n\"Bravo\",5\r\nCharlie,7");
  EXPECT_EQ(hfdl().GsNames[1], "Alpha");
  EXPECT_EQ(hfdl().GsFrequencies[1][0], 100);
  EXPECT_EQ(hfdl().GsFrequencies[1][2], 300);
  EXPECT_EQ(hfdl().GsFrequencies[1][3], 0);
  EXPECT_EQ(hfdl().GsNames[2], "Bravo");
  EXPECT_EQ(hfdl().GsFrequencies[2][0], 5);
  // A last line without a line feed is read whole, its last number too.
  EXPECT_EQ(hfdl().GsNames[3], "Charlie");
  EXPECT_EQ(hfdl().GsFrequencies[3][0], 7);
  // Fewer lines than stations: the rest stay empty; GS 0 is never loaded.
  EXPECT_EQ(hfdl().GsNames[4], "");
  EXPECT_EQ(hfdl().GsNames[0], "");
  EXPECT_EQ(hfdl().GsFrequencies[4][0], 0);
}

TEST_F(HfdlGsTable, ShippedTableNamesEveryStation) {
  Load(ReadFile(std::string(SKARVEL_SOURCE_DIR) + "/data/freqs.csv"));
  EXPECT_EQ(hfdl().GsNames[1], "San Francisco / California");
  for (int id = 1; id <= 19; ++id) {
    EXPECT_FALSE(hfdl().GsNames[id].empty()) << id;
    for (int c = 0; c < 20; ++c) EXPECT_EQ(hfdl().GsFrequencies[id][c], 0);
  }
}

TEST_F(HfdlGsTable, CutsLongFieldsAndTakesBadNumbersAsZero) {
  const std::string longName(70, 'N');
  Load(longName + ",12345678901234567,abc,-5,2147483648,7 ,21\r\nNext,1\r\n");
  EXPECT_EQ(hfdl().GsNames[1], std::string(63, 'N'));
  EXPECT_EQ(hfdl().GsFrequencies[1][0], 0);  // cut to 15 digits, past the int range
  EXPECT_EQ(hfdl().GsFrequencies[1][1], 0);
  EXPECT_EQ(hfdl().GsFrequencies[1][2], -5);
  EXPECT_EQ(hfdl().GsFrequencies[1][3], 0);
  EXPECT_EQ(hfdl().GsFrequencies[1][4], 0);
  EXPECT_EQ(hfdl().GsFrequencies[1][5], 21);
  // Loading went on after them.
  EXPECT_EQ(hfdl().GsNames[2], "Next");
}

TEST_F(HfdlGsTable, ReadsNineteenStationsAndNoMore) {
  std::string text;
  for (int id = 1; id <= 21; ++id)
    text += "S" + std::to_string(id) + "," + std::to_string(id) +
            ",1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21\n";
  Load(text);
  EXPECT_EQ(hfdl().GsNames[19], "S19");
  EXPECT_EQ(hfdl().GsFrequencies[19][0], 19);
  EXPECT_EQ(hfdl().GsFrequencies[19][19], 19);  // the 21st number is dropped
  // A missing file leaves the table empty.
  std::remove(hfdl().FreqsCsvPath.c_str());
  LoadHfdlSystemTable(hfdl());
  EXPECT_EQ(hfdl().GsNames[1], "");
  EXPECT_EQ(hfdl().GsFrequencies[19][0], 0);
}

TEST_F(HfdlGsTable, SaveLoadSaveKeepsTheBytes) {
  hfdl().SystemVer = 37;
  SaveHfdlSystemTable(hfdl());
  const std::string first = ReadFile(hfdl().FreqsCsvPath);
  EXPECT_NE(first.find("\r\nSystem Table Version = 37  Update 2026/12/06 14:03:07\r\n"), std::string::npos);
  EXPECT_EQ(first.find('"'), std::string::npos);
  LoadHfdlSystemTable(hfdl());
  testing_support::FixedClock later(platform::EncodeDateTime(2027, 1, 2, 3, 4, 5));
  SaveHfdlSystemTable(hfdl());
  std::string second = ReadFile(hfdl().FreqsCsvPath);
  const std::string stamp = "2027/01/02 03:04:05";
  second.replace(second.find(stamp), stamp.size(), "2026/12/06 14:03:07");
  EXPECT_EQ(second, first);
}

TEST_F(HfdlGsTable, SystemTextReadsLfAndCrLf) {
  WriteFile(hfdl().SystemTxtPath, "one\r\ntwo\nthree");
  LoadSystemTableText(hfdl());
  EXPECT_EQ(hfdl().SystemTableText.Lines, (std::vector<std::string>{"one", "two", "three"}));
}

TEST_F(HfdlGsTable, OnePartTableCompletesOnItsSecondArrival) {
  const Octets data = SystemTableData({{4, true, 0, 0, {Frequency(89120, 1)}}});
  SendPart(0, 0, data);
  EXPECT_TRUE(Buffered());
  EXPECT_EQ(hfdl().SystemVer, 35);
  rig_.ClearText();
  SendPart(0, 0, data);
  EXPECT_FALSE(Buffered());
  EXPECT_EQ(hfdl().SystemVer, 40);
  EXPECT_EQ(hfdl().GsFrequencies[4][0], 8912);
  EXPECT_EQ(hfdl().GsFrequencies[4][1], 0);
  rig_.ClearText();
  SendPart(0, 0, data);
  EXPECT_NE(Ana().find("This System Table Data is Already Received"), std::string::npos);
}

TEST_F(HfdlGsTable, NewVersionDropsTheParts) {
  const Octets data = SystemTableData({{4, true, 0, 0, {Frequency(89120, 1)}}});
  SendPart(0, 1, data);
  // A part whose number is not below the part count changes nothing.
  SendPart(5, 1, data);
  EXPECT_EQ(hfdl().SystemVer, 35);
  // Another version starts again: part 1 of 41 does not complete it with
  // part 0 of 40.
  SendPart(1, 1, data, 41);
  SendPart(1, 1, data, 41);
  EXPECT_EQ(hfdl().SystemVer, 35);
  SendPart(0, 1, data, 41);
  EXPECT_EQ(hfdl().SystemVer, 41);
}

TEST_F(HfdlGsTable, RecordsMustLieInsideTheTable) {
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
}

TEST_F(HfdlGsTable, ShortPartsAreNotStored) {
  // S = 7: the part's lines are written, but it carries no data.
  SendPart(0, 0, {});
  EXPECT_NE(Ana().find("PDU Sequence Number = 0"), std::string::npos);
  SendPart(0, 0, {});
  EXPECT_EQ(hfdl().SystemVer, 35);
  // S = 6: the header does not fit before the check sequence.
  rig_.ClearText();
  UplinkMpduFields f;
  f.aircraft = {{0xFF, 3, {DataLpdu({0xFF, 0xD0, 0x00, 0x80})}, false}};
  rig_.AnalyzeOwn(BuildUplinkMpdu(f), 2, 0);
  EXPECT_NE(Ana().find("HFNPDU TYPE = System Table Uplink\r\n"), std::string::npos);
  EXPECT_EQ(Ana().find("System Table Version"), std::string::npos);
  EXPECT_NE(rig_.form().text.Buffer(kHfdlDat), "");
}

}  // namespace
