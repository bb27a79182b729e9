#include "audio/clock_panel.h"

#include <algorithm>

#include "audio/audio_state.h"

namespace {

// A run of pixels of a segment: along dx on row dy, or along dy in column dx.
struct Run {
  bool alongX;
  int at;
  int from;
  int to;
};
struct Segment {
  Run runs[3];
  int count;
};

constexpr Segment kSegments[7] = {
    {{{true, 0, 5, 12}, {true, 1, 6, 11}}, 2},                        // a, top
    {{{false, 12, 5, 8}, {false, 13, 2, 9}, {false, 14, 1, 5}}, 3},   // b, upper right
    {{{false, 10, 15, 18}, {false, 11, 12, 19}, {false, 12, 11, 15}}, 3},  // c, lower right
    {{{true, 19, 3, 8}, {true, 20, 2, 9}}, 2},                        // d, bottom
    {{{false, 0, 15, 19}, {false, 1, 11, 18}, {false, 2, 12, 15}}, 3},  // e, lower left
    {{{false, 2, 5, 9}, {false, 3, 1, 8}, {false, 4, 2, 5}}, 3},      // f, upper left
    {{{true, 9, 5, 9}, {true, 10, 4, 10}, {true, 11, 5, 9}}, 3},      // g, middle
};

// Segments a..g as bits 0..6, per digit.
constexpr uint8_t kDigitSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

constexpr std::array<uint8_t, 11 * kClockGlyphStride> BuildGlyphs() {
  std::array<uint8_t, 11 * kClockGlyphStride> t{};
  for (int g = 0; g < 11; ++g) {
    int at = g * kClockGlyphStride;
    auto put = [&t, &at](int dx, int dy) {
      t[at++] = static_cast<uint8_t>(dx);
      t[at++] = static_cast<uint8_t>(dy);
    };
    if (g == 10) {
      // The colon: two 2 x 2 dots, the lower one further left.
      for (int dy = 15; dy <= 16; ++dy)
        for (int dx = 0; dx <= 1; ++dx) put(dx, dy);
      for (int dy = 4; dy <= 5; ++dy)
        for (int dx = 2; dx <= 3; ++dx) put(dx, dy);
    } else {
      for (int s = 0; s < 7; ++s) {
        if (!(kDigitSegments[g] & (1 << s))) continue;
        for (int r = 0; r < kSegments[s].count; ++r) {
          const Run& run = kSegments[s].runs[r];
          for (int v = run.from; v <= run.to; ++v) {
            if (run.alongX) {
              put(v, run.at);
            } else {
              put(run.at, v);
            }
          }
        }
      }
    }
    t[at] = 255;
  }
  return t;
}

// Decoder captions, 5 pixels high.
struct Caption {
  const char* rows[5];
};
constexpr Caption kAcars = {{".##...###..##..###..####", "#..#.#....#..#.#..#.#...", "####.#....####.###..####",
                             "#..#.#....#..#.#.#.....#", "#..#..###.#..#.#..#.####"}};
constexpr Caption kHfdl = {{"#..#.####.###..#...", "#..#.#....#..#.#...", "####.###..#..#.#...", "#..#.#....#..#.#...",
                            "#..#.#....###..####"}};
constexpr Caption kSelcal = {{"####.####.#.....###..##..#....#...", "#....#....#....#....#..#.#....#...",
                              "####.####.#....#....####.#....#...", "...#.#....#....#....#..#.#....#...",
                              "####.####.####..###.#..#.####.####"}};
constexpr Caption kOff = {{"####.####.####", "#..#.#....#...", "#..#.###..###.", "#..#.#....#...", "####.#....#..."}};

constexpr int kCaptionTop = 26;
constexpr int kBarTop = 35;
constexpr int kBarBottom = 39;
constexpr int kMeterMax = 54;
constexpr int kHoldMax = 57;
constexpr int kHoldPasses = 10;

void DrawCaption(Bitmap24& bitmap, const Caption& caption, int x, TColor colour) {
  for (int dy = 0; dy < 5; ++dy) {
    for (int dx = 0; caption.rows[dy][dx] != '\0'; ++dx) {
      if (caption.rows[dy][dx] == '#') PutPixel24(x + dx, kCaptionTop + dy, bitmap, colour);
    }
  }
}

// A decoder's caption, right-aligned to x = 63 on the left; no caption for
// a decoder value that means nothing.
void DrawDecoderCaption(Bitmap24& bitmap, int decoder, bool left, TColor colour) {
  switch (decoder) {
    case 0: DrawCaption(bitmap, kAcars, left ? 40 : 69, colour); break;
    case 1: DrawCaption(bitmap, kHfdl, left ? 45 : 69, colour); break;
    case 2: DrawCaption(bitmap, kSelcal, left ? 30 : 69, colour); break;
    default: break;
  }
}

void DrawMeterLegend(Bitmap24& bitmap, TColor colour) {
  for (int x = 9; x <= 123; x += 6) PutPixel24(x, 32, bitmap, colour);
  for (int x = 9; x <= 123; ++x) {
    const bool odd = x % 2 == 1 && (x <= 63 || x >= 69);
    const bool band = (x >= 15 && x <= 39) || (x >= 93 && x <= 117);
    if (odd || band) PutPixel24(x, 33, bitmap, colour);
  }
  // "L"
  for (int y = 35; y <= 39; ++y) PutPixel24(3, y, bitmap, colour);
  for (int x = 3; x <= 6; ++x) PutPixel24(x, 39, bitmap, colour);
  // "R"
  for (int y = 35; y <= 39; ++y) PutPixel24(126, y, bitmap, colour);
  for (int y : {35, 37}) {
    PutPixel24(127, y, bitmap, colour);
    PutPixel24(128, y, bitmap, colour);
  }
  for (int y : {36, 38, 39}) PutPixel24(129, y, bitmap, colour);
}

// The peak hold: a new maximum holds for 10 passes, is drawn once more
// and then falls back to the start of the bar. Returns where to mark.
int AdvanceHold(LevelMeter& m) {
  if (m.Meter > m.Hold) {
    m.Hold = std::min(m.Meter, kHoldMax);
    m.HoldAge = 0;
  }
  const int mark = m.Hold;
  if (m.HoldAge < kHoldPasses) {
    ++m.HoldAge;
  } else {
    m.Hold = 0;
  }
  return mark;
}

// The ClockBack lines that cut a bar into one-pixel segments.
void CutBar(Bitmap24& bitmap, int firstX, int lastX, TColor colour) {
  for (int x = firstX; x <= lastX; x += 2) bitmap.VLine(x, kBarTop, kBarBottom, colour);
}

}  // namespace

