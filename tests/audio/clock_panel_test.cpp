// The clock face, the level meters with their holds, the legend and the
// decoder captions on the clock bitmap.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <vector>

#include "audio/clock_panel.h"
#include "display_fixture.h"

namespace {

using audio_test::DisplayFixture;
using audio_test::kBack;
using audio_test::kLit;
using audio_test::kUnlit;

int GlyphPixels(int glyph) {
  int n = 0;
  for (int at = glyph * kClockGlyphStride; kClockGlyphs[at] != 255; at += 2) ++n;
  return n;
}

int Count(const Bitmap24& b, TColor colour, int y0, int y1, int x0 = 0, int x1 = 132) {
  int n = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) n += b.Pixel(x, y) == colour;
  return n;
}

TEST(ClockPanel, GlyphTable) {
  EXPECT_EQ(GlyphPixels(8), 113);
  EXPECT_EQ(GlyphPixels(0), 96);
  EXPECT_EQ(GlyphPixels(1), 34);
  EXPECT_EQ(GlyphPixels(7), 48);
  EXPECT_EQ(GlyphPixels(10), 8);
  for (int g = 0; g <= 10; ++g) {
    for (int at = g * kClockGlyphStride; kClockGlyphs[at] != 255; at += 2) {
      EXPECT_LE(kClockGlyphs[at], 14) << g;
      EXPECT_LE(kClockGlyphs[at + 1], 20) << g;
    }
  }
  Bitmap24 b(15, 21);
  for (int glyph : {-1, 11, 255}) DrawGlyph(b, glyph, 0, 0xFFFFFF, 0);
  EXPECT_EQ(Count(b, 0xFFFFFF, 0, 20, 0, 14), 0);
}

TEST(ClockPanel, Golden090530) {
  DisplayFixture d;
  d.form.audio.ClockCache = "09:05:30";
  DrawClockFace(d.form);
  const Bitmap24& b = d.form.audio.ClockBitmap;
  EXPECT_EQ(Count(b, kLit, 2, 22), 558);
  EXPECT_EQ(Count(b, kUnlit, 2, 22), 136);
  EXPECT_EQ(Count(b, kLit, 0, 41) + Count(b, kUnlit, 0, 41), 558 + 136);
  // Each place: the lit digit over an unlit 8.
  const int places[6] = {13, 29, 51, 67, 89, 105};
  const int digits[6] = {0, 9, 0, 5, 3, 0};
  for (int p = 0; p < 6; ++p) {
    Bitmap24 lit(15, 21);
    DrawGlyph(lit, digits[p], 0, 0xFFFFFF, 0);
    for (int at = 8 * kClockGlyphStride; kClockGlyphs[at] != 255; at += 2) {
      const int dx = kClockGlyphs[at], dy = kClockGlyphs[at + 1];
      const TColor want = lit.Pixel(dx, dy) == 0xFFFFFF ? kLit : kUnlit;
      EXPECT_EQ(b.Pixel(places[p] + dx, 2 + dy), want) << p << " " << dx << "," << dy;
    }
  }
  for (int colon : {45, 83}) {
    EXPECT_EQ(b.Pixel(colon, 17), kLit);
    EXPECT_EQ(b.Pixel(colon + 3, 7), kLit);
  }
}

