#pragma once
// Keeping a window above the others, or not. X11 honours it; Wayland
// leaves stacking to the compositor and ignores it.
class QWidget;

namespace platform {

// Sets or clears the stay-on-top hint. Changing it hides a shown window,
// so a window that was showing is shown again, where it was.
void SetStayOnTop(QWidget* window, bool onTop);
// The top-level window with this object name ("Form1", "Form5"), if any.
QWidget* FindTopLevelWindow(const char* objectName);

}  // namespace platform
