#pragma once
// The display settings dialog: the colours of the plots, the side list,
// the map, the selected aircraft's boxes, the altitude view and the clock,
// and the drawing options. Every change is written into its setting at
// once and the views it affects are drawn again.
#include <QColor>
#include <functional>
#include <map>
#include <optional>

#include "app/settings_sections.h"
#include "app/skarvel_form.h"
#include "map/map_layers.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class ReceptionWiring;
class QVBoxLayout;
class UpDownArrows;

class TForm4 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm4(Form1State& form, ReceptionWiring& wiring);

  QPushButton* Panel(int n) const;
  QRadioButton* RadioButton(int n) const;
  QComboBox* ComboBox1() const { return comboBox1_; }
  QCheckBox* CheckBox1() const { return checkBox1_; }
  UpDownArrows* UpDown1() const { return upDown1_; }
  QLabel* Label(int n) const;
  QPushButton* Button1() const { return button1_; }

  // The colour picker, parented to the dialog; tests answer in its place.
  // Nothing means Cancel.
  std::function<std::optional<QColor>(const QColor&)> ChooseColour;

  void setVisible(bool visible) override;

 private:
  // The colour groups in the left and middle columns; the options under
  // them and in the right column.
  void BuildColourGroups();
  void BuildOptionGroups();
  void PanelClick(int panel);
  void RadioButtonClick(int button);
  void ComboBox1Change();
  void CheckBox1Click();
  void UpDown1Click();
  void EnableFadingStep();
  // The layers asked for are drawn.
  void Redraw(MapLayers layers);

  ReceptionWiring& wiring_;
  std::map<int, QPushButton*> panels_;
  std::map<int, QRadioButton*> radioButtons_;
  std::map<int, QLabel*> labels_;
  QComboBox* comboBox1_ = nullptr;
  QCheckBox* checkBox1_ = nullptr;
  UpDownArrows* upDown1_ = nullptr;
  QPushButton* button1_ = nullptr;
  QVBoxLayout* columns_[2] = {};  // the middle and right columns
};
