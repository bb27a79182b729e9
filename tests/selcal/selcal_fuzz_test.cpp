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

std::string RandomBytes(std::mt19937& rng, size_t most) {
  std::string bytes(std::uniform_int_distribution<size_t>(0, most)(rng), '\0');
  for (char& c : bytes) c = static_cast<char>(rng());
  return bytes;
}

TEST(SelcalFuzz, RandomCodeFilesAndPhotographs) {
  std::mt19937 rng(19);
  testing_support::TempDir dir;
  const std::string csv = dir.File("selcal.csv"), bell = dir.File("selcall.wav"), pics = dir.File("pics");
  auto state = std::make_unique<SelcalState>();
  EtcSettings etc;
  FormSettings form{};
  testing_support::RecordingSelcalLink link;
  SelcalPanel panel(state->Panel, etc, form, {csv, bell, pics}, link);
  panel.Construct();
  panel.FormShow();
  const char* codes[] = {"ABCD", ",,,,", "", "\x81,", "AB\nC"};
  for (int i = 0; i < 300; ++i) {
    std::string bytes = RandomBytes(rng, 200);
    if (i % 2) bytes = std::string("ABCD,") + bytes;
    testing_support::WriteFile(csv, bytes);
    EXPECT_LE(LookupSelcalCode(csv, codes[i % 5]).size(), 7u);
    std::string jpeg = i % 3 ? "\xFF\xD8\xFF\xE0" + RandomBytes(rng, 600) : RandomBytes(rng, 600);
    testing_support::WriteFile(dir.File("pics/noimage.jpg"), jpeg);
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
    const int period = 2 + b % 40;
    for (int i = 0; i < 512; ++i) block[i] = b % 2 ? sample(rng) : ((i / period) % 2 ? 32767.0 : -32768.0);
    DecodeSelcalBlock(*s, b % 2, block, heard);
    for (double v : block) ASSERT_TRUE(std::isfinite(v));
  }
}

}  // namespace
