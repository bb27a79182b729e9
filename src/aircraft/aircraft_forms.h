#pragma once
// The windows of the aircraft subsystem: search (watch list), received list,
// list entry editor, mail settings and aircraft information.
#include "aircraft/aircraft_list_window.h"
#include "aircraft/tform2.h"
#include "aircraft/tform6.h"
#include "aircraft/tform7.h"
#include "app/skarvel_form.h"

class TForm17 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm17(Form1State& form) : SkarvelForm(form, 17) {}
};
