#include "hfdl_tx.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace hfdl_tx {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSymbolRate = 1800.0;
constexpr double kCarrier = 1440.0;
constexpr int kPulseSpan = 8;        // symbols each side
constexpr int kPulseSteps = 4096;    // table points per symbol

bool LongInterleave(int mode) { return mode >= 4; }
int RateIndex(int mode) { return mode % 4; }
int BitsPerSymbol(int mode) { return RateIndex(mode) == 3 ? 3 : RateIndex(mode) == 2 ? 2 : 1; }

std::vector<uint8_t> Lfsr(const char* seed, std::initializer_list<int> taps, int length) {
  std::vector<uint8_t> b;
  for (const char* p = seed; *p; ++p) b.push_back(static_cast<uint8_t>(*p - '0'));
  while (static_cast<int>(b.size()) < length) {
    uint8_t v = 0;
    for (int t : taps) v ^= b[b.size() - t];
    b.push_back(v);
  }
  return b;
}

std::complex<double> Bpsk(uint8_t bit) { return bit ? -1.0 : 1.0; }

// Root-raised-cosine of unit symbol period.
double RootRaisedCosine(double t, double beta) {
  if (std::fabs(t) < 1e-12) return 1.0 - beta + 4.0 * beta / kPi;
  if (std::fabs(std::fabs(t) - 1.0 / (4.0 * beta)) < 1e-12) {
    return beta / std::sqrt(2.0) *
           ((1.0 + 2.0 / kPi) * std::sin(kPi / (4.0 * beta)) + (1.0 - 2.0 / kPi) * std::cos(kPi / (4.0 * beta)));
  }
  double f = 4.0 * beta * t;
  return (std::sin(kPi * t * (1.0 - beta)) + f * std::cos(kPi * t * (1.0 + beta))) / (kPi * t * (1.0 - f * f));
}

class PulseTable {
 public:
  explicit PulseTable(double beta) : values_(2 * kPulseSpan * kPulseSteps + 2) {
    for (size_t n = 0; n < values_.size(); ++n) {
      double t = static_cast<double>(n) / kPulseSteps - kPulseSpan;
      values_[n] = RootRaisedCosine(t, beta);
    }
  }
  // t in symbol periods, |t| <= kPulseSpan.
  double operator()(double t) const {
    double x = (t + kPulseSpan) * kPulseSteps;
    size_t n = static_cast<size_t>(x);
    if (n + 1 >= values_.size()) return 0.0;
    double f = x - static_cast<double>(n);
    return values_[n] + f * (values_[n + 1] - values_[n]);
  }

 private:
  std::vector<double> values_;
};

int Parity(unsigned v) { return __builtin_popcount(v) & 1; }

void AppendOctetBits(std::vector<uint8_t>& bits, uint8_t octet) {
  for (int b = 0; b < 8; ++b) bits.push_back(static_cast<uint8_t>((octet >> b) & 1));
}

void AppendCrc(std::vector<uint8_t>& frame, size_t first) {
  uint16_t crc = Crc16(frame.data() + first, frame.size() - first);
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
}

uint8_t RandomOctet(std::mt19937_64& rng) { return static_cast<uint8_t>(rng() & 0xFF); }

}  // namespace

int InformationBits(int mode) {
  static constexpr int kBits[kModeCount] = {540, 1080, 2160, 3240, 1260, 2520, 5040, 7560};
  return kBits[mode];
}

int MaxPayloadOctets(int mode) { return (InformationBits(mode) - 6) / 8; }

int InterleaverColumns(int mode) {
  static constexpr int kColumns[kModeCount] = {54, 54, 108, 162, 126, 126, 252, 378};
  return kColumns[mode];
}

int Segments(int mode) { return LongInterleave(mode) ? 168 : 72; }

