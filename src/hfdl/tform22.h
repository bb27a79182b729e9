#pragma once
// The reception statistics window: a view of the counts per mode.
#include "app/skarvel_form.h"

class QTreeWidget;

class TForm22 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm22(Form1State& form);
  ~TForm22() override;
  QTreeWidget* ListView1() const { return listView1_; }

 private:
  void ShowCounts();
  void FitToRows(const int (&widths)[4]);

  QTreeWidget* listView1_ = nullptr;
};
