#pragma once
// The processing settings dialog: MES filters, letter conversions, mail
// conversions, the data taken from the network, the excluded carriers and
// the naming and clean-up of the daily logs. Every box writes its member at
// once; the excluded carriers are taken over when the dialog closes.
#include "app/skarvel_form.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class UpDownArrows;

class TForm3 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm3(Form1State& form);

  // PassList takes Edit1's text. Runs when the dialog closes, and when the
  // program ends with the dialog open.
  void FormClose();

  QCheckBox* CheckBox(int n) const;
  QLineEdit* Edit1() const { return edit1_; }
  UpDownArrows* UpDown1() const { return upDown1_; }
  QLabel* Label(int n) const;

 protected:
  void PlaceAndFill() override;
  void hideEvent(QHideEvent* e) override;

 private:
  void ApplyEnablingRule();
  void UpDown1Click();

  QCheckBox* checkBoxes_[15] = {};
  QLabel* labels_[4] = {};
  QLineEdit* edit1_ = nullptr;
  UpDownArrows* upDown1_ = nullptr;
};
