// The main window's commands on the state alone, with recording services.
#include <gtest/gtest.h>

#include "app/main_commands.h"
#include "command_fakes.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/shell_open.h"
#include "support/test_support.h"

namespace {

using platform::BoxAnswer;
using platform::BoxButtons;
using platform::BoxKind;
using testing_support::MessageBoxRecorder;
using namespace form1;

std::vector<std::string> Filtered(const CallLog& log, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& s : log) {
    if (s.rfind(prefix, 0) == 0) out.push_back(s);
  }
  return out;
}

// ---- Pan ----

class Pan : public ::testing::Test {
 protected:
  Pan() {
    s.form.SpeedButton2Down = 0;
    s.form.MapBitmap.Resize(600, 400);
  }
  RecordedState s;
};

TEST_F(Pan, WestAndEastWrapAroundTheDateLine) {
  s.form.MapScaleX = 2.0;
  s.form.MapCentE = -170.0;
  PanMap(s.form, PanDirection::West);
  EXPECT_DOUBLE_EQ(s.form.MapCentE, 165.0);
  s.form.MapCentE = 170.0;
  PanMap(s.form, PanDirection::East);
  EXPECT_DOUBLE_EQ(s.form.MapCentE, -165.0);
  s.form.MapCentE = 0.0;
  PanMap(s.form, PanDirection::East);
  EXPECT_DOUBLE_EQ(s.form.MapCentE, 25.0);
}

TEST_F(Pan, TheFlatMapStaysInsideThePoles) {
  s.form.MapScaleY = 4.0;
  s.form.MapCentN = 38.0;
  PanMap(s.form, PanDirection::North);
  EXPECT_DOUBLE_EQ(s.form.MapCentN, 40.0);
  s.form.MapCentN = -38.0;
  PanMap(s.form, PanDirection::South);
  EXPECT_DOUBLE_EQ(s.form.MapCentN, -40.0);
  s.form.MapCentN = 10.0;
  PanMap(s.form, PanDirection::South);
  EXPECT_DOUBLE_EQ(s.form.MapCentN, -2.5);
}

TEST_F(Pan, TheGlobeTiltsWithinNinetyAndStillClampsTheCentre) {
  s.form.SpeedButton2Down = 1;
  s.form.MapScaleY = 4.0;
  s.form.MapCentN = 45.0;
  s.form.ViewDeg = -80.0;
  PanMap(s.form, PanDirection::North);
  EXPECT_DOUBLE_EQ(s.form.ViewDeg, -90.0);
  EXPECT_DOUBLE_EQ(s.form.MapCentN, 40.0);
  s.form.ViewDeg = 80.0;
  PanMap(s.form, PanDirection::South);
  EXPECT_DOUBLE_EQ(s.form.ViewDeg, 90.0);
  s.form.ViewDeg = 0.0;
  PanMap(s.form, PanDirection::South);
  EXPECT_DOUBLE_EQ(s.form.ViewDeg, 12.5);
}

TEST_F(Pan, WithoutAScaleNothingMoves) {
  s.form.MapCentE = 139.0;
  s.form.MapCentN = 36.5;
  s.form.ViewDeg = -36.5;
  for (PanDirection d : {PanDirection::West, PanDirection::East}) PanMap(s.form, d);
  s.form.MapScaleX = 3.0;  // only the horizontal scale is known
  for (PanDirection d : {PanDirection::North, PanDirection::South}) PanMap(s.form, d);
  s.form.SpeedButton2Down = 1;
  PanMap(s.form, PanDirection::North);
  EXPECT_EQ(s.form.MapCentE, 139.0);
  EXPECT_EQ(s.form.MapCentN, 36.5);
  EXPECT_EQ(s.form.ViewDeg, -36.5);
  EXPECT_EQ(s.form.KeepViewOnce, 0);
  EXPECT_TRUE(s.log.empty());
}

