#pragma once
// Where the windows appear: centred over another window or the screen, by
// outer (frame) sizes, each half an integer division rounded toward zero;
// and fitted to the screen they land on when shown.
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The top-left corner of a window of outer size own centred over the outer
// rectangle over.
QPoint CentredTopLeft(const QRect& over, const QSize& own);

// Moves window so that it is centred over another window's frame, or over
// the primary screen when over is null.
void CentreOverWindow(QWidget& window, const QWidget& over);
void CentreOnScreen(QWidget& window);

// The outer rectangle a window of outer rectangle `frame` gets on screens
// of these available areas (the primary first): no larger than the area of
// the screen it lands on (but not below `minimum`), and moved into that
// area unless the top `titleBar` pixels, its title bar, are on a screen
// already. A position saved with a second monitor that is gone comes back.
QRect FitFrameToScreens(const QRect& frame, const QSize& minimum, int titleBar, const QList<QRect>& screens);
// The same for a top-level window on the screens there are, before it
// shows: its frame is guessed (a title bar of the style's height), as the
// window manager frames a window only once it shows. Before that a move
// places the frame; after it, until the frame is known, a move places the
// window's inside and would leave the title bar above the screen.
void FitToScreenBeforeShow(QWidget& window);
// And on show: fitted again from where it was asked to be once its frame
// is known, else left where the fit before the show put it.
void FitToScreen(QWidget& window);

// The program's top-level window with this object name ("Form1", "Form8"),
// or null.
QWidget* FindTopLevelWindow(const char* objectName);
