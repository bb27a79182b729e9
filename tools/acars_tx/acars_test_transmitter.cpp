#include "acars_test_transmitter.h"

#include <sndfile.h>

#include <cmath>
#include <random>

namespace acars_tx {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr char kSoh = 0x01, kStx = 0x02, kEtx = 0x03, kEtb = 0x17, kSyn = 0x16, kDel = 0x7F;

std::string Registration7(const std::string& r) {
  if (r.size() >= 7) return r.substr(0, 7);
  return std::string(7 - r.size(), '.') + r;
}

}  // namespace

std::string BlockBody(const Message& m) {
  std::string b;
  b += m.mode;
  b += Registration7(m.registration);
  b += m.ack;
  b += m.label.substr(0, 2);
  b += m.blockId;
  b += kStx;
  if (m.downlink) b += m.msgNo + m.flightId;
  b += m.text;
  b += m.etx ? kEtx : kEtb;
  return b;
}

std::string BlockCharacters(const Message& m) {
  return std::string{'+', '*', kSyn, kSyn, kSoh} + BlockBody(m);
}

uint8_t WithOddParity(uint8_t c) {
  c &= 0x7F;
  int ones = 0;
  for (int i = 0; i < 7; ++i) ones += (c >> i) & 1;
  return ones % 2 == 0 ? static_cast<uint8_t>(c | 0x80) : c;
}

uint16_t BlockCheck(const std::string& bytes) {
  uint16_t crc = 0;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0x8408) : crc >> 1;
  }
  return crc;
}

std::vector<int> OnAirBits(const Message& m, int preKeyBits) {
  std::vector<int> bits(static_cast<size_t>(preKeyBits), 1);
  auto put = [&](uint8_t byte) {
    for (int i = 0; i < 8; ++i) bits.push_back((byte >> i) & 1);
  };
  for (char c : std::string{'+', '*', kSyn, kSyn, kSoh}) put(WithOddParity(static_cast<uint8_t>(c)));
  std::string covered;
  for (char c : BlockBody(m)) covered += static_cast<char>(WithOddParity(static_cast<uint8_t>(c)));
  for (char c : covered) put(static_cast<uint8_t>(c));
  const uint16_t bcs = BlockCheck(covered);
  put(static_cast<uint8_t>(bcs & 0xFF));
  put(static_cast<uint8_t>(bcs >> 8));
  put(WithOddParity(kDel));
  return bits;
}

std::vector<double> Signal::channel(int c) const {
  std::vector<double> out;
  out.reserve(samples.size() / channels);
  for (size_t i = static_cast<size_t>(c); i < samples.size(); i += static_cast<size_t>(channels)) out.push_back(samples[i]);
  return out;
}

Signal Transmit(const std::vector<Burst>& bursts, const Options& o) {
  Signal s;
  s.sampleRate = o.sampleRate;
  s.channels = o.stereo ? 2 : 1;
  const double fs = o.sampleRate;
  const double scale = 1.0 + o.rateOffset;
  const double rate = 2400.0 * scale;
  // Each channel's bursts follow one another; the channels run side by side.
  std::vector<double> lane[2];
  for (const Burst& b : bursts) {
    const int c = o.stereo ? (b.channel & 1) : 0;
    std::vector<double>& out = lane[c];
    out.resize(out.size() + static_cast<size_t>(std::lround(b.gapBefore * fs)), 0.0);
    const std::vector<int> bits = OnAirBits(b.message, o.preKeyBits);
    // Phase at the start of each bit: a tone of 1200 Hz where the bit
    // differs from the one before, 2400 Hz where it repeats.
    std::vector<double> freq(bits.size());
    std::vector<double> phaseAt(bits.size() + 1);
    int previous = 1;
    phaseAt[0] = o.startPhase;
    for (size_t k = 0; k < bits.size(); ++k) {
      freq[k] = (bits[k] != previous ? 1200.0 : 2400.0) * scale;
      previous = bits[k];
      phaseAt[k + 1] = phaseAt[k] + 2.0 * kPi * freq[k] / rate;
    }
    const double duration = bits.size() / rate;
    const size_t count = static_cast<size_t>(std::floor(duration * fs));
    for (size_t n = 0; n < count; ++n) {
      const double t = n / fs;
      size_t k = static_cast<size_t>(t * rate);
      if (k >= bits.size()) k = bits.size() - 1;
      const double phase = phaseAt[k] + 2.0 * kPi * freq[k] * (t - k / rate);
      out.push_back(o.amplitude * std::cos(phase));
    }
    s.sent.push_back(BlockCharacters(b.message));
  }
  const size_t tail = static_cast<size_t>(std::lround(o.tailSeconds * fs));
  const size_t frames = std::max(lane[0].size(), lane[1].size()) + tail;
  s.samples.assign(frames * static_cast<size_t>(s.channels), 0.0);
  for (int c = 0; c < s.channels; ++c) {
    for (size_t i = 0; i < lane[c].size(); ++i) s.samples[i * static_cast<size_t>(s.channels) + c] = lane[c][i];
  }
  if (std::isfinite(o.snrDb)) {
    // Signal power over the noise power inside 2400 Hz of a white noise
    // that fills 0 .. fs/2.
    const double signalPower = o.amplitude * o.amplitude / 2.0;
    const double variance = signalPower * (fs / 2.0) / (2400.0 * std::pow(10.0, o.snrDb / 10.0));
    std::mt19937 gen(o.seed);
    std::normal_distribution<double> noise(0.0, std::sqrt(variance));
    for (double& x : s.samples) x += noise(gen);
  }
  return s;
}

bool WriteWave(const std::string& path, const Signal& signal) {
  SF_INFO info{};
  info.samplerate = signal.sampleRate;
  info.channels = signal.channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return false;
  sf_command(f, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  const sf_count_t frames = static_cast<sf_count_t>(signal.samples.size() / static_cast<size_t>(signal.channels));
  const bool ok = sf_writef_double(f, signal.samples.data(), frames) == frames;
  return sf_close(f) == 0 && ok;
}

bool ReadWave(const std::string& path, Signal& signal) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return false;
  signal.sampleRate = info.samplerate;
  signal.channels = info.channels;
  signal.samples.assign(static_cast<size_t>(info.frames * info.channels), 0.0);
  const bool ok = sf_readf_double(f, signal.samples.data(), info.frames) == info.frames;
  sf_close(f);
  return ok;
}

}  // namespace acars_tx
