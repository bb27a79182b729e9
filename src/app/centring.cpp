#include "app/centring.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// Before a window is first mapped its frame is not known yet; it will get
// the same decoration as the window it is centred on, or none at all.
QSize OuterSize(const QWidget& window, const QWidget* like) {
  QSize outer = window.frameGeometry().size();
  if (outer == window.size() && like) outer += like->frameGeometry().size() - like->size();
  return outer;
}

// Wide enough to take hold of the title bar.
constexpr int kTitleBarGrip = 64;

int64_t Area(const QRect& r) { return r.isEmpty() ? 0 : int64_t{r.width()} * r.height(); }

int Centred(int overStart, int overLength, int ownLength) {
  const int64_t at = int64_t{overStart} + overLength / 2 - ownLength / 2;
  return static_cast<int>(std::clamp<int64_t>(at, INT_MIN, INT_MAX));
}

// The available area the frame lands on: the one holding its centre, else
// the one it overlaps most, else the primary.
QRect LandingScreen(const QRect& frame, const QList<QRect>& screens) {
  for (const QRect& s : screens) {
    if (s.contains(frame.center())) return s;
  }
  QRect best = screens.front();
  int64_t bestArea = 0;
  for (const QRect& s : screens) {
    if (Area(s.intersected(frame)) > bestArea) {
      best = s;
      bestArea = Area(s.intersected(frame));
    }
  }
  return best;
}

}  // namespace

QPoint CentredTopLeft(const QRect& over, const QSize& own) {
  return {Centred(over.left(), over.width(), own.width()), Centred(over.top(), over.height(), own.height())};
}

QRect FitFrameToScreens(const QRect& frame, const QSize& minimum, int titleBar, const QList<QRect>& screens) {
  if (screens.isEmpty()) return frame;
  const QRect screen = LandingScreen(frame, screens);
  QRect fitted(frame.topLeft(), QSize(std::max(minimum.width(), std::min(frame.width(), screen.width())),
                                      std::max(minimum.height(), std::min(frame.height(), screen.height()))));
  const QRect title(fitted.left(), fitted.top(), fitted.width(), titleBar);
  const int grip = std::min(kTitleBarGrip, fitted.width());
  for (const QRect& s : screens) {
    const QRect shown = s.intersected(title);
    if (shown.width() >= grip && shown.height() == titleBar) return fitted;
  }
  // Into the screen, its left and top edges first where it is the larger.
  fitted.moveLeft(std::max(screen.left(), std::min(fitted.left(), screen.left() + screen.width() - fitted.width())));
  fitted.moveTop(std::max(screen.top(), std::min(fitted.top(), screen.top() + screen.height() - fitted.height())));
  return fitted;
}

namespace {

// Where a window was asked to be before it was fitted on a guess of its
// frame, and where that put it: its frame's top left and its size.
constexpr char kAskedGeometry[] = "skarvelAskedGeometry";
constexpr char kGuessedGeometry[] = "skarvelGuessedGeometry";

QList<QRect> AvailableScreens() {
  QList<QRect> screens;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) screens << primary->availableGeometry();
  for (const QScreen* s : QGuiApplication::screens()) {
    if (s != QGuiApplication::primaryScreen()) screens << s->availableGeometry();
  }
  return screens;
}

bool DecorationKnown(const QWidget& window) { return window.frameGeometry().size() != window.size(); }

// Fits the window with its decoration as known, or, before it is, with a
// title bar of the style's height.
void Fit(QWidget& window) {
  QSize decoration = window.frameGeometry().size() - window.size();
  int titleBar = window.geometry().top() - window.frameGeometry().top();
  if (!DecorationKnown(window)) {
    titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    decoration = QSize(0, titleBar);
  }
  const QRect frame(window.pos(), window.size() + decoration);
  const QRect fitted =
      FitFrameToScreens(frame, window.minimumSize() + decoration, std::max(titleBar, 1), AvailableScreens());
  if (fitted.size() != frame.size()) window.resize(fitted.size() - decoration);
  if (fitted.topLeft() != frame.topLeft()) window.move(fitted.topLeft());
}

bool Fittable(const QWidget& window) { return !(window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)); }

}  // namespace

void FitToScreenBeforeShow(QWidget& window) {
  if (!Fittable(window)) return;
  const QRect asked(window.pos(), window.size());
  Fit(window);
  window.setProperty(kAskedGeometry, asked);
  window.setProperty(kGuessedGeometry, QRect(window.pos(), window.size()));
}

void FitToScreen(QWidget& window) {
  const QVariant asked = window.property(kAskedGeometry);
  const QVariant guessed = window.property(kGuessedGeometry);
  window.setProperty(kAskedGeometry, QVariant());
  window.setProperty(kGuessedGeometry, QVariant());
  if (!Fittable(window)) return;
  if (!DecorationKnown(window)) {
    // The window manager frames it later; until then a move would place
    // the window's inside there, not its frame. The fit before the show
    // placed the frame.
    if (asked.isValid()) return;
  } else if (asked.isValid() && QRect(window.pos(), window.size()) == guessed.toRect()) {
    // Fitted again from where it was asked to be, now that the frame is
    // known.
    window.resize(asked.toRect().size());
    window.move(asked.toRect().topLeft());
  }
  Fit(window);
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
