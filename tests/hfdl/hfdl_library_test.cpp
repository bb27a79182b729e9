// The HFDL library on its own, with nothing of the program around it: a
// burst from the test transmitter becomes an analysed frame.
#include <gtest/gtest.h>

#include <vector>

#include "hfdl/frame_analysis.h"
#include "hfdl/hfdl_receiver.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl_tx/hfdl_frames.h"
#include "hfdl_tx/hfdl_tx.h"

namespace {

// The least a receiver needs: somewhere to put decoded frames.
class Collector : public HfdlReceiverLink {
 public:
  void LockLamp(int, bool) override {}
  void SyncFound(int, int, double, bool) override {}
  void FrameDecoded(HfdlFrameInput frame) override { frames.push_back(std::move(frame)); }
  std::vector<HfdlFrameInput> frames;
};

std::vector<HfdlFrameInput> Receive(HfdlReception& hfdl, const hfdl_tx::ScenarioFrame& frame) {
  for (HfdlChannelState& s : hfdl.Channels) InitHfdlChannel(s);
  std::vector<double> audio = hfdl_tx::Render({{frame.mode, frame.octets, false}}, {});
  audio.resize((audio.size() + 511) / 512 * 512, 0.0);
  Collector link;
  for (size_t n = 0; n < audio.size(); n += 512) DemodulateHfdlBlock(hfdl, link, 0, audio.data() + n);
  return link.frames;
}

TEST(HfdlLibrary, SquitterBurstNamesItsGroundStation) {
  HfdlReception hfdl;
  hfdl.GsNames[1] = "San Francisco";
  const std::vector<HfdlFrameInput> frames = Receive(hfdl, hfdl_tx::ScenarioSquitter());
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].ModeCode, 0);
  EXPECT_EQ(frames[0].SourceTag, "Lch");

  const HfdlFrame frame = AnalyzeHfdlFrame(hfdl, EtcSettings{}, NoHfdlLookups(), frames[0]);
  EXPECT_FALSE(frame.Failed());
  ASSERT_TRUE(frame.Squitter);
  EXPECT_EQ(frame.Squitter->GsId, 1);
  EXPECT_EQ(frame.Squitter->GsName, "San Francisco");
  EXPECT_EQ(frame.Squitter->Stations[0].GsId, 1);
}

TEST(HfdlLibrary, DownlinkBurstCarriesItsLpdus) {
  HfdlReception hfdl;
  const std::vector<HfdlFrameInput> frames = Receive(hfdl, hfdl_tx::ScenarioLogonRequest("JAL123"));
  ASSERT_EQ(frames.size(), 1u);
  const HfdlFrame frame = AnalyzeHfdlFrame(hfdl, EtcSettings{}, NoHfdlLookups(), frames[0]);
  ASSERT_FALSE(frame.Failed());
  ASSERT_TRUE(frame.Mpdu);
  EXPECT_EQ(frame.Mpdu->Direction, LinkDirection::Downlink);
  ASSERT_EQ(frame.Mpdu->Aircraft.size(), 1u);
  ASSERT_EQ(frame.Mpdu->Aircraft[0].Lpdus.size(), 1u);
  const HfdlLpdu& lpdu = frame.Mpdu->Aircraft[0].Lpdus[0];
  EXPECT_TRUE(lpdu.CrcOk);
  EXPECT_EQ(lpdu.Type, 0x8F);
  EXPECT_EQ(lpdu.Address, "800001");
  ASSERT_TRUE(lpdu.Hfnpdu && lpdu.Hfnpdu->Position);
  EXPECT_EQ(lpdu.Hfnpdu->Position->Flight, "JAL123");
}

}  // namespace
