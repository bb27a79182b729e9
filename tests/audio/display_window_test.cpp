// The monitor button and the two pictures in the real main window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>
#include <QToolButton>
#include <cmath>

#include "app/main_window_fixture.h"
#include "audio/clock_panel.h"
#include "audio/spectrum_display.h"

namespace {

using MonitorButton = MainWindowTest;

TEST_F(MonitorButton, RunsOnAClickNotWhenPressedByCode) {
  TForm1& w = StartEnglish();
  auto sink = std::make_unique<platform::NullPlaybackSink>();
  platform::NullPlaybackSink* played = sink.get();
  w.State().audio.WaveOut.Handle = std::move(sink);
  QToolButton* button = w.SpeedButton(17);
  ASSERT_TRUE(button->isCheckable());
  // As the SELCAL panel presses it: the state follows, the handler stays out.
  button->setChecked(true);
  EXPECT_EQ(w.State().controls.SpeedButton17Down, 1);
  EXPECT_TRUE(played->Blocks.empty());
  // A user's click releases it: one silent block; pressed again, the four
  // silent blocks that lead the monitor.
  button->click();
  EXPECT_EQ(w.State().controls.SpeedButton17Down, 0);
  EXPECT_EQ(played->Blocks.size(), 1u);
  button->click();
  EXPECT_EQ(played->Blocks.size(), 5u);
  Close();
}

using Pictures = MainWindowTest;

TEST_F(Pictures, WaterfallAndClockPanelAreShownInImage5AndImage6) {
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  f.Wave.DecoderL = DecoderKind::Hfdl;
  f.Etc.FFTSel = 0;
  f.Etc.DispType = 0;
  for (int n = 0; n < 512; ++n) f.audio.FilterBlock[0][n] = 32767.0 * std::sin(2.0 * M_PI * 50 * n / 512.0);
  DrawSpectrum(f.audio, f.Wave, f.Etc, w.Audio());
  const QImage waterfall = w.Image(5)->pixmap().toImage().convertToFormat(QImage::Format_BGR888);
  EXPECT_EQ(waterfall, f.audio.SpectrumBitmap.Image());

  f.audio.ClockCache = "12:34:56";
  DrawClockFace(f.audio, f.Color);
  DrawLevelMeters(f.audio, f.Wave, f.Color, w.Audio(), nullptr, 0);
  const QImage clock = w.Image(6)->pixmap().toImage().convertToFormat(QImage::Format_BGR888);
  EXPECT_EQ(clock, f.audio.ClockBitmap.Image());
  EXPECT_NE(clock, waterfall);
  Close();
}

}  // namespace
