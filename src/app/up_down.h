#pragma once
// An up-down control: a pair of arrow buttons that steps a position within
// a range, with no edit of its own. A click steps and then emits Clicked.
#include <QWidget>

class QToolButton;

class UpDownArrows : public QWidget {
  Q_OBJECT
 public:
  explicit UpDownArrows(QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  // The step of one click (1 unless set).
  void SetIncrement(int increment) { increment_ = increment; }
  // Kept within the range; no signal.
  void SetPosition(int position);
  int Position() const { return position_; }

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  void Clicked();

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void Step(int delta);

  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  int increment_ = 1;
};
