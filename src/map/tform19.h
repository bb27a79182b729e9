#pragma once
// The operator colour dialog: ten groups of a two-character airline code
// and its head, plot, highlight and shadow colours. An aircraft whose
// flight id begins with a group's code is drawn in the group's colours.
// Every change is written at once and the aircraft views drawn again.
#include <QColor>
#include <array>
#include <functional>
#include <optional>

#include "app/skarvel_form.h"

class QLineEdit;
class QPushButton;
class ReceptionWiring;

class TForm19 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm19(Form1State& form, ReceptionWiring& wiring);

  // Edit1 .. Edit10: group i's code is Edit(i + 1).
  QLineEdit* Edit(int n) const;
  // Panel 8i + j: colour j (1 head .. 4 shadow) of group i.
  QPushButton* Panel(int n) const;

  // The colour picker, parented to the dialog; tests answer in its place.
  // Nothing means Cancel.
  std::function<std::optional<QColor>(const QColor&)> ChooseColour;

  void setVisible(bool visible) override;

 private:
  void EditChange(int group);
  void PanelClick(int group, int colour);
  void RedrawAircraftViews();

  ReceptionWiring& wiring_;
  std::array<QLineEdit*, 10> edits_{};
  std::array<std::array<QPushButton*, 4>, 10> panels_{};
};
