#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QMargins>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/window_stacking.h"

namespace platform {
namespace {

QPointer<QWidget>& Owner() {
  static QPointer<QWidget> owner;
  return owner;
}

// From the owner's construction until its start is over.
bool& Holding() {
  static bool holding = false;
  return holding;
}

std::vector<QPointer<QMessageBox>>& HeldBoxes() {
  static std::vector<QPointer<QMessageBox>> boxes;
  return boxes;
}

// The boxes opened without waiting that are still open.
std::vector<QPointer<QMessageBox>>& OpenNonBlockingBoxes() {
  static std::vector<QPointer<QMessageBox>> boxes;
  return boxes;
}

// Before the window manager frames a window, the frame it will get around
// its inside: as the like window's, once that is framed, else a title bar
// of the style's height.
QMargins GuessedFrame(const QWidget& window, const QWidget* like) {
  if (like && like->frameGeometry() != like->geometry()) {
    const QRect frame = like->frameGeometry();
    const QRect inside = like->geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
            frame.bottom() - inside.bottom()};
  }
  return {0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window), 0, 0};
}

QRect FrameOf(const QWidget& window, const QMargins& guess) {
  const QRect frame = window.frameGeometry();
  return frame != window.geometry() ? frame : window.geometry().marginsAdded(guess);
}

// The available area of the screen a frame lands on.
QRect AvailableArea(const QRect& frame) {
  const QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

// Boxes of one start open together, each centred over the main window: the
// later one goes below the ones still open, or above them where the
// screen ends below, or else one would hide the other.
void PlaceBesideOpenBoxes(QMessageBox* box, const QMargins& guess) {
  QRect open;
  for (const QPointer<QMessageBox>& other : OpenNonBlockingBoxes()) {
    if (other && other != box && other->isVisible()) open = open.united(FrameOf(*other, guess));
  }
  if (open.isNull()) return;
  constexpr int gap = 8;
  const int height = box->height() + guess.top() + guess.bottom();
  int top = open.bottom() + 1 + gap;
  const QRect area = AvailableArea(FrameOf(*box, guess));
  if (top + height > area.bottom() + 1 && open.top() - gap - height >= area.top()) top = open.top() - gap - height;
  box->move(box->pos() + QPoint(0, top - FrameOf(*box, guess).top()));
}

// A box the user cannot reach holds up the whole program: it goes wholly
// onto the screen it lands on, its top left where it is larger.
void KeepOnScreen(QWidget& box, const QMargins& guess) {
  const QRect frame = FrameOf(box, guess);
  const QRect area = AvailableArea(frame);
  if (area.isNull()) return;
  const int left = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
  const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
  box.move(box.pos() + QPoint(left, top) - frame.topLeft());
}

// A box belongs to no window of the program. A window manager keeps a
// dialog that belongs to one window (the main window) under every window
// that belongs to the whole program and stays on top, as the program's
// dialogs do: the box would open unseen there, and refuse every click. So
// each box is modal to the whole program, kept in sight while it is open,
// and placed over the window the user is at as it shows.
class Box : public QMessageBox {
 public:
  Box(Icon icon, const QString& caption, const QString& text) : QMessageBox(icon, caption, text) {
    setWindowModality(Qt::ApplicationModal);
  }

  bool nonBlocking = false;

 protected:
  void showEvent(QShowEvent* e) override {
    QMessageBox::showEvent(e);
    if (e->spontaneous()) return;
    const QWidget* over = WindowUnder();
    if (over) move(over->frameGeometry().center() - rect().center());
    const QMargins guess = GuessedFrame(*this, over);
    if (nonBlocking) PlaceBesideOpenBoxes(this, guess);
    KeepOnScreen(*this, guess);
  }

 private:
  QWidget* WindowUnder() const {
    QWidget* owner = Owner();
    if (owner && !owner->isVisible()) owner = nullptr;
    // What happened to the program as a whole shows over its main window.
    if (nonBlocking && owner) return owner;
    QWidget* active = QApplication::activeWindow();
    if (active && active != this && !qobject_cast<QMessageBox*>(active)) return active;
    return owner;
  }
};

void Open(QMessageBox* box) {
  KeepModalInSight(*box);
  box->show();
  auto& boxes = OpenNonBlockingBoxes();
  boxes.erase(std::remove_if(boxes.begin(), boxes.end(), [](const auto& b) { return b.isNull(); }), boxes.end());
  boxes.emplace_back(box);
}

BoxHandler& Handler() {
  static BoxHandler h;
  return h;
}

QMessageBox::Icon IconOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Error: return QMessageBox::Critical;
    case BoxKind::Warning: return QMessageBox::Warning;
    case BoxKind::Information: return QMessageBox::Information;
    case BoxKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

Box* MakeBox(BoxKind kind, BoxButtons buttons, const std::string& text, const std::string& caption) {
  auto* box = new Box(IconOf(kind), QString::fromStdString(caption), QString::fromStdString(text));
  switch (buttons) {
    case BoxButtons::Ok:
      box->setStandardButtons(QMessageBox::Ok);
      break;
    case BoxButtons::Yes:
      box->setStandardButtons(QMessageBox::Yes);
      box->setEscapeButton(QMessageBox::Yes);
      break;
    case BoxButtons::YesNo:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setEscapeButton(QMessageBox::No);
      break;
  }
  return box;
}

}  // namespace

