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
  bool blocking;  // false: the caller goes on at once
};

// Every box is modal to the whole program and opens above every window
// that stays on top, over the window the user is at as far as the screen
// allows; it cannot be minimised.

// Beeps, shows the box modally and returns the answer. Escape and the close
// box answer No (or Ok where that is the only button).
BoxAnswer ShowMessageBox(BoxKind kind, BoxButtons buttons, const std::string& text,
                         const std::string& caption = "Skarvel");
// For failures shown while the main window is still being built, and for
// events that must not wait for an answer: beeps and returns at once without
// running an event loop; the box opens centred on the main window, once the
// start is over (OpenHeldMessageBoxes). closed runs when the box has gone (at
// once when a test answers it).
void ShowMessageBoxNonBlocking(BoxKind kind, const std::string& text, const std::string& caption = "Skarvel",
                               std::function<void()> closed = nullptr);
// The warning beep alone (none while a test answers the boxes).
void Beep();

// The main window, from its construction: boxes asked for without waiting
// are held from then until OpenHeldMessageBoxes, for a box opened before the
// windows that the start shows and raises would end up behind them. A main
// window that goes (nullptr) takes its boxes with it.
void SetMessageBoxOwner(QWidget* mainWindow);
// The start is over: the held boxes open, in the order they were asked for,
// and later ones open at once.
void OpenHeldMessageBoxes();

using BoxHandler = std::function<BoxAnswer(const BoxRequest&)>;
// Replaces the real box (tests). An empty handler restores it.
void SetMessageBoxHandler(BoxHandler handler);

// A modal dialog that has placed itself as it shows (over the window it
// concerns) goes wholly onto the screen it lands on, as a box does, with or
// without a window manager: the program refuses every other click until it
// is answered. Its frame, until the window manager makes it, is guessed
// from like's.
void KeepModalOnScreen(QWidget& dialog, const QWidget* like);

// Closes every open box and modal dialog as its Escape key would (a close
// request from the system while one is open).
void RejectOpenModals();

}  // namespace platform
