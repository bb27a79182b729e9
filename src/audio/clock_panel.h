#pragma once
// Image6: a slanted seven-segment clock, an input level meter per channel
// with peak hold, and above each meter the channel's decoder.
#include <array>
#include <cstdint>

#include "audio/audio_links.h"
#include "platform/color.h"

class Bitmap24;
struct AudioState;

// 11 glyphs (0..9 and the colon, 10), 15 x 21 pixels, slanted to the
// right: glyph g is a list of (dx, dy) byte pairs from byte 256 g, ended by
// the byte 255.
constexpr int kClockGlyphStride = 256;
extern const std::array<uint8_t, 11 * kClockGlyphStride> kClockGlyphs;

// Every pixel of glyph 0..10 at (x + dx, y + dy); another number draws
// nothing.
void DrawGlyph(Bitmap24& bitmap, int glyph, int x, TColor colour, int y);

// The clock text of ClockCache ("hh:mm:ss") on the clock bitmap: unlit
// segments in LineColor1 under lit ones in ClockText on ClockBack.
void DrawClockFace(AudioState& audio, const ColorSettings& color);

struct LevelMeter {
  double Peak = 0.0;
  double Value = 0.0;  // the peak scaled to 0..54
  int32_t History[5] = {};
  int32_t Meter = 0;  // the mean of the three newest, 0..54
  int32_t Hold = 0;
  int32_t HoldAge = 0;
};

// One display pass of a channel's meter: the positive peak of the first
// 512 frames of the raw buffer (none: silence), its history and the mean.
void UpdateLevelMeter(LevelMeter& meter, const int16_t* interleaved, int frames, int channel);

// Both meters with their holds, the legend and the decoder captions, then
// the clock bitmap shown. interleaved may be null (no audio).
void DrawLevelMeters(AudioState& audio, const WaveSettings& wave, const ColorSettings& color, BlockPipelineLink& link,
                     const int16_t* interleaved, int frames);
