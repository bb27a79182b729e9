#pragma once
// A list as the user sees it just after clicking one of its rows: the
// window shown and active, the row current and selected, the list focused.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTreeWidget>

#include "support/fake_audio_devices.h"

namespace testing_support {

inline QImage SelectedRowPicture(QTreeWidget& list, int row) {
  QWidget* window = list.window();
  window->show();
  window->activateWindow();
  list.setCurrentItem(list.topLevelItem(row));
  list.setFocus(Qt::MouseFocusReason);
  EXPECT_TRUE(PumpUntil([&] { return window->isActiveWindow() && list.hasFocus(); })) << "the list has no focus";
  QApplication::processEvents();
  return list.grab().toImage();
}

}  // namespace testing_support
