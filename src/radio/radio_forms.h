#pragma once
// The windows of receiver control: frequency list, receiver settings,
// manual frequency grid and keypad.
#include "app/skarvel_form.h"

class TForm20 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm20(Form1State& form) : SkarvelForm(form, 20) {}
};

class TForm24 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm24(Form1State& form) : SkarvelForm(form, 24) {}
};

class TForm25 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm25(Form1State& form) : SkarvelForm(form, 25) {}
};

class TForm29 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm29(Form1State& form) : SkarvelForm(form, 29) {}
};
