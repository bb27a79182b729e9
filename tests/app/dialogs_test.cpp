// The processing, log-item and input-device dialogs on their own
// (offscreen), each with a state of its own.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <set>
#include <sstream>
#include <tuple>

#include "app/audio_wiring.h"
#include "app/form1_state.h"
#include "app/reception_wiring.h"
#include "app/settings.h"
#include "app/tform3.h"
#include "app/tform30.h"
#include "app/up_down.h"
#include "audio/tform8.h"
#include "audio/tform9.h"
#include "audio/wave_devices.h"
#include "exchange/tform14.h"
#include "platform/ini_file.h"
#include "support/fake_audio_devices.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

std::vector<std::string> SavedLines(const Form1State& f) {
  IniFile ini;
  SaveSettings(f, ini);
  std::vector<std::string> lines;
  std::istringstream in(ini.ToBytes());
  for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.size() - 1));
  return lines;
}

// Each check box writes a setting of its own at once, its tick the value
// then saved.
TEST(SettingsDialogs, EachBoxWritesASettingOfItsOwnAtOnce) {
  Form1State f;
  TForm3 processing(f);
  TForm30 logItems(f);
  std::set<std::string> written;
  for (QWidget* dialog : {static_cast<QWidget*>(&processing), static_cast<QWidget*>(&logItems)}) {
    const QList<QCheckBox*> boxes = dialog->findChildren<QCheckBox*>();
    EXPECT_FALSE(boxes.empty());
    for (QCheckBox* box : boxes) {
      const std::string name = dialog->objectName().toStdString() + " " + box->objectName().toStdString();
      const std::vector<std::string> before = SavedLines(f);
      box->setEnabled(true);
      box->click();
      const std::vector<std::string> after = SavedLines(f);
      std::vector<std::string> changed;
      for (size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i]) changed.push_back(after[i]);
      }
      ASSERT_EQ(changed.size(), 1u) << name;
      EXPECT_EQ(changed[0].back(), box->isChecked() ? '1' : '0') << name << " " << changed[0];
      EXPECT_TRUE(written.insert(changed[0].substr(0, changed[0].find('='))).second) << name << " " << changed[0];
    }
  }
}

TEST(ProcessingDialog, TheStoredDayCountShowsAsReadUntilAnArrowIsUsed) {
  // A hand-edited count, the count after an up arrow, and after two down
  // arrows more.
  const std::tuple<std::string, int, int> cases[] = {{"500", 365, 363}, {"0", 2, 1}, {"-3", 2, 1}, {"1", 2, 1}};
  for (const auto& [stored, up, down] : cases) {
    IniFile ini;
    ini.LoadFromBytes("[Etc]\r\nDeleteDay=" + stored + "\r\nDeleteLogFile=1\r\n");
    Form1State f;
    LoadSettings(f, ini);
    TForm3 d(f);
    EXPECT_EQ(d.Label(2)->text().toStdString(), stored);
    d.UpDown1()->UpButton()->click();
    EXPECT_EQ(f.Etc.DeleteDay, up) << stored;
    EXPECT_EQ(d.Label(2)->text().toStdString(), std::to_string(up));
    d.UpDown1()->DownButton()->click();
    d.UpDown1()->DownButton()->click();
    EXPECT_EQ(f.Etc.DeleteDay, down) << stored;
  }
}

// ---- InputDeviceDialog ----

std::vector<platform::CaptureDevice> ThreeDevices() {
  return {{"USB Audio", "hw:CARD=USB,DEV=0"}, {"HDA Intel PCH", "hw:CARD=PCH,DEV=0"}, {"Loopback", "hw:CARD=Loop,DEV=1"}};
}

int CheckedRows(const QTreeWidget* list) {
  int checked = 0;
  for (int r = 0; r < list->topLevelItemCount(); ++r) checked += list->topLevelItem(r)->checkState(0) == Qt::Checked;
  return checked;
}

