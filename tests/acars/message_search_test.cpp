// The message-text search: which messages the real parser hands it, the
// matching rules, the hit files' names, content and list, and its window
// in the program (offscreen).
#include "acars/message_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>
#include <functional>

#include "acars/parser_fixture.h"
#include "acars/position_texts.h"
#include "acars/tform28.h"
#include "support/main_window_fixture.h"
#include "platform/file_io.h"
#include "support/fake_audio_devices.h"
#include "support/fake_link.h"

namespace {

using Names = std::vector<std::string>;
using testing_support::ReadFile;

TEST_F(ParserTest, MessageSearchSeesWhatReachesTheMesTextAndEveryUplink) {
  OpenMessageSearch(f.messageSearch, rig.folder() + "/list.txt", rig.folder() + "/hits", "");
  AddSearchString(f.messageSearch, "");  // matches every message
  f.MsgSrch.MsgSrchRun = 1;
  f.Txt.ShowPos = f.Txt.FreqNoDisp = f.Txt.SqNoDisp = 1;
  Receive(Down("FIRST PART ", "M01A", false));
  Receive(Down("M01BSECOND PART ", "M01B", false));
  Receive(Down("M01CLAST\r\n", "M01C", true));
  Receive(Down("M01CLAST\r\n", "M01C", true));  // a retransmission
  Receive(Down(kJ1Report, "M02A"));             // its position is stored
  Receive(Down("FRQ 131.45", "M03A"));
  Receive(Up('A', "SQUITTER 1", true, "SQ"));
  const MessageSearch& s = f.messageSearch;
  EXPECT_EQ(s.HitNames, (Names{"20261206_140307_JL0012_JA8089__", "20261206_140307_NARITA_Uplink__"}));
  EXPECT_EQ(ReadFile(rig.folder() + "/hits/" + s.HitNames[0] + ".log"), "FIRST PART SECOND PART LAST\r\n");
}

struct MessageSearchTest : ::testing::Test {
  MessageSearchTest() { OpenMessageSearch(s, dir.File("list.txt"), dir.File("hits"), ""); }
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
  for (const char* longerOrOtherCase : {"xxABCxxY", "abc"}) EXPECT_EQ(HitOf({longerOrOtherCase}, "xxABCxx"), "");
  EXPECT_EQ(HitOf({"CD"}, std::string("AB\0CD", 5)), "");  // the text ends at a NUL
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
  // Rebuilt from the folder, sorted; a hit whose file is gone only
  // rebuilds the list.
  testing_support::WriteFile(dir.File("hits/19990101_000000_X_Y_Z.log"), "old\r\n");
  testing_support::WriteFile(dir.File("hits/notes.txt"), "");
  LoadHitLogList(s);
  EXPECT_TRUE(s.HitNames.size() == 5 && std::is_sorted(s.HitNames.begin(), s.HitNames.end()));
  ShowHitLog(s, "19990101_000000_X_Y_Z");
  EXPECT_EQ(s.Memo, "old\r\n");
  std::remove(dir.File("hits/19990101_000000_X_Y_Z.log").c_str());
  ShowHitLog(s, "19990101_000000_X_Y_Z");
  EXPECT_EQ(s.HitNames.size(), 4u);
}

// Two copies of the program in one folder save their strings at once into
// one file: each change goes into the list the file holds, so neither
// undoes the other's, and each shows the file's list.
TEST(MessageSearchList, TwoCopiesInOneFolderKeepEachOthersStrings) {
  testing_support::TempDir dir;
  MessageSearch first, second;
  for (MessageSearch* copy : {&first, &second}) OpenMessageSearch(*copy, dir.File("list.txt"), dir.File("hits"), "");
  AddSearchString(first, "A");
  AddSearchString(second, "B");
  AddSearchString(first, "C");
  EXPECT_EQ(ReadFile(dir.File("list.txt")), "A\r\nB\r\nC\r\n");
  EXPECT_EQ(first.SearchStrings, Names({"A", "B", "C"}));
  EXPECT_EQ(second.SearchStrings, Names({"A", "B"}));
  // A row stands for its text wherever the file has it now; a text
  // deleted meanwhile is not deleted twice.
  DeleteSearchString(second, 0);
  DeleteSearchString(first, 1);
  EXPECT_EQ(ReadFile(dir.File("list.txt")), "C\r\n");
  DeleteSearchString(second, 0);  // "B", gone
  EXPECT_EQ(ReadFile(dir.File("list.txt")), "C\r\n");
  EXPECT_EQ(second.SearchStrings, Names({"C"}));
  // Of the same text twice, the row's own goes.
  AddSearchString(first, "X");
  AddSearchString(first, "C");
  DeleteSearchString(first, 2);
  EXPECT_EQ(ReadFile(dir.File("list.txt")), "C\r\nX\r\n");
}

// A change that could not be saved is owed as that change: it goes into
// the file as the file is at the next change, or at close, with whatever
// another copy or the user put there meanwhile.
TEST(MessageSearchList, AChangeThatCouldNotBeSavedGoesIntoTheFileAsItIsLater) {
  testing_support::TempDir dir;
  const std::string list = dir.File("data/MesgSearchList.txt");
  ::mkdir(dir.File("data").c_str(), 0755);
  testing_support::WriteFile(list, "START\r\n");
  MessageSearch a, b;
  for (MessageSearch* copy : {&a, &b}) OpenMessageSearch(*copy, list, dir.File("hits"), "");
  const auto whileReadOnly = [&](const std::function<void()>& change) {
    testing_support::PermissionsHold hold;
    ::chmod(dir.File("data").c_str(), 0555);
    change();
    ::chmod(dir.File("data").c_str(), 0755);
  };
  whileReadOnly([&] { AddSearchString(b, "B1"); });
  EXPECT_EQ(ReadFile(list), "START\r\n");
  EXPECT_EQ(b.SearchStrings, Names({"START", "B1"}));
  AddSearchString(a, "A1");
  AddSearchString(b, "B2");
  EXPECT_EQ(ReadFile(list), "START\r\nA1\r\nB1\r\nB2\r\n");
  // A delete owed, saved at close.
  whileReadOnly([&] { DeleteSearchString(b, 1); });
  AddSearchString(a, "A2");
  EXPECT_TRUE(SaveOwedSearchStrings(b));
  EXPECT_EQ(ReadFile(list), "START\r\nB1\r\nB2\r\nA2\r\n");
  // One copy, and a line the user adds by hand meanwhile.
  whileReadOnly([&] { AddSearchString(a, "X"); });
  testing_support::WriteFile(list, ReadFile(list) + "HAND\r\n");
  AddSearchString(a, "Y");
  EXPECT_EQ(ReadFile(list), "START\r\nB1\r\nB2\r\nA2\r\nHAND\r\nX\r\nY\r\n");
  EXPECT_TRUE(a.Owed.empty() && b.Owed.empty());
}

using MessageSearchWindow = MainWindowTest;

// A list the copy may not read is never written over: each change says so
// and stays owed, and the close, trying once more, fails the run.
TEST_F(MessageSearchWindow, AListThatCannotBeReadIsSaidAndNeverWrittenOver) {
  const std::string list = dir_.File("data/MesgSearchList.txt");
  ::mkdir(dir_.File("data").c_str(), 0755);
  testing_support::WriteFile(list, "ANOTHER USER'S\r\n");
  ::chmod(list.c_str(), 0);
  testing_support::PermissionsHold hold;
  TForm1& japanese = StartJapanese();
  EXPECT_EQ(japanese.statusBar()->currentMessage().toStdString(), list + "を読み込めません");
  Close();
  EXPECT_EQ(window_->ExitStatus(), 0);
  testing::internal::CaptureStderr();
  TForm1& w = StartEnglish();
  auto* window = static_cast<TForm28*>(w.Form(28));
  window->Edit1()->setText("MINE");
  window->Button(1)->click();
  EXPECT_EQ(w.statusBar()->currentMessage().toStdString(), "Can not read " + list);
  EXPECT_EQ(w.State().messageSearch.SearchStrings, Names({"MINE"}));
  Close();
  // At the window's start, at the change and at close.
  EXPECT_EQ(testing_support::CountOf(testing::internal::GetCapturedStderr(), "Can not read " + list + "\n"), 3);
  EXPECT_EQ(window_->ExitStatus(), 1);
  ::chmod(list.c_str(), 0644);
  EXPECT_EQ(ReadFile(list), "ANOTHER USER'S\r\n");
}

// A list that could not be saved is owed: the close tries again, and the
// run fails.
TEST_F(MessageSearchWindow, AFailedSaveOfTheStringsIsTriedAgainAtCloseAndFailsTheRun) {
  TForm1& w = StartEnglish();
  MessageSearch& s = w.State().messageSearch;
  auto* window = static_cast<TForm28*>(w.Form(28));
  // Its folder is a file: no user can write there.
  testing_support::WriteFile(dir_.File("blocked"), "");
  const std::string listPath = dir_.File("blocked/MesgSearchList.txt");
  s.ListPath = listPath;
  testing::internal::CaptureStderr();
  window->Edit1()->setText("FIRST");
  window->Button(1)->click();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Can not write " + listPath + "\n");
  window->Edit1()->setText("SECOND");
  window->Button(1)->click();
  EXPECT_EQ(s.SearchStrings, Names({"FIRST", "SECOND"}));
  std::remove(dir_.File("blocked").c_str());
  Close();
  EXPECT_EQ(ReadFile(listPath), "FIRST\r\nSECOND\r\n");
  EXPECT_EQ(window_->ExitStatus(), 1);
}

// A change still owed when the close cannot save it either is said at
// close, in the interface's language, and fails the run.
TEST_F(MessageSearchWindow, AChangeThatTheCloseCannotSaveIsSaid) {
  const std::string list = dir_.File("data/MesgSearchList.txt");
  ::mkdir(dir_.File("data").c_str(), 0755);
  testing_support::PermissionsHold hold;
  const std::pair<std::string, std::string> languages[] = {
      {"[Etc]\r\nLanguage=1\r\n", "The changes to the search strings were not saved in " + list + "\n"},
      {"[Etc]\r\nLanguage=2\r\n", list + "に検索文字列の変更を保存できませんでした\n"}};
  for (const auto& [settings, said] : languages) {
    TForm1& w = Start(settings);
    ::chmod(dir_.File("data").c_str(), 0555);
    auto* window = static_cast<TForm28*>(w.Form(28));
    window->Edit1()->setText("LOST");
    window->Button(1)->click();
    testing::internal::CaptureStderr();
    Close();
    ::chmod(dir_.File("data").c_str(), 0755);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), said);
    EXPECT_EQ(window_->ExitStatus(), 1);
  }
  EXPECT_FALSE(platform::FileExists(list));
}

