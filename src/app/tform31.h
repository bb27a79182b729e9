#pragma once
// The language asked for at the first start. OK takes the ticked language;
// the close box and Escape leave English, which is in force until then.
#include "app/skarvel_form.h"

class ClickLabel;
class QPushButton;
class QRadioButton;

class TForm31 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm31(Form1State& form);

  QRadioButton* RadioButton(int n) const { return n == 1 ? radio1_ : n == 2 ? radio2_ : nullptr; }
  ClickLabel* Image(int n) const { return n >= 1 && n <= 3 ? images_[n - 1] : nullptr; }
  QPushButton* Button1() const { return button1_; }

  void Image1Click();
  void Image2Click();
  void Button1Click();

 protected:
  void PlaceAndFill() override;

 private:
  QRadioButton* radio1_ = nullptr;
  QRadioButton* radio2_ = nullptr;
  ClickLabel* images_[3] = {};
  QPushButton* button1_ = nullptr;
};