BoxAnswer ShowMessageBox(BoxKind kind, BoxButtons buttons, const std::string& text, const std::string& caption) {
  if (Handler()) return Handler()({kind, buttons, text, caption, true});
  QApplication::beep();
  Box* box = MakeBox(kind, buttons, text, caption);
  KeepModalInSight(*box);
  int r = box->exec();
  delete box;
  if (r == QMessageBox::Yes) return BoxAnswer::Yes;
  if (r == QMessageBox::Ok) return BoxAnswer::Ok;
  return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::No;
}

void ShowMessageBoxNonBlocking(BoxKind kind, const std::string& text, const std::string& caption,
                               std::function<void()> closed) {
  if (Handler()) {
    Handler()({kind, BoxButtons::Ok, text, caption, false});
    if (closed) closed();
    return;
  }
  QApplication::beep();
  Box* box = MakeBox(kind, BoxButtons::Ok, text, caption);
  box->nonBlocking = true;
  box->setAttribute(Qt::WA_DeleteOnClose);
  if (closed) QObject::connect(box, &QDialog::finished, box, [closed = std::move(closed)] { closed(); });
  if (Holding()) {
    HeldBoxes().emplace_back(box);
  } else {
    Open(box);
  }
}

void Beep() {
  if (!Handler()) QApplication::beep();
}

void SetMessageBoxOwner(QWidget* mainWindow) {
  Owner() = mainWindow;
  Holding() = mainWindow != nullptr;
  if (mainWindow) return;
  // The boxes of a main window that goes, go with it.
  for (auto* boxes : {&HeldBoxes(), &OpenNonBlockingBoxes()}) {
    for (const QPointer<QMessageBox>& box : *boxes) delete box.data();
    boxes->clear();
  }
}

void OpenHeldMessageBoxes() {
  Holding() = false;
  std::vector<QPointer<QMessageBox>> held;
  held.swap(HeldBoxes());
  for (const QPointer<QMessageBox>& box : held) {
    if (box) Open(box);
  }
}

void SetMessageBoxHandler(BoxHandler handler) { Handler() = std::move(handler); }

void KeepModalOnScreen(QWidget& dialog, const QWidget* like) { KeepOnScreen(dialog, GuessedFrame(dialog, like)); }

void RejectOpenModals() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(w);
    if (!dialog || !dialog->isVisible() || !dialog->isModal()) continue;
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      QAbstractButton* escape = box->escapeButton();
      if (!escape && box->buttons().size() == 1) escape = box->buttons().front();
      if (escape) {
        escape->click();
        continue;
      }
    }
    dialog->reject();
  }
}

}  // namespace platform
