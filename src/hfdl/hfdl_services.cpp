#include "hfdl/hfdl_services.h"

#include "app/form1_state.h"

void HfdlServices::DemodulateHfdlBlock(Form1State&, int) {}

void HfdlServices::ResetDemodulatorChannel(Form1State&, int) {}

void HfdlServices::LoadHfdlSystemTable(Form1State&) {}

void HfdlServices::CountFrame(Form1State&, int, bool) {}

void HfdlServices::ClearRegistrationRows(Form1State&) {}

void HfdlServices::AnalyzeNetworkHfdlFrame(Form1State&, const std::string&) {}

void HfdlServices::OnLogFileEnabled(Form1State&, const std::string&) {}

HfdlServices& DefaultHfdlServices() {
  static HfdlServices services;
  return services;
}
