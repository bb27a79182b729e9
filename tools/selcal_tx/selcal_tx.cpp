#include "selcal_tx.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace selcal_tx {

const char kLetters[17] = "ABCDEFGHJKLMPQRS";
const double kToneHz[16] = {312.6, 346.7, 384.6, 426.6, 473.2, 524.8, 582.1, 645.7,
                            716.1, 794.3, 881.0, 977.2, 1083.9, 1202.3, 1333.5, 1479.1};

int ToneIndex(char letter) {
  for (int i = 0; i < 16; ++i) {
    if (kLetters[i] == letter) return i;
  }
  return -1;
}

bool ValidCode(const std::string& code) {
  if (code.size() != 4) return false;
  int tones[4];
  for (int i = 0; i < 4; ++i) {
    tones[i] = ToneIndex(code[i]);
    if (tones[i] < 0) return false;
    for (int j = 0; j < i; ++j) {
      if (tones[j] == tones[i]) return false;
    }
  }
  return tones[0] < tones[1] && tones[2] < tones[3];
}

std::string RandomCode(std::mt19937_64& rng) {
  std::vector<int> tones(16);
  for (int i = 0; i < 16; ++i) tones[i] = i;
  std::shuffle(tones.begin(), tones.end(), rng);
  std::sort(tones.begin(), tones.begin() + 2);
  std::sort(tones.begin() + 2, tones.begin() + 4);
  return {kLetters[tones[0]], kLetters[tones[1]], kLetters[tones[2]], kLetters[tones[3]]};
}

std::vector<Call> RandomCalls(int count, double first, double spacing, bool randomTiming, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> pulse(0.75, 1.25), gap(0.1, 0.3), shift(0.0, 0.1);
  std::vector<Call> calls;
  for (int i = 0; i < count; ++i) {
    Call c;
    c.code = RandomCode(rng);
    c.start = first + i * spacing;
    if (randomTiming) {
      c.pulse = pulse(rng);
      c.gap = gap(rng);
      c.start += shift(rng);
    }
    calls.push_back(c);
  }
  return calls;
}

std::vector<double> Signal::channel(int c) const {
  std::vector<double> out(samples.size() / static_cast<size_t>(channels));
  for (size_t i = 0; i < out.size(); ++i) out[i] = samples[i * static_cast<size_t>(channels) + static_cast<size_t>(c)];
  return out;
}

Signal Transmit(const std::vector<Call>& calls, const Options& o) {
  Signal s;
  s.sampleRate = o.sampleRate;
  s.channels = o.stereo ? 2 : 1;
  const double fs = o.sampleRate;
  double end = o.length;
  for (const Call& c : calls) end = std::max(end, c.start + 2 * c.pulse + c.gap + o.tail);
  const size_t frames = static_cast<size_t>(std::ceil(end * fs));
  s.samples.assign(frames * static_cast<size_t>(s.channels), 0.0);

  std::mt19937_64 rng(o.seed);
  std::uniform_real_distribution<double> phase(0.0, 2 * M_PI);
  std::vector<std::vector<bool>> sounding(static_cast<size_t>(s.channels), std::vector<bool>(frames, false));
  for (const Call& c : calls) {
    const int ch = o.stereo ? c.channel : 0;
    for (int pair = 0; pair < 2; ++pair) {
      const size_t first = static_cast<size_t>(std::llround((c.start + pair * (c.pulse + c.gap)) * fs));
      const size_t last = std::min(frames, first + static_cast<size_t>(std::llround(c.pulse * fs)));
      for (int t = 0; t < 2; ++t) {
        const double f = kToneHz[ToneIndex(c.code[static_cast<size_t>(2 * pair + t)])] + o.freqErrorHz;
        const double p0 = o.randomPhases ? phase(rng) : 0.0;
        for (size_t n = first; n < last; ++n) {
          s.samples[n * static_cast<size_t>(s.channels) + static_cast<size_t>(ch)] +=
              o.amplitude * std::sin(2 * M_PI * f * static_cast<double>(n - first) / fs + p0);
          sounding[static_cast<size_t>(ch)][n] = true;
        }
      }
    }
    s.sent.push_back({c.code, ch, c.start + 2 * c.pulse + c.gap});
  }

  double sigma = o.noiseRms;
  if (sigma <= 0.0 && std::isfinite(o.snrDb)) {
    sigma = std::sqrt(o.amplitude * o.amplitude * std::pow(10.0, -o.snrDb / 10.0) * (fs / 2) / 3000.0);
  }
  if (sigma > 0.0) {
    std::normal_distribution<double> noise(0.0, sigma);
    for (size_t n = 0; n < frames; ++n) {
      for (int ch = 0; ch < s.channels; ++ch) {
        const double v = noise(rng);
        if (o.noiseBetweenCalls || sounding[static_cast<size_t>(ch)][n]) {
          s.samples[n * static_cast<size_t>(s.channels) + static_cast<size_t>(ch)] += v;
        }
      }
    }
  }
  return s;
}

bool WriteWave(const std::string& path, const Signal& signal, std::string& error) {
  std::vector<short> pcm(signal.samples.size());
  for (size_t i = 0; i < pcm.size(); ++i) {
    const double v = std::round(signal.samples[i]);
    if (v < -32768.0 || v > 32767.0) {
      error = "the signal exceeds the 16-bit range: lower the amplitude or the noise";
      return false;
    }
    pcm[i] = static_cast<short>(v);
  }
  SF_INFO info{};
  info.samplerate = signal.sampleRate;
  info.channels = signal.channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) {
    error = "can not write " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  const sf_count_t frames = static_cast<sf_count_t>(pcm.size() / static_cast<size_t>(signal.channels));
  const sf_count_t written = sf_writef_short(f, pcm.data(), frames);
  sf_close(f);
  if (written != frames) {
    error = "can not write " + path;
    return false;
  }
  return true;
}

}  // namespace selcal_tx
