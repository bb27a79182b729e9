#pragma once
// Receiver control wired to the program: the serial port, the timers and
// the status bar the tuning asks for.
#include <QTimer>
#include <array>
#include <memory>

#include "platform/serial_port.h"
#include "radio/tuning_controller.h"

class FormEffects;
struct Form1State;

class RadioWiring : public TuningLink {
 public:
  RadioWiring(Form1State& form, FormEffects& effects);
  ~RadioWiring() override;
  RadioWiring(const RadioWiring&) = delete;
  RadioWiring& operator=(const RadioWiring&) = delete;

  // What the frequency list and the dialogs tune through.
  FrequencyListLink& Tuner() { return controller_; }
  // A squitter's active frequencies were stored: the list follows them.
  void SquitterAnalysed();

  // TuningLink
  bool OpenPort(const std::string& name, int stopBits, std::string& reason) override;
  void WritePort(const Bytes& bytes) override { port_.Write(bytes); }
  bool PortOutputEmpty() override { return port_.OutputEmpty(); }
  void DiscardPortOutput() override { port_.DiscardOutput(); }
  void ClosePort() override { port_.Close(); }
  void StartTimer(RadioTimer timer, int ms) override;
  void StopTimer(RadioTimer timer) override;
  bool TimerActive(RadioTimer timer) const override;
  void ReportFailure(const std::string& line) override;

 private:
  Form1State& form_;
  FormEffects& effects_;
  platform::SerialPort port_;
  std::array<std::unique_ptr<QTimer>, 5> timers_;
  TuningController controller_;
};
