#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "platform/file_io.h"
#include "support/test_support.h"

namespace {

IniFile Parse(const std::string& bytes) {
  IniFile ini;
  ini.LoadFromBytes(bytes);
  return ini;
}

// Each line is kept as read, with its line end, the byte order mark apart
// from the names; the first section and key of a name win, and a new key
// joins the end of its section. Each file gets K one up and a new L.
TEST(Ini, ChangesKeepEveryOtherByte) {
  const std::pair<std::string, std::string> cases[] = {
      {"[A]\nK=1\n", "[A]\nK=2\nL=2\n"},
      {"", "[A]\r\nK=1\r\nL=2\r\n"},
      {"[A]\r\nK=1", "[A]\r\nK=2\r\nL=2\r\n"},
      {"[X]\nK=1\n", "[X]\nK=1\n[A]\nK=1\nL=2\n"},
      {"\xEF\xBB\xBF[a]\r\nk=1\r\n", "\xEF\xBB\xBF[a]\r\nk=2\r\nL=2\r\n"},
      {"[A]\nK=1\nK=5\n\n[a]\nK=7\n", "[A]\nK=2\nK=5\nL=2\n\n[a]\nK=7\n"},
  };
  for (const auto& [file, expected] : cases) {
    IniFile ini = Parse(file);
    ini.WriteInt("A", "K", ini.ReadInt("A", "K", 0) + 1);
    ini.WriteInt("A", "L", 2);
    EXPECT_EQ(ini.ToBytes(), expected) << file;
  }
  // A value is read as 2047 bytes; written back, the line stays whole.
  const std::string longLine = "[A]\nK=" + std::string(3000, 'a') + "\n";
  IniFile ini = Parse(longLine);
  EXPECT_EQ(ini.Read("A", "K")->size(), 2047u);
  ini.WriteString("A", "K", *ini.Read("A", "K"));
  EXPECT_EQ(ini.ToBytes(), longLine);
}

// A save replaces the file whole: two copies saving at once both succeed
// and leave one whole file with its mode; a link stays and the file it
// names is written; a folder in the way fails the save.
TEST(Ini, SaveReplacesTheFileWholeAndFailsCleanly) {
  testing_support::TempDir dir;
  const std::string path = dir.File("skarvel.ini");
  testing_support::WriteFile(path, "[A]\r\nK=0\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  int failures[2] = {};
  auto copy = [&](int n) {
    const IniFile ini = Parse("[A]\r\nK=" + std::string(4000, static_cast<char>('a' + n)) + "\r\n");
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

  const IniFile ini = Parse("[A]\r\nK=1\r\n");
  ASSERT_EQ(::mkdir(dir.File("kept").c_str(), 0777), 0);
  ASSERT_EQ(::symlink(dir.File("kept/real.ini").c_str(), dir.File("link.ini").c_str()), 0);
  testing_support::WriteFile(dir.File("kept/real.ini"), "old");
  ASSERT_TRUE(ini.Save(dir.File("link.ini")));
  EXPECT_EQ(testing_support::ReadFile(dir.File("kept/real.ini")), "[A]\r\nK=1\r\n");
  ASSERT_EQ(::lstat(dir.File("link.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_FALSE(ini.Save(dir.File("kept")));
  IniFile missing;
  EXPECT_FALSE(missing.Load(dir.File("none.ini")));
  EXPECT_EQ(missing.ToBytes(), "");
}

}  // namespace
