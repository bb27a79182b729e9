#pragma once
// The HFDL system-table window: the last complete system table as text.
#include "app/skarvel_form.h"

class QPlainTextEdit;

class TForm23 : public SkarvelForm {
  Q_OBJECT
 public:
  // Loads data/system.txt into the memo when the file exists.
  explicit TForm23(Form1State& form);
  ~TForm23() override;
  QPlainTextEdit* Memo1() const { return memo1_; }

 private:
  void ShowLines();

  QPlainTextEdit* memo1_ = nullptr;
};
