#pragma once
// The SELCAL panel's window: the picture, the toggles, the seconds of the
// timed monitor and the keypad, filled from the panel's values. The panel
// itself runs whether the window shows or not.
#include "app/skarvel_form.h"

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;
class ReceptionWiring;
class SelcalPanel;

class TForm26 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm26(Form1State& form, ReceptionWiring& wiring);
  ~TForm26() override;

  QLabel* Image1() const { return image1_; }
  QLabel* Panel3() const { return panel3_; }
  QToolButton* SpeedButton(int n) const { return speedButtons_[n - 1]; }
  QPushButton* Button(int n) const { return keys_[n - 1]; }

  void setVisible(bool visible) override;

 private:
  // The panel's values onto the widgets, without running their handlers.
  void Refresh();
  // A command done: the map layers it asked for are drawn.
  void Done();

  ReceptionWiring& wiring_;
  SelcalPanel& panel_;
  QLabel* image1_ = nullptr;
  QLabel* panel3_ = nullptr;
  QToolButton* speedButtons_[7] = {};
  QPushButton* keys_[16] = {};
};
