// The processing, log-item, About and input-device dialogs on their own
// (offscreen), each with a state of its own.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <tuple>

#include "app/audio_wiring.h"
#include "app/reception_wiring.h"
#include "app/settings.h"
#include "app/tform11.h"
#include "app/tform3.h"
#include "app/tform30.h"
#include "app/up_down.h"
#include "audio/tform8.h"
#include "audio/tform9.h"
#include "audio/wave_devices.h"
#include "app/form1_state.h"
#include "platform/ini_file.h"
#include "platform/shell_open.h"
#include "support/fake_audio_devices.h"
#include "support/recording_links.h"

namespace {

// ---- ProcessingDialog ----

TEST(ProcessingDialog, AutoDeleteAndTheDayCounterFollowTheNamingBox) {
  Form1State f;
  f.Etc.ChangeLogFileName = 0;
  f.Etc.DeleteLogFile = 1;
  TForm3 d(f);
  QCheckBox* naming = d.CheckBox(13);
  QCheckBox* autoDelete = d.CheckBox(14);
  auto dayControlsEnabled = [&] {
    return d.UpDown1()->isEnabled() + d.Label(1)->isEnabled() + d.Label(2)->isEnabled() + d.Label(3)->isEnabled();
  };
  EXPECT_FALSE(autoDelete->isEnabled());
  EXPECT_TRUE(autoDelete->isChecked());
  EXPECT_EQ(dayControlsEnabled(), 0);

  naming->click();
  EXPECT_EQ(f.Etc.ChangeLogFileName, 1);
  EXPECT_TRUE(autoDelete->isEnabled());
  EXPECT_EQ(dayControlsEnabled(), 4);
  autoDelete->click();
  EXPECT_EQ(f.Etc.DeleteLogFile, 0);
  EXPECT_EQ(dayControlsEnabled(), 0);
  EXPECT_TRUE(autoDelete->isEnabled());
  autoDelete->click();
  naming->click();
  // Disabled, the box keeps its tick and the member its value.
  EXPECT_FALSE(autoDelete->isEnabled());
  EXPECT_TRUE(autoDelete->isChecked());
  EXPECT_EQ(f.Etc.DeleteLogFile, 1);
  EXPECT_EQ(dayControlsEnabled(), 0);
}

TEST(ProcessingDialog, EachBoxWritesItsMemberAtOnce) {
  Form1State f;
  TForm3 d(f);
  const std::pair<int, StateField<flag>> boxes[] = {
      {1, STATE_FIELD(Map.TenPointPlot)}, {2, STATE_FIELD(Etc.ConvJC)},  {3, STATE_FIELD(Etc.ConvJD)},
      {4, STATE_FIELD(Txt.SqNoDisp)},     {5, STATE_FIELD(Txt.FreqNoDisp)}, {6, STATE_FIELD(Map.ElsePosGet)},
      {7, STATE_FIELD(Mail.SJISConv)},     {8, STATE_FIELD(Mail.MIMEConv)}, {9, STATE_FIELD(Txt.TISNoDisp)},
      {10, STATE_FIELD(Txt.ShowPos)},     {11, STATE_FIELD(Net.RecvVHF)}, {12, STATE_FIELD(Net.RecvHF)},
      {13, STATE_FIELD(Etc.ChangeLogFileName)}, {14, STATE_FIELD(Etc.DeleteLogFile)}};
  for (const auto& [n, member] : boxes) {
    EXPECT_EQ(d.CheckBox(n)->isChecked(), member(f) != 0) << n;
    const flag before = member(f);
    d.CheckBox(n)->setEnabled(true);
    d.CheckBox(n)->click();
    EXPECT_EQ(member(f), 1 - before) << n;
  }
}

TEST(ProcessingDialog, ExcludedCarriersAreTakenOverOnlyWhenTheDialogCloses) {
  Form1State f;
  f.Etc.PassList = "JL,";
  TForm3 d(f);
  EXPECT_EQ(d.Edit1()->text(), "JL,");
  d.show();
  d.Edit1()->setText("NH,ＪＡ");
  EXPECT_EQ(f.Etc.PassList, "JL,");
  d.close();
  EXPECT_EQ(f.Etc.PassList, "NH,\x82\x69\x82\x60");  // as typed, in code page 932
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

// ---- LogItemsDialog ----

TEST(LogItemsDialog, SixBoxesInKindOrder) {
  Form1State f;
  const flag pattern[6] = {1, 0, 1, 0, 0, 1};
  for (int k = 0; k < 6; ++k) f.Txt.LogOutFlag(k) = pattern[k];
  TForm30 d(f);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(d.CheckBox(k + 1)->isChecked(), pattern[k] != 0) << k;
  EXPECT_EQ(d.CheckBox(5)->text(), "HFDL ANA");
  d.CheckBox(5)->click();
  EXPECT_EQ(f.Txt.LogOutHFDLANA, 1);
  d.CheckBox(1)->click();
  EXPECT_EQ(f.Txt.LogOutACASRAW, 0);
  EXPECT_EQ(f.Txt.LogOutACASPRC, 0);
  EXPECT_EQ(f.Txt.LogOutHFDLDAT, 0);
}

// ---- AboutBox ----

TEST(AboutBox, TheVersionAndTheSystemTableHeldAtEachShowing) {
  Form1State f;
  f.hfdl.SystemVer = 35;
  TForm11 d(f);
  EXPECT_EQ(d.Label(1)->text(), "Skarvel version 1.0.2");
  EXPECT_EQ(d.Label(5)->text(), "build 003");
  d.show();
  EXPECT_EQ(d.Label(8)->text(), "HFDL system table version : 35");
  f.hfdl.SystemVer = 51;
  EXPECT_EQ(d.Label(8)->text(), "HFDL system table version : 35");
  d.close();
  d.show();
  EXPECT_EQ(d.Label(8)->text(), "HFDL system table version : 51");
  d.close();
}

TEST(AboutBox, TheLinkOpensThePageOfTheLanguageInForce) {
  Form1State f;
  TForm11 d(f);
  std::vector<std::string> opened;
  platform::SetShellOpenHandler([&](const std::string& target) { opened.push_back(target); });
  f.app.UseEnglish = 0;
  d.Label3Click();
  f.app.UseEnglish = 1;
  d.Label3Click();
  platform::SetShellOpenHandler(nullptr);
  EXPECT_EQ(opened, (std::vector<std::string>{"https://skarvel.example/", "https://skarvel.example/en/"}));
  EXPECT_EQ(d.Label(3)->text(), "https://skarvel.example/");
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
  }
  Form1State f;
  testing_support::RecordingEffects effects;
  ReceptionWiring reception{f, effects};
  AudioWiring audio{f, effects, reception};
};

TEST_F(InputDeviceDialog, EachRowCarriesItsDeviceAndTheStoredOneIsChecked) {
  TForm8 d(f, audio, ThreeDevices());
  QTreeWidget* list = d.ListView1();
  ASSERT_EQ(list->topLevelItemCount(), 4);
  EXPECT_EQ(d.RowDevice(0), "default");
  EXPECT_EQ(d.RowDevice(1), "hw:CARD=USB,DEV=0");
  EXPECT_EQ(d.RowDevice(3), "hw:CARD=Loop,DEV=1");
  EXPECT_EQ(list->topLevelItem(2)->text(0), "HDA Intel PCH");
  EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Checked);
  EXPECT_EQ(CheckedRows(list), 1);
  TForm8 none(f, audio, {});
  EXPECT_EQ(none.ListView1()->topLevelItemCount(), 1);
  // A stored device beyond the last row checks none.
  f.Wave.WaveInput = 5;
  TForm8 fewer(f, audio, {ThreeDevices()[0], ThreeDevices()[1]});
  EXPECT_EQ(CheckedRows(fewer.ListView1()), 0);
}

