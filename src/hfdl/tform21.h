#pragma once
// The HFDL registration window: a view of the registration rows.
#include "app/skarvel_form.h"

class QTreeWidget;

class TForm21 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm21(Form1State& form);
  ~TForm21() override;
  QTreeWidget* ListView1() const { return listView1_; }

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void ShowRow(int row);
  void WidenColumns();

  QTreeWidget* listView1_ = nullptr;
};
