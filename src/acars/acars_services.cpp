#include "acars/acars_services.h"

#include "app/form1_state.h"

void AcarsServices::DemodulateAcarsBlock(Form1State&, int) {}

void AcarsServices::ParseAcarsBlock(Form1State&, const uint8_t*, size_t, int, AcarsEndFlag, AcarsSource) {}

void AcarsServices::TrimTextBuffer(Form1State&, int) {}

int AcarsServices::FindLatestAircraft(Form1State&) { return 0; }

bool AcarsServices::InBlock(const Form1State&, int) { return false; }

void AcarsServices::ResetAcarsChannel(Form1State&, int) {}

void AcarsServices::SetAcarsDownlink(Form1State&, bool) {}

AcarsServices& DefaultAcarsServices() {
  static AcarsServices services;
  return services;
}

void InitAcarsDemodulator(Form1State&) {}

void InitAcarsStores(Form1State&) {}
