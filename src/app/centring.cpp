#include "app/centring.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace {

// Before a window is first mapped its frame is not known yet; it will get
// the same decoration as the window it is centred on, or none at all.
QSize OuterSize(const QWidget& window, const QWidget* like) {
  QSize outer = window.frameGeometry().size();
  if (outer == window.size() && like) outer += like->frameGeometry().size() - like->size();
  return outer;
}

}  // namespace

QPoint CentredTopLeft(const QRect& over, const QSize& own) {
  return {over.left() + over.width() / 2 - own.width() / 2, over.top() + over.height() / 2 - own.height() / 2};
}

void CentreOverWindow(QWidget& window, const QWidget& over) {
  window.move(CentredTopLeft(over.frameGeometry(), OuterSize(window, &over)));
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  window.move(CentredTopLeft(QRect(QPoint(0, 0), screen->geometry().size()), OuterSize(window, nullptr)));
}

QWidget* FindTopLevelWindow(const char* objectName) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QLatin1String(objectName)) return w;
  }
  return nullptr;
}
