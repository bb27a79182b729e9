#pragma once
// A SELCAL transmitter for tests, written from the ARINC 714 tone table
// alone (it shares nothing with the decoder, so a shared mistake cannot
// hide): a call is two pairs of tones of equal amplitude, each pair two of
// the sixteen tones A..S, with a short gap between the pairs.
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace selcal_tx {

// The tone letters, A..S without I, N and O, and their frequencies in Hz.
extern const char kLetters[17];
extern const double kToneHz[16];

// The tone index of a letter, -1 for none.
int ToneIndex(char letter);
// Four different tone letters, each pair in alphabetical order.
bool ValidCode(const std::string& code);
std::string RandomCode(std::mt19937_64& rng);

struct Call {
  std::string code;
  double start = 0.0;  // seconds, the first pair's first sample
  double pulse = 1.0;  // seconds of each pair, 0.75..1.25
  double gap = 0.2;    // seconds between the pairs, 0.1..0.3
  int channel = 0;     // in a stereo signal
};

// count calls of random valid codes, the first at first seconds and one
// every spacing seconds; with randomTiming each has its own pulse
// (0.75-1.25 s) and gap (0.1-0.3 s) and starts at a random sample within
// 0.1 s of its place.
std::vector<Call> RandomCalls(int count, double first, double spacing, bool randomTiming, std::mt19937_64& rng);

struct Options {
  int sampleRate = 11025;
  bool stereo = false;
  double amplitude = 3000.0;  // of each tone, in raw 16-bit units
  // White Gaussian noise: by the SNR of a pair in 3 kHz (variance
  // A^2 x 10^(-SNR/10) x (fs/2)/3000), or of this RMS when above 0.
  double snrDb = std::numeric_limits<double>::infinity();
  double noiseRms = 0.0;
  bool noiseBetweenCalls = true;  // false: noise only while a call sounds
  double freqErrorHz = 0.0;       // added to every tone, as a mistuned receiver does
  bool randomPhases = false;
  uint64_t seed = 1;
  double tail = 1.0;              // seconds after the last call ends
  double length = 0.0;            // seconds at least, whatever the calls
};

struct Sent {
  std::string code;
  int channel = 0;
  double end = 0.0;  // seconds: when the second pair ends
};

struct Signal {
  int sampleRate = 11025;
  int channels = 1;
  std::vector<double> samples;  // interleaved when stereo
  std::vector<Sent> sent;
  std::vector<double> channel(int c) const;
};

Signal Transmit(const std::vector<Call>& calls, const Options& options);
// 16-bit PCM through libsndfile; refuses samples beyond the 16-bit range.
bool WriteWave(const std::string& path, const Signal& signal, std::string& error);

}  // namespace selcal_tx
