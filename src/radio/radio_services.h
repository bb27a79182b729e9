#pragma once
// Operations of receiver control.

struct Form1State;

class RadioServices {
 public:
  virtual ~RadioServices() = default;

  // Rebuilds the HFDL frequency list from the ground-station table and
  // retunes a receiver whose followed station changed.
  virtual void RefreshFrequencies(Form1State& form);
};

RadioServices& DefaultRadioServices();
