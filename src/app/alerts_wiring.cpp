#include "app/alerts_wiring.h"

#include "app/form1_state.h"
#include "app/form_effects.h"
#include "platform/wave_player.h"

namespace {

constexpr int kWatchListForm = 2;
constexpr int kMessageSearchForm = 28;

}  // namespace

AlertsWiring::AlertsWiring(Form1State& form, FormEffects& effects, const MailTimings& timings)
    : form_(form),
      effects_(effects),
      mailer_(std::make_unique<HitMailer>(form.watchList.Mail, form.Mail, *this, timings)) {}

AlertsWiring::~AlertsWiring() = default;

WatchListFiles AlertsWiring::WatchFiles() const {
  return {form_.app.SearchCsvPath, form_.app.WaveFilePath, form_.text.SearchLogPath(), form_.aircraft.Files};
}

bool AlertsWiring::WatchListShowing() const { return effects_.FormShowing(kWatchListForm); }

void AlertsWiring::ShowWatchList() { effects_.ShowForm(kWatchListForm, false); }

void AlertsWiring::PlayWave(const std::string& path) { platform::PlayWaveAsync(path); }

void AlertsWiring::SendHitMail(const HitMailArgs& args) { mailer_->SendHitMail(args); }

void AlertsWiring::ShowMessageSearch() { effects_.ShowForm(kMessageSearchForm, false); }

bool AlertsWiring::UseEnglish() const { return form_.app.UseEnglish != 0; }

void AlertsWiring::MailChanged() {
  if (form_.watchList.Changed) form_.watchList.Changed();
}
