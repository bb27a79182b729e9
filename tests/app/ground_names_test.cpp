#include "app/ground_names.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/form1_state.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

TEST(GroundNames, DefaultsWithoutAFile) {
  TempDir dir;
  Form1State f;
  f.app.AppDir = dir.path();
  LoadGroundStationNames(f);
  EXPECT_EQ(f.acars.AcarsStationNames[0], "NARITA");
  EXPECT_EQ(f.acars.AcarsStationNames[24], "----");
  EXPECT_EQ(f.acars.AcarsStationNames[25], "----");
  EXPECT_EQ(f.acars.AcarsStationNames[26], "BROADCAST");
  EXPECT_EQ(f.acars.AcarsStationNames[27], "VDL");
}

TEST(GroundNames, FileOverridesCaseInsensitivelyAndEmptyStaysEmpty) {
  TempDir dir;
  ::mkdir(dir.File("data").c_str(), 0777);
  testing_support::WriteFile(dir.File("data/ground.txt"), "[groundstations]\r\na= TOKYO \r\nB=\r\n3=Satellite\r\n");
  Form1State f;
  f.app.AppDir = dir.path();
  LoadGroundStationNames(f);
  EXPECT_EQ(f.acars.AcarsStationNames[0], "TOKYO");
  EXPECT_EQ(f.acars.AcarsStationNames[1], "");
  EXPECT_EQ(f.acars.AcarsStationNames[2], "NOTO");
  EXPECT_EQ(f.acars.AcarsStationNames[27], "Satellite");
}

}  // namespace
