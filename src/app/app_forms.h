#pragma once
// The dialogs of the application shell: processing settings, About box,
// log items and language choice.
#include "app/skarvel_form.h"

class TForm3 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm3(Form1State& form) : SkarvelForm(form, 3) {}
};

class TForm11 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm11(Form1State& form) : SkarvelForm(form, 11) {}
};

class TForm30 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm30(Form1State& form) : SkarvelForm(form, 30) {}
};

// The language choice. Until its controls exist, showing it returns at once
// as its close box would: English stays chosen.
class TForm31 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm31(Form1State& form) : SkarvelForm(form, 31) {}
  int exec() override { return QDialog::Rejected; }
};
