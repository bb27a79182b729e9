#pragma once
// The watch list's entry dialog: a pattern of up to 7 bytes and a remark
// of up to 30 (in code page 932, as search.csv reads them back), added as
// a new row or written over the row being edited.
#include "app/skarvel_form.h"

class QLineEdit;

class TForm6 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm6(Form1State& form);

  // Shown modally, empty, to add a row.
  void OpenForAdd();
  // Shown modally with the row's texts, to change them.
  void OpenForEdit(int rowIndex);

  QLineEdit* Edit1() const { return edit1_; }
  QLineEdit* Edit3() const { return edit3_; }

 protected:
  void PlaceAndFill() override;

 private:
  void Button1Click();

  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit3_ = nullptr;
  bool editing_ = false;
  int EditRowIndex = 0;
};