class InputDeviceDialog : public ::testing::Test {
 protected:
  InputDeviceDialog() {
    f.Wave.WaveInput = 2;
    f.Wave.WaveRate = 0;
    f.Wave.WaveDual = 2;
    f.Wave.DecoderL = DecoderKind::Hfdl;
    f.Wave.DecoderR = DecoderKind::VhfAcars;
    f.audio.AudioDevices = &devices;
    f.audio.WaveIn.Receiver = &receiver;
  }
  ~InputDeviceDialog() override {
    CloseWaveIn(f.audio, audio);
    CloseWaveOut(f.audio);
  }
  Form1State f;
  testing_support::RecordingEffects effects;
  ReceptionWiring reception{f, effects};
  AudioWiring audio{f, effects, reception};
  testing_support::FakeDevices devices;
  QObject receiver;
  testing_support::MessageBoxRecorder boxes;
};

// Row 0 is the default device; the stored one is checked, and a click on a
// check box leaves the one check where the selection is.
TEST_F(InputDeviceDialog, EachRowCarriesItsDeviceAndTheStoredOneIsChecked) {
  TForm8 d(f, audio, ThreeDevices());
  QTreeWidget* list = d.ListView1();
  EXPECT_EQ(d.RowDevice(0), "default");
  EXPECT_EQ(d.RowDevice(3), "hw:CARD=Loop,DEV=1");
  EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Checked);
  list->topLevelItem(3)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Checked);
  list->setCurrentItem(list->topLevelItem(1));
  list->topLevelItem(3)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Checked);
  EXPECT_EQ(CheckedRows(list), 1);
  // A stored device beyond the last row checks none.
  f.Wave.WaveInput = 5;
  EXPECT_EQ(CheckedRows(TForm8(f, audio, ThreeDevices()).ListView1()), 0);
}

TEST_F(InputDeviceDialog, OkWithANewDeviceOrRateReopensBothDevicesBehindTheNotice) {
  TForm9 notice(f);
  TForm8 d(f, audio, ThreeDevices());
  d.SetDeviceWaitMs(0);
  bool noticeShownAtTheOpen = false;
  devices.onCaptureOpen = [&] { noticeShownAtTheOpen = notice.isVisible(); };
  f.controls.SpeedButton17Down = 1;
  d.show();
  QTreeWidget* list = d.ListView1();
  list->setCurrentItem(list->topLevelItem(3));
  d.Button(1)->click();
  EXPECT_TRUE(noticeShownAtTheOpen);
  EXPECT_FALSE(notice.isVisible());
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(f.Wave.WaveInput, 3);
  EXPECT_EQ(f.controls.SpeedButton17Down, 0);
  EXPECT_EQ(devices.opens, 1);
  EXPECT_NE(f.audio.WaveIn.Handle, nullptr);
  EXPECT_NE(f.audio.WaveOut.Handle, nullptr);
  EXPECT_EQ(list->topLevelItem(3)->checkState(0), Qt::Checked);
  EXPECT_EQ(CheckedRows(list), 1);

  // The rate alone, no row selected: the device stays.
  list->clearSelection();
  d.show();
  d.ComboBox1()->setCurrentIndex(2);
  d.Button(1)->click();
  EXPECT_EQ(devices.opens, 2);
  EXPECT_EQ(f.Wave.WaveInput, 3);
  EXPECT_EQ(f.Wave.WaveRate, 2);
  // A device that does not open is not checked.
  devices.scripts = {{}, {}, {platform::DeviceOpenResult::DeviceRefused}};
  d.show();
  list->setCurrentItem(list->topLevelItem(1));
  d.Button(1)->click();
  EXPECT_EQ(f.Wave.WaveInput, 1);
  EXPECT_NE(list->topLevelItem(1)->checkState(0), Qt::Checked);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Can not open the recoding device"});
}

