// Untrusted input of SELCAL: the code file and the photographs are the
// user's or anyone's, the audio whatever the receiver hears.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "audio/fft_tables.h"
#include "selcal/selcal_code_file.h"
#include "selcal/selcal_decoder.h"
#include "selcal/selcal_panel.h"
#include "selcal/selcal_state.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

TEST(SelcalFuzz, RandomCodeFilesAndPhotographs) {
  std::mt19937 rng(19);
  testing_support::TempDir dir;
  testing_support::WriteJpeg(dir.File("good.jpg"), 64, 48, 0x3080F0);
  const std::string good = testing_support::ReadFile(dir.File("good.jpg")), csv = dir.File("selcal.csv");
  auto state = std::make_unique<SelcalState>();
  EtcSettings etc;
  FormSettings form{};
  testing_support::RecordingSelcalLink link;
  SelcalPanel panel(state->Panel, etc, form, {csv, csv, dir.path()}, link);
  panel.Construct();
  panel.FormShow();
  for (int i = 0; i < 300; ++i) {
    std::string bytes = i % 2 ? "ABCD,JA1\n" : "ABCD,";
    for (int n = i % 2 ? 0 : static_cast<int>(rng() % 200); n > 0; --n) bytes += static_cast<char>(rng());
    testing_support::WriteFile(csv, bytes);
    EXPECT_LE(LookupSelcalCode(csv, i % 3 ? "ABCD" : ",\x81,,").size(), 7u);
    // A photograph damaged here and there, or cut short.
    std::string jpeg = good;
    for (int n = i % 8; n > 0; --n) jpeg[rng() % jpeg.size()] = static_cast<char>(rng());
    if (i % 5 == 0) jpeg.resize(rng() % jpeg.size());
    testing_support::WriteFile(dir.File(i % 4 ? "JA1.jpg" : "noimage.jpg"), jpeg);
    panel.SelcalReceived("ABCD", 0);
  }
}

TEST(SelcalFuzz, RandomAudioAndFullScaleSquareWaves) {
  std::mt19937 rng(20);
  auto s = std::make_unique<SelcalState>();
  s->SelcalFft = BuildFftTables();
  InitSelcalWeights(*s);
  testing_support::RecordingSelcalCalls heard;
  std::uniform_real_distribution<double> sample(-32768, 32767);
  double block[512];
  for (int b = 0; b < 400; ++b) {
    for (int i = 0; i < 512; ++i) block[i] = b % 2 ? sample(rng) : ((i / (2 + b % 40)) % 2 ? 32767.0 : -32768.0);
    DecodeSelcalBlock(*s, b % 2, block, heard);
    for (double v : block) ASSERT_TRUE(std::isfinite(v));
  }
}

}  // namespace
