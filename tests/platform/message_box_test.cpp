#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QMessageBox>
#include <QWidget>

#include "support/fake_audio_devices.h"

namespace {

std::vector<QMessageBox*> ShownBoxes() {
  std::vector<QMessageBox*> boxes;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) boxes.push_back(box);
  }
  return boxes;
}

// Failures reported while the main window is being built must not open
// behind the windows of the start: the boxes wait until the start is over,
// then open over the main window where both can be seen, wholly on the
// screen even where the main window is not.
TEST(MessageBox, StartUpFailuresOpenOverTheMainWindowOnceTheStartIsOver) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint corners[] = {screen.topLeft() + QPoint(100, 100), screen.bottomRight() - QPoint(150, 100),
                            screen.topLeft() - QPoint(250, 150)};
  for (const QPoint& corner : corners) {
    SCOPED_TRACE(testing::Message() << "main window at " << corner.x() << "," << corner.y());
    QWidget main;
    main.setGeometry(QRect(corner, QSize(400, 300)));
    platform::SetMessageBoxOwner(&main);
    platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, "Can not open the recoding device");
    platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, "Can not open the play device");
    main.show();
    testing_support::PumpUntil([] { return false; }, 150);
    EXPECT_EQ(ShownBoxes().size(), 0u);
    platform::OpenHeldMessageBoxes();
    ASSERT_TRUE(testing_support::PumpUntil([&] { return ShownBoxes().size() == 2; }));
    const std::vector<QMessageBox*> boxes = ShownBoxes();
    EXPECT_NE(boxes[0]->text(), boxes[1]->text());
    EXPECT_FALSE(boxes[0]->frameGeometry().intersects(boxes[1]->frameGeometry()));
    for (QMessageBox* box : boxes) {
      EXPECT_TRUE(box->frameGeometry().intersects(main.frameGeometry())) << box->text().toStdString();
      EXPECT_TRUE(screen.contains(box->frameGeometry())) << box->text().toStdString();
      EXPECT_EQ(box->windowModality(), Qt::ApplicationModal) << box->text().toStdString();
    }
    platform::SetMessageBoxOwner(nullptr);
  }
}

// A question asked over a window partly off the screen: its buttons must
// be there to click.
TEST(MessageBox, AQuestionOpensWhollyOnTheScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QWidget main;
  main.setGeometry(QRect(screen.bottomRight() - QPoint(150, 100), QSize(400, 300)));
  platform::SetMessageBoxOwner(&main);
  platform::OpenHeldMessageBoxes();
  main.show();
  QRect shown;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    const std::vector<QMessageBox*> boxes = ShownBoxes();
    if (boxes.size() != 1) return;
    shown = boxes[0]->frameGeometry();
    boxes[0]->button(QMessageBox::No)->click();
  });
  answer.start(20);
  EXPECT_EQ(platform::ShowMessageBox(platform::BoxKind::Confirmation, platform::BoxButtons::YesNo,
                                     "Delete all plots and aircraft list data,OK?"),
            platform::BoxAnswer::No);
  EXPECT_TRUE(shown.intersects(main.frameGeometry()));
  EXPECT_TRUE(screen.contains(shown)) << shown.x() << "," << shown.y();
  platform::SetMessageBoxOwner(nullptr);
}

// A start that ends before its boxes open (a close asked for meanwhile)
// leaves none behind to open later.
TEST(MessageBox, TheBoxesOfAMainWindowGoWithIt) {
  auto main = std::make_unique<QWidget>();
  platform::SetMessageBoxOwner(main.get());
  platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, "Can not open the play device");
  platform::SetMessageBoxOwner(nullptr);
  main.reset();
  platform::OpenHeldMessageBoxes();
  testing_support::PumpUntil([] { return false; }, 150);
  EXPECT_TRUE(ShownBoxes().empty());
}

}  // namespace
