#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "platform/file_io.h"

#include "support/test_support.h"

namespace {

// A hand-edited file: CR LF ends, a lower-case header, a comment, an unknown
// key and section, Shift-JIS values holding the trail byte 0x5C ("ソ" 83 5C,
// "表" 95 5C), a key in another case and a value padded with blanks.
const std::string kHandWritten =
    "; my settings\r\n"
    "[map]\r\n"
    "mapcentn =  36,5  \r\n"
    "Foo=\x83\x5C\x95\x5C\r\n"
    "MaxMapPlot=300\r\n"
    "\r\n"
    "[Mine]\r\n"
    "Colour=blue\r\n"
    "[Etc]\r\n"
    "PassList=JL,NH\r\n"
    "SelCallCode=\x83\x5C\x41\x42\r\n";

TEST(Ini, ReadsCaseInsensitivelyWithoutBlanks) {
  IniFile ini;
  ini.LoadFromBytes(kHandWritten);
  EXPECT_EQ(*ini.Read("Map", "MapCentN"), "36,5");
  EXPECT_DOUBLE_EQ(ini.ReadFloat("MAP", "MAPCENTN", 0), 36.5);
  EXPECT_EQ(*ini.Read("Map", "foo"), "\x83\x5C\x95\x5C");
  EXPECT_EQ(ini.ReadString("Etc", "PassList", ""), "JL,NH");
  EXPECT_EQ(ini.ReadInt("Map", "MaxMapPlot", 0), 300);
  EXPECT_FALSE(ini.Read("Map", "Nothing").has_value());
  EXPECT_FALSE(ini.Read("Nowhere", "Foo").has_value());
}

TEST(Ini, WritingBackWhatWasReadKeepsEveryByte) {
  IniFile ini;
  ini.LoadFromBytes(kHandWritten);
  for (const auto& [section, key] : std::vector<std::pair<const char*, const char*>>{
           {"Map", "MapCentN"}, {"Map", "Foo"}, {"Map", "MaxMapPlot"}, {"Mine", "Colour"},
           {"Etc", "PassList"}, {"Etc", "SelCallCode"}}) {
    ini.WriteString(section, key, *ini.Read(section, key));
  }
  EXPECT_EQ(ini.ToBytes(), kHandWritten);
}

TEST(Ini, AChangedValueRewritesOnlyItsLineAndNewKeysJoinTheirSection) {
  IniFile ini;
  ini.LoadFromBytes(kHandWritten);
  ini.WriteFloat("Map", "MapCentN", 36.5);
  ini.WriteInt("MAP", "MapNo", 2);
  ini.WriteString("Net", "Name", "x");
  const std::string expected =
      "; my settings\r\n"
      "[map]\r\n"
      "mapcentn=36.5\r\n"
      "Foo=\x83\x5C\x95\x5C\r\n"
      "MaxMapPlot=300\r\n"
      "MapNo=2\r\n"
      "\r\n"
      "[Mine]\r\n"
      "Colour=blue\r\n"
      "[Etc]\r\n"
      "PassList=JL,NH\r\n"
      "SelCallCode=\x83\x5C\x41\x42\r\n"
      "[Net]\r\n"
      "Name=x\r\n";
  EXPECT_EQ(ini.ToBytes(), expected);
}

TEST(Ini, LongValuesReadAs2047BytesAndSurviveAWriteBack) {
  std::string big(3000, 'a');
  IniFile ini;
  ini.LoadFromBytes("[A]\nK=" + big + "\n");
  ASSERT_EQ(ini.Read("A", "K")->size(), 2047u);
  ini.WriteString("A", "K", *ini.Read("A", "K"));
  EXPECT_EQ(ini.ToBytes(), "[A]\nK=" + big + "\n");
}

TEST(Ini, KeepsTheLineEndsOfTheFile) {
  IniFile lf;
  lf.LoadFromBytes("[A]\nK=1\n");
  lf.WriteInt("A", "L", 2);
  lf.WriteInt("B", "M", 3);
  EXPECT_EQ(lf.ToBytes(), "[A]\nK=1\nL=2\n[B]\nM=3\n");

  IniFile fresh;
  fresh.WriteInt("A", "K", 1);
  EXPECT_EQ(fresh.ToBytes(), "[A]\r\nK=1\r\n");

  IniFile noFinalEnd;
  noFinalEnd.LoadFromBytes("[A]\r\nK=1");
  noFinalEnd.WriteInt("A", "L", 2);
  EXPECT_EQ(noFinalEnd.ToBytes(), "[A]\r\nK=1\r\nL=2\r\n");
}

TEST(Ini, ByteOrderMarkStaysAndIsNotPartOfTheName) {
  IniFile ini;
  ini.LoadFromBytes("\xEF\xBB\xBF[Etc]\r\nLanguage=2\r\n");
  EXPECT_EQ(ini.ReadInt("Etc", "Language", 0), 2);
  ini.WriteInt("Etc", "Language", 1);
  EXPECT_EQ(ini.ToBytes(), "\xEF\xBB\xBF[Etc]\r\nLanguage=1\r\n");
}

TEST(Ini, FirstSectionAndFirstKeyOfANameWin) {
  IniFile ini;
  ini.LoadFromBytes("[A]\nK=1\nK=2\n[a]\nK=3\n");
  EXPECT_EQ(ini.ReadInt("A", "K", 0), 1);
  ini.WriteInt("A", "K", 9);
  EXPECT_EQ(ini.ToBytes(), "[A]\nK=9\nK=2\n[a]\nK=3\n");
}

TEST(Ini, NumbersFollowTheFileRules) {
  IniFile ini;
  ini.LoadFromBytes(
      "[N]\nneg=-5\nhex=0x2710\nHEX=0X1f\nbad=12abc\nempty=\nbig=99999999999\nfloat=36,5\n"
      "dot=-0.25\nfbad=1.2.3\nbool=7\nspaced= 42 \n");
  EXPECT_EQ(ini.ReadInt("N", "neg", 0), -5);
  EXPECT_EQ(ini.ReadInt("N", "hex", 0), 10000);
  EXPECT_EQ(ini.ReadInt("N", "bad", 77), 77);
  EXPECT_EQ(ini.ReadInt("N", "empty", 77), 77);
  EXPECT_EQ(ini.ReadInt("N", "big", 77), 77);
  EXPECT_EQ(ini.ReadInt("N", "spaced", 0), 42);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "float", 0), 36.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "dot", 0), -0.25);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "fbad", 1.5), 1.5);
  EXPECT_TRUE(ini.ReadBool("N", "bool", false));
  EXPECT_EQ(ini.ReadString("N", "empty", "default"), "");
  EXPECT_EQ(ini_numbers::FormatFloat(36.5), "36.5");
  EXPECT_EQ(ini_numbers::FormatFloat(139.0), "139");
  EXPECT_EQ(ini_numbers::FormatFloat(-36.5), "-36.5");
}

