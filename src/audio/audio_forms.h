#pragma once
// The audio windows: input device and decoder mode, device change notice.
#include "app/skarvel_form.h"

class TForm8 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm8(Form1State& form) : SkarvelForm(form, 8) {}
};

class TForm9 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm9(Form1State& form) : SkarvelForm(form, 9) {}
};
