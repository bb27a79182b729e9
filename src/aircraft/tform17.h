#pragma once
// The aircraft information window: the flight, registration (links to the
// flight-status and photo pages), photograph, airline, airports, type,
// remarks and whether a position is plotted (a link to the aircraft on the
// map), as the received-aircraft list fills them; and the search of the
// list by flight number.
#include "app/skarvel_form.h"

class AircraftLink;
class ClickLabel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class ReceptionWiring;
struct AircraftInformation;

class TForm17 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm17(Form1State& form, ReceptionWiring& wiring);

  // The labels, hints, position link and picture of the value; a null
  // picture keeps the one shown.
  void ShowInformation(const AircraftInformation& information);
  // The flight written into Edit1 and searched, as a click on Button1 does.
  void SearchFlight(const std::string& flightId);

  QLineEdit* Edit1() const { return edit1_; }
  QPushButton* Button1() const { return button1_; }
  QToolButton* SpeedButton2() const { return speedButton2_; }
  QToolButton* SpeedButton5() const { return speedButton5_; }
  ClickLabel* Label(int n) const;
  QLabel* Image1() const { return image1_; }

  void setVisible(bool visible) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void Button1Click();
  void Label3Click();
  void Label5Click();
  void Label7Click();
  void SpeedButton2Click();
  void SpeedButton5Click();

  ReceptionWiring& wiring_;
  AircraftLink& link_;
  QLineEdit* edit1_ = nullptr;
  QPushButton* button1_ = nullptr;
  QToolButton* speedButton2_ = nullptr;
  QToolButton* speedButton5_ = nullptr;
  QGroupBox* groupBox2_ = nullptr;
  ClickLabel* labels_[16] = {};
  QLabel* image1_ = nullptr;
  bool positionLink_ = false;
};
