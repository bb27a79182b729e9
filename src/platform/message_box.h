#pragma once
// The one message box of the program: the exclamation beep, then a box of
// the given kind and buttons. Texts are UTF-8. Tests install a recorder that
// answers in place of the real box.
#include <functional>
#include <string>

class QWidget;

namespace platform {

enum class BoxKind { Error, Warning, Information, Confirmation };
enum class BoxButtons { Ok, Yes, YesNo };
enum class BoxAnswer { Ok, Yes, No };

struct BoxRequest {
  BoxKind kind;
  BoxButtons buttons;
  std::string text;
  std::string caption;
  bool blocking;  // false: shown with open(), the caller goes on at once
};

// Beeps, shows the box modally and returns the answer. Escape and the close
// box answer No (or Ok where that is the only button).
BoxAnswer ShowMessageBox(BoxKind kind, BoxButtons buttons, const std::string& text,
                         const std::string& caption = "Skarvel");
// For failures shown while the main window is still being built, and for
// events that must not wait for an answer: beeps and returns at once without
// running an event loop; the box opens, modal to the main window and centred
// on it, once that window shows. closed runs when the box has gone (at once
// when a test answers it).
void ShowMessageBoxNonBlocking(BoxKind kind, const std::string& text, const std::string& caption = "Skarvel",
                               std::function<void()> closed = nullptr);
// The warning beep alone (none while a test answers the boxes).
void Beep();

// The window that failure boxes belong to. A box asked for while it is still
// hidden waits until it shows: a box opened before it would end up behind it.
void SetMessageBoxOwner(QWidget* mainWindow);

using BoxHandler = std::function<BoxAnswer(const BoxRequest&)>;
// Replaces the real box (tests). An empty handler restores it.
void SetMessageBoxHandler(BoxHandler handler);

// Closes every open box and modal dialog as its Escape key would (a close
// request from the system while one is open).
void RejectOpenModals();

}  // namespace platform
