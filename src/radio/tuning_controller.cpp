#include "radio/tuning_controller.h"

#include "platform/date_time.h"

namespace {

constexpr int kTimerMs = 200;
// A step's bytes must be on their way within the port's write time-outs:
// 10 s plus 200 ms per byte.
constexpr int kDeadlineMs = 10000;
constexpr int kDeadlineMsPerByte = 200;
// How often the end of a tuning looks at the driver's output queue; 11
// bytes take about 13 ms at 9600 baud.
constexpr int kDrainPollMs = 10;

std::string FailureKey(int channel, const std::string& port, const std::string& reason) {
  return std::to_string(channel) + "|" + port + "|" + reason;
}

}  // namespace

const char* ChannelTag(int channel) { return channel == 0 ? "Lch" : "Rch"; }

void TuningController::TuneReceiver(int channel) {
  if (channel != 0 && channel != 1) return;
  if (radio_.PortBusy) {
    // Each channel waits on its own; a running Timer2 runs on.
    radio_.TunePending[static_cast<size_t>(channel)] = true;
    if (!link_.TimerActive(RadioTimer::Timer2)) link_.StartTimer(RadioTimer::Timer2, kTimerMs);
    return;
  }
  const int32_t target = channel == 0 ? radio_.TargetFreqL : radio_.TargetFreqR;
  int32_t& lastSent = radio_.LastSentFreq[static_cast<size_t>(channel)];
  if (target == lastSent) return;
  lastSent = target;
  const int32_t type = channel == 0 ? settings_.TypeL : settings_.TypeR;
  TuningPlan plan = BuildTuningPlan(static_cast<RadioType>(type), target, channel == 0 ? settings_.IdL : settings_.IdR);
  const int32_t comNo = channel == 0 ? settings_.ComNoL : settings_.ComNoR;
  if (comNo < 0 || static_cast<size_t>(comNo) >= radio_.Ports.size()) {
    Fail(channel, "", "no port", std::string(ChannelTag(channel)) + ": no serial port is chosen");
    return;
  }
  const std::string port = radio_.Ports[static_cast<size_t>(comNo)];
  if (!OpenComPort(channel, port, plan.stopBits)) return;
  radio_.PortBusy = 1;
  if (target == 0) {
    CloseComPort();
    radio_.PortBusy = 0;
    return;
  }
  if (!plan.caption.empty()) {
    radio_.FreqListCaption = plan.caption;
    if (radio_.CaptionChanged) radio_.CaptionChanged();
  }
  radio_.Job = TuningJob{};
  radio_.Job.channel = channel;
  radio_.Job.target = target;
  radio_.Job.port = port;
  radio_.Job.steps = std::move(plan.steps);
  radio_.Job.frequencyLeftOut = std::move(plan.frequencyLeftOut);
  if (radio_.Job.steps.empty()) {
    Finish();
    return;
  }
  SendStep();
}

void TuningController::EnableTimer1() {
  if (!link_.TimerActive(RadioTimer::Timer1)) link_.StartTimer(RadioTimer::Timer1, kTimerMs);
}

void TuningController::Timer1Timer() {
  link_.StopTimer(RadioTimer::Timer1);
  TuneReceiver(1);
}

void TuningController::Timer2Timer() {
  // Stopped before the retries, so that a retry that finds the port busy
  // again re-arms it; L first.
  link_.StopTimer(RadioTimer::Timer2);
  for (int channel = 0; channel < 2; ++channel) {
    bool& pending = radio_.TunePending[static_cast<size_t>(channel)];
    if (!pending) continue;
    pending = false;
    TuneReceiver(channel);
  }
}

bool TuningController::OpenComPort(int channel, const std::string& name, int stopBits) {
  std::string reason;
  if (link_.OpenPort(name, stopBits, reason)) {
    // The port works again: its next failure is reported anew.
    for (auto it = radio_.ReportedFailures.begin(); it != radio_.ReportedFailures.end();) {
      const bool samePort = it->compare(2, name.size() + 1, name + "|") == 0;
      const bool channelWithoutPort = *it == FailureKey(channel, "", "no port");
      it = samePort || channelWithoutPort ? radio_.ReportedFailures.erase(it) : std::next(it);
    }
    return true;
  }
  CloseComPort();
  Fail(channel, name, reason, std::string(ChannelTag(channel)) + ": can not open " + name + ": " + reason);
  return false;
}

