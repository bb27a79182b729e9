// The block pipeline on prepared buffers, decoders idle and the status
// panel hidden: how many seconds of audio one second of CPU gets through.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "audio/audio_state.h"
#include "audio/block_pipeline.h"

namespace {

// The program around the pipeline, doing nothing.
struct IdleLink : BlockPipelineLink {
  bool Running() const override { return true; }
  void DecodeBlock(int, DecoderKind) override {}
  void RestartFrames() override {}
  bool InFrame(int) const override { return false; }
  BlockSymbols HfdlSymbols(int) const override { return {}; }
  void PaintLamp(Lamp, TColor) override {}
  void ShowPicture(AudioPicture, const Bitmap24&) override {}
  bool MonitorOn() const override { return false; }
  bool StatusPanelOn() const override { return false; }
  void ClockStepped() override {}
  void BlockDone() override {}
  void InputEnded() override {}
};

// range(0): WaveRate (0 11025, 1 22050, 2 44100 Hz); range(1): WaveDual.
void BM_ProcessAudioBlock(benchmark::State& state) {
  IdleLink link;
  AudioState audio;
  WaveSettings wave;
  EtcSettings etc;
  FormSettings form;
  ColorSettings color;
  const AudioSettings settings{wave, etc, form, color};
  wave.WaveRate = static_cast<int32_t>(state.range(0));
  wave.WaveDual = static_cast<int32_t>(state.range(1));
  wave.DecoderL = DecoderKind::Hfdl;
  wave.DecoderR = DecoderKind::VhfAcars;
  form.SpectrumRefresh = 1;
  SetSampleRate(audio, wave);

  const int frames = audio.WaveIn.BufferFrames;
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0.0, 2000.0);
  std::vector<std::vector<int16_t>> buffers(16, std::vector<int16_t>(2 * static_cast<size_t>(frames)));
  for (auto& buffer : buffers) {
    for (int16_t& s : buffer) s = static_cast<int16_t>(std::lround(noise(random)));
  }
  size_t next = 0;
  for (auto _ : state) {
    ProcessAudioBlock(audio, settings, link, buffers[next].data(), frames);
    next = (next + 1) % buffers.size();
    benchmark::DoNotOptimize(audio.AudioBlock[0][511]);
  }
  // Every buffer spans 2048/44100 s at every rate.
  state.counters["audio_seconds_per_cpu_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 2048.0 / 44100.0, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ProcessAudioBlock)
    ->ArgNames({"WaveRate", "WaveDual"})
    ->ArgsProduct({{0, 1, 2}, {1, 2}});

}  // namespace

BENCHMARK_MAIN();
