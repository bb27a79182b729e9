#pragma once
// Where the dialogs appear: centred over another window or the screen, by
// outer (frame) sizes, each half an integer division rounded toward zero.
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

// The program's top-level window with this object name ("Form1", "Form8"),
// or null.
QWidget* FindTopLevelWindow(const char* objectName);