TEST(Ini, SaveReplacesTheFileWholeAndFailsCleanly) {
  testing_support::TempDir dir;
  IniFile ini;
  ini.LoadFromBytes("[A]\r\nK=1\r\n");
  ASSERT_TRUE(ini.Save(dir.File("s.ini")));
  EXPECT_EQ(testing_support::ReadFile(dir.File("s.ini")), "[A]\r\nK=1\r\n");
  // A folder standing where the file should be: the write fails, the folder stays.
  ASSERT_EQ(::mkdir(dir.File("folder.ini").c_str(), 0777), 0);
  EXPECT_FALSE(ini.Save(dir.File("folder.ini")));
  // Through a link: the file it names is written, the link stays.
  ASSERT_EQ(::mkdir(dir.File("kept").c_str(), 0777), 0);
  ASSERT_EQ(::symlink(dir.File("kept/real.ini").c_str(), dir.File("link.ini").c_str()), 0);
  testing_support::WriteFile(dir.File("kept/real.ini"), "old");
  ASSERT_TRUE(ini.Save(dir.File("link.ini")));
  EXPECT_EQ(testing_support::ReadFile(dir.File("kept/real.ini")), "[A]\r\nK=1\r\n");
  struct stat st;
  ASSERT_EQ(::lstat(dir.File("link.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  IniFile missing;
  EXPECT_FALSE(missing.Load(dir.File("none.ini")));
  EXPECT_EQ(missing.ToBytes(), "");
}

TEST(Ini, TwoCopiesSavingAtOnceBothSucceedAndTheModeStays) {
  testing_support::TempDir dir;
  const std::string path = dir.File("skarvel.ini");
  testing_support::WriteFile(path, "[A]\r\nK=0\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  // Each copy writes its own whole file, over and over.
  int failures[2] = {};
  auto copy = [&](int n) {
    IniFile ini;
    ini.LoadFromBytes("[A]\r\nK=" + std::string(4000, static_cast<char>('a' + n)) + "\r\n");
    for (int i = 0; i < 300; ++i) failures[n] += ini.Save(path) ? 0 : 1;
  };
  std::thread a(copy, 0), b(copy, 1);
  a.join();
  b.join();
  EXPECT_EQ(failures[0] + failures[1], 0);
  EXPECT_EQ(testing_support::ReadFile(path).size(), 4009u);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(platform::ListFiles(dir.path(), "*"), std::vector<std::string>{"skarvel.ini"});
}

}  // namespace
