#pragma once
// The SELCAL panel.
#include "app/skarvel_form.h"

class TForm26 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm26(Form1State& form) : SkarvelForm(form, 26) {}
};