const char* ModeName(int mode) {
  static constexpr const char* kNames[kModeCount] = {
      "BPSK 300bits/s 1.8s ", "BPSK 600bits/s 1.8s ", "QPSK 1200bits/s 1.8s", "8PSK 1800bits/s 1.8s",
      "BPSK 300bits/s 4.2s ", "BPSK 600bits/s 4.2s ", "QPSK 1200bits/s 4.2s", "8PSK 1800bits/s 4.2s"};
  return kNames[mode];
}

std::vector<uint8_t> SequenceA() { return Lfsr("0101101", {1, 4, 6, 7}, 127); }

std::vector<uint8_t> SequenceM1() { return Lfsr("0111011", {1, 2, 3, 7}, 127); }

std::vector<uint8_t> ModeBits(int mode) {
  static constexpr int kStart[kModeCount] = {72, 82, 113, 123, 61, 103, 93, 9};
  std::vector<uint8_t> m1 = SequenceM1(), out;
  for (int i = 0; i < 142; ++i) out.push_back(m1[(kStart[mode] + i) % 127]);
  return out;
}

std::vector<uint8_t> SequenceT() {
  std::vector<uint8_t> t;
  for (char c : std::string("000100110101111")) t.push_back(static_cast<uint8_t>(c - '0'));
  return t;
}

std::vector<uint8_t> ScramblerBits() {
  unsigned reg = 0x6959;  // b0 is bit 0
  std::vector<uint8_t> out;
  for (int k = 0; k < 120; ++k) {
    unsigned v = (reg ^ (reg >> 14)) & 1u;
    out.push_back(static_cast<uint8_t>(v));
    reg = (reg >> 1) | (v << 14);
  }
  return out;
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& bits) {
  unsigned r = 0;  // the last seven bits, newest in bit 0
  std::vector<uint8_t> out;
  out.reserve(2 * bits.size());
  for (uint8_t b : bits) {
    r = ((r << 1) | (b & 1u)) & 0x7F;
    out.push_back(static_cast<uint8_t>(Parity(r & 0x6D)));
    out.push_back(static_cast<uint8_t>(Parity(r & 0x4F)));
  }
  return out;
}

std::vector<uint8_t> Interleave(const std::vector<uint8_t>& codeBits, int columns, int k) {
  std::vector<uint8_t> matrix(codeBits.size());  // [row][column]
  auto cell = [columns](int row, int column) { return static_cast<size_t>(row) * columns + column; };
  for (size_t p = 0; p < codeBits.size(); ++p) {
    int c = static_cast<int>(p / 40), i = static_cast<int>(p % 40);
    matrix[cell((9 * i) % 40, c)] = codeBits[p];
  }
  std::vector<uint8_t> sent(codeBits.size());
  for (size_t j = 0; j < codeBits.size(); ++j) {
    long long column = (static_cast<long long>(j / 40) - static_cast<long long>(k) * static_cast<long long>(j)) % columns;
    if (column < 0) column += columns;
    sent[j] = matrix[cell(static_cast<int>(j % 40), static_cast<int>(column))];
  }
  return sent;
}

std::vector<uint8_t> InformationBitsOf(const std::vector<uint8_t>& payload, int mode) {
  std::vector<uint8_t> bits;
  for (uint8_t o : payload) AppendOctetBits(bits, o);
  bits.resize(static_cast<size_t>(InformationBits(mode)), 0);
  return bits;
}