// The mode and the decoders change on OK only, leaving the devices alone;
// a channel no longer decoded as before starts afresh.
TEST_F(InputDeviceDialog, OkAppliesModeAndDecodersCancelKeepsTheAbandonedChoices) {
  TForm8 d(f, audio, ThreeDevices());
  d.show();
  d.RadioButton(7)->click();  // left: SELCAL
  d.RadioButton(1)->click();  // single
  d.Button(2)->click();       // Cancel
  EXPECT_EQ(f.Wave.DecoderL, DecoderKind::Hfdl);
  EXPECT_EQ(f.Wave.WaveDual, 2);
  d.show();
  EXPECT_TRUE(d.RadioButton(7)->isChecked());
  EXPECT_TRUE(d.RadioButton(1)->isChecked());
  f.Etc.FFTSel = 2;
  for (HfdlChannelState& s : f.hfdl.Channels) s.Locked = 1;
  d.Button(1)->click();
  EXPECT_EQ(f.Wave.DecoderL, DecoderKind::Selcal);
  EXPECT_EQ(f.Wave.DecoderR, DecoderKind::VhfAcars);
  EXPECT_EQ(f.Wave.WaveDual, 1);
  EXPECT_EQ(f.Etc.FFTSel, 0);
  // The right channel, no longer decoded, leaves any frame it was in.
  EXPECT_EQ(f.hfdl.Channels[0].Locked, 0);
  EXPECT_EQ(f.hfdl.Channels[1].Locked, 0);
  EXPECT_EQ(devices.opens, 0);
  // Unchanged, each channel keeps its frame and the spectrum its channel.
  for (HfdlChannelState& s : f.hfdl.Channels) s.Locked = 1;
  f.Etc.FFTSel = 1;
  d.show();
  d.Button(1)->click();
  EXPECT_EQ(f.hfdl.Channels[0].Locked + f.hfdl.Channels[1].Locked, 2);
  EXPECT_EQ(f.Etc.FFTSel, 1);
}

// In dual mode a channel whose decoder changes starts afresh; the other
// keeps the frame it is in.
TEST_F(InputDeviceDialog, ADecoderChangeResetsThatChannelOnly) {
  TForm8 d(f, audio, ThreeDevices());
  // The button chosen, then whether each channel kept its frame.
  const std::tuple<int, int, int> rows[] = {{7, 0, 1}, {5, 1, 0}, {4, 0, 1}, {4, 1, 1}};
  for (const auto& [button, keptL, keptR] : rows) {
    for (HfdlChannelState& s : f.hfdl.Channels) s.Locked = 1;
    d.show();
    d.RadioButton(button)->click();
    d.Button(1)->click();
    const std::pair<int, int> kept(f.hfdl.Channels[0].Locked, f.hfdl.Channels[1].Locked);
    EXPECT_EQ(kept, std::pair(keptL, keptR)) << button;
  }
  EXPECT_EQ(f.Wave.DecoderL, DecoderKind::VhfAcars);
  EXPECT_EQ(f.Wave.DecoderR, DecoderKind::Hfdl);
  EXPECT_EQ(f.Wave.WaveDual, 2);
}

TEST_F(InputDeviceDialog, AServerThatDoesNotDecodeShowsItsKeptMode) {
  f.Net.Server = 1;
  f.Net.ServerDec = 0;
  f.Wave.WaveDual = 0;
  f.app.SavedWaveDual = 2;
  TForm8 d(f, audio, {});
  EXPECT_TRUE(d.RadioButton(2)->isChecked());
  d.RadioButton(1)->click();
  d.Button(1)->click();
  EXPECT_EQ(f.Wave.WaveDual, 0);
  EXPECT_EQ(f.app.SavedWaveDual, 1);
}

// A dialog the program waits for stays in sight until it is answered: on
// top, above the windows that stay on top (another copy's too, which this
// one cannot see), and shown again when minimised. Shown again without
// waiting it is an ordinary window; one that stays on top of its own
// still does.
TEST(ModalDialogs, StayInSightOnlyWhileTheProgramWaits) {
  Form1State f;
  TForm14 ip(f);
  TForm30 logItems(f);
  for (SkarvelForm* dialog : {static_cast<SkarvelForm*>(&ip), static_cast<SkarvelForm*>(&logItems)}) {
    SCOPED_TRACE(dialog->objectName().toStdString());
    bool onTop = false;
    bool shownAgain = false;
    QTimer::singleShot(0, dialog, [&] {
      onTop = dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      dialog->showMinimized();
      shownAgain = testing_support::PumpUntil([&] { return !dialog->isMinimized(); }, 1000);
      dialog->reject();
    });
    dialog->exec();
    EXPECT_TRUE(onTop);
    EXPECT_TRUE(shownAgain);
    dialog->show();
    EXPECT_EQ(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint), dialog == &logItems);
    dialog->showMinimized();
    testing_support::PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(dialog->isMinimized());
    dialog->hide();
  }
}

}  // namespace
