#pragma once
// The notice shown while the recording is being set up again.
#include "app/skarvel_form.h"

class QLabel;

class TForm9 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm9(Form1State& form);
  QLabel* Label1() const { return label1_; }

 protected:
  void PlaceAndFill() override;

 private:
  QLabel* label1_ = nullptr;
};
