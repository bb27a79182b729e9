#include "hfdl/hfdl_services.h"

#include "app/form1_state.h"
#include "hfdl/demodulator.h"
#include "hfdl/hfdl_text.h"

void HfdlServices::DemodulateHfdlBlock(Form1State& form, int channel) { ::DemodulateHfdlBlock(form, channel); }

void HfdlServices::ResetDemodulatorChannel(Form1State& form, int channel) {
  ::ResetDemodulatorChannel(form, channel);
}

void HfdlServices::LoadHfdlSystemTable(Form1State&) {}

void HfdlServices::CountFrame(Form1State&, int, bool) {}

void HfdlServices::ClearRegistrationRows(Form1State&) {}

void HfdlServices::AnalyzeNetworkHfdlFrame(Form1State& form, const std::string& hex) {
  ::AnalyzeNetworkHfdlFrame(form, hex);
}

void HfdlServices::AnalyzeHfdlFrame(Form1State&, const uint8_t*, size_t, int, int) {}

void HfdlServices::OnLogFileEnabled(Form1State& form, const std::string& path) { ::OnLogFileEnabled(form, path); }

HfdlServices& DefaultHfdlServices() {
  static HfdlServices services;
  return services;
}
