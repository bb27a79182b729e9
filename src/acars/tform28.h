#pragma once
// The message search window ("Search ACARS messages"): the search strings
// with add and delete, the hit files with the selected hit's message, and
// the run, pop-up and sound switches. A view of the message search's value;
// it stays on top of the other windows.
#include "app/skarvel_form.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class TForm28 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm28(Form1State& form);
  ~TForm28() override;

  QListWidget* ListBox(int n) const { return n == 1 ? listBox1_ : n == 2 ? listBox2_ : nullptr; }
  QPlainTextEdit* Memo1() const { return memo_; }
  QLineEdit* Edit1() const { return edit1_; }
  QPushButton* Button(int n) const { return n >= 1 && n <= 4 ? buttonsN_[n] : nullptr; }
  QToolButton* SpeedButton(int n) const { return n >= 1 && n <= 3 ? speedButtons_[n] : nullptr; }

  // Shows the message search's value.
  void ShowSearch();

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void ListBox2Click();
  bool Confirm(const std::string& english, const std::string& japanese);

  QListWidget* listBox1_ = nullptr;
  QListWidget* listBox2_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QPushButton* buttonsN_[5] = {};
  QToolButton* speedButtons_[4] = {};
};
