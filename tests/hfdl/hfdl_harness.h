#pragma once
// Recording fakes for the services HFDL reception calls, and a form that
// runs the chain from samples to bits with no window.
#include <memory>
#include <string>
#include <vector>

#include "acars/acars_services.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "exchange/exchange_services.h"
#include "hfdl/hfdl_services.h"
#include "selcal/selcal_services.h"

namespace hfdl_test {

struct AnalyzedFrame {
  std::vector<uint8_t> bits;
  int modeCode = -1;
  int channel = -1;
  std::string sourceTag;
  std::string analysisText;  // TextBuffers[4] when the frame was analysed
  double freqError = 0.0;     // its last "Frequency Error" line
  std::string errorRatio;
};

// Everything the HFDL code calls out to, in the order it was called.
class Recorder : public HfdlServices,
                 public ExchangeServices,
                 public AcarsServices,
                 public SelcalServices,
                 public FormEffects {
 public:
  void AnalyzeHfdlFrame(Form1State& form, const uint8_t* bits, size_t bitCount, int modeCode, int channel) override;
  void SendToServer(Form1State& form, const std::string& text) override;
  void SendToAllClients(Form1State& form, const std::string& text) override;
  void RefreshTextWindow(Form1State& form) override;
  void TrimTextBuffer(Form1State& form, int kind) override;
  void ResetAcarsChannel(Form1State& form, int channel) override;
  void ResetSelcalChannel(Form1State& form, int channel) override;
  void PaintLamp(Lamp lamp, TColor colour) override;

  std::vector<AnalyzedFrame> frames;
  std::vector<std::string> calls;  // "analyze", "server <text>", "clients <text>", ...
  std::vector<std::pair<Lamp, TColor>> lamps;
};

// A form with both channels at their start state and every service the
// HFDL code uses pointing at the recorder.
std::unique_ptr<Form1State> MakeForm(Recorder& recorder);

// Feeds samples in blocks of 512 (the last block padded with zeros).
// Counts the most symbols any block produced.
int FeedChannel(Form1State& form, int channel, const std::vector<double>& samples);

// Every check sequence of a decoded frame holds: a squitter's CRC, or a
// downlink MPDU's header CRC and the CRC of each of its LPDUs.
bool FrameChecksPass(const std::vector<uint8_t>& bits, bool squitter);

// The "Frequency Error = ..." lines of the analysis text, as numbers.
std::vector<double> FrequencyErrors(const std::string& analysisText);

}  // namespace hfdl_test
