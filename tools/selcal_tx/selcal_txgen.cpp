// Writes a wave file of SELCAL calls and prints each code with the time
// its second pair ends.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "selcal_tx.h"
#include "parse_number.h"

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage: selcal_txgen [options] OUTPUT.wav\n"
               "  --call CODE@SECONDS  a call starting at that time, e.g. ABCD@3 (repeatable); a code is four\n"
               "                       different letters of ABCDEFGHJKLMPQRS, each pair in alphabetical order\n"
               "  --random N           N random valid codes instead, one every --spacing seconds from --first,\n"
               "                       each with its own pair length (0.75-1.25 s) and gap (0.1-0.3 s)\n"
               "  --first S            the first random call (default 1)\n"
               "  --spacing S          between random calls (default 8)\n"
               "  --pulse S            each pair's length, 0.75..1.25 (default 1.0)\n"
               "  --gap S              between the pairs, 0.1..0.3 (default 0.2)\n"
               "  --amplitude A        each tone, in 16-bit units (default 3000)\n"
               "  --snr DB             white Gaussian noise, SNR of a pair in 3 kHz (default: no noise)\n"
               "  --noise-rms R        white Gaussian noise of this RMS instead\n"
               "  --noise-calls-only   no noise between calls\n"
               "  --freq-error HZ      added to every tone, as a mistuned receiver does\n"
               "  --random-phases      each tone starts at a random phase\n"
               "  --tail S             after the last call (default 1)\n"
               "  --length S           the whole file at least (default: to the tail)\n"
               "  --rate HZ            11025, 22050 or 44100 (default 11025)\n"
               "  --stereo L|R         two channels, the calls on one of them\n"
               "  --seed N             random codes, timing, phases and noise (default 1)\n");
}

bool ParseCall(const std::string& text, selcal_tx::Call& call) {
  const size_t at = text.find('@');
  if (at == std::string::npos) return false;
  call.code = text.substr(0, at);
  return selcal_tx::ValidCode(call.code) && ParseNumber(text.c_str() + at + 1, call.start) && call.start >= 0.0;
}

bool Within(double v, double low, double high) { return v >= low && v <= high; }

}  // namespace

int main(int argc, char** argv) {
  selcal_tx::Options options;
  std::vector<selcal_tx::Call> calls;
  long long randomCount = 0;
  int channel = 0;
  double first = 1.0, spacing = 8.0, pulse = 1.0, gap = 0.2;
  std::string output;

  for (int a = 1; a < argc; ++a) {
    std::string arg = argv[a];
    auto value = [&]() -> const char* {
      if (a + 1 >= argc) {
        std::fprintf(stderr, "selcal_txgen: %s needs a value\n", arg.c_str());
        std::exit(2);
      }
      return argv[++a];
    };
    long long n = 0;
    bool ok = true;
    if (arg == "--call") {
      selcal_tx::Call call;
      ok = ParseCall(value(), call);
      calls.push_back(call);
    } else if (arg == "--random") {
      ok = ParseNumber(value(), randomCount) && randomCount >= 1 && randomCount <= 100000;
    } else if (arg == "--first") {
      ok = ParseNumber(value(), first) && first >= 0.0;
    } else if (arg == "--spacing") {
      ok = ParseNumber(value(), spacing) && spacing >= 3.0;
    } else if (arg == "--pulse") {
      ok = ParseNumber(value(), pulse) && Within(pulse, 0.75, 1.25);
    } else if (arg == "--gap") {
      ok = ParseNumber(value(), gap) && Within(gap, 0.1, 0.3);
    } else if (arg == "--amplitude") {
      ok = ParseNumber(value(), options.amplitude) && Within(options.amplitude, 0.0, 16383.0);
    } else if (arg == "--snr") {
      ok = ParseNumber(value(), options.snrDb);
    } else if (arg == "--noise-rms") {
      ok = ParseNumber(value(), options.noiseRms) && options.noiseRms >= 0.0;
    } else if (arg == "--noise-calls-only") {
      options.noiseBetweenCalls = false;
    } else if (arg == "--freq-error") {
      ok = ParseNumber(value(), options.freqErrorHz) && Within(options.freqErrorHz, -200.0, 200.0);
    } else if (arg == "--random-phases") {
      options.randomPhases = true;
    } else if (arg == "--tail") {
      ok = ParseNumber(value(), options.tail) && options.tail >= 0.0;
    } else if (arg == "--length") {
      ok = ParseNumber(value(), options.length) && Within(options.length, 0.0, 86400.0);
    } else if (arg == "--rate") {
      ok = ParseNumber(value(), n) && (n == 11025 || n == 22050 || n == 44100);
      options.sampleRate = static_cast<int>(n);
    } else if (arg == "--stereo") {
      const std::string ch = value();
      ok = ch == "L" || ch == "R";
      options.stereo = true;
      channel = ch == "R" ? 1 : 0;
    } else if (arg == "--seed") {
      ok = ParseNumber(value(), n) && n >= 0;
      options.seed = static_cast<uint64_t>(n);
    } else if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    } else if (!arg.empty() && arg[0] != '-' && output.empty()) {
      output = arg;
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "selcal_txgen: bad option or value: %s\n", arg.c_str());
      Usage();
      return 2;
    }
  }
  if (output.empty() || (calls.empty() && randomCount == 0 && options.length <= 0.0)) {
    Usage();
    return 2;
  }
  for (selcal_tx::Call& c : calls) {
    c.pulse = pulse;
    c.gap = gap;
  }
  if (randomCount > 0) {
    std::mt19937_64 rng(options.seed);
    calls = selcal_tx::RandomCalls(static_cast<int>(randomCount), first, spacing, true, rng);
  }
  for (selcal_tx::Call& c : calls) c.channel = channel;

  const selcal_tx::Signal signal = selcal_tx::Transmit(calls, options);
  std::string error;
  if (!selcal_tx::WriteWave(output, signal, error)) {
    std::fprintf(stderr, "selcal_txgen: %s\n", error.c_str());
    return 1;
  }
  for (const selcal_tx::Sent& s : signal.sent) std::printf("%s %.3f\n", s.code.c_str(), s.end);
  return 0;
}
