#include "radio/radio_services.h"

#include "app/form1_state.h"

void RadioServices::RefreshFrequencies(Form1State&) {}

RadioServices& DefaultRadioServices() {
  static RadioServices services;
  return services;
}