const std::array<uint8_t, 11 * kClockGlyphStride> kClockGlyphs = BuildGlyphs();

void DrawGlyph(Bitmap24& bitmap, int glyph, int x, TColor colour, int y) {
  if (glyph < 0 || glyph > 10) return;
  for (int at = glyph * kClockGlyphStride; kClockGlyphs[at] != 255; at += 2) {
    PutPixel24(x + kClockGlyphs[at], y + kClockGlyphs[at + 1], bitmap, colour);
  }
}

void DrawClockFace(AudioState& audio, const ColorSettings& color) {
  Bitmap24& bitmap = audio.ClockBitmap;
  bitmap.Fill(color.ClockBack);
  const std::string text = audio.ClockCache.substr(0, 8);
  // Every digit place shows an unlit 8 under its lit digit.
  int x = 13;
  for (char c : text) {
    if (c == ':') {
      x += 6;
    } else {
      DrawGlyph(bitmap, 8, x, color.LineColor1, 2);
      x += 16;
    }
  }
  x = 13;
  for (char c : text) {
    if (c == ':') {
      DrawGlyph(bitmap, 10, x, color.ClockText, 2);
      x += 6;
    } else {
      DrawGlyph(bitmap, c - '0', x, color.ClockText, 2);
      x += 16;
    }
  }
}

void UpdateLevelMeter(LevelMeter& m, const int16_t* interleaved, int frames, int channel) {
  int peak = 0;
  if (interleaved) {
    // Positive excursions of the first 512 frames, whatever the rate.
    const int n = std::clamp(frames, 0, 512);
    for (int i = 0; i < n; ++i) peak = std::max(peak, static_cast<int>(interleaved[2 * i + channel]));
  }
  m.Peak = peak;
  m.Value = std::clamp(m.Peak * 0.005, 0.0, static_cast<double>(kMeterMax));
  std::copy_backward(m.History, m.History + 4, m.History + 5);
  m.History[0] = static_cast<int32_t>(m.Value / 2.0) * 2;
  m.Meter = (m.History[0] + m.History[1] + m.History[2]) / 3;
}

void DrawLevelMeters(AudioState& audio, const WaveSettings& wave, const ColorSettings& color, BlockPipelineLink& link,
                     const int16_t* interleaved, int frames) {
  Bitmap24& bitmap = audio.ClockBitmap;
  const TColor back = color.ClockBack;
  const TColor lit = color.ClockText;
  const TColor unlit = color.LineColor1;
  // Both channels move, shown or not, so that switching to two channels
  // shows current values.
  for (int ch = 0; ch < 2; ++ch) UpdateLevelMeter(audio.InputLevelMeter[ch], interleaved, frames, ch);
  const int leftHold = AdvanceHold(audio.InputLevelMeter[0]);
  const int rightHold = AdvanceHold(audio.InputLevelMeter[1]);

  bitmap.FillRect(9, kCaptionTop, 123, kCaptionTop + 4, back);
  DrawMeterLegend(bitmap, lit);

  // Left: the bar grows leftwards from the centre.
  const int left = audio.InputLevelMeter[0].Meter;
  bitmap.FillRect(9, kBarTop, 63, kBarBottom, unlit);
  bitmap.FillRect(64 - left, kBarTop, 63, kBarBottom, lit);
  bitmap.FillRect(62 - leftHold, kBarTop, 63 - leftHold, kBarBottom, lit);
  CutBar(bitmap, 8, 62, back);
  DrawDecoderCaption(bitmap, static_cast<int>(wave.DecoderL), true, lit);

  // Right: the mirror image, or an empty bar marked OFF with one channel.
  bitmap.FillRect(69, kBarTop, 123, kBarBottom, unlit);
  if (wave.WaveDual == 2) {
    const int right = audio.InputLevelMeter[1].Meter;
    bitmap.FillRect(69, kBarTop, 68 + right, kBarBottom, lit);
    bitmap.FillRect(69 + rightHold, kBarTop, 70 + rightHold, kBarBottom, lit);
    CutBar(bitmap, 70, 124, back);
    DrawDecoderCaption(bitmap, static_cast<int>(wave.DecoderR), false, lit);
  } else {
    CutBar(bitmap, 70, 124, back);
    DrawCaption(bitmap, kOff, 69, lit);
  }
  link.ShowPicture(AudioPicture::Clock, bitmap);
}
