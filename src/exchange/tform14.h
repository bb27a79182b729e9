#pragma once
// The connection dialog of the TCP/IP button: the server's host and port,
// and whether a lost link is reconnected.
#include "app/skarvel_form.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class TForm14 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm14(Form1State& form);

  QLineEdit* Edit1() const { return edit1_; }  // host
  QLineEdit* Edit2() const { return edit2_; }  // port
  QCheckBox* CheckBox1() const { return checkBox1_; }
  QPushButton* Button1() const { return button1_; }
  QPushButton* Button2() const { return button2_; }

  void Button1Click();
  void Button2Click();

 protected:
  void PlaceAndFill() override;

 private:
  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QCheckBox* checkBox1_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
};
