#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QWidget>

namespace {

QMessageBox* FindBox() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  }
  return nullptr;
}

void Pump(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A failure reported while the main window is being built must not open
// behind it: the box waits for the window and belongs to it.
TEST(MessageBox, AStartUpFailureOpensOnceTheMainWindowShowsAndBelongsToIt) {
  QWidget main;
  main.resize(400, 300);
  platform::SetMessageBoxOwner(&main);
  platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, "Can not open the play device");
  Pump(150);
  EXPECT_EQ(FindBox(), nullptr);
  main.show();
  Pump(150);
  QMessageBox* box = FindBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->parentWidget(), &main);
  EXPECT_EQ(box->text(), "Can not open the play device");
  box->close();
  platform::SetMessageBoxOwner(nullptr);
}

// A start without a sound card reports both devices at once.
TEST(MessageBox, TwoStartUpFailuresOpenWhereBothCanBeSeen) {
  QWidget main;
  platform::SetMessageBoxOwner(&main);
  platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, "Can not open the recoding device");
  platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, "Can not open the play device");
  main.show();
  Pump(150);
  const QList<QMessageBox*> boxes = main.findChildren<QMessageBox*>();
  ASSERT_EQ(boxes.size(), 2);
  EXPECT_FALSE(boxes[0]->frameGeometry().intersects(boxes[1]->frameGeometry()));
  for (QMessageBox* box : boxes) box->close();
  platform::SetMessageBoxOwner(nullptr);
}

}  // namespace
