#include "app/selcal_wiring.h"

#include "aircraft/reference_data.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "audio/audio_monitor.h"
#include "hfdl/registration.h"
#include "map/map_redraw.h"
#include "platform/jpeg_loader.h"
#include "platform/wave_player.h"

SelcalWiring::SelcalWiring(Form1State& form, FormEffects& effects)
    : form_(form),
      effects_(effects),
      panel_(form.selcal.Panel, form.Etc, form.Form,
             {form.app.SelcalCsvPath, form.app.SelcalWavePath, form.aircraft.Files.PicsFolder}, *this) {}

bool SelcalWiring::MainMonitorDown() const { return form_.controls.SpeedButton17Down != 0; }

void SelcalWiring::SetMainMonitorDown(bool down) {
  form_.controls.SpeedButton17Down = down ? 1 : 0;
  effects_.ControlsChanged();
}

void SelcalWiring::StartAudioMonitor(bool forced, int channel) {
  if (MainMonitorDown()) ::StartAudioMonitor(form_.audio, forced, channel);
}

void SelcalWiring::WriteSilentMonitorBlock() { ::WriteSilentMonitorBlock(form_.audio); }

void SelcalWiring::RedrawAircraftLayer() { RequestRedraw(form_.mapView, {MapLayer::Aircraft}); }

void SelcalWiring::PlaySound(const std::string& path) { platform::PlayWaveAsync(path); }

bool SelcalWiring::LookupAircraftType(const std::string& registration, std::string& type) {
  return ::LookupAircraftType(form_.aircraft.Files, registration, type);
}

std::string SelcalWiring::LookupIcao24Description(const std::string& registration) {
  return ::LookupIcao24Description(form_.hfdl, registration);
}

std::optional<Bitmap24> SelcalWiring::LoadJpeg(const std::string& path, int maxWidth, int maxHeight) {
  return platform::LoadJpeg(path, maxWidth, maxHeight);
}
