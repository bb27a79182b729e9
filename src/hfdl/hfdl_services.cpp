#include "hfdl/hfdl_services.h"

#include "app/form1_state.h"
#include "hfdl/demodulator.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_text.h"
#include "hfdl/reception_stats.h"
#include "hfdl/registration.h"

void HfdlServices::DemodulateHfdlBlock(Form1State& form, int channel) { ::DemodulateHfdlBlock(form, channel); }

void HfdlServices::ResetDemodulatorChannel(Form1State& form, int channel) { ::ResetDemodulatorChannel(form, channel); }

void HfdlServices::LoadHfdlSystemTable(Form1State& form) { ::LoadHfdlSystemTable(form); }

void HfdlServices::CountFrame(Form1State& form, int modeCode, bool failed) { ::CountFrame(form, modeCode, failed); }

void HfdlServices::ClearRegistrationRows(Form1State& form) { ::ClearRegistrationRows(form); }

void HfdlServices::AnalyzeNetworkHfdlFrame(Form1State& form, const std::string& hex) {
  ::AnalyzeNetworkHfdlFrame(form, hex);
}

void HfdlServices::AnalyzeHfdlFrame(Form1State& form, const uint8_t* bits, size_t bitCount, int modeCode, int channel) {
  ::AnalyzeHfdlFrame(form, bits, bitCount, modeCode, channel);
}

std::string HfdlServices::LookupIcao24Description(Form1State& form, const std::string& registration) {
  return ::LookupIcao24Description(form, registration);
}

void HfdlServices::OnLogFileEnabled(Form1State& form, const std::string& path) { ::OnLogFileEnabled(form, path); }

HfdlServices& DefaultHfdlServices() {
  static HfdlServices services;
  return services;
}
