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

// A modal dialog refuses every click to the program's other windows until
// it is answered, so it must stay in sight. A window manager keeps the
// windows that stay on top above every other, the program's own and those
// of another copy alike, which this process cannot see: so while it is
// modal, a dialog stays on top too. And it minimises a dialog that belongs
// to no window alone, leaving the program unusable with nothing to click:
// so a minimise asked of a dialog while it is modal is undone. Call it on
// a hidden dialog about to show; shown without modal, it takes back the
// hint it added. A dialog that stays on top of its own is left as it is.
void KeepModalInSight(QWidget& dialog, bool modal = true);

// Qt's colour and font dialogs, kept in sight as above. Nothing means Cancel.
std::optional<QColor> ChooseColour(const QColor& start, QWidget* parent);
std::optional<QFont> ChooseFont(const QFont& start, QWidget* parent);

}  // namespace platform
