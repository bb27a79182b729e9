// Pictures of the main window and its dialogs in both languages, for a
// check by eye: written into the build tree's artefacts folder, on the
// display the stacking tests' main makes, else offscreen.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "aircraft/aircraft_list.h"
#include "aircraft/watch_list.h"
#include "hfdl/registration.h"
#include "support/fake_audio_devices.h"
#include "support/main_window_fixture.h"

namespace {

const QString kArtefacts = QStringLiteral(SKARVEL_ARTEFACTS_DIR);

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

void Save(const QPixmap& picture, const QString& name) {
  const QString path = kArtefacts + "/" + name + ".png";
  ASSERT_FALSE(picture.isNull()) << name.toStdString();
  ASSERT_TRUE(picture.save(path)) << path.toStdString();
}

class Screens : public MainWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(Screens, MainWindowAndDialogs) {
  const QString language = QString::fromLatin1(GetParam());
  QDir().mkpath(kArtefacts);
  TForm1& w = language == "en" ? StartEnglish() : StartJapanese();
  Settle();
  Save(w.grab(), "main-" + language);

  // The popup menu over the map.
  QMenu* menu = w.PopupMenu1();
  menu->popup(w.mapToGlobal(QPoint(320, 60)));
  Settle();
  Save(menu->grab(), "main-popup-" + language);
  menu->close();

  // Two aircraft heard, for the aircraft list.
  for (const char* flight : {"NH0005", "JL0012"}) {
    RegisterContact(w.State().aircraft, w.State().List, w.Reception().Aircraft(), flight, "JA8089", "NARITA");
  }
  // A watched aircraft heard, for the watch list.
  AddSearchRow(w.State().watchList, "JA80**", "test remark");
  AlertsWiring& alerts = w.Reception().Alerts();
  CheckSearchHit(w.State().watchList, SpecSettings{}, alerts.WatchFiles(), alerts, "JA8089", "JL0012");
  for (int number : {2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20, 21, 22, 23, 24, 25, 26, 28, 29, 30, 31}) {
    SkarvelForm* form = w.Form(number);
    form->show();
    Settle();
    Save(form->grab(), QStringLiteral("form%1-").arg(number) + language);
    form->hide();
  }
  Close();
}

// Every window with a list, its second row (or its only one) clicked.
TEST_P(Screens, ListsWithASelectedRow) {
  const QString language = QString::fromLatin1(GetParam());
  QDir().mkpath(kArtefacts);
  QDir().mkpath(QString::fromStdString(dir_.File("data")));
  testing_support::WriteFile(dir_.File("data/freqs.csv"),
                             testing_support::ReadFile(SKARVEL_PROGRAM_DIR "/data/freqs.csv"));
  TForm1& w = language == "en" ? StartEnglish() : StartJapanese();
  for (const char* flight : {"NH0005", "JL0012"}) {
    RegisterContact(w.State().aircraft, w.State().List, w.Reception().Aircraft(), flight, "JA8089", "NARITA");
  }
  AddSearchRow(w.State().watchList, "JA80**", "test remark");
  AddSearchRow(w.State().watchList, "JA81**", "second");
  HfdlRegistrationTable& registrations = w.State().hfdl.HfdlRegistrations;
  AddRegistrationRow(registrations, "31", 2, "ACARS", "NH", "JA801A", "BOEING 787-8", "86D0A0");
  AddRegistrationRow(registrations, "32", 2, "HFDL", "JL", "JA8089", "B777-200", "800001");
  for (int number : {2, 5, 8, 12, 20, 21, 22, 25, 28}) {
    SkarvelForm* form = w.Form(number);
    form->show();
    form->activateWindow();
    Settle();
    for (QAbstractItemView* list : form->findChildren<QAbstractItemView*>()) {
      // Not a header, nor the list of a combo box, which has its own window.
      if (qobject_cast<QHeaderView*>(list) || list->window() != form) continue;
      const QAbstractItemModel& model = *list->model();
      const int row = std::min(1, model.rowCount() - 1);
      // The grid's first column is fixed: the first cell a click selects.
      for (int column = 0; row >= 0 && column < model.columnCount(); ++column) {
        if (!(model.flags(model.index(row, column)) & Qt::ItemIsSelectable)) continue;
        list->setCurrentIndex(model.index(row, column));
        list->setFocus(Qt::MouseFocusReason);
        break;
      }
    }
    Settle();
    Save(form->grab(), QStringLiteral("form%1-selected-").arg(number) + language);
    form->hide();
  }
  Close();
}

// The two boxes of a start without a sound card: both must be seen.
TEST_P(Screens, StartWithoutASoundCard) {
  const QString language = QString::fromLatin1(GetParam());
  QDir().mkpath(kArtefacts);
  testing_support::FakeDevices devices;
  devices.scripts = {{platform::DeviceOpenResult::DeviceRefused}};
  devices.playback = platform::DeviceOpenResult::DeviceRefused;
  platform::SetMessageBoxHandler(nullptr);
  testing_support::WriteFile(dir_.File("skarvel.ini"), "[Etc]\r\nLanguage=" + std::string(language == "en" ? "1" : "2"));
  window_ = StartMainWindow(nullptr, &devices);
  const auto boxesShown = [] {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::count_if(windows.begin(), windows.end(),
                         [](QWidget* w) { return qobject_cast<QMessageBox*>(w) && w->isVisible(); });
  };
  ASSERT_TRUE(testing_support::PumpUntil([&] { return boxesShown() == 2; }));
  Settle();
  Save(QGuiApplication::primaryScreen()->grabWindow(0), "start-without-sound-card-" + language);
  platform::RejectOpenModals();
  Close();
}

INSTANTIATE_TEST_SUITE_P(Languages, Screens, ::testing::Values("ja", "en"));

}  // namespace
