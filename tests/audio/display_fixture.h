#pragma once
// A main-form state with the FFT tables and the two bitmaps made as at
// start-up, whose shown pictures, ACARS block flags and redraws are
// recorded.
#include <cmath>
#include <string>
#include <vector>

#include "acars/acars_services.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "audio/fft_tables.h"

namespace audio_test {

constexpr TColor kBlack = 0x000000;
constexpr TColor kYellow = 0x00FFFF;

// Three distinct clock colours; the lit and unlit ones are the defaults.
constexpr TColor kBack = 0x102030;
constexpr TColor kLit = 0xFF8000;    // "FF8000": blue FF, green 80, red 00
constexpr TColor kUnlit = 0x603000;  // "603000"

class DisplayFixture {
 public:
  DisplayFixture() {
    form.audio.SpectrumFft = BuildFftTables();
    form.selcal.SelcalFft = BuildFftTables();
    form.audio.SpectrumBitmap.Resize(55, 42);
    form.audio.SpectrumBitmap.Fill(0);
    form.audio.ClockBitmap.Resize(133, 42);
    form.Color.ClockBack = kBack;
    form.Color.ClockText = kLit;
    form.Color.LineColor1 = kUnlit;
    form.audio.ClockBitmap.Fill(form.Color.ClockBack);
    effects_.owner = this;
    acars_.owner = this;
    form.svc.effects = &effects_;
    form.svc.acars = &acars_;
  }

  // A bin-centred sine of the given amplitude on a channel's FilterBlock.
  void Tone(int channel, int bin, double amplitude) {
    for (int n = 0; n < 512; ++n) form.audio.FilterBlock[channel][n] = amplitude * std::sin(2.0 * M_PI * bin * n / 512.0);
  }

  Form1State form;
  std::vector<std::string> shown;  // "Image5", "Image6" in order
  bool acarsInBlock[2] = {false, false};

 private:
  struct Effects : FormEffects {
    DisplayFixture* owner;
    void SetControlPicture(int formNumber, const std::string& name, const Bitmap24&) override {
      if (formNumber == 1) owner->shown.push_back(name);
    }
  } effects_;
  struct Acars : AcarsServices {
    DisplayFixture* owner;
    bool InBlock(const Form1State&, int channel) override { return owner->acarsInBlock[channel]; }
  } acars_;
};

}  // namespace audio_test
