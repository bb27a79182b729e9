#include "hfdl_harness.h"

#include <algorithm>
#include <charconv>

#include "hfdl/crc.h"
#include "hfdl/demodulator.h"

namespace hfdl_test {

void Recorder::AnalyzeHfdlFrame(Form1State& form, const uint8_t* bits, size_t bitCount, int modeCode, int channel) {
  AnalyzedFrame f;
  f.bits.assign(bits, bits + bitCount);
  f.modeCode = modeCode;
  f.channel = channel;
  f.sourceTag = form.app.SourceTag;
  if (channel == 0 || channel == 1) f.errorRatio = form.hfdl.ErrorRatioText[channel];
  f.analysisText = form.text.TextBuffers[kHfdlAna];
  std::vector<double> errors = FrequencyErrors(f.analysisText);
  if (!errors.empty()) f.freqError = errors.back();
  frames.push_back(std::move(f));
  calls.push_back("analyze");
}

void Recorder::SendToServer(Form1State&, const std::string& text) { calls.push_back("server " + text); }

void Recorder::SendToAllClients(Form1State&, const std::string& text) { calls.push_back("clients " + text); }

void Recorder::RefreshTextWindow(Form1State&) { calls.push_back("refresh"); }

void Recorder::TrimTextBuffer(Form1State&, int kind) { calls.push_back("trim " + std::to_string(kind)); }

void Recorder::ResetAcarsChannel(Form1State&, int channel) { calls.push_back("acars reset " + std::to_string(channel)); }

void Recorder::ResetSelcalChannel(Form1State&, int channel) {
  calls.push_back("selcal reset " + std::to_string(channel));
}

void Recorder::PaintLamp(Lamp lamp, TColor colour) { lamps.emplace_back(lamp, colour); }

std::unique_ptr<Form1State> MakeForm(Recorder& recorder) {
  auto form = std::make_unique<Form1State>();
  for (HfdlChannelState& s : form->hfdl.Channels) InitHfdlChannel(s);
  form->svc.hfdl = &recorder;
  form->svc.exchange = &recorder;
  form->svc.acars = &recorder;
  form->svc.selcal = &recorder;
  form->svc.effects = &recorder;
  form->Txt.TxtLog = 0;
  return form;
}

int FeedChannel(Form1State& form, int channel, const std::vector<double>& samples) {
  int most = 0;
  for (size_t n = 0; n < samples.size(); n += 512) {
    size_t take = std::min<size_t>(512, samples.size() - n);
    std::fill(form.audio.AudioBlock[channel], form.audio.AudioBlock[channel] + 512, 0.0);
    std::copy(samples.begin() + n, samples.begin() + n + take, form.audio.AudioBlock[channel]);
    DemodulateHfdlBlock(form, channel);
    most = std::max(most, form.hfdl.HfdlBlockSymbols[channel].Count);
  }
  return most;
}

bool FrameChecksPass(const std::vector<uint8_t>& bits, bool squitter) {
  if (squitter) return CheckCrc16Bits(bits.data(), bits.size(), 0, 64);
  auto octet = [&bits](int k) {
    int v = 0;
    for (int b = 0; b < 8; ++b) v |= (bits[8 * k + b] & 1) << b;
    return v;
  };
  const int lpdus = (octet(0) >> 2) & 15;
  if (lpdus == 0 || !CheckCrc16Bits(bits.data(), bits.size(), 0, 6 + lpdus)) return false;
  int position = 8 + lpdus;
  for (int k = 0; k < lpdus; ++k) {
    int size = octet(6 + k);
    if (!CheckCrc16Bits(bits.data(), bits.size(), position, size - 1)) return false;
    position += size + 1;
  }
  return true;
}

std::vector<double> FrequencyErrors(const std::string& text) {
  std::vector<double> out;
  const std::string key = "Frequency Error = ";
  for (size_t pos = text.find(key); pos != std::string::npos; pos = text.find(key, pos + 1)) {
    size_t start = pos + key.size();
    if (start < text.size() && text[start] == '+') ++start;
    double v = 0.0;
    std::from_chars(text.data() + start, text.data() + text.size(), v);
    out.push_back(v);
  }
  return out;
}

}  // namespace hfdl_test
