#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
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

// The boxes opened without waiting that are still open.
std::vector<QPointer<QMessageBox>>& OpenNonBlockingBoxes() {
  static std::vector<QPointer<QMessageBox>> boxes;
  return boxes;
}

// Boxes of one start open together, each centred over the main window: the
// later one goes below the ones still open, or else one would hide the
// other.
void PlaceBelowOpenBoxes(QMessageBox* box) {
  QRect open;
  for (const QPointer<QMessageBox>& other : OpenNonBlockingBoxes()) {
    if (other && other != box && other->isVisible()) open = open.united(other->frameGeometry());
  }
  if (open.isNull()) return;
  // Before it is mapped its title bar is not counted in its frame.
  const int gap = 8 + box->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, box);
  int top = open.bottom() + 1 + gap;
  if (const QScreen* screen = box->screen()) {
    top = std::min(top, screen->availableGeometry().bottom() + 1 - box->frameGeometry().height());
  }
  box->move(box->x(), top);
}

void OpenWhenOwnerShows(QMessageBox* box) {
  QWidget* owner = Owner();
  if (owner && !owner->isVisible()) {
    QTimer::singleShot(50, box, [box] { OpenWhenOwnerShows(box); });
    return;
  }
  if (owner && box->parentWidget() != owner) box->setParent(owner, box->windowFlags());
  KeepModalAboveStayOnTop(*box);
  box->open();
  PlaceBelowOpenBoxes(box);
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

QMessageBox* MakeBox(BoxKind kind, BoxButtons buttons, const std::string& text, const std::string& caption) {
  QWidget* parent = QApplication::activeWindow();
  if (!parent && Owner() && Owner()->isVisible()) parent = Owner();
  auto* box = new QMessageBox(IconOf(kind), QString::fromStdString(caption), QString::fromStdString(text),
                              QMessageBox::NoButton, parent);
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
  QMessageBox* box = MakeBox(kind, buttons, text, caption);
  KeepModalAboveStayOnTop(*box);
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
  QMessageBox* box = MakeBox(kind, BoxButtons::Ok, text, caption);
  box->setAttribute(Qt::WA_DeleteOnClose);
  if (closed) QObject::connect(box, &QDialog::finished, box, [closed = std::move(closed)] { closed(); });
  OpenWhenOwnerShows(box);
}

void Beep() {
  if (!Handler()) QApplication::beep();
}

void SetMessageBoxOwner(QWidget* mainWindow) { Owner() = mainWindow; }

void SetMessageBoxHandler(BoxHandler handler) { Handler() = std::move(handler); }

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
