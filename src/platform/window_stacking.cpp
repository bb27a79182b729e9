#include "platform/window_stacking.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace platform {
namespace {

// Marks the hint that KeepModalInSight added, to be taken back.
constexpr char kOnTopWhileModal[] = "skarvelOnTopWhileModal";

// Shows again, at once, a dialog minimised while it is modal.
class MinimiseUndoer : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    auto* dialog = qobject_cast<QWidget*>(watched);
    if (e->type() != QEvent::WindowStateChange || !dialog || !dialog->isModal() || !dialog->isMinimized()) {
      return false;
    }
    // Not from within the window manager's state change itself.
    QTimer::singleShot(0, dialog, [dialog] {
      if (!dialog->isModal() || !dialog->isVisible() || !dialog->isMinimized()) return;
      dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
      dialog->raise();
      dialog->activateWindow();
    });
    return false;
  }
};

void UndoMinimiseWhileModal(QWidget& dialog) {
  static QPointer<MinimiseUndoer> undoer;
  if (!undoer) undoer = new MinimiseUndoer(QCoreApplication::instance());
  // Installed again, it is still installed once.
  dialog.installEventFilter(undoer);
}

}  // namespace

void SetStayOnTop(QWidget* window, bool onTop) {
  if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
  const bool wasVisible = window->isVisible();
  const QPoint where = window->pos();
  window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (wasVisible) {
    window->move(where);
    window->show();
  }
}

QWidget* FindTopLevelWindow(const char* objectName) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QLatin1String(objectName)) return w;
  }
  return nullptr;
}

void KeepModalInSight(QWidget& dialog, bool modal) {
  UndoMinimiseWhileModal(dialog);
  const bool added = dialog.property(kOnTopWhileModal).toBool();
  if (!added && dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
  if (modal == added) return;
  dialog.setProperty(kOnTopWhileModal, modal);
  const QPoint where = dialog.pos();
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint, modal);
  if (dialog.pos() != where) dialog.move(where);
}

std::optional<QColor> ChooseColour(const QColor& start, QWidget* parent) {
  QColorDialog dialog(start, parent);
  KeepModalInSight(dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedColor();
}

std::optional<QFont> ChooseFont(const QFont& start, QWidget* parent) {
  QFontDialog dialog(start, parent);
  KeepModalInSight(dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFont();
}

}  // namespace platform
