// Writes a wave file of HFDL test bursts.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hfdl_frames.h"
#include "hfdl_tx.h"
#include "parse_number.h"

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage: hfdl_txgen [options] OUTPUT.wav\n"
               "  --modes all|LIST     modes 0..7 (300, 600, 1200, 1800 bit/s at 1.8 s, then 4.2 s), e.g. 0,3,7\n"
               "  --payload HEX        the payload octets of every burst (default: random frames)\n"
               "  --count N            bursts per mode (default 1)\n"
               "  --scenario           instead of the modes: a squitter, two log-ons, an ACARS message,\n"
               "                       two position reports and a system table of three parts\n"
               "  --snr DB             white noise, SNR in 3 kHz (default: no noise)\n"
               "  --offset HZ          carrier offset from 1440 Hz\n"
               "  --clock PPM          sample clock error\n"
               "  --rolloff R          pulse roll-off (default 0.35)\n"
               "  --rate HZ            11025, 22050 or 44100 (default 11025)\n"
               "  --stereo L|R         two channels, the bursts on one of them\n"
               "  --invert             turn every burst by 180 degrees\n"
               "  --level RMS          RMS of the noiseless burst (default 3000)\n"
               "  --seed N             random frames and noise (default 1)\n");
}

bool ParseModes(const std::string& text, std::vector<int>& modes) {
  modes.clear();
  if (text == "all") {
    for (int m = 0; m < hfdl_tx::kModeCount; ++m) modes.push_back(m);
    return true;
  }
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t comma = text.find(',', pos);
    if (comma == std::string::npos) comma = text.size();
    long long m = -1;
    if (!ParseNumber(text.substr(pos, comma - pos).c_str(), m) || m < 0 || m >= hfdl_tx::kModeCount) return false;
    modes.push_back(static_cast<int>(m));
    pos = comma + 1;
  }
  return !modes.empty();
}

bool ParseHex(const std::string& text, std::vector<uint8_t>& octets) {
  if (text.size() % 2) return false;
  octets.clear();
  for (size_t n = 0; n < text.size(); n += 2) {
    unsigned v = 0;
    auto r = std::from_chars(text.data() + n, text.data() + n + 2, v, 16);
    if (r.ec != std::errc() || r.ptr != text.data() + n + 2) return false;
    octets.push_back(static_cast<uint8_t>(v));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  hfdl_tx::SignalOptions options;
  std::vector<int> modes = {0};
  std::vector<uint8_t> payload;
  bool fixedPayload = false, invert = false, stereo = false, scenario = false;
  int channel = 0;
  long long count = 1;
  std::string output;

  for (int a = 1; a < argc; ++a) {
    std::string arg = argv[a];
    auto value = [&]() -> const char* {
      if (a + 1 >= argc) {
        std::fprintf(stderr, "hfdl_txgen: %s needs a value\n", arg.c_str());
        std::exit(2);
      }
      return argv[++a];
    };
    long long n = 0;
    bool ok = true;
    if (arg == "--modes") {
      ok = ParseModes(value(), modes);
    } else if (arg == "--payload") {
      ok = ParseHex(value(), payload);
      fixedPayload = true;
    } else if (arg == "--count") {
      ok = ParseNumber(value(), count) && count >= 1 && count <= 1000;
    } else if (arg == "--snr") {
      ok = ParseNumber(value(), options.snrDb);
      options.noise = true;
    } else if (arg == "--offset") {
      ok = ParseNumber(value(), options.offsetHz);
    } else if (arg == "--clock") {
      ok = ParseNumber(value(), options.clockPpm);
    } else if (arg == "--rolloff") {
      ok = ParseNumber(value(), options.rolloff) && options.rolloff > 0.0 && options.rolloff <= 1.0;
    } else if (arg == "--rate") {
      ok = ParseNumber(value(), n) && (n == 11025 || n == 22050 || n == 44100);
      options.sampleRate = static_cast<int>(n);
    } else if (arg == "--stereo") {
      std::string ch = value();
      ok = ch == "L" || ch == "R";
      stereo = true;
      channel = ch == "R" ? 1 : 0;
    } else if (arg == "--level") {
      ok = ParseNumber(value(), options.rms) && options.rms > 0.0;
    } else if (arg == "--scenario") {
      scenario = true;
    } else if (arg == "--invert") {
      invert = true;
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
      std::fprintf(stderr, "hfdl_txgen: bad option or value: %s\n", arg.c_str());
      Usage();
      return 2;
    }
  }
  if (output.empty()) {
    Usage();
    return 2;
  }

  std::mt19937_64 rng(options.seed);
  std::vector<hfdl_tx::Burst> bursts;
  if (scenario) {
    modes.clear();
    for (const hfdl_tx::ScenarioFrame& frame : hfdl_tx::AnalysisScenario()) {
      hfdl_tx::Burst b;
      b.mode = frame.mode;
      b.payload = frame.octets;
      b.invert = invert;
      bursts.push_back(std::move(b));
    }
  }
  for (int m : modes) {
    if (fixedPayload && static_cast<int>(payload.size()) > hfdl_tx::MaxPayloadOctets(m)) {
      std::fprintf(stderr, "hfdl_txgen: mode %d carries at most %d octets\n", m, hfdl_tx::MaxPayloadOctets(m));
      return 2;
    }
    for (long long k = 0; k < count; ++k) {
      hfdl_tx::Burst b;
      b.mode = m;
      b.payload = fixedPayload ? payload : hfdl_tx::BuildFrameForMode(m, rng);
      b.invert = invert;
      bursts.push_back(std::move(b));
    }
  }
  std::vector<double> audio = hfdl_tx::Render(bursts, options);
  std::vector<std::vector<double>> channels = {audio};
  if (stereo) {
    channels.assign(2, std::vector<double>(audio.size(), 0.0));
    channels[channel] = audio;
  }
  std::string error;
  if (!hfdl_tx::WriteWave(output, channels, options.sampleRate, error)) {
    std::fprintf(stderr, "hfdl_txgen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
