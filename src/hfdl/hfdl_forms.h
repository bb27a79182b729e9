#pragma once
// The HFDL windows: registrations, reception statistics, system table.
#include "app/skarvel_form.h"

class TForm21 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm21(Form1State& form) : SkarvelForm(form, 21) {}
};

class TForm22 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm22(Form1State& form) : SkarvelForm(form, 22) {}
};

class TForm23 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm23(Form1State& form) : SkarvelForm(form, 23) {}
};
