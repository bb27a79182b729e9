#pragma once
// The ACARS message search window.
#include "app/skarvel_form.h"

class TForm28 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm28(Form1State& form) : SkarvelForm(form, 28) {}
};
