#include "platform/window_stacking.h"

#include <QApplication>
#include <QWidget>

namespace platform {

void SetStayOnTop(QWidget* window, bool onTop) {
  if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
  const bool wasVisible = window->isVisible();
  const QPoint where = window->pos();
  window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (wasVisible) {
    window->move(where);
    window->show();
  }
}

QWidget* FindTopLevelWindow(const char* objectName) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QLatin1String(objectName)) return w;
  }
  return nullptr;
}

}  // namespace platform
