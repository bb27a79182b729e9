#pragma once
// A picture or text that acts on a click of the left mouse button.
#include <QLabel>

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override;
};
