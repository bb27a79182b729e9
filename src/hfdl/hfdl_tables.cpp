#include "hfdl/hfdl_tables.h"

#include <charconv>
#include <cmath>

#include "platform/kaiser_window.h"

namespace {

constexpr double kSampleRate = 11025.0;

constexpr std::array<double, 33> kEqualizerSyncTaps = {
    -0.713269223092539, -0.224902587704327, 0.208666472706945,
    0.428046762519233, 0.42515547361555, 0.21288207701942,
    -0.0758238003992672, -0.28881519092436, -0.385016388162771,
    -0.196790809748823, 0.0363448924011138, 0.501849463512059,
    0.675730530529722, 0.935350523646133, 0.663103325533711,
    0.545940042337024, 0.986783638229101, -0.157380818096809,
    -0.517705091704721, -0.358293824165428, -0.359812606315592,
    -0.0226923114804431, 0.0758911541238255, 0.24991980305556,
    0.178826850470195, 0.094544138302808, -0.0684058410414942,
    -0.180471344355369, -0.203392721795564, -0.136599194054892,
    0.0186744967857456, 0.16865746367886, 0.310156298349306,
};

constexpr int8_t kProbe[15] = {-1, -1, -1, +1, -1, -1, +1, +1, -1, +1, -1, +1, +1, +1, +1};

constexpr const char kPreamble[] =
    "0101101110111100011101000101011100000011110110011000100100111001111100100000100011010101001101101001010000101100001100101111111";

constexpr const char* kModeRows[8] = {
    "0110000010101011010010010100111100100011010100001111111011101101111010001011001011111000100000011001101100011100111010111000010011000001010101",
    "1010110100100101001111001000110101000011111110111011011110100010110010111110001000000110011011000111001110101110000100110000010101011010010010",
    "1010000111111101110110111101000101100101111100010000001100110110001110011101011100001001100000101010110100100101001111001000110101000011111110",
    "1111011101101111010001011001011111000100000011001101100011100111010111000010011000001010101101001001010011110010001101010000111111101110110111",
    "1011100001001100000101010110100100101001111001000110101000011111110111011011110100010110010111110001000000110011011000111001110101110000100110",
    "1001000110101000011111110111011011110100010110010111110001000000110011011000111001110101110000100110000010101011010010010100111100100011010100",
    "0010100111100100011010100001111111011101101111010001011001011111000100000011001101100011100111010111000010011000001010101101001001010011110010",
    "1110100010110010111110001000000110011011000111001110101110000100110000010101011010010010100111100100011010100001111111011101101111010001011001",
};

constexpr const char kScrambler[] =
    "000100110001101111000100001001010000111110001100000101011110111111001101011010101110110010011001011011100010001101101000";

// The signs of the soft values of each point, from -135 degrees up to 180
// degrees. The mixer mirrors the constellation, so these run against the air-interface
// labels: this is what makes 8PSK frames decode.
constexpr int8_t k8pskSoftValues[8][3] = {
    {-1, -1, -1}, {+1, -1, -1}, {+1, -1, +1}, {+1, +1, +1},
    {+1, +1, -1}, {-1, +1, -1}, {-1, +1, +1}, {-1, -1, +1},
};

void FillBits(const char* text, uint8_t* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(text[i] - '0');
}

HfdlTables Build() {
  HfdlTables t;
  const double beta = KaiserBeta40dB();
  const double i0beta = BesselI0(beta);
  for (int k = 0; k < 51; ++k) {
    int m = k - 25;
    double h = m == 0 ? 4800.0 / kSampleRate
                      : (std::sin(2.0 * M_PI * 2640.0 * m / kSampleRate) - std::sin(2.0 * M_PI * 240.0 * m / kSampleRate)) /
                            (M_PI * m);
    double r = static_cast<double>(m) / 25.0;
    double w = BesselI0(beta * std::sqrt(1.0 - r * r)) / i0beta;
    t.HfdlBandPassTaps[k] = RoundToNineDigits(h * w);
  }
  const double rolloff = 0.5;
  for (int k = 0; k < 49; ++k) {
    int m = k - 24;
    double x = m / 4.0;
    double v;
    if (m == 0) {
      v = 0.25 + 1.0 / M_PI;
    } else if (m == 2 || m == -2) {
      // The limit where 4*rolloff*x = 1.
      v = 0.5 * rolloff / std::sqrt(2.0) *
          ((1.0 + 2.0 / M_PI) * std::sin(M_PI / (4.0 * rolloff)) + (1.0 - 2.0 / M_PI) * std::cos(M_PI / (4.0 * rolloff)));
    } else {
      double f = 4.0 * rolloff * x;
      v = 0.5 * (std::sin(M_PI * x * (1.0 - rolloff)) + 4.0 * rolloff * x * std::cos(M_PI * x * (1.0 + rolloff))) /
          (M_PI * x * (1.0 - f * f));
    }
    t.HfdlBasebandTaps[k] = v;
  }
  t.EqualizerSyncTaps = kEqualizerSyncTaps;
  for (int i = 0; i < 15; ++i) t.HfdlProbeSequence[i] = kProbe[i];
  FillBits(kPreamble, t.HfdlPreambleSequence.data(), 127);
  FillBits(kPreamble, t.HfdlPreambleSequence.data() + 127, 127);
  for (int m = 0; m < 8; ++m) FillBits(kModeRows[m], t.HfdlModeSequences[m], 142);
  FillBits(kScrambler, t.HfdlScramblerSequence.data(), 120);
  for (int r = 0; r < 8; ++r)
    for (int i = 0; i < 3; ++i) t.Hfdl8pskGrayTable[r][i] = k8pskSoftValues[r][i];
  return t;
}

}  // namespace

double RoundToNineDigits(double v) {
  char buf[64];
  auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 8).ptr;
  double r = 0.0;
  std::from_chars(buf, end, r);
  return r;
}

// Computed, not the rounded 3.3953: the ninth digit of the taps depends on it.
const HfdlTables& GetHfdlTables() {
  static const HfdlTables tables = Build();
  return tables;
}
