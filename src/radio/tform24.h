#pragma once
// The automatic frequency control settings: per receiver the station it
// follows, control on or off, the target, the port, the family and the
// address; the force button and the send log. Every change goes to the
// [Radio] settings at once.
#include <array>

#include "app/skarvel_form.h"

class FrequencyListLink;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TForm24 : public SkarvelForm {
  Q_OBJECT
 public:
  // Finds the system's serial ports and loads the controls from the
  // settings.
  TForm24(Form1State& form, FrequencyListLink& tuner);
  ~TForm24() override;

  // Per receiver: 0 L, 1 R.
  struct Channel {
    QGroupBox* group = nullptr;
    std::array<QLabel*, 6> labels{};  // station, control, target, port, receiver, address
    QComboBox* station = nullptr;
    QComboBox* control = nullptr;
    QComboBox* target = nullptr;
    QComboBox* port = nullptr;
    QComboBox* radio = nullptr;
    QLineEdit* address = nullptr;
    QLabel* addressLabel = nullptr;
    QPushButton* list = nullptr;
    QPushButton* manual = nullptr;
  };
  const Channel& Controls(int channel) const { return channels_[static_cast<size_t>(channel)]; }
  QPushButton* Button1() const { return button1_; }
  QPlainTextEdit* Memo1() const { return memo1_; }

 protected:
  void PlaceAndFill() override;

 private:
  void BuildChannel(int channel);
  void FitToTexts();
  void FillStations(int channel);
  void LoadSettings(int channel);
  void ControlChange(int channel, int index);
  void TargetChange(int channel, int index);
  void RadioChange(int channel, int index);
  void CloseKeypadOf(int channel);
  void EnableForceButton();

  FrequencyListLink& tuner_;
  std::array<Channel, 2> channels_;
  QPushButton* button1_ = nullptr;
  QPlainTextEdit* memo1_ = nullptr;
};
