#pragma once
// The second picture of Image5: the HFDL demodulator's symbols of the last
// three blocks per channel, as I/Q points on two axes.
#include <cstdint>

#include "audio/audio_links.h"

struct AudioState;

struct SymbolGeneration {
  static constexpr int kCapacity = 512;
  int32_t Count = 0;
  double I[kCapacity] = {};
  double Q[kCapacity] = {};
};

struct SymbolHistory {
  // [generation][channel]; generation 2 is the newest block.
  SymbolGeneration Generation[3][2];
};

// One block: the generations move on, the newest takes the link's HFDL
// symbols, and the picture is drawn into SpectrumBitmap and shown.
void DrawConstellation(AudioState& audio, const EtcSettings& etc, const ColorSettings& color, BlockPipelineLink& link);
