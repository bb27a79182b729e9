#include "app/up_down.h"

#include <QToolButton>
#include <algorithm>

UpDownArrows::UpDownArrows(QWidget* parent) : QWidget(parent) {
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  up_->setAutoRepeat(true);
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  down_->setAutoRepeat(true);
  connect(up_, &QToolButton::clicked, this, [this] { Step(increment_); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-increment_); });
}

void UpDownArrows::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  SetPosition(position_);
}

void UpDownArrows::SetPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

void UpDownArrows::Step(int delta) {
  SetPosition(position_ + delta);
  emit Clicked();
}

void UpDownArrows::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}
