// Writes a wave file of VHF ACARS bursts, for trying the decoder by hand.
//
//   acars_tx --out FILE [--rate 11025|22050|44100] [--stereo] [--snr DB]
//            [--offset X] [--phase RAD] [--seed N] [--gap S] [--etb] [--ch 0|1]
//            --down MODE REG LABEL BLOCKID MSGNO FLIGHT TEXT
//            --up MODE REG LABEL BLOCKID TEXT  ...
//
// Options before a message apply to it (--etb, --ch, --gap) or to the file.
// In TEXT, "\r" and "\n" stand for CR and LF.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "acars_test_transmitter.h"
#include "parse_number.h"

namespace {

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 'r' || s[i + 1] == 'n')) {
      out += s[i + 1] == 'r' ? '\r' : '\n';
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

int Usage() {
  std::fprintf(stderr,
               "usage: acars_tx --out FILE [--rate HZ] [--stereo] [--snr DB] [--offset X] [--phase RAD]\n"
               "                [--seed N] [--gap S] [--etb] [--ch 0|1]\n"
               "                --down MODE REG LABEL BLOCKID MSGNO FLIGHT TEXT | --up MODE REG LABEL BLOCKID TEXT ...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  acars_tx::Options options;
  std::vector<acars_tx::Burst> bursts;
  std::string out;
  bool etb = false;
  int channel = 0;
  double gap = 0.05;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto need = [&](int n) { return i + n < argc; };
    if (a == "--out" && need(1)) {
      out = argv[++i];
    } else if (a == "--rate" && need(1)) {
      if (!ParseNumber(argv[++i], options.sampleRate)) return Usage();
    } else if (a == "--stereo") {
      options.stereo = true;
    } else if (a == "--snr" && need(1)) {
      if (!ParseNumber(argv[++i], options.snrDb)) return Usage();
    } else if (a == "--offset" && need(1)) {
      if (!ParseNumber(argv[++i], options.rateOffset)) return Usage();
    } else if (a == "--phase" && need(1)) {
      if (!ParseNumber(argv[++i], options.startPhase)) return Usage();
    } else if (a == "--seed" && need(1)) {
      if (!ParseNumber(argv[++i], options.seed)) return Usage();
    } else if (a == "--gap" && need(1)) {
      if (!ParseNumber(argv[++i], gap)) return Usage();
    } else if (a == "--etb") {
      etb = true;
    } else if (a == "--ch" && need(1)) {
      if (!ParseNumber(argv[++i], channel)) return Usage();
    } else if ((a == "--down" && need(7)) || (a == "--up" && need(5))) {
      acars_tx::Message m;
      m.downlink = a == "--down";
      m.mode = argv[++i][0];
      m.registration = argv[++i];
      m.label = argv[++i];
      m.blockId = argv[++i][0];
      if (m.downlink) {
        m.msgNo = argv[++i];
        m.flightId = argv[++i];
      }
      m.text = Unescape(argv[++i]);
      m.etx = !etb;
      bursts.push_back({m, channel, gap});
      etb = false;
    } else {
      return Usage();
    }
  }
  if (out.empty() || bursts.empty()) return Usage();
  if (options.sampleRate != 11025 && options.sampleRate != 22050 && options.sampleRate != 44100) return Usage();
  const acars_tx::Signal signal = acars_tx::Transmit(bursts, options);
  if (!acars_tx::WriteWave(out, signal)) {
    std::fprintf(stderr, "acars_tx: can not write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
