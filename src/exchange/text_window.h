#pragma once
// The received-text window: one of the six text buffers, with the switches
// of received-text logging, stay on top, font and colours.
#include <QFont>
#include <array>
#include <functional>
#include <optional>

#include "app/skarvel_form.h"

class QButtonGroup;
class QFrame;
class QPlainTextEdit;
class QToolButton;

class TForm10 : public SkarvelForm {
  Q_OBJECT
 public:
  explicit TForm10(Form1State& form);
  ~TForm10() override;

  QToolButton* SpeedButton(int n) const { return buttons_.at(n); }
  QPlainTextEdit* Memo1() const { return memo_; }
  QFrame* Panel1() const { return panel_; }

  // Memo1 shows TextBuffers[TxtType] afresh, scrolled to its end.
  void RefreshMemo();
  // Memo1 takes TextText and TextBack.
  void ApplyColours();

  // The font dialog; tests answer in its place. Nothing means Cancel.
  std::function<std::optional<QFont>(const QFont&)> ChooseFont;

  void setVisible(bool visible) override;

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void ShowKind(int kind);
  void SpeedButton4Click();
  void SpeedButton5Click();
  void SpeedButton9Click();
  void SpeedButton10Click();
  void SpeedButton14Click();
  void EnableSaveModes();

  std::array<QToolButton*, 15> buttons_{};
  QButtonGroup* viewGroup_ = nullptr;
  QButtonGroup* saveGroup_ = nullptr;
  QFrame* panel_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
};
