#pragma once
// The windows of the aircraft subsystem: search (watch list), received list,
// list entry editor, mail settings and aircraft information.
#include "aircraft/aircraft_list_window.h"
#include "aircraft/tform17.h"
#include "app/skarvel_form.h"

class TForm2 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm2(Form1State& form) : SkarvelForm(form, 2) {}
};

class TForm6 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm6(Form1State& form) : SkarvelForm(form, 6) {}
};

class TForm7 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm7(Form1State& form) : SkarvelForm(form, 7) {}
};
