#pragma once
// The frequency keypad: digits, ENT and CE, by mouse or keyboard.
#include <array>

#include "app/skarvel_form.h"

class FrequencyListLink;
class QLabel;
class QPushButton;

class TForm29 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm29(Form1State& form, FrequencyListLink& tuner);
  // Shows the keypad for the receiver of the channel, at its manual
  // frequency.
  void OpenFor(int channel);
  QLabel* Label(int n) const { return labels_.at(static_cast<size_t>(n)); }
  QPushButton* Button(int n) const { return buttons_.at(static_cast<size_t>(n)); }

 protected:
  void PlaceAndFill() override;
  // Escape, Return and Enter never reach the dialog's own handling: the
  // keypad acts on their release.
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  void ShowDisplay();

  FrequencyListLink& tuner_;
  std::array<QLabel*, 4> labels_{};         // 1..3
  std::array<QPushButton*, 13> buttons_{};  // 1..12
};