TEST(ClockPanel, CaptionsRightAlignedAndOffWithOneChannel) {
  struct Case {
    int decoder;
    int firstX;  // leftmost lit column of the caption
  };
  for (Case c : {Case{0, 40}, Case{1, 45}, Case{2, 30}}) {
    DisplayFixture d;
    d.form.Wave.DecoderL = c.decoder;
    d.form.Wave.DecoderR = c.decoder;
    d.form.Wave.WaveDual = 2;
    DrawLevelMeters(d.form, nullptr, 0);
    const Bitmap24& b = d.form.audio.ClockBitmap;
    int first = 999, last = -1;
    for (int x = 0; x <= 66; ++x) {
      if (Count(b, kLit, 26, 30, x, x) > 0) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
    EXPECT_EQ(first, c.firstX) << c.decoder;
    EXPECT_EQ(last, 63) << c.decoder;
    // The right one starts at 69.
    EXPECT_GT(Count(b, kLit, 26, 30, 69, 69), 0);
    EXPECT_EQ(Count(b, kLit, 26, 30, 64, 68), 0);
  }
  DisplayFixture d;
  d.form.Wave.WaveDual = 1;
  DrawLevelMeters(d.form, nullptr, 0);
  // "OFF": 14 wide from 69.
  const int offPixels = 12 + 4 + 8 + 4 + 6;
  EXPECT_EQ(Count(d.form.audio.ClockBitmap, kLit, 26, 30, 64, 132), offPixels);
  EXPECT_EQ(Count(d.form.audio.ClockBitmap, kLit, 26, 30, 69, 82), offPixels);
  // A decoder value that means nothing: the caption row stays ClockBack.
  for (int decoder : {3, -1}) {
    DisplayFixture bad;
    bad.form.Wave.DecoderL = decoder;
    bad.form.Wave.DecoderR = decoder;
    bad.form.Wave.WaveDual = 2;
    DrawLevelMeters(bad.form, nullptr, 0);
    EXPECT_EQ(Count(bad.form.audio.ClockBitmap, kBack, 26, 30, 9, 123), 5 * 115) << decoder;
  }
}

TEST(ClockPanel, MeterLegend) {
  DisplayFixture d;
  DrawLevelMeters(d.form, nullptr, 0);
  const Bitmap24& b = d.form.audio.ClockBitmap;
  EXPECT_EQ(Count(b, kLit, 32, 32), 20);
  for (int x = 9; x <= 123; x += 6) EXPECT_EQ(b.Pixel(x, 32), kLit) << x;
  // Row 33: odd columns of both halves, and the two bands in full.
  EXPECT_EQ(Count(b, kLit, 33, 33), 28 + 28 + 12 + 12);
  EXPECT_EQ(b.Pixel(16, 33), kLit);
  EXPECT_EQ(b.Pixel(64, 33), kBack);
  EXPECT_EQ(b.Pixel(65, 33), kBack);
  // "L" and "R".
  EXPECT_EQ(Count(b, kLit, 35, 39, 0, 7), 5 + 3);
  EXPECT_EQ(Count(b, kLit, 35, 39, 125, 132), 5 + 4 + 3);
}

// Raw stereo frames, left and right constant.
std::vector<int16_t> Frames(int frames, int16_t left, int16_t right) {
  std::vector<int16_t> v(2 * static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    v[2 * i] = left;
    v[2 * i + 1] = right;
  }
  return v;
}

// The panel as the program draws it with its default colours, twice over:
// two channels (HFDL left, VHF ACARS right) with levels and a held peak
// at 09:05:30, then one channel (SELCAL, the right bar OFF) at 23:59:59.
QImage ClockPanelPicture() {
  QImage picture(133, 2 * 42, QImage::Format_BGR888);
  const std::vector<int16_t> loud = Frames(512, 8000, 3000);
  const std::vector<int16_t> softer = Frames(512, 4000, 3000);
  {
    DisplayFixture d;
    d.form.Color.ClockBack = 0x000000;
    d.form.audio.ClockBitmap.Fill(0x000000);
    d.form.Wave.WaveDual = 2;
    d.form.Wave.DecoderL = 1;
    d.form.Wave.DecoderR = 0;
    d.form.audio.ClockCache = "09:05:30";
    DrawClockFace(d.form);
    for (int pass = 0; pass < 3; ++pass) DrawLevelMeters(d.form, loud.data(), 512);
    DrawLevelMeters(d.form, softer.data(), 512);
    const QImage& top = d.form.audio.ClockBitmap.Image();
    for (int y = 0; y < 42; ++y) std::copy(top.constScanLine(y), top.constScanLine(y) + 3 * 133, picture.scanLine(y));
  }
  {
    DisplayFixture d;
    d.form.Color.ClockBack = 0x000000;
    d.form.audio.ClockBitmap.Fill(0x000000);
    d.form.Wave.WaveDual = 1;
    d.form.Wave.DecoderL = 2;
    d.form.audio.ClockCache = "23:59:59";
    DrawClockFace(d.form);
    DrawLevelMeters(d.form, nullptr, 0);
    const QImage& bottom = d.form.audio.ClockBitmap.Image();
    for (int y = 0; y < 42; ++y) std::copy(bottom.constScanLine(y), bottom.constScanLine(y) + 3 * 133, picture.scanLine(42 + y));
  }
  return picture;
}

TEST(ClockPanel, MatchesTheGoldenPicture) {
  const QImage picture = ClockPanelPicture();
  const QString golden = QStringLiteral(SKARVEL_SOURCE_DIR "/tests/audio/golden/clock_panel.png");
  const QImage expected = QImage(golden).convertToFormat(QImage::Format_BGR888);
  if (expected != picture) {
    // Left for a look, and to replace the golden when a change is meant.
    QDir().mkpath(QStringLiteral(SKARVEL_ARTEFACTS_DIR));
    picture.save(QStringLiteral(SKARVEL_ARTEFACTS_DIR "/clock_panel.png"));
    FAIL() << "differs from " << golden.toStdString() << "; see " SKARVEL_ARTEFACTS_DIR "/clock_panel.png";
  }
}

TEST(Meter, KnownAnswers) {
  LevelMeter m;
  auto pass = [&m](int16_t peak) {
    std::vector<int16_t> f = Frames(512, peak, 0);
    UpdateLevelMeter(m, f.data(), 512, 0);
  };
  pass(2000);
  EXPECT_EQ(m.Value, 10.0);
  EXPECT_EQ(m.History[0], 10);
  pass(2100);
  EXPECT_EQ(m.Value, 10.5);
  EXPECT_EQ(m.History[0], 10);
  pass(3200);
  EXPECT_EQ(m.History[0], 16);
  EXPECT_EQ(m.Meter, 12);

  LevelMeter full;
  std::vector<int> meters;
  for (int i = 0; i < 4; ++i) {
    std::vector<int16_t> f = Frames(512, 32767, 0);
    UpdateLevelMeter(full, f.data(), 512, 0);
    meters.push_back(full.Meter);
  }
  EXPECT_EQ(meters, (std::vector<int>{18, 36, 54, 54}));
  EXPECT_EQ(full.Value, 54.0);
}

TEST(Meter, PositiveExcursionsOfTheFirst512FramesOnly) {
  std::vector<int16_t> f = Frames(2048, -32768, 1000);
  f[2 * 600] = 32767;  // past frame 511: not counted
  f[2 * 511] = 4000;
  LevelMeter left, right;
  UpdateLevelMeter(left, f.data(), 2048, 0);
  UpdateLevelMeter(right, f.data(), 2048, 1);
  EXPECT_EQ(left.Peak, 4000.0);
  EXPECT_EQ(right.Peak, 1000.0);
  LevelMeter negative;
  std::vector<int16_t> down = Frames(512, -20000, -20000);
  UpdateLevelMeter(negative, down.data(), 512, 0);
  EXPECT_EQ(negative.Peak, 0.0);
  EXPECT_EQ(negative.History[0], 0);
}

TEST(Meter, HoldFallsBack) {
  DisplayFixture d;
  d.form.Wave.WaveDual = 2;
  const std::vector<int16_t> loud = Frames(512, 32767, 32767);
  const std::vector<int16_t> quiet = Frames(512, 0, 0);
  const Bitmap24& b = d.form.audio.ClockBitmap;
  std::vector<int> meters;
  for (int pass = 1; pass <= 14; ++pass) {
    DrawLevelMeters(d.form, pass == 1 ? loud.data() : quiet.data(), 512);
    meters.push_back(d.form.audio.InputLevelMeter[0].Meter);
    // The hold's 2-pixel mark; the ClockBack lines cut its even column.
    const bool held = pass <= 11;
    EXPECT_EQ(b.Pixel(45, 37), held ? kLit : kUnlit) << pass;
    EXPECT_EQ(b.Pixel(44, 37), kBack) << pass;
    EXPECT_EQ(b.Pixel(87, 37), held ? kLit : kUnlit) << pass;
    EXPECT_EQ(b.Pixel(88, 37), kBack) << pass;
    if (pass >= 4) {
      EXPECT_EQ(b.Pixel(63, 37), held ? kUnlit : kLit) << pass;
      EXPECT_EQ(b.Pixel(69, 37), held ? kUnlit : kLit) << pass;
    }
  }
  EXPECT_EQ(std::vector<int>(meters.begin(), meters.begin() + 4), (std::vector<int>{18, 18, 18, 0}));
  // The display counter is the pipeline's alone.
  EXPECT_EQ(d.form.audio.PipelineCounter, 0);
  // The bar itself: meter 18 lights x 46..63 at its odd columns.
  DisplayFixture e;
  e.form.Wave.WaveDual = 2;
  DrawLevelMeters(e.form, loud.data(), 512);
  for (int x = 9; x <= 63; ++x) {
    const TColor want = x % 2 == 0 ? kBack : (x >= 46 || x == 45) ? kLit : kUnlit;
    EXPECT_EQ(e.form.audio.ClockBitmap.Pixel(x, 35), want) << x;
  }
  for (int x = 69; x <= 123; ++x) {
    const TColor want = x % 2 == 0 ? kBack : (x <= 86 || x == 87) ? kLit : kUnlit;
    EXPECT_EQ(e.form.audio.ClockBitmap.Pixel(x, 39), want) << x;
  }
  EXPECT_EQ(e.shown, std::vector<std::string>{"Image6"});
}

TEST(Meter, RightMeterMovesWhileNotShown) {
  DisplayFixture d;
  d.form.Wave.WaveDual = 1;
  const std::vector<int16_t> loud = Frames(512, 0, 32767);
  const std::vector<int16_t> quiet = Frames(512, 0, 0);
  for (int i = 0; i < 3; ++i) DrawLevelMeters(d.form, loud.data(), 512);
  EXPECT_EQ(d.form.audio.InputLevelMeter[1].Meter, 54);
  EXPECT_EQ(d.form.audio.InputLevelMeter[1].Hold, 54);
  // Shown empty: the bar unlit, its lines and OFF.
  for (int x = 69; x <= 123; ++x) EXPECT_EQ(d.form.audio.ClockBitmap.Pixel(x, 36), x % 2 ? kUnlit : kBack) << x;
  // The peak ages while hidden: a switch to two channels shows the
  // current level and hold, not the old peak.
  for (int i = 0; i < 20; ++i) DrawLevelMeters(d.form, quiet.data(), 512);
  d.form.Wave.WaveDual = 2;
  DrawLevelMeters(d.form, quiet.data(), 512);
  EXPECT_EQ(d.form.audio.ClockBitmap.Pixel(69, 36), kLit);
  EXPECT_EQ(d.form.audio.ClockBitmap.Pixel(69 + 54, 36), kUnlit);
  // And a level that is still there shows at once.
  d.form.Wave.WaveDual = 1;
  DrawLevelMeters(d.form, loud.data(), 512);
  d.form.Wave.WaveDual = 2;
  DrawLevelMeters(d.form, loud.data(), 512);
  EXPECT_EQ(d.form.audio.InputLevelMeter[1].Meter, 36);
  EXPECT_EQ(d.form.audio.ClockBitmap.Pixel(68 + 35, 36), kLit);
  EXPECT_EQ(d.form.audio.ClockBitmap.Pixel(69 + 36, 36), kLit);  // the hold mark
  EXPECT_EQ(d.form.audio.ClockBitmap.Pixel(69 + 38, 36), kUnlit);
}

}  // namespace
