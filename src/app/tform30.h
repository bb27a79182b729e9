#pragma once
// Which of the six received-text logs are written while logging is on.
#include "app/skarvel_form.h"

class QCheckBox;

class TForm30 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm30(Form1State& form);

  // CheckBox1 .. CheckBox6, in ReceivedTextKind order.
  QCheckBox* CheckBox(int n) const { return n >= 1 && n <= 6 ? checkBoxes_[n - 1] : nullptr; }

 protected:
  void PlaceAndFill() override;

 private:
  QCheckBox* checkBoxes_[6] = {};
};
