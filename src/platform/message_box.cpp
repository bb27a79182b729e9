#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace platform {
namespace {

QPointer<QWidget>& Owner() {
  static QPointer<QWidget> owner;
  return owner;
}

void OpenWhenOwnerShows(QMessageBox* box) {
  QWidget* owner = Owner();
  if (owner && !owner->isVisible()) {
    QTimer::singleShot(50, box, [box] { OpenWhenOwnerShows(box); });
    return;
  }
  if (owner && box->parentWidget() != owner) box->setParent(owner, box->windowFlags());
  box->open();
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
  int r = box->exec();
  delete box;
  if (r == QMessageBox::Yes) return BoxAnswer::Yes;
  if (r == QMessageBox::Ok) return BoxAnswer::Ok;
  return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::No;
}

void ShowMessageBoxNonBlocking(BoxKind kind, const std::string& text, const std::string& caption) {
  if (Handler()) {
    Handler()({kind, BoxButtons::Ok, text, caption, false});
    return;
  }
  QApplication::beep();
  QMessageBox* box = MakeBox(kind, BoxButtons::Ok, text, caption);
  box->setAttribute(Qt::WA_DeleteOnClose);
  OpenWhenOwnerShows(box);
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
