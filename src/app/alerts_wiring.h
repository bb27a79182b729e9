#pragma once
// The alerts wired to the main window: what a watch-list hit and a message
// search hit do around them (the windows, the sound, the mail) and the
// mail object with its socket and timers.
#include <memory>

#include "acars/message_search.h"
#include "aircraft/hit_mailer.h"
#include "aircraft/watch_list.h"

class FormEffects;
struct Form1State;

class AlertsWiring : public WatchListLink, public MessageSearchLink, public HitMailLink {
 public:
  AlertsWiring(Form1State& form, FormEffects& effects, const MailTimings& timings = {});
  ~AlertsWiring() override;

  HitMailer& Mailer() { return *mailer_; }
  WatchListFiles WatchFiles() const;

  // WatchListLink
  bool WatchListShowing() const override;
  void ShowWatchList() override;
  void PlayWave(const std::string& path) override;
  void SendHitMail(const HitMailArgs& args) override;
  // MessageSearchLink
  void ShowMessageSearch() override;
  // HitMailLink
  bool UseEnglish() const override;
  void MailChanged() override;

 private:
  Form1State& form_;
  FormEffects& effects_;
  std::unique_ptr<HitMailer> mailer_;
};
