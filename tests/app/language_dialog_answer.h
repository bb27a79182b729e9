#pragma once
// Answers the language dialog whenever it appears modally, as a user would:
// by default with its close box.
#include <QApplication>
#include <QPoint>
#include <QTimer>
#include <functional>

#include "app/tform31.h"

class LanguageDialogAnswer {
 public:
  explicit LanguageDialogAnswer(std::function<void(TForm31&)> answer = [](TForm31& d) { d.close(); })
      : answer_(std::move(answer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<TForm31*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      ++shown_;
      shownAt_ = dialog->pos();
      answer_(*dialog);
    });
    timer_.start(5);
  }

  int Shown() const { return shown_; }
  QPoint ShownAt() const { return shownAt_; }

 private:
  std::function<void(TForm31&)> answer_;
  QTimer timer_;
  int shown_ = 0;
  QPoint shownAt_;
};
