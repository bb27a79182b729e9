// The SELCAL code file: the registration of a code.
#include <gtest/gtest.h>

#include "selcal/selcal_code_file.h"
#include "support/test_support.h"

namespace {

TEST(SelcalCodeFile, TheFirstWholeCodeGivesItsRegistration) {
  testing_support::TempDir dir;
  const std::string csv = dir.File("selcal.csv");
  EXPECT_EQ(LookupSelcalCode(csv, "ABCD"), "");  // no file
  testing_support::WriteFile(csv, "ABCDE,JA1\nABCE,JA2\r\nABCD,JA8089\nABCD,JA9999\nEFGH,JA3,B777\nGHJK,N123456789\n"
                                  "CDEF,JA\x81\x40\x81\x40\x81\x40\nDEFG,JA1234\r");
  EXPECT_EQ(LookupSelcalCode(csv, "ABCD"), "JA8089");
  EXPECT_EQ(LookupSelcalCode(csv, "ABCE"), "JA2");
  EXPECT_EQ(LookupSelcalCode(csv, "EFGH"), "JA3");
  EXPECT_EQ(LookupSelcalCode(csv, "GHJK"), "N123456");
  EXPECT_EQ(LookupSelcalCode(csv, "CDEF"), "JA\x81\x40\x81\x40");
  EXPECT_EQ(LookupSelcalCode(csv, "DEFG"), "JA1234");  // the last line, without its LF
  EXPECT_EQ(LookupSelcalCode(csv, "KLMP"), "");
  EXPECT_EQ(LookupSelcalCode(csv, "----"), "");
}

}  // namespace
