#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QWidget>

#include "support/fake_audio_devices.h"

namespace {

// Failures reported while the main window is being built must not open
// behind it: the boxes wait for the window, belong to it, and open where
// both can be seen.
TEST(MessageBox, StartUpFailuresOpenOnceTheMainWindowShowsAndBelongToIt) {
  QWidget main;
  main.resize(400, 300);
  platform::SetMessageBoxOwner(&main);
  platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, "Can not open the recoding device");
  platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, "Can not open the play device");
  const auto boxes = [&] { return main.findChildren<QMessageBox*>(); };
  const auto shown = [&] {
    int n = 0;
    for (QMessageBox* box : boxes()) n += box->isVisible();
    return n;
  };
  testing_support::PumpUntil([] { return false; }, 150);
  EXPECT_EQ(shown(), 0);
  main.show();
  ASSERT_TRUE(testing_support::PumpUntil([&] { return shown() == 2; }));
  EXPECT_EQ(boxes()[1]->text(), "Can not open the play device");
  EXPECT_FALSE(boxes()[0]->frameGeometry().intersects(boxes()[1]->frameGeometry()));
  for (QMessageBox* box : boxes()) box->close();
  platform::SetMessageBoxOwner(nullptr);
}

}  // namespace
