#pragma once
// The About box: name, logo, version, the HFDL system table held and the
// product's web site.
#include "app/skarvel_form.h"

class ClickLabel;
class QLabel;
class QPushButton;

class TForm11 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm11(Form1State& form);

  QLabel* Label(int n) const;
  QPushButton* Button1() const { return button1_; }
  void Label3Click();

 protected:
  void PlaceAndFill() override;

 private:
  QLabel* labels_[9] = {};
  QPushButton* button1_ = nullptr;
};
