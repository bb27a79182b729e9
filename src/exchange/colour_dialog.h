#pragma once
// The colour dialog of the received-text window and the aircraft list:
// text and background colour, stored only on OK.
#include <QColor>
#include <functional>
#include <optional>

#include "app/skarvel_form.h"
#include "platform/color.h"

class QLabel;
class QPushButton;

class TForm18 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm18(Form1State& form);

  QPushButton* Panel1() const { return panel1_; }  // text colour
  QPushButton* Panel2() const { return panel2_; }  // background colour
  QPushButton* Button3() const { return ok_; }
  QPushButton* Button4() const { return cancel_; }
  TColor PendingTextColour() const { return pendingText_; }
  TColor PendingBackColour() const { return pendingBack_; }

  // The colour dialog; tests answer in its place. Nothing means Cancel.
  std::function<std::optional<QColor>(const QColor&)> ChooseColour;

  void setVisible(bool visible) override;

 private:
  void ShowPending();
  void Pick(TColor& pending);
  void Button3Click();

  QPushButton* panel1_ = nullptr;
  QPushButton* panel2_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  TColor pendingText_ = 0;
  TColor pendingBack_ = 0;
};
