#pragma once
// The received-aircraft list window: a view of the list's rows, with the
// auto-delete switch and time, the LIST log switch, the font and colours.
// Every change of a setting is written back at once.
#include <QFont>
#include <functional>
#include <optional>

#include "app/skarvel_form.h"

class AircraftLink;
class QLabel;
class QTableWidget;
class QTimer;
class QToolButton;
class ReceptionWiring;
class UpDownArrows;

class TForm5 : public SkarvelForm {
  Q_OBJECT
 public:
  TForm5(Form1State& form, ReceptionWiring& wiring);
  ~TForm5() override;

  QTableWidget* ListView1() const { return list_; }
  QToolButton* SpeedButton(int n) const;
  UpDownArrows* UpDown1() const { return upDown1_; }
  QLabel* Panel1() const { return panel1_; }
  QLabel* StatusBar1() const { return status_; }
  QTimer* Timer1() const { return timer1_; }

  // The rows and the selection as the list holds them.
  void ShowRows();
  // The list takes ListText and ListBack.
  void ApplyListColours();

  // The font dialog; tests answer in its place. Nothing means Cancel.
  std::function<std::optional<QFont>(const QFont&)> ChooseFont;

  void setVisible(bool visible) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void ApplyFont(const QFont& font);
  void WidenColumns();
  void SelectionChanged();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();
  void UpDown1Click();
  void Timer1Timer();
  // A window action done: the map layers it asked for are drawn.
  void Done();

  ReceptionWiring& wiring_;
  AircraftLink& link_;
  QTableWidget* list_ = nullptr;
  QToolButton* buttons_[5] = {};
  UpDownArrows* upDown1_ = nullptr;
  QLabel* panel1_ = nullptr;
  QLabel* status_ = nullptr;
  QTimer* timer1_ = nullptr;
  bool showingRows_ = false;
  bool openedAtColumnsWidth_ = false;
};
