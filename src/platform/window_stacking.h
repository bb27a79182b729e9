#pragma once
// Keeping a window above the others, or not. X11 honours it; Wayland
// leaves stacking to the compositor and ignores it.
#include <QColor>
#include <QFont>
#include <optional>

class QWidget;

namespace platform {

// Sets or clears the stay-on-top hint. Changing it hides a shown window,
// so a window that was showing is shown again, where it was.
void SetStayOnTop(QWidget* window, bool onTop);
// The top-level window with this object name ("Form1", "Form5"), if any.
QWidget* FindTopLevelWindow(const char* objectName);

// A window manager keeps the windows that stay on top above every other:
// a modal dialog opened under one of them is never seen, and every click
// is refused meanwhile. So while another of the program's windows stays on
// top, a modal dialog stays on top too. Call it on a hidden dialog about
// to show; shown without modal, it takes back what it added. A dialog that
// stays on top of its own is left as it is.
void KeepModalAboveStayOnTop(QWidget& dialog, bool modal = true);

// Qt's colour and font dialogs, stacked as above. Nothing means Cancel.
std::optional<QColor> ChooseColour(const QColor& start, QWidget* parent);
std::optional<QFont> ChooseFont(const QFont& start, QWidget* parent);

}  // namespace platform
