#include "app/form1_state.h"

#include "app/form_effects.h"
#include "app/settings.h"
#include "platform/ini_file.h"

FormEffects& FormEffects::Null() {
  static FormEffects none;
  return none;
}

Form1State::Form1State() { LoadSettings(*this, IniFile()); }
