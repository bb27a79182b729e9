// Arbitrary buffers, rates and files: nothing reads or writes out of
// bounds (run under the sanitizers as well).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "audio/block_pipeline.h"
#include "audio_rig.h"
#include "platform/wave_file_source.h"
#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

TEST(AudioFuzz, ArbitraryBuffersAndRatesStayInBounds) {
  std::mt19937 random(12345);
  audio_test::AudioRig rig;
  AudioState& audio = rig.audio;
  audio.WaveIn.Handle = std::make_unique<testing_support::FakeCaptureSource>(testing_support::FakeSourceScript());
  const int rates[] = {11025, 22050, 44100, 0, 8000, 48000, -1};
  for (int round = 0; round < 300; ++round) {
    audio.SampleRate = rates[random() % 7];
    rig.wave.DecoderL = static_cast<DecoderKind>(static_cast<int>(random() % 6) - 1);
    rig.wave.DecoderR = static_cast<DecoderKind>(static_cast<int>(random() % 6) - 1);
    rig.wave.WaveDual = static_cast<int>(random() % 5) - 1;
    rig.etc.LocalHourOffset = static_cast<int32_t>(random());
    rig.etc.DispTime = random() % 2;
    rig.etc.DispType = random() % 2;
    rig.etc.FFTSel = static_cast<int>(random() % 5) - 1;
    rig.link.monitorOn = random() % 2;
    const int frames = static_cast<int>(random() % 5000) - 100;
    std::vector<int16_t> buffer(2 * static_cast<size_t>(std::max(frames, 0)) + 1);
    for (int16_t& s : buffer) s = static_cast<int16_t>(random());
    ProcessAudioBlock(audio, rig.Settings(), rig.link, buffer.data(), frames);
    for (int ch = 0; ch < 2; ++ch) {
      for (int k = 0; k < 512; ++k) ASSERT_TRUE(std::isfinite(audio.FilterBlock[ch][k]));
    }
    // Deliveries of any size for the open generation.
    audio.WaveIn.BufferFrames = round % 3 ? static_cast<int>(random() % 3000) : std::max(frames, 0);
    DeliverWaveInBuffer(audio, rig.Settings(), rig.link,
                        WaveInBuffer(nullptr, audio.WaveIn.Generation, std::vector<int16_t>(buffer), false));
  }
  EXPECT_GE(audio.ProcessedBuffers, 400);
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
