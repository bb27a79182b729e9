// The registration rows and the ICAO24.csv lookups.
#include <gtest/gtest.h>

#include <cstdio>

#include "hfdl/hfdl_reception.h"
#include "hfdl/registration.h"
#include "support/reception_rig.h"

namespace {

using testing_support::ReceptionRig;
using testing_support::WriteFile;

// An ACARS block carried by HFDL: SOH, mode, then the address.
AcarsBlock BlockOf(const std::string& address) {
  const std::string text = std::string("+*\x16\x16\x01") + "2" + address + "\x15" + "5Z2\x03xx";
  return testing_support::BlockOf(text, true, AcarsBearer::Hfdl, "Lch");
}

class HfdlRegistration : public ::testing::Test {
 protected:
  HfdlReception& hfdl() { return rig_.form().hfdl; }
  HfdlRegistrationTable& table() { return hfdl().HfdlRegistrations; }
  const std::vector<HfdlRegistrationRow>& rows() { return table().Rows; }
  void Acars(const std::string& address, const std::string& id, int gs) {
    OnHfdlAcars(hfdl(), lookups_, BlockOf(address), id, gs);
  }
  void Logon(const std::string& id, const std::string& address, int gs = 2) {
    OnHfdlLogon(hfdl(), lookups_, id, address, "HFDL", "-", "-", "-", gs);
  }

  ReceptionRig rig_;
  testing_support::FixedLookups lookups_;
};

TEST_F(HfdlRegistration, LogonRows) {
  Acars(".JA801A", "31", 2);
  ASSERT_EQ(rows().size(), 1u);
  EXPECT_EQ(rows()[0].Icao24, "86D0A0");
  // A log-on of the same address and ID only changes the source.
  Logon("31", "86D0A0");
  ASSERT_EQ(rows().size(), 1u);
  EXPECT_EQ(rows()[0].Souce, "HFDL");
  EXPECT_EQ(rows()[0].RegNo, "JA801A");
  EXPECT_EQ(rows()[0].Aircraft, "BOEING 787-8");
  // A new ID adds a row, with what ICAO24.csv tells.
  Logon("32", "86D0A0");
  ASSERT_EQ(rows().size(), 2u);
  EXPECT_EQ(rows()[1].Id, "32");
  EXPECT_EQ(rows()[1].Gs, "2");
  EXPECT_EQ(rows()[1].Lt, "NH");
  EXPECT_EQ(rows()[1].Aircraft, "BOEING 787-8");
  // An unlisted address.
  Logon("33", "ABCDEF");
  EXPECT_EQ(rows()[2].RegNo, "NO DATA");
  EXPECT_EQ(rows()[2].Aircraft, "NO DATA");
}

TEST_F(HfdlRegistration, AcarsRows) {
  Acars(".JA8089", "23", 7);
  ASSERT_EQ(rows().size(), 1u);
  EXPECT_EQ(rows()[0].RegNo, "JA8089");
  EXPECT_EQ(rows()[0].Icao24, "800001");
  EXPECT_EQ(rows()[0].Aircraft, "B777-200");  // aircraft.csv first
  // The same registration again: one row; another one: a second row.
  Acars(".JA8089", "23", 7);
  EXPECT_EQ(rows().size(), 1u);
  Acars("..JA807", "23", 7);
  ASSERT_EQ(rows().size(), 2u);
  EXPECT_EQ(rows()[1].RegNo, "JA807");
  EXPECT_EQ(rows()[1].Icao24, "------");
  EXPECT_EQ(rows()[1].Lt, "--");
  EXPECT_EQ(rows()[1].Aircraft, "-");
  // ID "FF" never matches and adds nothing.
  Acars(".JA8089", "FF", 7);
  EXPECT_EQ(rows().size(), 2u);
  EXPECT_EQ(FindRowByIdAndGs(table(), "FF", 7, "JL"), -1);
}

TEST_F(HfdlRegistration, FindRowByIdAndGsTakesTheLastMatch) {
  AddRegistrationRow(table(), "23", 7, "ACARS", "JL", "JA8089", "-", "800001");
  AddRegistrationRow(table(), "23", 7, "ACARS", "JLX", "JA8090", "-", "800002");
  AddRegistrationRow(table(), "23", 8, "ACARS", "JL", "JA8091", "-", "800003");
  EXPECT_EQ(FindRowByIdAndGs(table(), "23", 7, "JL0012"), 2);
  EXPECT_EQ(FindRowByIdAndGs(table(), "23", 7, "NH0012"), 0);
  EXPECT_EQ(FindRowByIdAndGs(table(), "24", 7, "JL"), 0);
  EXPECT_EQ(FindRowByIdAndGs(table(), "23", 8, "JL"), 3);
  EXPECT_EQ(GetRegistrationByRow(table(), 2), "JA8090");
  EXPECT_EQ(GetRegistrationByRow(table(), 0), "NO DATA");
  EXPECT_EQ(GetRegistrationByRow(table(), 4), "NO DATA");
  EXPECT_EQ(FindRowByIcao24(table(), "800003"), 2);
  EXPECT_EQ(FindRowByIcao24(table(), "800009"), -1);
}

TEST_F(HfdlRegistration, UpdateRules) {
  AddRegistrationRow(table(), "23", 7, "HFDL", "JL", "-", "-", "800001");
  UpdateRegistrationRow(table(), 0, "FF", "ACARS", "NH", "JA8089", "B772", "999999");
  EXPECT_EQ(rows()[0].Id, "23");
  EXPECT_EQ(rows()[0].RegNo, "JA8089");
  EXPECT_EQ(rows()[0].Aircraft, "B772");
  EXPECT_EQ(rows()[0].Souce, "ACARS");
  EXPECT_EQ(rows()[0].Lt, "JL");
  EXPECT_EQ(rows()[0].Icao24, "800001");
  UpdateRegistrationRow(table(), 0, "24", "HFDL", "-", "JA0000", "-", "-");
  EXPECT_EQ(rows()[0].Id, "24");
  EXPECT_EQ(rows()[0].RegNo, "JA8089");
  EXPECT_EQ(rows()[0].Aircraft, "B772");
  int cleared = 0;
  table().Changed = [&](int row) { cleared += row == -1; };
  ClearRegistrationRows(table());
  EXPECT_TRUE(rows().empty());
  EXPECT_EQ(cleared, 1);
}

TEST_F(HfdlRegistration, Icao24FileRules) {
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
  EXPECT_EQ(r.ShortCode, "SSS");
  EXPECT_EQ(r.Operator, "OOO");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0003"), "first");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0004"), std::string(63, 'D'));
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0005"), "crlf\r");
  // A byte 0xFF ends the file.
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0006"), "after");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA0007"), "NO DATA");
  EXPECT_EQ(LookupIcao24File(hfdl(), "000007", r), "NO DATA");
  // Only the address with a comma after it matches: "00000" is no address.
  EXPECT_EQ(LookupIcao24File(hfdl(), "00000", r), "NO DATA");
}

TEST_F(HfdlRegistration, FileIsReadAgainWhenItChanges) {
  Icao24Record r;
  EXPECT_EQ(LookupIcao24File(hfdl(), "800001", r), "JA8089");
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

}  // namespace