TEST_F(Pan, EachMoveKeepsTheViewAndRedrawsBackgroundAircraftAndAltitude) {
  s.form.MapScaleX = s.form.MapScaleY = 2.0;
  for (PanDirection d : {PanDirection::West, PanDirection::East, PanDirection::North, PanDirection::South}) {
    s.form.KeepViewOnce = 0;
    PanMap(s.form, d);
    EXPECT_EQ(s.form.KeepViewOnce, 1);
  }
  EXPECT_EQ(s.log, CallLog(4, "Redraw 1101"));
}

// ---- Commands ----

class Commands : public ::testing::Test {
 protected:
  RecordedState s;
  MessageBoxRecorder boxes;
};

TEST_F(Commands, SubDisplayButtonsKeepAtMostOneDown) {
  Form1State& f = s.form;
  f.SpeedButton9Down = 1;
  f.SpeedButton10Down = f.SpeedButton11Down = 0;
  // Clicking another: it goes down (Qt did that), the others come up.
  f.SpeedButton11Down = 1;
  SubDisplayButtonClick(f, 11);
  EXPECT_EQ(f.SpeedButton9Down, 0);
  EXPECT_EQ(f.SpeedButton10Down, 0);
  EXPECT_EQ(f.SpeedButton11Down, 1);
  EXPECT_EQ(f.SubDispType, 2);
  EXPECT_EQ(f.HideText, 0);
  // Clicking the one that is down raises it: none down, the tags hidden,
  // and the type still that button's.
  f.SpeedButton11Down = 0;
  f.KeepViewOnce = 0;
  SubDisplayButtonClick(f, 11);
  EXPECT_EQ(f.SpeedButton9Down + f.SpeedButton10Down + f.SpeedButton11Down, 0);
  EXPECT_EQ(f.HideText, 1);
  EXPECT_EQ(f.SubDispType, 2);
  EXPECT_EQ(f.KeepViewOnce, 1);
  f.SpeedButton10Down = 1;
  SubDisplayButtonClick(f, 10);
  EXPECT_EQ(f.SubDispType, 1);
  EXPECT_EQ(f.HideText, 0);
  EXPECT_EQ(s.log, CallLog(3, "Redraw 0101"));
  EXPECT_EQ(s.effects.controlsChanged, 3);
}

TEST_F(Commands, N24AndN25AlwaysCarryExactlyOneMark) {
  Form1State& f = s.form;
  for (int start : {0, 1}) {
    f.N24Checked = start;
    f.N25Checked = 1 - start;
    for (int click = 0; click < 4; ++click) {
      if (click % 2) {
        N25Click(f);
      } else {
        N24Click(f);
      }
      EXPECT_EQ(f.N24Checked + f.N25Checked, 1);
    }
  }
  f.N24Checked = 1;
  f.N25Checked = 0;
  N24Click(f);
  EXPECT_EQ(f.N25Checked, 1);
  N25Click(f);
  EXPECT_EQ(f.N24Checked, 1);
  EXPECT_EQ(s.log.back(), "Redraw 0111");
}

TEST_F(Commands, MarksInvertAndAskTheirRedraws) {
  Form1State& f = s.form;
  f.N8Checked = 0;
  f.N21Checked = 1;
  f.N28Checked = 1;
  N8Click(f);
  N21Click(f);
  N28Click(f);
  EXPECT_EQ(f.N8Checked, 1);
  EXPECT_EQ(f.N21Checked, 0);
  EXPECT_EQ(f.N28Checked, 0);
  EXPECT_EQ(s.log, (CallLog{"Redraw 1101", "Redraw 0111", "Redraw 0111"}));
  // The panels' marks resize the window instead.
  f.N11Checked = 0;
  f.N26Checked = 1;
  N11Click(f);
  N26Click(f);
  EXPECT_EQ(f.N11Checked, 1);
  EXPECT_EQ(f.N26Checked, 0);
  EXPECT_EQ(s.log.back(), "FormResize");
  f.DispTime = 0;
  Image6Click(f);
  EXPECT_EQ(f.DispTime, 1);
  Image6Click(f);
  EXPECT_EQ(f.DispTime, 0);
}

