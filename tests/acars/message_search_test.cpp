// The message-text search: which messages the real parser hands it, the
// matching rules, the hit files' names and content, and its window.
#include "acars/message_search.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "acars/position_texts.h"
#include "acars/tform28.h"
#include "app/main_window_fixture.h"
#include "parser_fixture.h"
#include "platform/file_io.h"
#include "platform/wave_player.h"

namespace {

using Names = std::vector<std::string>;
using testing_support::ReadFile;
using testing_support::WriteFile;

class MessageSearchParser : public ParserTest {
 protected:
  MessageSearchParser() {
    OpenMessageSearch(f.messageSearch, rig.folder() + "/data/MesgSearchList.txt", rig.folder() + "/logs/SrchMesgLogs",
                      rig.folder() + "/mesgsearch.wav");
    AddSearchString(f.messageSearch, "");
    f.MsgSrch.MsgSrchRun = 1;
  }
};

TEST_F(MessageSearchParser, SearchesWhatReachesTheMesTextAndEveryUplink) {
  f.Txt.ShowPos = f.Txt.FreqNoDisp = f.Txt.SqNoDisp = 1;
  Receive(Down("FIRST PART ", "M01A", false));
  Receive(Down("M01BSECOND PART ", "M01B", false));
  Receive(Down("M01CLAST\r\n", "M01C", true));
  Receive(Down("M01CLAST\r\n", "M01C", true));  // a retransmission
  Receive(Down(kJ1Report, "M02A"));
  Receive(Down("FRQ 131.45", "M03A"));
  Receive(Up('A', "SQ TEXT", true, "SQ"));
  const MessageSearch& s = f.messageSearch;
  EXPECT_EQ(s.HitNames, (Names{"20261206_140307_JL0012_JA8089__", "20261206_140307_NARITA_Uplink__"}));
  EXPECT_EQ(ReadFile(s.HitFolder + "/" + s.HitNames[0] + ".log"), "FIRST PART SECOND PART LAST\r\n");
}

class MessageSearchTest : public ::testing::Test {
 protected:
  MessageSearchTest() { OpenMessageSearch(s, dir.File("data/MesgSearchList.txt"), dir.File("hits"), dir.File("m.wav")); }
  // The name of the hit the text makes, or "" for none.
  std::string HitOf(const std::vector<std::string>& strings, const std::string& text) {
    s.SearchStrings = strings;
    const size_t before = s.HitNames.size();
    SearchAcarsMessage(s, settings, link, "JL0012", "JA8089", text);
    return s.HitNames.size() > before ? s.HitNames.back() : "";
  }

