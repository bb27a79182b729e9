// Arbitrary buffers, rates, files, settings and symbols through the
// pipeline, the displays and the monitor: nothing out of bounds, nothing
// undefined, no sample that is not finite (run under the sanitizers as
// well).
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "audio/audio_monitor.h"
#include "audio/block_pipeline.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/spectrum_display.h"
#include "audio_rig.h"
#include "platform/wave_file_source.h"
#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

TEST(AudioFuzz, ArbitraryBuffersSettingsAndSymbolsStayInBounds) {
  std::mt19937 random(12345);
  audio_test::AudioRig rig;
  auto& [audio, wave, etc, form, color, link] = rig;
  audio.WaveIn.Handle = std::make_unique<testing_support::FakeCaptureSource>(testing_support::FakeSourceScript());
  audio.WaveOut.Handle = std::make_unique<platform::NullPlaybackSink>();
  const int rates[] = {11025, 22050, 44100, 0, 8000, 48000, -1};
  const int32_t extremes[] = {0, 1, -1, 40000, -40000, INT_MAX, INT_MIN};
  auto any = [&random](int from, int count) { return static_cast<int>(random() % static_cast<unsigned>(count)) + from; };
  for (int round = 0; round < 400; ++round) {
    audio.SampleRate = rates[random() % 7];
    wave.DecoderL = static_cast<DecoderKind>(any(-2, 7));
    wave.DecoderR = static_cast<DecoderKind>(any(-2, 7));
    wave.WaveDual = any(-1, 5);
    etc.LocalHourOffset = static_cast<int32_t>(random());
    etc.DispTime = any(0, 2);
    etc.DispType = any(0, 2);
    etc.FFTSel = any(-3, 9);
    form.SelCall3D = any(0, 2);
    form.SelCallNR = any(0, 2);
    form.SelCallAN = any(0, 2);
    link.monitorOn = any(0, 2);
    link.inFrame[any(0, 2)] = any(0, 2);
    if (round % 3 == 0) StartAudioMonitor(audio, any(0, 2), any(-3, 7));
    for (int ch = 0; ch < 2; ++ch) {
      link.symbolCount[ch] = any(-200, 1400);
      for (int k = 0; k < 512; ++k) {
        link.symbolI[ch][k] = any(0, 4) ? static_cast<int32_t>(random()) : extremes[random() % 7];
        link.symbolQ[ch][k] = any(0, 4) ? static_cast<int32_t>(random()) : extremes[random() % 7];
      }
    }
    const int frames = any(-100, 5000);
    std::vector<int16_t> buffer(2 * static_cast<size_t>(std::max(frames, 0)) + 1);
    for (int16_t& s : buffer) s = static_cast<int16_t>(random());
    ProcessAudioBlock(audio, rig.Settings(), link, buffer.data(), frames);
    for (int ch = 0; ch < 2; ++ch) {
      for (int k = 0; k < 512; ++k) ASSERT_TRUE(std::isfinite(audio.FilterBlock[ch][k]));
    }
    ASSERT_TRUE(audio.WaveOut.Current >= 0 && audio.WaveOut.Current <= 7);
    for (const LevelMeter& m : audio.InputLevelMeter) ASSERT_TRUE(m.Meter >= 0 && m.Meter <= 54);

    // Deliveries of any size for the open generation.
    audio.WaveIn.BufferFrames = round % 3 ? any(0, 3000) : std::max(frames, 0);
    DeliverWaveInBuffer(audio, rig.Settings(), link,
                        WaveInBuffer(nullptr, audio.WaveIn.Generation, std::vector<int16_t>(buffer), false));
  }
  EXPECT_GE(audio.ProcessedBuffers, 500);
}

TEST(AudioFuzz, DamagedWaveFilesAreRefusedOrRead) {
  testing_support::TempDir dir;
  std::vector<int16_t> samples(4000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i * 31);
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("good.wav"), 22050, 2, samples));
  const std::string good = testing_support::ReadFile(dir.File("good.wav"));
  std::mt19937 random(99);
  for (int round = 0; round < 200; ++round) {
    std::string bytes = good;
    if (round % 2) bytes.resize(random() % bytes.size());
    for (int flips = 0; flips < 4; ++flips) bytes[random() % std::max<size_t>(bytes.size(), 1) % 64] ^= static_cast<char>(random());
    const std::string path = dir.File("damaged.wav");
    testing_support::WriteFile(path, bytes);
    std::string problem;
    auto file = platform::WaveFile::Open(path, problem);
    if (!file) {
      EXPECT_FALSE(problem.empty());
      continue;
    }
    platform::WaveFileCaptureSource source(file, true);
    struct Count : platform::CaptureOutlet {
      bool Offer(std::vector<int16_t>& b, bool) override { return !b.empty(); }
      bool Put(std::vector<int16_t>& b, bool e) override { return Offer(b, e); }
      void Shut() override {}
    };
    const int frames = file->Rate() * 2048 / 44100;
    if (source.Open(file->Rate(), frames, std::make_shared<Count>()) == platform::DeviceOpenResult::Opened) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    source.Close();
  }
}

}  // namespace
