#pragma once
// The windows of the map subsystem: display settings and operator colours.
#include "app/skarvel_form.h"

class TForm4 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm4(Form1State& form) : SkarvelForm(form, 4) {}
};

class TForm19 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm19(Form1State& form) : SkarvelForm(form, 19) {}
};