std::vector<std::complex<double>> BurstSymbols(int mode, const std::vector<uint8_t>& payload, bool invert) {
  std::vector<std::complex<double>> s(kPrekeySymbols, 1.0);
  std::vector<uint8_t> a = SequenceA(), m = ModeBits(mode), t = SequenceT();
  for (int rep = 0; rep < 2; ++rep)
    for (uint8_t b : a) s.push_back(Bpsk(b));
  for (uint8_t b : m) s.push_back(Bpsk(b));
  for (int rep = 0; rep < 9; ++rep)
    for (uint8_t b : t) s.push_back(Bpsk(b));

  std::vector<uint8_t> code = Encode(InformationBitsOf(payload, mode));
  if (RateIndex(mode) == 0) {
    std::vector<uint8_t> twice;
    for (uint8_t b : code) twice.insert(twice.end(), 2, b);
    code = twice;
  }
  std::vector<uint8_t> sent = Interleave(code, InterleaverColumns(mode), LongInterleave(mode) ? 23 : 17);
  const int bps = BitsPerSymbol(mode);
  const int points = 1 << bps;
  std::vector<std::complex<double>> data;
  for (size_t j = 0; j + bps <= sent.size(); j += bps) {
    unsigned label = 0;
    for (int b = 0; b < bps; ++b) label = (label << 1) | sent[j + b];
    unsigned index = 0;  // inverse Gray code
    for (unsigned g = label; g; g >>= 1) index ^= g;
    double phase = 2.0 * kPi * index / points;
    data.emplace_back(std::cos(phase), std::sin(phase));
  }
  std::vector<uint8_t> scrambler = ScramblerBits();
  for (size_t k = 0; k < data.size(); ++k) {
    if (scrambler[k % 120]) data[k] = -data[k];
  }
  for (int seg = 0; seg < Segments(mode); ++seg) {
    s.insert(s.end(), data.begin() + 30 * seg, data.begin() + 30 * seg + 30);
    for (uint8_t b : t) s.push_back(Bpsk(b));
  }
  if (invert) {
    for (auto& v : s) v = -v;
  }
  return s;
}

std::vector<double> Render(const std::vector<Burst>& bursts, const SignalOptions& o) {
  const double T = 1.0 / kSymbolRate;
  const double gap = 1.0;
  const PulseTable pulse(o.rolloff);

  struct Placed {
    std::vector<std::complex<double>> symbols;
    double start = 0.0;  // time of symbol 0
    double scale = 1.0;
  };
  std::vector<Placed> placed;
  double t0 = gap + kPulseSpan * T;
  for (const Burst& b : bursts) {
    Placed p;
    p.symbols = BurstSymbols(b.mode, b.payload, b.invert);
    p.start = t0;
    t0 += (p.symbols.size() - 1) * T + 2 * kPulseSpan * T + gap;
    placed.push_back(std::move(p));
  }
  const double total = t0 - kPulseSpan * T;
  const double step = (1.0 + o.clockPpm * 1e-6) / o.sampleRate;
  const size_t count = static_cast<size_t>(std::ceil(total / step));
  std::vector<double> audio(count, 0.0);

  auto envelope = [&](const Placed& p, double t) {
    double u = (t - p.start) / T;  // in symbol periods
    long first = static_cast<long>(std::ceil(u - kPulseSpan));
    long last = static_cast<long>(std::floor(u + kPulseSpan));
    first = std::max(first, 0L);
    last = std::min(last, static_cast<long>(p.symbols.size()) - 1);
    std::complex<double> e = 0.0;
    for (long k = first; k <= last; ++k) e += p.symbols[k] * pulse(u - k);
    return e;
  };

  for (Placed& p : placed) {
    const double begin = p.start - kPulseSpan * T;
    const double end = p.start + (p.symbols.size() - 1 + kPulseSpan) * T;
    const double measureFrom = p.start + (kPrekeySymbols - 0.5) * T;
    size_t n0 = static_cast<size_t>(std::ceil(begin / step));
    size_t n1 = std::min(count, static_cast<size_t>(std::floor(end / step)) + 1);
    double power = 0.0;
    size_t measured = 0;
    std::vector<double> burst(n1 - n0);
    for (size_t n = n0; n < n1; ++n) {
      double t = n * step;
      std::complex<double> e = envelope(p, t);
      double phase = 2.0 * kPi * (kCarrier + o.offsetHz) * t;
      double v = e.real() * std::cos(phase) - e.imag() * std::sin(phase);
      burst[n - n0] = v;
      if (t >= measureFrom) {
        power += v * v;
        ++measured;
      }
    }
    p.scale = o.rms / std::sqrt(power / std::max<size_t>(measured, 1));
    for (size_t n = n0; n < n1; ++n) audio[n] += burst[n - n0] * p.scale;
  }

  if (o.noise) {
    std::mt19937_64 rng(o.seed);
    std::normal_distribution<double> gauss(0.0, 1.0);
    double variance = o.rms * o.rms * std::pow(10.0, -o.snrDb / 10.0) * (o.sampleRate / 2.0) / 3000.0;
    double sigma = std::sqrt(variance);
    for (double& v : audio) v += sigma * gauss(rng);
  }
  return audio;
}

