#include "app/form1_state.h"

#include "acars/acars_services.h"
#include "aircraft/aircraft_services.h"
#include "app/form_effects.h"
#include "app/settings.h"
#include "exchange/exchange_services.h"
#include "hfdl/hfdl_services.h"
#include "map/map_services.h"
#include "platform/ini_file.h"
#include "radio/radio_services.h"
#include "selcal/selcal_services.h"

Form1Services::Form1Services()
    : acars(&DefaultAcarsServices()),
      aircraft(&DefaultAircraftServices()),
      map(&DefaultMapServices()),
      exchange(&DefaultExchangeServices()),
      selcal(&DefaultSelcalServices()),
      radio(&DefaultRadioServices()),
      hfdl(&DefaultHfdlServices()),
      effects(&FormEffects::Null()) {}

FormEffects& FormEffects::Null() {
  static FormEffects none;
  return none;
}

Form1State::Form1State() { LoadSettings(*this, IniFile()); }
