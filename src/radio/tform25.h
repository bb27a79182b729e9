#pragma once
// The grid of all frequencies of the used ground stations; choosing a cell
// tunes one receiver to it.
#include "app/skarvel_form.h"

class FrequencyListLink;
class QTableWidget;

class TForm25 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm25(Form1State& form, FrequencyListLink& tuner);
  QTableWidget* StringGrid1() const { return stringGrid1_; }
  // Shows the grid modally for the receiver of the channel.
  void OpenFor(int channel);

 protected:
  void PlaceAndFill() override;

 private:
  void FillGrid();
  void StringGrid1SelectCell(int column, int row);

  FrequencyListLink& tuner_;
  QTableWidget* stringGrid1_ = nullptr;
};
