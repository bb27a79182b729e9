// Alert sounds played through ALSA's null device, a card that stays silent.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/wave_player.h"
#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

TEST(WavePlayer, PlaysInTheBackgroundAndANewSoundReplacesTheOld) {
  testing_support::TempDir dir;
  // "default" is the null device; ALSA reads this before its first use.
  testing_support::WriteFile(dir.File("null.conf"), "pcm.!default { type null }\n");
  setenv("ALSA_CONFIG_PATH", dir.File("null.conf").c_str(), 1);
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("long.wav"), 11025, 1, std::vector<int16_t>(11025 * 30, 1000)));
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("short.wav"), 22050, 2, std::vector<int16_t>(2 * 2205, -1000)));
  const auto started = std::chrono::steady_clock::now();
  platform::PlayWaveAsync(dir.File("long.wav"));
  if (!platform::WavePlaying()) GTEST_SKIP() << "ALSA knows no null device here";
  platform::PlayWaveAsync(dir.File("short.wav"));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
  EXPECT_TRUE(testing_support::PumpUntil([] { return !platform::WavePlaying(); }));  // the 30 s one went too
  platform::PlayWaveAsync(dir.File("null.conf"));  // no sound
  EXPECT_FALSE(platform::WavePlaying());
  // A damaged header's rate of 2^31 - 1 Hz: the null device would take it,
  // with a ring and chunks of gigabytes.
  std::string huge = testing_support::ReadFile(dir.File("short.wav"));
  for (size_t i : {24, 28}) huge.replace(i, 4, std::string("\xFF\xFF\xFF\x7F", 4));
  testing_support::WriteFile(dir.File("huge.wav"), huge);
  platform::PlayWaveAsync(dir.File("huge.wav"));
  EXPECT_FALSE(platform::WavePlaying());
}

}  // namespace
