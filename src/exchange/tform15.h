#pragma once
// The reconnect countdown: why the link went, the seconds until the next
// try, and Cancel. It blocks the program's other windows while it counts,
// but the events of the link go on.
#include "app/skarvel_form.h"

class PeerLink;
class QLabel;
class QPushButton;

class TForm15 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm15(Form1State& form, PeerLink& link);

  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QPushButton* Button1() const { return button1_; }

  // The reason and the seconds left.
  void ValuesChanged() override;

 protected:
  void PlaceAndFill() override;
  void reject() override;

 private:
  PeerLink& link_;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QPushButton* button1_ = nullptr;
};
