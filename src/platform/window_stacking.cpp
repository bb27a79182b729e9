#include "platform/window_stacking.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QVariant>
#include <QWidget>

namespace platform {
namespace {

// Marks the hint that KeepModalAboveStayOnTop added, to be taken back.
constexpr char kOnTopWhileModal[] = "skarvelOnTopWhileModal";

bool AnotherWindowStaysOnTop(const QWidget& dialog) {
  for (const QWidget* w : QApplication::topLevelWidgets()) {
    if (w != &dialog && w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return true;
  }
  return false;
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

void KeepModalAboveStayOnTop(QWidget& dialog, bool modal) {
  const bool added = dialog.property(kOnTopWhileModal).toBool();
  if (!added && dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
  const bool wanted = modal && AnotherWindowStaysOnTop(dialog);
  if (wanted == added) return;
  dialog.setProperty(kOnTopWhileModal, wanted);
  const QPoint where = dialog.pos();
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint, wanted);
  if (dialog.pos() != where) dialog.move(where);
}

std::optional<QColor> ChooseColour(const QColor& start, QWidget* parent) {
  QColorDialog dialog(start, parent);
  KeepModalAboveStayOnTop(dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedColor();
}

std::optional<QFont> ChooseFont(const QFont& start, QWidget* parent) {
  QFontDialog dialog(start, parent);
  KeepModalAboveStayOnTop(dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFont();
}

}  // namespace platform