TEST_F(MessageSearchWindow, AHitShowsTheWindowFocusedOnItsHitsAndTheListDeletesAfterYes) {
  testing_support::WaveRecorder sounds;
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  auto* window = static_cast<TForm28*>(w.Form(28));
  window->Edit1()->setText("TESTWORD");
  window->Button(1)->click();
  EXPECT_EQ(ReadFile(f.app.MesgSearchListPath), "TESTWORD\r\n");
  f.MsgSrch = {1, 1, 1};
  for (const char* text : {"A TESTWORD", "B TESTWORD"}) {
    const bool waveExists = platform::FileExists(f.app.MesgSearchWavePath);
    SearchAcarsMessage(f.messageSearch, f.MsgSrch, w.Reception().Alerts(), "JL0012", "JA8089", text);
    EXPECT_TRUE(window->isVisible() && (window->windowFlags() & Qt::WindowStaysOnTopHint));
    EXPECT_EQ(sounds.played, std::vector<std::string>(waveExists, f.app.MesgSearchWavePath));
    testing_support::WriteFile(f.app.MesgSearchWavePath, "RIFF");
  }
  ASSERT_EQ(window->ListBox(2)->count(), 2);
  // Popped up, it has the focus on its hits, where Enter adds no empty
  // string that every message would match; in the edit box Enter adds.
  ASSERT_TRUE(testing_support::PumpUntil([] { return QApplication::focusWidget() != nullptr; }));
  EXPECT_EQ(QApplication::focusWidget(), window->ListBox(2));
  const auto pressEnter = [](QWidget* at) {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QCoreApplication::sendEvent(at, &enter);
  };
  pressEnter(QApplication::focusWidget());
  window->Edit1()->setText("SECOND");
  window->Edit1()->setFocus();
  pressEnter(window->Edit1());
  EXPECT_EQ(f.messageSearch.SearchStrings, Names({"TESTWORD", "SECOND"}));
  EXPECT_TRUE(window->Memo1()->toPlainText().startsWith("B TESTWORD"));
  boxes_.SetAnswers({platform::BoxAnswer::No, platform::BoxAnswer::Yes, platform::BoxAnswer::No});
  window->ListBox(2)->setCurrentRow(0);
  const std::pair<int, int> clicksAndLeft[] = {{3, 2}, {3, 1}, {4, 1}, {4, 0}};  // No, Yes, No, Yes
  for (const auto& [button, left] : clicksAndLeft) {
    window->Button(button)->click();
    EXPECT_EQ(window->ListBox(2)->count(), left);
  }
  EXPECT_TRUE(platform::ListFiles(f.messageSearch.HitFolder, "*.log").empty());
  EXPECT_EQ(boxes_.Texts().back(), "Delete all ACARS messages,OK?");
  Close();
}

}  // namespace