TEST_F(Commands, NewestAircraftButton) {
  Form1State& f = s.form;
  // An empty table: selected, nothing drawn.
  f.SpeedButton8Down = 1;
  f.MapViewOptions = 0x7F;
  f.KeepViewOnce = f.KeepSelectionOnce = 1;
  SpeedButton8Click(f);
  EXPECT_EQ(f.AircraftSelected, 1);
  EXPECT_EQ(f.MapViewOptions, 0);
  EXPECT_EQ(f.KeepViewOnce, 0);
  EXPECT_EQ(f.KeepSelectionOnce, 0);
  EXPECT_TRUE(s.log.empty());
  // Three aircraft, the second heard last.
  s.AddAircraft(3);
  f.Aircraft.Records[0].Age = 1;
  f.Aircraft.Records[1].Age = 0;
  f.Aircraft.Records[2].Age = 0;
  SpeedButton8Click(f);
  EXPECT_EQ(f.SelectedAircraft, 1);
  EXPECT_EQ(f.LatestAircraft, 1);
  EXPECT_EQ(s.log, CallLog{"Redraw 0111"});
  // Raised.
  f.SpeedButton8Down = 0;
  f.MapViewOptions = 3;
  SpeedButton8Click(f);
  EXPECT_EQ(f.LatestAircraft, -1);
  EXPECT_EQ(f.AircraftSelected, 0);
  EXPECT_EQ(f.MapViewOptions, 0);
  EXPECT_EQ(s.log.back(), "Redraw 0111");
}

TEST_F(Commands, ClearAllAnsweredNoChangesNothing) {
  Form1State& f = s.form;
  s.AddAircraft(2);
  boxes.SetAnswers({BoxAnswer::No});
  N6Click(f);
  EXPECT_EQ(f.AircraftCount, 2);
  EXPECT_STREQ(f.Aircraft.Records[0].FlightId, "FLT0");
  EXPECT_EQ(f.N6Enabled, 1);
  EXPECT_TRUE(s.log.empty());
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, "Delete all plots and aircraft list data,OK?");
  EXPECT_EQ(boxes.Requests()[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(boxes.Requests()[0].kind, BoxKind::Confirmation);
}

TEST_F(Commands, ClearAllResetsTheTableTheWindowsAndTheMenu) {
  Form1State& f = s.form;
  testing_support::TempDir dir;
  platform::EnsureFolder(dir.File("pics"));
  testing_support::WriteFile(dir.File("pics/noimage.jpg"), "jpeg");
  f.AppDir = dir.path();
  s.AddAircraft(2);
  AircraftRecord& r = f.Aircraft.Records[1];
  r.Age = 3;
  r.LastPoint = 4;
  r.AltTrend = 1;
  r.FlightLevel = 350;
  r.TagPos = 2;
  std::memcpy(r.LastReportId, "ABCDEFG", 8);
  std::memcpy(r.LastTime, "12:34XY", 8);
  r.AircraftType = "B744";
  r.Points[49] = {35.5, 139.5, 90, 35000, -50, 270, 80, 0.5, 45000.5, 3};
  f.ComboBox2Items = {"ALL", "JL", "NH"};
  f.ComboBox2Index = 2;
  f.AircraftSelected = 1;
  f.SelectedAircraft = 1;
  f.SpeedButton8Down = 1;
  f.N10Enabled = 1;
  f.LatestAircraft = 1;
  f.LatestAircraftShown = 1;
  f.KeepViewOnce = 1;

  N6Click(f);
  EXPECT_EQ(f.AircraftCount, 0);
  EXPECT_STREQ(r.FlightId, "-------");
  EXPECT_EQ(std::string(r.LastReportId, 8), std::string("\0\0\0\0\0\0G\0", 8));
  EXPECT_EQ(std::string(r.LastTime, 8), std::string("\0\0\0\0\0XY\0", 8));
  EXPECT_EQ(r.Age + r.LastPoint + r.AltTrend + r.FlightLevel + r.TagPos, 0);
  EXPECT_EQ(r.AircraftType, "B744");
  const TrackPoint& p = r.Points[49];
  EXPECT_EQ(p.Lat, 0.0);
  EXPECT_EQ(p.Lon, 0.0);
  EXPECT_EQ(p.ReportTime, 0.0);
  EXPECT_EQ(p.Heading + p.Altitude + p.Temperature + p.WindDir + p.WindSpeed, 0);
  EXPECT_EQ(p.ReceiveTime, 45000.5);  // not a field the command resets
  EXPECT_EQ(p.AgeClass, 3);
  EXPECT_EQ(f.ComboBox2Items, std::vector<std::string>{"ALL"});
  EXPECT_EQ(f.ComboBox2Index, 0);
  EXPECT_EQ(f.SpeedButton8Down, 0);
  EXPECT_EQ(f.N6Enabled, 0);
  EXPECT_EQ(f.N10Enabled, 0);
  EXPECT_EQ(f.AircraftSelected, 0);
  EXPECT_EQ(f.SelectedAircraft, 0);
  EXPECT_EQ(f.LatestAircraft, -1);
  EXPECT_EQ(f.LatestAircraftShown, 0);
  EXPECT_EQ(f.KeepViewOnce, 0);
  const std::string noImage = platform::JoinPath(dir.path(), "pics/noimage.jpg");
  EXPECT_EQ(s.log, (CallLog{"ClearAllRows", "Text 17 Label3 ------", "Text 17 Label5 ------",
                            "Text 17 Label10 ----", "Text 17 Label11 ----", "Text 17 Label13 -", "Text 17 Label14 -",
                            "Text 17 Label15 -", "Text 17 Label7 なし", "ReadJpeg " + noImage,
                            "Picture 17 Image1 4", "Redraw 0111", "ClearRegistrationRows"}));
}

TEST_F(Commands, ClearAllOnAnEmptyTableStillResetsAndDisables) {
  Form1State& f = s.form;
  f.AppDir = "/nonexistent-folder";
  f.Aircraft.Allocate(f.MaxMapPlot, f.MaxPlotData);
  f.UseEnglish = 0;
  N6Click(f);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"プロット画面・受信リストを消去します。\nよろしいですか？"});
  EXPECT_EQ(f.N6Enabled, 0);
  EXPECT_EQ(f.N10Enabled, 0);
  EXPECT_EQ(Filtered(s.log, "ReadJpeg").size(), 0u);  // no picture file
  EXPECT_EQ(Filtered(s.log, "ClearAllRows").size(), 1u);
  EXPECT_EQ(Filtered(s.log, "Text 17 Label7 なし").size(), 1u);  // in either language
}

