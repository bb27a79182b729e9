#pragma once
// The mail settings dialog: the SMTP server and the two addresses. OK
// takes them only when all three are filled; otherwise it says which is
// blank, the watch list's mail buttons rest and the dialog stays open.
#include "app/skarvel_form.h"

class QLineEdit;

class TForm7 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm7(Form1State& form);

  QLineEdit* Edit(int n) const;

 protected:
  void PlaceAndFill() override;

 private:
  void Button1Click();

  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit3_ = nullptr;
  QLineEdit* edit4_ = nullptr;
};
