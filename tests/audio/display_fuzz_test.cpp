// Arbitrary settings, symbols, clock texts and samples through the
// displays and the monitor: nothing out of bounds, nothing undefined, no
// sample that is not finite (run under the sanitizers as well).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "audio/audio_monitor.h"
#include "audio/audio_state.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/fft_tables.h"
#include "audio/spectrum_display.h"
#include "support/recording_links.h"

namespace {

double AnySample(std::mt19937& random) {
  switch (random() % 12) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return 1e300;
    default: return static_cast<int16_t>(random()) * 1.5;
  }
}

TEST(DisplayFuzz, ArbitraryStateDrawsAndPlaysWithinBounds) {
  std::mt19937 random(2024);
  AudioState audio;
  WaveSettings wave;
  EtcSettings etc;
  FormSettings form;
  ColorSettings color;
  testing_support::RecordingAudioLink link;
  audio.SpectrumFft = BuildFftTables();
  audio.SpectrumBitmap.Resize(55, 42);
  audio.ClockBitmap.Resize(133, 42);
  audio.WaveOut.Handle = std::make_unique<platform::NullPlaybackSink>();
  auto* sink = static_cast<platform::NullPlaybackSink*>(audio.WaveOut.Handle.get());
  const int32_t extremes[] = {0, 1, -1, 40000, -40000, INT_MAX, INT_MIN};
  for (int round = 0; round < 400; ++round) {
    etc.FFTSel = static_cast<int>(random() % 9) - 3;
    wave.WaveDual = static_cast<int>(random() % 5) - 1;
    wave.DecoderL = static_cast<DecoderKind>(static_cast<int>(random() % 7) - 2);
    wave.DecoderR = static_cast<DecoderKind>(static_cast<int>(random() % 7) - 2);
    etc.DispType = random() % 2;
    link.inFrame[random() % 2] = random() % 2;
    audio.MonitorForced = random() % 2;
    audio.MonitorChannel = static_cast<int>(random() % 7) - 3;
    form.SelCall3D = random() % 2;
    form.SelCallNR = random() % 2;
    form.SelCallAN = random() % 2;
    for (int ch = 0; ch < 2; ++ch) {
      for (int k = 0; k < 512; ++k) audio.FilterBlock[ch][k] = AnySample(random);
      link.symbolCount[ch] = static_cast<int>(random() % 1400) - 200;
      for (int k = 0; k < 512; ++k) {
        link.symbolI[ch][k] = random() % 4 ? static_cast<int32_t>(random()) : extremes[random() % 7];
        link.symbolQ[ch][k] = random() % 4 ? static_cast<int32_t>(random()) : extremes[random() % 7];
      }
    }
    std::string clock(random() % 12, ' ');
    for (char& c : clock) c = static_cast<char>(random());
    audio.ClockCache = clock;

    if (round % 3 == 0) StartAudioMonitor(audio, random() % 2, audio.MonitorChannel);
    FeedAudioMonitor(audio, wave, form);
    for (int ch = 0; ch < 2; ++ch) {
      // What the filters leave for the spectrum is finite when they ran.
      if (audio.MonitorForced && (form.SelCallNR || form.SelCallAN)) {
        const bool played = audio.MonitorChannel == ch || (audio.MonitorChannel != 0 && audio.MonitorChannel != 1 &&
                                                           wave.Decoder(ch) == DecoderKind::Selcal);
        if (played) {
          for (int k = 0; k < 512; ++k) ASSERT_TRUE(std::isfinite(audio.FilterBlock[ch][k])) << round;
        }
      }
    }
    DrawSpectrum(audio, wave, etc, link);
    DrawClockFace(audio, color);
    const int frames = static_cast<int>(random() % 2100) - 50;
    std::vector<int16_t> raw(2 * static_cast<size_t>(std::max(frames, 0)) + 1);
    for (int16_t& v : raw) v = static_cast<int16_t>(random());
    DrawLevelMeters(audio, wave, color, link, raw.data(), frames);
    DrawConstellation(audio, etc, color, link);
    ASSERT_GE(audio.WaveOut.Current, 0);
    ASSERT_LE(audio.WaveOut.Current, 7);
    for (const LevelMeter& m : audio.InputLevelMeter) {
      ASSERT_GE(m.Meter, 0);
      ASSERT_LE(m.Meter, 54);
    }
  }
  EXPECT_GE(sink->Blocks.size(), 400u);
}

}  // namespace
