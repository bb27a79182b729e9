// The analysis scenario as audio: the transmitter's bursts through the
// demodulator, the decoder and the analysis, in one process.
#include <gtest/gtest.h>

#include "analysis_fakes.h"
#include "hfdl/demodulator.h"
#include "hfdl_frames.h"
#include "hfdl_harness.h"
#include "hfdl_tx.h"

namespace {

using hfdl_test::Golden;
using hfdl_test::ReplaceAll;

TEST(HfdlScenario, BurstsDecodeToTheGoldenTexts) {
  hfdl_test::AnalysisRig rig;
  Form1State& form = rig.form();
  for (HfdlChannelState& s : form.Hfdl) InitHfdlChannel(s);
  const std::vector<hfdl_tx::ScenarioFrame> frames = hfdl_tx::AnalysisScenario();
  std::vector<hfdl_tx::Burst> bursts;
  for (const auto& f : frames) bursts.push_back({f.mode, f.octets, false});
  hfdl_test::FeedChannel(form, 0, hfdl_tx::Render(bursts, hfdl_tx::SignalOptions()));

  const std::vector<std::string> table = hfdl_test::SplitFrames(Golden("system_table.fmt"), "Lch---");
  ASSERT_EQ(table.size(), 5u);
  const std::string compact = Golden("squitter.fmt") + Golden("logon_request.fmt") +
                              ReplaceAll(Golden("logon_confirm.fmt"), "Rch", "Lch") + Golden("acars.fmt") +
                              ReplaceAll(Golden("performance_data.fmt"), "Rch", "Lch") + Golden("frequency_data.fmt") +
                              table[0] + table[1] + table[3];
  EXPECT_EQ(form.TextBuffers[kHfdlFmt], compact);
  std::string dat;
  for (const auto& f : frames) dat += hfdl_test::DatLine("Lch", f.octets, f.octets.size());
  EXPECT_EQ(form.TextBuffers[kHfdlDat], dat);
  EXPECT_EQ(form.SystemVer, 36);
  EXPECT_EQ(form.HfdlRegistrations.Rows.size(), 2u);
}

}  // namespace
