#pragma once
// The chat window: the conversation so far, the participants heard, and a
// line to send under this station's name.
#include "app/skarvel_form.h"

class PeerLink;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class TForm12 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm12(Form1State& form, PeerLink& link);

  QLineEdit* Edit1() const { return edit1_; }
  QLineEdit* Edit2() const { return edit2_; }
  QPushButton* Button1() const { return button1_; }
  QPlainTextEdit* Memo1() const { return memo1_; }
  QListWidget* ListBox1() const { return listBox1_; }

  // Memo1 shows ChatLog and ListBox1 the participants.
  void ValuesChanged() override;
  void Button1Click();

 protected:
  void PlaceAndFill() override;
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  PeerLink& link_;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPlainTextEdit* memo1_ = nullptr;
  QListWidget* listBox1_ = nullptr;
};
