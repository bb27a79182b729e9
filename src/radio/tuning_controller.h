#pragma once
// Tuning a receiver: open its serial port, send its family's commands one
// step at a time from the event loop, log the tuning, close the port. The
// GUI thread never waits on the port: each step goes on when the driver has
// taken its bytes and its pause has run out on a timer.
#include <cstdint>
#include <string>

#include "app/settings_sections.h"
#include "radio/frequency_list.h"
#include "radio/radio_state.h"

// Single-shot timers: the list's two, and the job's pause, its deadline and
// its wait for the output queue to empty.
enum class RadioTimer { Timer1, Timer2, Pause, Deadline, Drain };

// What the tuning needs of the program around it. The owner reports the
// bytes the port took and the timers that ran out back to the controller.
class TuningLink {
 public:
  virtual ~TuningLink() = default;
  // Opens the port at 9600 baud, 8 data bits, no parity, stopBits (1 or 2),
  // no flow control. False with the reason ("not found", ...).
  virtual bool OpenPort(const std::string& name, int stopBits, std::string& reason) = 0;
  virtual void WritePort(const Bytes& bytes) = 0;
  // The driver's output queue is empty: everything went out on the line.
  virtual bool PortOutputEmpty() = 0;
  virtual void DiscardPortOutput() = 0;
  virtual void ClosePort() = 0;
  virtual void StartTimer(RadioTimer timer, int ms) = 0;
  virtual void StopTimer(RadioTimer timer) = 0;
  virtual bool TimerActive(RadioTimer timer) const = 0;
  // A failure line for standard error and the status bar.
  virtual void ReportFailure(const std::string& line) = 0;
};

class TuningController : public FrequencyListLink {
 public:
  TuningController(RadioState& radio, const RadioSettings& settings, TuningLink& link)
      : radio_(radio), settings_(settings), link_(link) {}

  // Tunes the channel's receiver to TargetFreqL/TargetFreqR; with the port
  // busy the channel waits for Timer2.
  void TuneReceiver(int channel) override;
  void EnableTimer1() override;

  // From the link's owner.
  void BytesWritten(int64_t count);
  void TimerFired(RadioTimer timer);

 private:
  void Timer1Timer();
  void Timer2Timer();
  bool OpenComPort(int channel, const std::string& name, int stopBits);
  void CloseComPort();
  void SendStep();
  void StepTaken();
  void NextStep();
  void CheckDrained();
  void Finish();
  void TimeOut();
  // A tuning that did not happen: reported, and since the receiver's
  // frequency is unknown now, the same target may be tried again.
  void Fail(int channel, const std::string& port, const std::string& reasonKey, const std::string& line);
  // A failure line: the send log, and once per channel, port and reason
  // standard error and the status bar.
  void Report(int channel, const std::string& port, const std::string& reasonKey, const std::string& line);
  void AddLogLine(const std::string& line);

  RadioState& radio_;
  const RadioSettings& settings_;
  TuningLink& link_;
};

// "Lch" or "Rch".
const char* ChannelTag(int channel);