TEST_F(Commands, DeleteSelectedWithoutASelectionWarnsOnce) {
  s.AddAircraft(2);
  s.form.AircraftSelected = 0;
  N10Click(s.form);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, "Not selected");
  EXPECT_EQ(boxes.Requests()[0].buttons, BoxButtons::Yes);
  EXPECT_EQ(boxes.Requests()[0].kind, BoxKind::Warning);
  EXPECT_TRUE(s.log.empty());
  s.form.UseEnglish = 0;
  N10Click(s.form);
  EXPECT_EQ(boxes.Requests()[1].text, "選択されていません");
  EXPECT_EQ(s.form.AircraftCount, 2);
}

TEST_F(Commands, DeleteSelectedAsksForEachShownAircraft) {
  Form1State& f = s.form;
  s.AddAircraft(3);
  f.Aircraft.Records[1].Visible = 0;
  f.AircraftSelected = 1;
  f.N24Checked = 0;
  f.KeepViewOnce = f.KeepSelectionOnce = f.LatestAircraftShown = f.AutoShowLatest = f.AutoShowAll = 1;
  f.MapViewOptions = 5;
  f.LatestAircraft = 2;
  boxes.SetAnswers({BoxAnswer::Yes, BoxAnswer::No});
  N10Click(f);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Delete FLT0,OK?", "Delete FLT2,OK?"}));
  EXPECT_EQ(f.AircraftCount, 2);
  EXPECT_STREQ(f.Aircraft.Records[0].FlightId, "FLT1");
  EXPECT_STREQ(f.Aircraft.Records[1].FlightId, "FLT2");
  EXPECT_EQ(Filtered(s.log, "DeleteAircraft"), CallLog{"DeleteAircraft 0"});
  EXPECT_EQ(Filtered(s.log, "ClearPosMark"), CallLog{"ClearPosMark REG0 FLT0"});
  // After the walk.
  EXPECT_EQ(f.MapViewOptions, 0);
  EXPECT_EQ(f.KeepViewOnce + f.KeepSelectionOnce + f.LatestAircraftShown + f.AutoShowLatest + f.AutoShowAll, 0);
  EXPECT_EQ(f.LatestAircraft, -1);
  EXPECT_EQ(f.AircraftSelected, 0);
  EXPECT_EQ(s.log.back(), "Redraw 0111");
}

