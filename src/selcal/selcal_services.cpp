#include "selcal/selcal_services.h"

#include "app/form1_state.h"

void SelcalServices::DecodeSelcalBlock(Form1State&, int) {}

void SelcalServices::ResetSelcalChannel(Form1State&, int) {}

SelcalServices& DefaultSelcalServices() {
  static SelcalServices services;
  return services;
}

void InitSelcalWeights(Form1State&) {}
