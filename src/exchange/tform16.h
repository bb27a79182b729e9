#pragma once
// The progress window of a log import: a blinking label and Cancel, on top,
// near the main window's top left corner. Closing it leaves the import
// running; Cancel stops it.
#include "app/skarvel_form.h"

class LogImport;
class QLabel;
class QPushButton;
class QTimer;

class TForm16 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm16(Form1State& form, LogImport& import);

  QLabel* Label1() const { return label1_; }
  QPushButton* Button1() const { return button1_; }
  QTimer* Timer1() const { return timer1_; }

  // The caption of the import under way.
  void ValuesChanged() override;

 protected:
  void PlaceAndFill() override;
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  LogImport& import_;
  QLabel* label1_ = nullptr;
  QPushButton* button1_ = nullptr;
  QTimer* timer1_ = nullptr;
};
