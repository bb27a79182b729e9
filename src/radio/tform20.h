#pragma once
// The HFDL frequency list: a view of the list's rows, one per used ground
// station. The list and the tuning run whether it shows or not.
#include "app/skarvel_form.h"

class FrequencyListLink;
class QTreeWidget;

class TForm20 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm20(Form1State& form, FrequencyListLink& tuner);
  ~TForm20() override;
  QTreeWidget* ListView1() const { return listView1_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void ShowRows();
  void WidenColumns();

  FrequencyListLink& tuner_;
  QTreeWidget* listView1_ = nullptr;
};
