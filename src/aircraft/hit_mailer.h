#pragma once
// The watch list's mail: the queue of hit mails sent one dialogue at a
// time, each failed mail tried again 30 s later, four attempts in all, and
// the status texts of the watch-list window. It owns the socket's dialogue
// and the retry timer; the queue itself is plain state (HitMailQueue).
#include <QObject>
#include <cstdint>

#include "aircraft/hit_mail.h"
#include "aircraft/smtp_dialogue.h"

class QEventLoop;
class QTimer;

class HitMailLink {
 public:
  virtual ~HitMailLink() = default;
  virtual bool UseEnglish() const = 0;
  // The status text changed, or a mail started or ended its dialogue.
  virtual void MailChanged() = 0;
};

class HitMailer : public QObject {
  Q_OBJECT
 public:
  HitMailer(HitMailQueue& queue, const MailSettings& mail, HitMailLink& link, const MailTimings& timings = {});
  ~HitMailer() override;

  // Queues one mail and starts it when no other mail is under way.
  void SendHitMail(const HitMailArgs& args);
  // Program end: mails under way or due get ExitMs in all, in a local event
  // loop without user input; mails waiting for a retry are dropped.
  void FinishAtExit();

  // Set to the earliest retry of a failed mail.
  QTimer* Timer1() const { return timer1_; }

 private:
  // Starts the first mail that is due, unless a dialogue runs.
  void SendNext();
  void SendMailSmtp(const std::string& server, const MailRecord& record);
  void DialogueDone(bool sent);
  // The failed mail is tried again later, or given up after its fourth
  // attempt.
  void MailRetry(size_t index);
  void Timer1Timer() { SendNext(); }
  void ScheduleRetries();
  void SetStatus(const std::string& utf8);
  void AppendStatus(const char* english, const char* japanese);
  int64_t NowMs() const;

  HitMailQueue& queue_;
  const MailSettings& mail_;
  HitMailLink& link_;
  MailTimings timings_;
  QTimer* timer1_ = nullptr;
  SmtpDialogue* dialogue_ = nullptr;
  QEventLoop* exitLoop_ = nullptr;
  bool closing_ = false;
};
