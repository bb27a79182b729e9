#pragma once
// The windows of message output and data exchange: received text, chat,
// packet status, connection, reconnect countdown, import progress, colours.
#include "app/skarvel_form.h"
#include "exchange/colour_dialog.h"
#include "exchange/text_window.h"

class TForm12 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm12(Form1State& form) : SkarvelForm(form, 12) {}
};

class TForm13 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm13(Form1State& form) : SkarvelForm(form, 13) {}
};

class TForm14 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm14(Form1State& form) : SkarvelForm(form, 14) {}
};

class TForm15 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm15(Form1State& form) : SkarvelForm(form, 15) {}
};

class TForm16 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm16(Form1State& form) : SkarvelForm(form, 16) {}
};
