#pragma once
// The packet window: the link's send and receive counters, and the packet
// test that sends numbered test lines to the server at an interval.
#include "app/skarvel_form.h"

class PeerLink;
class QLabel;
class QLineEdit;
class QToolButton;

class TForm13 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm13(Form1State& form, PeerLink& link);

  // The values: Label11 TX, Label12 RX, Label2 .. Label5 the client's and
  // the server's blocked and failed sends.
  QLabel* Value(int labelNumber) const;
  QToolButton* SpeedButton1() const { return speedButton1_; }
  QLineEdit* Edit1() const { return edit1_; }

  void ValuesChanged() override;
  void SpeedButton1Click();

 protected:
  void PlaceAndFill() override;
  void showEvent(QShowEvent* e) override;

 private:
  PeerLink& link_;
  QLabel* values_[13] = {};
  QToolButton* speedButton1_ = nullptr;
  QLineEdit* edit1_ = nullptr;
};
