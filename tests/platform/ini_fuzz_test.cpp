// Random bytes and random mixtures of lines through the settings-file
// reader and writer: nothing may crash, loading changes no byte, and a
// second save is identical to the first.
#include <gtest/gtest.h>

#include <random>

#include "app/form1_state.h"
#include "app/settings.h"
#include "platform/ini_file.h"

namespace {

TEST(IniFuzz, RandomInputNeverBreaksReadingOrWriting) {
  static const char* pieces[] = {"[Map]", "[MAP]", "[Etc]", "[", "]", "=", "MaxMapPlot", "MapCentN", "Local",
                                 " ", "\t", "\r\n", "\n", "\r", "; c", "0x", "-", "99999999999", "\x83\x5C",
                                 "\xEF\xBB\xBF", "Language", "1", "abc", ",", ".", "[Color]", "UserColor10",
                                 "FF8000", "gg", "[Net]", "ServerPortNo"};
  std::mt19937 rng(20261206);
  std::uniform_int_distribution<int> byte(0, 255), pick(0, static_cast<int>(std::size(pieces)) - 1), count(0, 200);
  for (int round = 0; round < 1000; ++round) {
    std::string bytes;
    for (int i = 0, n = round % 2 ? count(rng) : round % 300; i < n; ++i) {
      bytes += round % 2 ? std::string(pieces[pick(rng)]) : std::string(1, static_cast<char>(byte(rng)));
    }
    IniFile ini;
    ini.LoadFromBytes(bytes);
    EXPECT_EQ(ini.ToBytes(), bytes) << "round " << round;
    Form1State form;
    LoadSettings(form, ini);
    SaveSettings(form, ini);
    const std::string first = ini.ToBytes();
    IniFile again;
    again.LoadFromBytes(first);
    Form1State reread;
    LoadSettings(reread, again);
    SaveSettings(reread, again);
    ASSERT_EQ(again.ToBytes(), first) << "round " << round;
  }
}

}  // namespace
