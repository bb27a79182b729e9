#include "selcal/selcal_services.h"

#include "app/form1_state.h"

void SelcalServices::DecodeSelcalBlock(Form1State&, int) {}

void SelcalServices::ResetSelcalChannel(Form1State&, int) {}

void SelcalServices::DisableTimer1(Form1State&) {}

SelcalServices& DefaultSelcalServices() {
  static SelcalServices services;
  return services;
}

void InitSelcalWeights(Form1State&) {}