TEST_F(Commands, DeleteSelectedNamesTheAircraftAsTheMapLabelsIt) {
  Form1State& f = s.form;
  s.AddAircraft(1);
  const AircraftRecord& r = f.Aircraft.Records[0];
  f.N24Checked = 1;
  const struct {
    flag n21, n28;
    const char* name;
  } cases[] = {{1, 1, "7A0"}, {1, 0, "7N0"}, {0, 1, "6A0"}, {0, 0, "6N0"}};
  for (const auto& c : cases) {
    f.N21Checked = c.n21;
    f.N28Checked = c.n28;
    EXPECT_EQ(N10AircraftName(f, r), c.name);
  }
  f.N24Checked = 0;
  EXPECT_EQ(N10AircraftName(f, r), "FLT0");
  // Japanese, with a name in code page 932.
  f.N24Checked = 1;
  f.Aircraft.Records[0].FlightNo6 = "\x83\x65\x83\x58\x83\x67";  // テスト
  f.UseEnglish = 0;
  f.AircraftSelected = 1;
  boxes.SetAnswers({BoxAnswer::No});
  N10Click(f);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"テストを消去します。\nよろしいですか？"});
}

TEST_F(Commands, ADeletionThatDeletesNothingEndsTheWalk) {
  Form1State& f = s.form;
  s.AddAircraft(2);
  f.AircraftSelected = 1;
  s.aircraft.refuse = true;
  N10Click(f);  // every answer Yes
  EXPECT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(Filtered(s.log, "DeleteAircraft"), (CallLog{"DeleteAircraft 0", "DeleteAircraft 1"}));
  EXPECT_TRUE(Filtered(s.log, "ClearPosMark").empty());
  EXPECT_EQ(f.AircraftCount, 2);
  EXPECT_EQ(f.AircraftSelected, 0);
}

TEST_F(Commands, DeleteSelectedYesToAllEmptiesTheTable) {
  Form1State& f = s.form;
  s.AddAircraft(3);
  f.AircraftSelected = 1;
  N10Click(f);
  EXPECT_EQ(f.AircraftCount, 0);
  EXPECT_EQ(Filtered(s.log, "DeleteAircraft"), CallLog(3, "DeleteAircraft 0"));
  EXPECT_EQ(Filtered(s.log, "ClearPosMark"),
            (CallLog{"ClearPosMark REG0 FLT0", "ClearPosMark REG1 FLT1", "ClearPosMark REG2 FLT2"}));
}

TEST_F(Commands, PopupShowsTheNetworkItemsOnlyWhileLinked) {
  Form1State& f = s.form;
  f.NetConnected = 0;
  f.Chat = 1;
  f.N12Visible = f.N13Visible = f.N14Visible = 1;
  PopupMenu1Popup(f);
  EXPECT_EQ(f.N12Visible + f.N13Visible + f.N14Visible, 0);
  f.NetConnected = 1;
  PopupMenu1Popup(f);
  EXPECT_EQ(f.N12Visible + f.N13Visible + f.N14Visible, 3);
  f.Chat = 0;
  f.N13Visible = 0;
  PopupMenu1Popup(f);
  EXPECT_EQ(f.N12Visible, 1);
  EXPECT_EQ(f.N13Visible, 0);
  EXPECT_EQ(f.N14Visible, 1);
  // Unlinked with Chat off leaves the chat item as it is.
  f.NetConnected = 0;
  f.N13Visible = 1;
  PopupMenu1Popup(f);
  EXPECT_EQ(f.N13Visible, 1);
  EXPECT_EQ(f.N12Visible + f.N14Visible, 0);
}

