// Arbitrary settings, symbols, clock texts and samples through the
// displays and the monitor: nothing out of bounds, nothing undefined, no
// sample that is not finite (run under the sanitizers as well).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "app/form1_state.h"
#include "audio/audio_monitor.h"
#include "audio/audio_services.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/fft_tables.h"
#include "audio/spectrum_display.h"

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
  Form1State form;
  form.audio.SpectrumFft = BuildFftTables();
  form.audio.SpectrumBitmap.Resize(55, 42);
  form.audio.ClockBitmap.Resize(133, 42);
  form.audio.WaveOut.Handle = std::make_unique<platform::NullPlaybackSink>();
  auto* sink = static_cast<platform::NullPlaybackSink*>(form.audio.WaveOut.Handle.get());
  const int32_t extremes[] = {0, 1, -1, 40000, -40000, INT_MAX, INT_MIN};
  for (int round = 0; round < 400; ++round) {
    form.Etc.FFTSel = static_cast<int>(random() % 9) - 3;
    form.Wave.WaveDual = static_cast<int>(random() % 5) - 1;
    form.Wave.DecoderL = static_cast<int>(random() % 7) - 2;
    form.Wave.DecoderR = static_cast<int>(random() % 7) - 2;
    form.Etc.DispType = random() % 2;
    form.hfdl.Channels[random() % 2].Locked = random() % 2;
    form.audio.MonitorForced = random() % 2;
    form.controls.SpeedButton17Down = 1;
    form.audio.MonitorChannel = static_cast<int>(random() % 7) - 3;
    form.Form.SelCall3D = random() % 2;
    form.Form.SelCallNR = random() % 2;
    form.Form.SelCallAN = random() % 2;
    for (int ch = 0; ch < 2; ++ch) {
      for (int k = 0; k < 512; ++k) form.audio.FilterBlock[ch][k] = AnySample(random);
      HfdlBlockSymbolList& s = form.hfdl.HfdlBlockSymbols[ch];
      s.Count = static_cast<int>(random() % 1400) - 200;
      for (int k = 0; k < HfdlBlockSymbolList::kCapacity; ++k) {
        s.I[k] = random() % 4 ? static_cast<int32_t>(random()) : extremes[random() % 7];
        s.Q[k] = random() % 4 ? static_cast<int32_t>(random()) : extremes[random() % 7];
      }
    }
    std::string clock(random() % 12, ' ');
    for (char& c : clock) c = static_cast<char>(random());
    form.audio.ClockCache = clock;

    if (round % 3 == 0) form.svc.audio->StartAudioMonitor(form, random() % 2, form.audio.MonitorChannel);
    form.svc.audio->FeedAudioMonitor(form);
    for (int ch = 0; ch < 2; ++ch) {
      // What the filters leave for the spectrum is finite when they ran.
      if (form.audio.MonitorForced && (form.Form.SelCallNR || form.Form.SelCallAN)) {
        const bool played = form.audio.MonitorChannel == ch || (form.audio.MonitorChannel != 0 && form.audio.MonitorChannel != 1 &&
                                                          (ch == 0 ? form.Wave.DecoderL : form.Wave.DecoderR) == 2);
        if (played) {
          for (int k = 0; k < 512; ++k) ASSERT_TRUE(std::isfinite(form.audio.FilterBlock[ch][k])) << round;
        }
      }
    }
    form.svc.audio->DrawSpectrum(form);
    form.svc.audio->DrawClockFace(form);
    const int frames = static_cast<int>(random() % 2100) - 50;
    std::vector<int16_t> raw(2 * static_cast<size_t>(std::max(frames, 0)) + 1);
    for (int16_t& v : raw) v = static_cast<int16_t>(random());
    form.svc.audio->DrawLevelMeters(form, raw.data(), frames);
    form.svc.audio->DrawConstellation(form);
    ASSERT_GE(form.audio.WaveOut.Current, 0);
    ASSERT_LE(form.audio.WaveOut.Current, 7);
    for (const LevelMeter& m : form.audio.InputLevelMeter) {
      ASSERT_GE(m.Meter, 0);
      ASSERT_LE(m.Meter, 54);
    }
  }
  EXPECT_GE(sink->Blocks.size(), 400u);
}

}  // namespace
