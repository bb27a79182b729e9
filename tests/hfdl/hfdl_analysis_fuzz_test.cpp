// Random frames with valid check sequences and random relay text along the
// road, and random data files through the readers. Run under AddressSanitizer
// and UndefinedBehaviorSanitizer too. HFDL_FUZZ_SEED picks another seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/registration.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/cp932.h"
#include "platform/csv_reader.h"
#include "support/reception_rig.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

using testing_support::ReceptionRig;

#if defined(__SANITIZE_ADDRESS__)
// The sanitizers run about twelve times slower.
constexpr int kFrames = 50000;
#else
constexpr int kFrames = 100000;
#endif
constexpr int kRelayTexts = 10000;
constexpr int kDataFiles = 2000;

uint64_t Seed() {
  const char* text = std::getenv("HFDL_FUZZ_SEED");
  return text ? std::strtoull(text, nullptr, 10) : 20261206u;
}

// What a finding reports: the seed and the frame being analysed.
uint64_t g_seed = 0;
std::string g_frameHex;
void ReportFrame() {
  std::fprintf(stderr, "HfdlFuzz seed %llu, frame %s\n", static_cast<unsigned long long>(g_seed), g_frameHex.c_str());
}

TEST(HfdlFuzz, RandomValidFrames) {
  g_seed = Seed();
#if defined(__SANITIZE_ADDRESS__)
  __sanitizer_set_death_callback(ReportFrame);
#endif
  std::mt19937_64 rng(g_seed);
  ReceptionRig rig;
  Form1State& form = rig.form();
  form.Txt.TxtLog = 0;
  form.Etc.PassList = "NH";
  for (int n = 0; n < kFrames; ++n) {
    const int mode = static_cast<int>(rng() % 8);
    const bool relayed = rng() % 3 == 0;
    const hfdl_tx::Octets frame = hfdl_tx::RandomValidFrame(rng, testing_support::ModeOctets(mode));
    g_frameHex = hfdl_tx::RelayHex(frame);
    rig.ClearText();
    // Random log-ons add a row each; a real table grows far slower.
    if (n % 1000 == 0) ClearRegistrationRows(form.hfdl.HfdlRegistrations);
    if (relayed) {
      rig.AnalyzeNetwork(frame);
    } else {
      rig.AnalyzeOwn(frame, mode, 0);
    }
    const std::string& dat = form.text.Buffer(kHfdlDat);
    const bool datFits = dat.empty() || dat.size() <= 2 * frame.size() + 50;
    const bool analysed = rig.sink().frames.size() == 1;
    if (!datFits || !analysed || rig.sink().frames[0].DatOctets > static_cast<int>(frame.size())) {
      ReportFrame();
      FAIL() << "frame " << n;
    }
  }
}

TEST(HfdlFuzz, RandomRelayText) {
  std::mt19937_64 rng(Seed() + 1);
  ReceptionRig rig;
  rig.form().Txt.TxtLog = 0;
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int n = 0; n < kRelayTexts; ++n) {
    std::string text(static_cast<size_t>(rng() % 3800), '0');
    const bool junk = rng() % 4 == 0;
    for (char& c : text) c = junk ? static_cast<char>(rng()) : kDigits[rng() % 16];
    rig.ClearText();
    rig.road().RelayedHfdlFrame(text, "NET");
    ASSERT_LE(rig.form().text.Buffer(kHfdlDat).size(), text.size() + 50) << "seed " << Seed() + 1 << " text " << n;
  }
}

std::string RandomFileBytes(std::mt19937_64& rng) {
  static constexpr char kBiased[] = ",,,,\n\n\r\"0123456789-ABCDEFJL ";
  std::string bytes(static_cast<size_t>(rng() % 2000), '\0');
  for (char& c : bytes) c = rng() % 4 ? kBiased[rng() % (sizeof kBiased - 1)] : static_cast<char>(rng());
  return bytes;
}

// Each cut field is the longest start of whole characters of the uncut one
// that fits its capacity; a lone lead byte at the end counts as one byte.
void CheckCsvCuts(const std::string& bytes, std::mt19937_64& rng) {
  const std::vector<size_t> capacities = {rng() % 8, rng() % 8, rng() % 8};
  platform::CsvReader cut(bytes, capacities);
  platform::CsvReader whole(bytes, std::vector<size_t>(capacities.size(), platform::kUncut));
  while (cut.Next() && whole.Next()) {
    for (size_t f = 0; f < cut.Fields().size(); ++f) {
      const std::string_view full = whole.Fields()[f];
      size_t end = 0;
      while (end < full.size()) {
        const size_t width = platform::IsCp932Lead(static_cast<unsigned char>(full[end])) ? 2 : 1;
        if (std::min(end + width, full.size()) > capacities[f]) break;
        end = std::min(end + width, full.size());
      }
      ASSERT_EQ(cut.Fields()[f], full.substr(0, end));
    }
  }
}

TEST(HfdlFuzz, RandomDataFiles) {
  std::mt19937_64 rng(Seed() + 2);
  auto hfdl = std::make_unique<HfdlReception>();
  Icao24File file;
  for (int n = 0; n < kDataFiles; ++n) {
    ReadFreqsCsv(*hfdl, RandomFileBytes(rng));
    const std::string bytes = RandomFileBytes(rng);
    CheckCsvCuts(bytes, rng);
    file.Parse(bytes);
    Icao24Record record;
    for (size_t start = 0; start + 7 <= bytes.size() && start < 200; start += 7) {
      file.FindByAddress(bytes.substr(start, 6), record);
      file.FindByRegistration(bytes.substr(start, 7), record);
    }
  }
  for (const std::string& name : hfdl->GsNames) ASSERT_LE(name.size(), 63u);
}

}  // namespace
