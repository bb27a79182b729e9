#pragma once
// The watch-list window ("Aircraft search window"): the list of patterns
// with their last hits, the hit panels, the hit memo, the switches for
// pop-up, sound, log and mail, and the mail's status bar. A view of the
// watch list's value, filled whenever it changes.
#include "app/skarvel_form.h"

class AlertsWiring;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QTableWidget;
class QToolButton;

class TForm2 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm2(Form1State& form, AlertsWiring& alerts);
  ~TForm2() override;

  QTableWidget* ListView1() const { return list_; }
  QPlainTextEdit* Memo1() const { return memo_; }
  QLabel* Panel(int n) const { return n >= 1 && n <= 3 ? panels_[n] : nullptr; }
  QToolButton* SpeedButton(int n) const { return n >= 1 && n <= 9 ? buttons_[n] : nullptr; }
  QLabel* StatusBar1() const { return status_; }

  // Shows the watch list's value.
  void ShowWatchList();

  void setVisible(bool visible) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void SetRowButtons(bool enabled);
  int SelectedRow() const;
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();
  void SpeedButton5Click();
  void SpeedButton6Click();
  void SpeedButton9Click();
  void ShowNoSelection();
  bool English() const;

  AlertsWiring& alerts_;
  QTableWidget* list_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  QLabel* panels_[4] = {};
  QToolButton* buttons_[10] = {};
  QLabel* status_ = nullptr;
};
