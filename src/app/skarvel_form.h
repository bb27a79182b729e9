#pragma once
// The base of the dialogs TForm2 .. TForm31: a hidden top-level window that
// lives for the whole run, placed at creation where the settings put it, so
// that a run that never opens it writes the user's values back.
#include <QDialog>

struct Form1State;

class SkarvelForm : public QDialog {
  Q_OBJECT
 public:
  SkarvelForm(Form1State& form, int number, QWidget* parent = nullptr);

  int Number() const { return number_; }
  Form1State& State() { return form_; }

  // Copies the window's position (and size, where the settings keep it) into
  // the state's members, as the settings writer wants them at close.
  void CaptureGeometry();
  // The values the window shows changed: it shows them afresh.
  virtual void ValuesChanged() {}

  void setVisible(bool visible) override;

 protected:
  // Places the window and fills it as the program shows it; never when the
  // window manager shows it again (a minimise undone), when it stays where
  // it is, with what the user typed.
  virtual void PlaceAndFill() {}
  // Fits the window to the screen it lands on again, once a subclass has
  // placed it on show.
  void showEvent(QShowEvent* e) override;

  Form1State& form_;

 private:
  int number_;
};
