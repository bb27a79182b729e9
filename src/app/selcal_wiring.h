#pragma once
// The SELCAL panel wired to the main window: its monitor button, the audio
// monitor, the map's redraws, alert sounds, the reference data and the
// photographs. ReceptionWiring owns one; its sink hands each call in.
#include "selcal/selcal_panel.h"

class FormEffects;
struct Form1State;

class SelcalWiring : public SelcalPanelLink {
 public:
  SelcalWiring(Form1State& form, FormEffects& effects);

  SelcalPanel& Panel() { return panel_; }

  bool MainMonitorDown() const override;
  void SetMainMonitorDown(bool down) override;
  void StartAudioMonitor(bool forced, int channel) override;
  void WriteSilentMonitorBlock() override;
  void RedrawAircraftLayer() override;
  void PlaySound(const std::string& path) override;
  bool LookupAircraftType(const std::string& registration, std::string& type) override;
  std::string LookupIcao24Description(const std::string& registration) override;
  std::optional<Bitmap24> LoadJpeg(const std::string& path, int maxWidth, int maxHeight) override;

 private:
  Form1State& form_;
  FormEffects& effects_;
  SelcalPanel panel_;
};
