// The SELCAL panel without its window: the own code, the bell, the timed
// monitor, and its pictures against golden ones.
#include <gtest/gtest.h>

#include <QPainter>

#include "platform/file_io.h"
#include "selcal/selcal_panel.h"
#include "selcal/selcal_state.h"
#include "support/golden_picture.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

class SelcalPanelTest : public ::testing::Test {
 protected:
  SelcalPanelTest() { platform::EnsureFolder(pics_); }
  // Shown, with the own code; the bell sound exists.
  void Start(const std::string& own) {
    etc_.SelCallCode = own;
    panel_.Construct();
    panel_.FormShow();
    WriteFile(bell_, "RIFF");
  }
  QImage Picture() const { return state_.Panel.PanelBitmap.Image().copy(); }

  TempDir dir_;
  std::string csv_ = dir_.File("selcal.csv"), bell_ = dir_.File("selcall.wav"), pics_ = dir_.File("pics");
  SelcalState state_;
  EtcSettings etc_;
  FormSettings form_{};
  testing_support::RecordingSelcalLink link_;
  SelcalPanel panel_{state_.Panel, etc_, form_, {csv_, bell_, pics_}, link_};
};

// AAAA opens the monitor on every call; the own code is the last complete
// one while another is typed; only it rings.
TEST_F(SelcalPanelTest, CallsOpenTheMonitorAndTheOwnCodeRings) {
  form_.SelCallRdo = form_.SelCallBel = 1;
  Start("AAAA");
  panel_.SelcalReceived("ABCD", 1);
  EXPECT_TRUE(link_.mainDown && panel_.MoniDown());
  link_.mainDown = false;
  panel_.SelcalReceived("AAAA", 0);
  EXPECT_EQ(link_.monitorStarts, (std::vector<std::string>{"1:1", "1:0"}));
  EXPECT_EQ(link_.sounds, std::vector<std::string>{bell_});
  EXPECT_FALSE(state_.Panel.Timer1.isActive());

  for (int key : {4, 5, 6, 7, 8}) panel_.ButtonClick(key);  // E F G H J
  EXPECT_EQ(state_.Panel.TypedCode, "J");
  EXPECT_EQ(etc_.SelCallCode, "EFGH");
  link_.mainDown = false;
  panel_.SelcalReceived("AAAA", 0);
  panel_.SelcalReceived("EFGH", 0);
  EXPECT_EQ(link_.sounds.size(), 2u);
}

TEST_F(SelcalPanelTest, TheTimedMonitorEndsAndItsSecondsStayInRange) {
  form_.SelCallRdo = form_.TimeMoni = 1;
  form_.TimeMoniSec = 7;
  Start("ABCD");
  // With the main monitor on, a call only presses MONI.
  link_.mainDown = true;
  panel_.SelcalReceived("ABCD", 0);
  EXPECT_TRUE(panel_.MoniDown() && link_.monitorStarts.empty());
  EXPECT_FALSE(state_.Panel.Timer1.isActive());
  link_.mainDown = false;
  panel_.SelcalReceived("ABCD", 0);
  EXPECT_EQ(state_.Panel.Timer1.interval(), 7000);
  panel_.Panel3MouseUp(PanelMouseButton::Right);
  EXPECT_EQ(form_.TimeMoniSec, 2);
  EXPECT_EQ(state_.Panel.Timer1.interval(), 2000);
  const QImage before = Picture();
  panel_.Timer1Timer();
  EXPECT_FALSE(state_.Panel.Timer1.isActive() || panel_.MoniDown() || link_.mainDown);
  EXPECT_EQ(link_.silentBlocks, 1);
  EXPECT_EQ(state_.Panel.LastCode, "----");
  EXPECT_NE(Picture(), before);  // drawn again

  for (auto [seconds, button, after] : {std::tuple{600, PanelMouseButton::Left, 600},
                                        {5, PanelMouseButton::Right, 5}, {5, PanelMouseButton::Other, 5}}) {
    form_.TimeMoniSec = seconds;
    panel_.Panel3MouseUp(button);
    EXPECT_EQ(form_.TimeMoniSec, after);
  }
  for (auto [stored, kept] : {std::pair{0, 120}, {700, 120}, {604, 604}}) {
    form_.TimeMoniSec = stored;
    panel_.Construct();
    EXPECT_EQ(form_.TimeMoniSec, kept);
  }
}