TEST_F(InputDeviceDialog, RowZeroFollowsTheLanguageAtEveryShowing) {
  TForm8 d(f, audio, ThreeDevices());
  f.app.UseEnglish = 1;
  d.show();
  EXPECT_EQ(d.ListView1()->topLevelItem(0)->text(0), "Default input device");
  d.close();
  f.app.UseEnglish = 0;
  d.show();
  EXPECT_EQ(d.ListView1()->topLevelItem(0)->text(0), "標準の入力デバイス");
  d.close();
}

TEST_F(InputDeviceDialog, ControlsFollowTheSettings) {
  f.Wave.DecoderL = static_cast<DecoderKind>(7);  // out of range: VHF ACARS
  f.Wave.DecoderR = DecoderKind::Selcal;
  f.Wave.WaveDual = 1;
  f.Wave.WaveRate = 2;
  TForm8 d(f, audio, {});
  EXPECT_TRUE(d.RadioButton(4)->isChecked());
  EXPECT_TRUE(d.RadioButton(8)->isChecked());
  EXPECT_TRUE(d.RadioButton(1)->isChecked());
  EXPECT_FALSE(d.RadioButton(5)->isEnabled());
  EXPECT_FALSE(d.findChild<QGroupBox*>("GroupBox3")->isEnabled());
  EXPECT_EQ(d.ComboBox1()->currentIndex(), 2);
  EXPECT_FALSE(d.ComboBox1()->isEditable());
  d.RadioButton(2)->click();
  EXPECT_TRUE(d.RadioButton(5)->isEnabled());
  EXPECT_TRUE(d.findChild<QGroupBox*>("GroupBox3")->isEnabled());
}

TEST_F(InputDeviceDialog, AClickOnACheckBoxLeavesOneCheck) {
  TForm8 d(f, audio, ThreeDevices());
  QTreeWidget* list = d.ListView1();
  list->topLevelItem(3)->setCheckState(0, Qt::Checked);  // no row selected
  EXPECT_EQ(CheckedRows(list), 1);
  EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Checked);
  list->setCurrentItem(list->topLevelItem(1));
  list->topLevelItem(3)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(CheckedRows(list), 1);
  EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Checked);
}

TEST_F(InputDeviceDialog, OkWithANewDeviceReopensTheDevicesBehindTheNotice) {
  TForm9 notice(f);
  TForm8 d(f, audio, ThreeDevices());
  d.SetDeviceWaitMs(0);
  testing_support::FakeDevices devices;
  QObject receiver;
  f.audio.AudioDevices = &devices;
  f.audio.WaveIn.Receiver = &receiver;
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
  // Both devices open again, once.
  EXPECT_EQ(devices.opens, 1);
  EXPECT_NE(f.audio.WaveIn.Handle, nullptr);
  EXPECT_NE(f.audio.WaveOut.Handle, nullptr);
  EXPECT_EQ(list->topLevelItem(3)->checkState(0), Qt::Checked);
  EXPECT_EQ(CheckedRows(list), 1);
  CloseWaveIn(f.audio, audio);
  CloseWaveOut(f.audio);
}

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
  d.Button(1)->click();
  EXPECT_EQ(f.Wave.DecoderL, DecoderKind::Selcal);
  EXPECT_EQ(f.Wave.WaveDual, 1);
  EXPECT_EQ(f.Etc.FFTSel, 0);
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

}  // namespace
