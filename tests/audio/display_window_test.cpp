// The monitor button and the two pictures in the real main window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>
#include <QToolButton>
#include <cmath>

#include "app/main_window_fixture.h"
#include "audio/audio_services.h"

namespace {

struct ClickRecorder : AudioServices {
  std::vector<int> downAtClick;
  void SpeedButton17Click(Form1State& form) override { downAtClick.push_back(form.controls.SpeedButton17Down); }
};

using MonitorButton = MainWindowTest;

TEST_F(MonitorButton, RunsOnAClickNotWhenPressedByCode) {
  TForm1& w = StartEnglish();
  ClickRecorder recorder;
  AudioServices* real = w.State().svc.audio;
  w.State().svc.audio = &recorder;
  QToolButton* button = w.SpeedButton(17);
  ASSERT_TRUE(button->isCheckable());
  // As the SELCAL panel presses it: the state follows, the handler stays out.
  button->setChecked(true);
  EXPECT_EQ(w.State().controls.SpeedButton17Down, 1);
  EXPECT_TRUE(recorder.downAtClick.empty());
  // A user's click releases it; the handler sees the new state.
  button->click();
  EXPECT_EQ(recorder.downAtClick, std::vector<int>{0});
  button->click();
  EXPECT_EQ(recorder.downAtClick, (std::vector<int>{0, 1}));
  w.State().svc.audio = real;
  Close();
}

using Pictures = MainWindowTest;

TEST_F(Pictures, WaterfallAndClockPanelAreShownInImage5AndImage6) {
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  f.Wave.DecoderL = 1;
  f.Etc.FFTSel = 0;
  f.Etc.DispType = 0;
  for (int n = 0; n < 512; ++n) f.audio.FilterBlock[0][n] = 32767.0 * std::sin(2.0 * M_PI * 50 * n / 512.0);
  f.svc.audio->DrawSpectrum(f);
  const QImage waterfall = w.Image(5)->pixmap().toImage();
  ASSERT_EQ(waterfall.size(), QSize(55, 42));
  EXPECT_EQ(waterfall.pixelColor(20, 0), QColor(0, 9, 255));
  EXPECT_EQ(waterfall.pixelColor(10, 0), QColor(0, 0, 0));

  f.audio.ClockCache = "12:34:56";
  f.svc.audio->DrawClockFace(f);
  f.svc.audio->DrawLevelMeters(f, nullptr, 0);
  const QImage clock = w.Image(6)->pixmap().toImage().convertToFormat(QImage::Format_BGR888);
  EXPECT_EQ(clock, f.audio.ClockBitmap.Image());
  // The default unlit colour "603000" and lit colour "FF8000".
  // The middle bar: unlit in the 1, lit in the 2.
  EXPECT_EQ(clock.pixelColor(13 + 7, 2 + 10), QColor(0, 48, 96));
  EXPECT_EQ(clock.pixelColor(29 + 7, 2 + 10), QColor(0, 128, 255));
  Close();
}

}  // namespace
