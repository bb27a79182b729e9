#include "aircraft/hit_mailer.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "platform/cp932.h"

namespace {

// Mails beyond this many waiting fail at once.
constexpr size_t kMaxWaiting = 50;
constexpr int kMaxRetries = 3;

}  // namespace

HitMailer::HitMailer(HitMailQueue& queue, const MailSettings& mail, HitMailLink& link, const MailTimings& timings)
    : queue_(queue), mail_(mail), link_(link), timings_(timings) {
  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setSingleShot(true);
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

HitMailer::~HitMailer() {
  // A dialogue under way ends with the program, without reporting.
  delete dialogue_;
}

int64_t HitMailer::NowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void HitMailer::SendHitMail(const HitMailArgs& args) {
  const size_t waiting = static_cast<size_t>(
      std::count_if(queue_.Pending.begin(), queue_.Pending.end(), [](const PendingHitMail& m) { return !m.Sending; }));
  if (waiting >= kMaxWaiting) {
    AppendStatus("-Transmission failed", "-送信に失敗しました");
    return;
  }
  PendingHitMail mail;
  mail.Args = args;
  queue_.Pending.push_back(std::move(mail));
  SendNext();
}

void HitMailer::SendNext() {
  if (queue_.InFlight()) return;
  const int64_t now = NowMs();
  const auto due = std::find_if(queue_.Pending.begin(), queue_.Pending.end(),
                                [now](const PendingHitMail& m) { return m.RetryAtMs <= now; });
  if (due == queue_.Pending.end()) {
    ScheduleRetries();
    if (exitLoop_ && queue_.Pending.empty()) exitLoop_->quit();
    return;
  }
  timer1_->stop();
  due->Sending = true;
  // The time in the body is this attempt's.
  const MailRecord record = BuildMailRecord(due->Args, mail_, link_.UseEnglish(), platform::Now());
  link_.MailChanged();
  SendMailSmtp(mail_.MailHost, record);
}

void HitMailer::SendMailSmtp(const std::string& server, const MailRecord& record) {
  dialogue_ = new SmtpDialogue(timings_, this);
  dialogue_->Status = [this](const std::string& text) { SetStatus(platform::Iso2022JpToUtf8(text)); };
  dialogue_->Done = [this](bool sent) { DialogueDone(sent); };
  dialogue_->Start(server, record);
}

void HitMailer::DialogueDone(bool sent) {
  dialogue_->deleteLater();
  dialogue_ = nullptr;
  const auto it = std::find_if(queue_.Pending.begin(), queue_.Pending.end(),
                               [](const PendingHitMail& m) { return m.Sending; });
  if (it == queue_.Pending.end()) return;
  it->Sending = false;
  if (sent) {
    queue_.Pending.erase(it);
    SetStatus(link_.UseEnglish() ? "Send mail" : "メールを送信しました");
  } else {
    MailRetry(static_cast<size_t>(it - queue_.Pending.begin()));
  }
  link_.MailChanged();
  SendNext();
}

void HitMailer::MailRetry(size_t index) {
  PendingHitMail& mail = queue_.Pending[index];
  if (closing_) {
    queue_.Pending.erase(queue_.Pending.begin() + static_cast<long>(index));
    return;
  }
  if (mail.MailRetryCount < kMaxRetries) {
    ++mail.MailRetryCount;
    mail.RetryAtMs = NowMs() + timings_.RetryMs;
    const std::string count = std::to_string(mail.MailRetryCount);
    SetStatus(queue_.StatusText + (link_.UseEnglish() ? "-Retry>" : "-リトライ>") + count);
    return;
  }
  queue_.Pending.erase(queue_.Pending.begin() + static_cast<long>(index));
  AppendStatus("-Transmission failed", "-送信に失敗しました");
}

void HitMailer::ScheduleRetries() {
  if (queue_.Pending.empty()) {
    timer1_->stop();
    return;
  }
  int64_t earliest = queue_.Pending.front().RetryAtMs;
  for (const PendingHitMail& m : queue_.Pending) earliest = std::min(earliest, m.RetryAtMs);
  // Never a timer of 0 ms.
  timer1_->start(static_cast<int>(std::clamp<int64_t>(earliest - NowMs(), 1, timings_.RetryMs)));
}

void HitMailer::FinishAtExit() {
  closing_ = true;
  timer1_->stop();
  auto waitsForRetry = [](const PendingHitMail& m) { return !m.Sending && m.MailRetryCount > 0; };
  queue_.Pending.erase(std::remove_if(queue_.Pending.begin(), queue_.Pending.end(), waitsForRetry),
                       queue_.Pending.end());
  if (queue_.Pending.empty()) return;
  QEventLoop loop;
  exitLoop_ = &loop;
  QTimer::singleShot(std::max(1, timings_.ExitMs), &loop, &QEventLoop::quit);
  SendNext();
  if (!queue_.Pending.empty()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  exitLoop_ = nullptr;
  delete dialogue_;
  dialogue_ = nullptr;
}

void HitMailer::SetStatus(const std::string& utf8) {
  queue_.StatusText = utf8;
  link_.MailChanged();
}

void HitMailer::AppendStatus(const char* english, const char* japanese) {
  SetStatus(queue_.StatusText + (link_.UseEnglish() ? english : japanese));
}