TEST_F(Commands, ConnectButtonPressedButNotConfirmed) {
  Form1State& f = s.form;
  f.SpeedButton1Down = 1;
  f.NetConnected = f.Connecting = f.LoopProbePending = 1;
  f.LoopProbeRetries = 2;
  f.Timer3Enabled = 1;
  s.effects.onShow = [&](int) { f.ConnectRequested = 0; };
  SpeedButton1Click(f);
  EXPECT_EQ(s.log, CallLog{"ShowForm 14 modal"});
  EXPECT_EQ(f.SpeedButton1Down, 0);
  EXPECT_EQ(f.NetConnected + f.Connecting + f.LoopProbePending + f.Timer3Enabled, 0);
  EXPECT_EQ(f.LoopProbeRetries, 0);
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(Commands, ConnectButtonStartsTheConnection) {
  Form1State& f = s.form;
  f.SpeedButton1Down = 1;
  f.ServerName = "example.host";
  f.ClientPortNo = "49600";
  s.exchange.connects = true;
  s.effects.onShow = [&](int) { f.ConnectRequested = 1; };
  SpeedButton1Click(f);
  EXPECT_EQ(s.log, (CallLog{"ShowForm 14 modal", "ConnectToServer example.host 49600"}));
  EXPECT_EQ(f.Connecting, 1);
  EXPECT_EQ(f.SpeedButton1Down, 1);
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(Commands, AConnectThatFailsAtOnceEndsAsARefusedOne) {
  for (flag english : {1, 0}) {
    RecordedState st;
    MessageBoxRecorder recorder;
    Form1State& f = st.form;
    f.UseEnglish = english;
    f.SpeedButton1Down = 1;
    f.Timer3Enabled = 1;
    f.LoopProbePending = 1;
    st.effects.onShow = [&](int) { f.ConnectRequested = 1; };
    SpeedButton1Click(f);
    ASSERT_EQ(recorder.Requests().size(), 1u);
    EXPECT_EQ(recorder.Requests()[0].text, english ? "Can not connect" : "接続できません");
    EXPECT_EQ(recorder.Requests()[0].kind, BoxKind::Information);
    EXPECT_EQ(recorder.Requests()[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(f.SpeedButton1Down, 0);
    EXPECT_EQ(f.NetConnected + f.Connecting + f.Timer3Enabled + f.LoopProbePending, 0);
    EXPECT_EQ(st.log.back(), "ArrangeStatusIndicators");
  }
}

TEST_F(Commands, ConnectButtonRaisedDisconnectsWithItsMessage) {
  Form1State& f = s.form;
  f.SpeedButton1Down = 0;
  f.NetConnected = 1;
  SpeedButton1Click(f);
  EXPECT_EQ(s.log, CallLog{"DisconnectFromServer 1 NetConnected=1"});
  EXPECT_EQ(f.NetConnected, 0);
  EXPECT_EQ(f.SpeedButton1Down, 0);
}

TEST_F(Commands, ShellOpensAndSmallCommands) {
  Form1State& f = s.form;
  f.FlightCsvPath = "/p/data/flight.csv";
  f.AircraftCsvPath = "/p/data/aircraft.csv";
  f.AppDir = "/p";
  std::vector<std::string> opened;
  platform::SetShellOpenHandler([&](const std::string& target) { opened.push_back(target); });
  flightcsv1Click(f);
  airlinecsv1Click(f);
  N17Click(f);
  platform::SetShellOpenHandler(nullptr);
  EXPECT_EQ(opened, (std::vector<std::string>{"/p/data/flight.csv", "/p/data/aircraft.csv", "/p"}));

  f.MapViewBitmap.Resize(7, 5);
  N3Click(f);
  N5Click(f);
  f.ChatLog = "abc\x82\xa0";  // "abcあ"
  N13Click(f);
  EXPECT_EQ(s.log, (CallLog{"Clipboard 7", "CloseMainWindow", "RestoreForm 12", "Text 12 Memo1 abcあ",
                            "ShowForm 12"}));
}

}  // namespace
