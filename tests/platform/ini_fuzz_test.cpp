// Random bytes and random mixtures of lines through the settings-file
// reader and writer: nothing may crash, and a second save is identical to
// the first.
#include <gtest/gtest.h>

#include <random>

#include "app/form1_state.h"
#include "app/settings.h"
#include "platform/ini_file.h"

namespace {

std::string RandomLines(std::mt19937& rng) {
  static const char* pieces[] = {"[Map]", "[MAP]", "[Etc]", "[", "]", "=", "MaxMapPlot", "MapCentN", "Local",
                                 " ", "\t", "\r\n", "\n", "\r", "; c", "0x", "-", "99999999999", "\x83\x5C",
                                 "\xEF\xBB\xBF", "Language", "1", "abc", ",", ".", "[Color]", "UserColor10",
                                 "FF8000", "gg", "[Net]", "ServerPortNo"};
  std::uniform_int_distribution<int> count(0, 200);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(pieces)) - 1);
  std::string s;
  int n = count(rng);
  for (int i = 0; i < n; ++i) s += pieces[pick(rng)];
  return s;
}

TEST(IniFuzz, RandomInputNeverBreaksReadingOrWriting) {
  std::mt19937 rng(20261206);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 1000; ++round) {
    std::string bytes;
    if (round % 2 == 0) {
      int n = round % 300;
      for (int i = 0; i < n; ++i) bytes += static_cast<char>(byte(rng));
    } else {
      bytes = RandomLines(rng);
    }
    IniFile ini;
    ini.LoadFromBytes(bytes);
    EXPECT_EQ(ini.ToBytes(), bytes) << "round " << round;
    Form1State form;
    LoadSettings(form, ini);
    SaveSettings(form, ini);
    std::string first = ini.ToBytes();
    IniFile again;
    again.LoadFromBytes(first);
    Form1State reread;
    LoadSettings(reread, again);
    SaveSettings(reread, again);
    ASSERT_EQ(again.ToBytes(), first) << "round " << round;
  }
}

}  // namespace