bool WriteWave(const std::string& path, const std::vector<std::vector<double>>& channels, int sampleRate,
               std::string& error) {
  if (channels.empty() || channels.size() > 2) {
    error = "one or two channels";
    return false;
  }
  const size_t frames = channels[0].size();
  std::vector<short> interleaved;
  interleaved.reserve(frames * channels.size());
  for (size_t n = 0; n < frames; ++n) {
    for (const auto& ch : channels) {
      double v = n < ch.size() ? std::round(ch[n]) : 0.0;
      if (v > 32767.0 || v < -32768.0) {
        error = "the signal would clip; lower the level or the noise";
        return false;
      }
      interleaved.push_back(static_cast<short>(v));
    }
  }
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = static_cast<int>(channels.size());
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) {
    error = std::string("can not write ") + path + ": " + sf_strerror(nullptr);
    return false;
  }
  sf_count_t written = sf_writef_short(f, interleaved.data(), static_cast<sf_count_t>(frames));
  sf_close(f);
  if (written != static_cast<sf_count_t>(frames)) {
    error = "short write to " + path;
    return false;
  }
  return true;
}

uint16_t Crc16(const uint8_t* data, size_t count) {
  uint16_t crc = 0xFFFF;
  for (size_t n = 0; n < count; ++n) {
    crc ^= data[n];
    for (int b = 0; b < 8; ++b) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0x8408) : static_cast<uint16_t>(crc >> 1);
  }
  return static_cast<uint16_t>(~crc);
}

std::vector<uint8_t> BuildSquitter(std::mt19937_64& rng) {
  std::vector<uint8_t> f;
  for (int n = 0; n < 64; ++n) f.push_back(RandomOctet(rng));
  f[0] &= 0xFE;  // bit 0: 0 = SPDU
  AppendCrc(f, 0);
  return f;
}

std::vector<uint8_t> BuildDownlinkMpdu(int octets, std::mt19937_64& rng) {
  // Header 6 + N octets and its CRC, then N LPDUs of S + 1 octets (S <= 255),
  // each S - 1 octets and a check sequence.
  int lpdus = 1;
  while (octets - 8 - lpdus > 256 * lpdus) ++lpdus;
  const int body = octets - 8 - lpdus;
  std::vector<int> sizes;
  for (int k = 0; k < lpdus; ++k) sizes.push_back(body / lpdus + (k < body % lpdus ? 1 : 0));

  std::vector<uint8_t> f;
  uint8_t first = static_cast<uint8_t>(0x01 | 0x02 | (lpdus << 2));
  if (Parity(first) == 0) first |= 0x80;  // octet 0 holds an odd number of ones
  f.push_back(first);
  f.push_back(RandomOctet(rng));  // GS ID and UTC flag
  f.push_back(RandomOctet(rng));  // aircraft ID
  for (int n = 0; n < 3; ++n) f.push_back(RandomOctet(rng));
  for (int size : sizes) f.push_back(static_cast<uint8_t>(size - 1));  // S
  AppendCrc(f, 0);
  for (int size : sizes) {
    size_t start = f.size();
    for (int n = 0; n < size - 2; ++n) f.push_back(RandomOctet(rng));
    AppendCrc(f, start);
  }
  return f;
}

std::vector<uint8_t> BuildFrameForMode(int mode, std::mt19937_64& rng) {
  if (mode == 0) return BuildSquitter(rng);
  return BuildDownlinkMpdu(MaxPayloadOctets(mode), rng);
}

}  // namespace hfdl_tx