  testing_support::TempDir dir;
  testing_support::FixedClock clock{platform::EncodeDateTime(2024, 5, 1, 13, 5, 27)};
  MessageSearch s;
  MsgSrchSettings settings{0, 0, 1};
  testing_support::RecordingAlertsLink link;
};

TEST_F(MessageSearchTest, MatchingRules) {
  EXPECT_EQ(HitOf({"ABC", "AB"}, "xxABCxx"), "20240501_130527_JL0012_JA8089_AB");
  EXPECT_EQ(HitOf({"xxABCxxY"}, "xxABCxx"), "");
  EXPECT_EQ(HitOf({"abc"}, "xxABCxx"), "");
  EXPECT_EQ(HitOf({"CD"}, std::string("AB\0CD", 5)), "");
  settings.MsgSrchRun = 0;
  EXPECT_EQ(HitOf({""}, "anything"), "");
  EXPECT_EQ(platform::ListFiles(dir.File("hits"), "*.log").size(), 1u);
}

TEST_F(MessageSearchTest, HitFilesAndTheirList) {
  EXPECT_EQ(HitOf({"TEST"}, "TEST LINE\r\nSECOND\rTHIRD\n"), "20240501_130527_JL0012_JA8089_TEST");
  EXPECT_EQ(ReadFile(dir.File("hits/20240501_130527_JL0012_JA8089_TEST.log")), "TEST LINE\r\nSECOND\r\nTHIRD\r\n");
  EXPECT_EQ(HitOf({"TEST"}, "TEST AGAIN"), "20240501_130527_JL0012_JA8089_TEST_2");
  EXPECT_EQ(HitOf({"A/../x"}, "A/../x"), "20240501_130527_JL0012_JA8089_A_.._x");
  EXPECT_EQ(HitOf({std::string(150, 'W')}, std::string(150, 'W')).size(), 130u);
  // Rebuilt from the folder, sorted; a file gone only rebuilds the list.
  WriteFile(dir.File("hits/19990101_000000_X_Y_Z.log"), "old\r\n");
  WriteFile(dir.File("hits/notes.txt"), "");
  LoadHitLogList(s);
  ASSERT_EQ(s.HitNames.size(), 5u);
  EXPECT_EQ(s.HitNames.front(), "19990101_000000_X_Y_Z");
  EXPECT_TRUE(std::is_sorted(s.HitNames.begin(), s.HitNames.end()));
  ShowHitLog(s, "19990101_000000_X_Y_Z");
  EXPECT_EQ(s.Memo, "old\r\n");
  std::remove(dir.File("hits/19990101_000000_X_Y_Z.log").c_str());
  ShowHitLog(s, "19990101_000000_X_Y_Z");
  EXPECT_EQ(s.HitNames.size(), 4u);
  EXPECT_EQ(link.searchShown, 0);
}

class MessageSearchWindow : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    platform::SetWavePlayerForTests([this](const std::string& path) { played.push_back(path); });
  }
  void TearDown() override {
    platform::SetWavePlayerForTests(nullptr);
    MainWindowTest::TearDown();
  }
  std::vector<std::string> played;
};

TEST_F(MessageSearchWindow, AHitShowsTheWindowAndTheListDeletesAfterYes) {
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  auto* window = static_cast<TForm28*>(w.Form(28));
  AlertsWiring& alerts = w.Reception().Alerts();
  window->Edit1()->setText("TESTWORD");
  window->Button(1)->click();
  EXPECT_EQ(ReadFile(f.app.MesgSearchListPath), "TESTWORD\r\n");
  f.MsgSrch = {1, 1, 1};
  SearchAcarsMessage(f.messageSearch, f.MsgSrch, alerts, "JL0012", "JA8089", "A TESTWORD");
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(played.empty());  // no mesgsearch.wav
  WriteFile(f.app.MesgSearchWavePath, "RIFF");
  SearchAcarsMessage(f.messageSearch, f.MsgSrch, alerts, "JL0012", "JA8089", "B TESTWORD");
  EXPECT_EQ(played, std::vector<std::string>{f.app.MesgSearchWavePath});
  ASSERT_EQ(window->ListBox(2)->count(), 2);
  EXPECT_TRUE(window->Memo1()->toPlainText().startsWith("B TESTWORD"));

  boxes_.SetAnswers({platform::BoxAnswer::No, platform::BoxAnswer::Yes, platform::BoxAnswer::No});
  window->ListBox(2)->setCurrentRow(0);
  window->Button(3)->click();
  EXPECT_EQ(window->ListBox(2)->count(), 2);
  window->Button(3)->click();
  EXPECT_EQ(window->ListBox(2)->count(), 1);
  window->Button(4)->click();
  EXPECT_EQ(window->ListBox(2)->count(), 1);
  window->Button(4)->click();
  EXPECT_EQ(window->ListBox(2)->count(), 0);
  EXPECT_TRUE(platform::ListFiles(f.messageSearch.HitFolder, "*.log").empty());
  const std::vector<std::string> asked = boxes_.Texts();
  EXPECT_EQ(asked.back(), "Delete all ACARS messages,OK?");
  Close();
}

}  // namespace