// ---- Pictures, all with the own code ABCD and no type found ----

// A code without its photograph is four glyphs larger than 64 pixels,
// whose edges may vary (GlyphEdgeDifferences).
constexpr int kLargeCodeEdgePixels = 4 * 2;

TEST_F(SelcalPanelTest, CallsWithAndWithoutTheirPhotographs) {
  WriteFile(csv_, "ABCD,JA8089\n");
  testing_support::WriteJpeg(dir_.File("pics/JA8089.jpg"), 400, 266, 0xFF00FF);
  Start("ABCD");
  panel_.SelcalReceived("ABCD", 0);
  testing_support::ExpectGoldenPicture({Picture()}, "call.png", "selcal");
  // No entry after one with a photograph, and the keypad then: black.
  WriteFile(csv_, "EFGH,JA8089\n");
  panel_.SelcalReceived("ABCD", 0);
  testing_support::ExpectGoldenPicture({Picture()}, "no_data.png", "selcal", kLargeCodeEdgePixels);
  panel_.ButtonClick(0);
  const QImage afterUnknown = Picture();
  // A damaged photograph: noimage.jpg, or black when that is damaged too.
  WriteFile(csv_, "ABCD,JA8089\n");
  WriteFile(dir_.File("pics/JA8089.jpg"), "not a photograph");
  testing_support::WriteJpeg(dir_.File("pics/noimage.jpg"), 100, 100, 0x808080, true);
  panel_.SelcalReceived("ABCD", 0);
  const QImage noImage = Picture();
  WriteFile(dir_.File("pics/noimage.jpg"), "\xFF\xD8\xFF");
  panel_.SelcalReceived("ABCD", 0);
  testing_support::ExpectGoldenPicture({afterUnknown, noImage, Picture()}, "photo_cases.png", "selcal",
                                       kLargeCodeEdgePixels);
}

// The leeway lets the large glyphs' edge pixels vary and nothing else: a
// wrong or moved code, a missing "NO DATA" or another colour is far
// outside it.
TEST_F(SelcalPanelTest, TheLeewayOfTheGoldensIsOnGlyphEdgesOnly) {
  WriteFile(csv_, "EFGH,JA8089\n");
  Start("ABCD");
  const QImage golden =
      QImage(SKARVEL_SOURCE_DIR "/tests/selcal/golden/no_data.png").convertToFormat(QImage::Format_RGB32);
  auto withinLeeway = [&](const QImage& picture) {
    const int edges = testing_support::GlyphEdgeDifferences(picture.convertToFormat(QImage::Format_RGB32), golden);
    return edges >= 0 && edges <= kLargeCodeEdgePixels;
  };
  panel_.SelcalReceived("ABCD", 0);
  QImage shown = Picture().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(withinLeeway(shown));
  // Three edge pixels of the C and the A, as one run of the program left
  // them out.
  QImage edges = shown;
  for (QPoint p : {QPoint(129, 32), QPoint(44, 57), QPoint(114, 74)}) {
    ASSERT_EQ(edges.pixel(p), qRgb(255, 255, 255));
    edges.setPixel(p, qRgb(0, 0, 0));
  }
  EXPECT_TRUE(withinLeeway(edges));

  QImage noNoData = shown;
  QPainter(&noNoData).fillRect(55, 100, 100, 30, Qt::black);
  QImage moved = shown.copy(-1, 0, shown.width(), shown.height());
  QImage yellow = shown;
  for (int y = 0; y < yellow.height(); ++y) {
    for (int x = 0; x < yellow.width(); ++x) {
      if (yellow.pixel(x, y) == qRgb(255, 255, 255)) yellow.setPixel(x, y, qRgb(255, 255, 0));
    }
  }
  panel_.SelcalReceived("ABCE", 0);
  for (const QImage& wrong : {noNoData, moved, yellow, Picture()}) EXPECT_FALSE(withinLeeway(wrong));
}

}  // namespace