void TuningController::CloseComPort() { link_.ClosePort(); }

void TuningController::SendStep() {
  TuningJob& job = radio_.Job;
  const Bytes& bytes = job.steps[job.step].bytes;
  job.phase = TuningJob::Phase::Writing;
  job.unconfirmed = static_cast<int64_t>(bytes.size());
  link_.StartTimer(RadioTimer::Deadline, kDeadlineMs + kDeadlineMsPerByte * static_cast<int>(bytes.size()));
  link_.WritePort(bytes);
}

void TuningController::BytesWritten(int64_t count) {
  TuningJob& job = radio_.Job;
  if (job.phase != TuningJob::Phase::Writing) return;
  job.unconfirmed -= count;
  if (job.unconfirmed <= 0) StepTaken();
}

void TuningController::StepTaken() {
  TuningJob& job = radio_.Job;
  // The last step is sent once the line has carried it: its deadline runs
  // on until the output queue is empty.
  if (job.step + 1 < job.steps.size()) link_.StopTimer(RadioTimer::Deadline);
  const int pause = job.steps[job.step].pauseAfterMs;
  if (pause > 0) {
    job.phase = TuningJob::Phase::Pausing;
    link_.StartTimer(RadioTimer::Pause, pause);
    return;
  }
  NextStep();
}

void TuningController::NextStep() {
  TuningJob& job = radio_.Job;
  ++job.step;
  if (job.step < job.steps.size()) {
    SendStep();
    return;
  }
  job.phase = TuningJob::Phase::Draining;
  CheckDrained();
}

void TuningController::CheckDrained() {
  if (link_.PortOutputEmpty()) {
    Finish();
  } else {
    link_.StartTimer(RadioTimer::Drain, kDrainPollMs);
  }
}

void TuningController::Finish() {
  const TuningJob job = radio_.Job;
  link_.StopTimer(RadioTimer::Deadline);
  link_.StopTimer(RadioTimer::Drain);
  radio_.Job = TuningJob{};
  const std::string tag = ChannelTag(job.channel);
  if (job.frequencyLeftOut.empty()) {
    AddLogLine(tag + " FREQ SET=" + std::to_string(job.target) + "kHz at " + platform::FormatDateTime(platform::Now()));
  } else {
    // The receiver got the rest; trying the same target again would leave
    // it out again.
    Report(job.channel, "", "frequency " + job.frequencyLeftOut,
           tag + ": frequency " + std::to_string(job.target) + "kHz not sent: " + job.frequencyLeftOut);
  }
  CloseComPort();
  radio_.PortBusy = 0;
}

void TuningController::TimeOut() {
  const TuningJob job = radio_.Job;
  if (job.phase == TuningJob::Phase::Idle) return;
  link_.StopTimer(RadioTimer::Pause);
  link_.StopTimer(RadioTimer::Drain);
  radio_.Job = TuningJob{};
  // Unsent output would hold the close for up to 30 s.
  link_.DiscardPortOutput();
  CloseComPort();
  radio_.PortBusy = 0;
  Fail(job.channel, job.port, "no command",
       std::string(ChannelTag(job.channel)) + ": " + job.port + " took no command");
}

void TuningController::TimerFired(RadioTimer timer) {
  switch (timer) {
    case RadioTimer::Timer1:
      Timer1Timer();
      break;
    case RadioTimer::Timer2:
      Timer2Timer();
      break;
    case RadioTimer::Pause:
      if (radio_.Job.phase == TuningJob::Phase::Pausing) NextStep();
      break;
    case RadioTimer::Deadline:
      TimeOut();
      break;
    case RadioTimer::Drain:
      if (radio_.Job.phase == TuningJob::Phase::Draining) CheckDrained();
      break;
  }
}

void TuningController::Fail(int channel, const std::string& port, const std::string& reasonKey,
                            const std::string& line) {
  Report(channel, port, reasonKey, line);
  radio_.LastSentFreq[static_cast<size_t>(channel)] = 0;
}

void TuningController::Report(int channel, const std::string& port, const std::string& reasonKey,
                              const std::string& line) {
  AddLogLine(line);
  if (radio_.ReportedFailures.insert(FailureKey(channel, port, reasonKey)).second) link_.ReportFailure(line);
}

void TuningController::AddLogLine(const std::string& line) {
  radio_.SendLog.push_back(line);
  if (radio_.SendLogAdded) radio_.SendLogAdded(line);
}
