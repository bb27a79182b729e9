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
    s.form.controls.SpeedButton2Down = 0;
    s.form.mapView.MapBitmap.Resize(600, 400);
  }
  RecordedState s;
};

TEST_F(Pan, WestAndEastWrapAroundTheDateLine) {
  s.form.mapView.MapScaleX = 2.0;
  s.form.Map.MapCentE = -170.0;
  PanMap(s.form, PanDirection::West);
  EXPECT_DOUBLE_EQ(s.form.Map.MapCentE, 165.0);
  s.form.Map.MapCentE = 170.0;
  PanMap(s.form, PanDirection::East);
  EXPECT_DOUBLE_EQ(s.form.Map.MapCentE, -165.0);
  s.form.Map.MapCentE = 0.0;
  PanMap(s.form, PanDirection::East);
  EXPECT_DOUBLE_EQ(s.form.Map.MapCentE, 25.0);
}

TEST_F(Pan, TheFlatMapStaysInsideThePoles) {
  s.form.mapView.MapScaleY = 4.0;
  s.form.Map.MapCentN = 38.0;
  PanMap(s.form, PanDirection::North);
  EXPECT_DOUBLE_EQ(s.form.Map.MapCentN, 40.0);
  s.form.Map.MapCentN = -38.0;
  PanMap(s.form, PanDirection::South);
  EXPECT_DOUBLE_EQ(s.form.Map.MapCentN, -40.0);
  s.form.Map.MapCentN = 10.0;
  PanMap(s.form, PanDirection::South);
  EXPECT_DOUBLE_EQ(s.form.Map.MapCentN, -2.5);
}

TEST_F(Pan, TheGlobeTiltsWithinNinetyAndStillClampsTheCentre) {
  s.form.controls.SpeedButton2Down = 1;
  s.form.mapView.MapScaleY = 4.0;
  s.form.Map.MapCentN = 45.0;
  s.form.Map.ViewDeg = -80.0;
  PanMap(s.form, PanDirection::North);
  EXPECT_DOUBLE_EQ(s.form.Map.ViewDeg, -90.0);
  EXPECT_DOUBLE_EQ(s.form.Map.MapCentN, 40.0);
  s.form.Map.ViewDeg = 80.0;
  PanMap(s.form, PanDirection::South);
  EXPECT_DOUBLE_EQ(s.form.Map.ViewDeg, 90.0);
  s.form.Map.ViewDeg = 0.0;
  PanMap(s.form, PanDirection::South);
  EXPECT_DOUBLE_EQ(s.form.Map.ViewDeg, 12.5);
}

TEST_F(Pan, WithoutAScaleNothingMoves) {
  s.form.Map.MapCentE = 139.0;
  s.form.Map.MapCentN = 36.5;
  s.form.Map.ViewDeg = -36.5;
  for (PanDirection d : {PanDirection::West, PanDirection::East}) PanMap(s.form, d);
  s.form.mapView.MapScaleX = 3.0;  // only the horizontal scale is known
  for (PanDirection d : {PanDirection::North, PanDirection::South}) PanMap(s.form, d);
  s.form.controls.SpeedButton2Down = 1;
  PanMap(s.form, PanDirection::North);
  EXPECT_EQ(s.form.Map.MapCentE, 139.0);
  EXPECT_EQ(s.form.Map.MapCentN, 36.5);
  EXPECT_EQ(s.form.Map.ViewDeg, -36.5);
  EXPECT_EQ(s.form.mapView.KeepViewOnce, 0);
  EXPECT_TRUE(s.log.empty());
}

TEST_F(Pan, EachMoveKeepsTheViewAndRedrawsBackgroundAircraftAndAltitude) {
  s.form.mapView.MapScaleX = s.form.mapView.MapScaleY = 2.0;
  for (PanDirection d : {PanDirection::West, PanDirection::East, PanDirection::North, PanDirection::South}) {
    s.form.mapView.KeepViewOnce = 0;
    PanMap(s.form, d);
    EXPECT_EQ(s.form.mapView.KeepViewOnce, 1);
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
  f.controls.SpeedButton9Down = 1;
  f.controls.SpeedButton10Down = f.controls.SpeedButton11Down = 0;
  // Clicking another: it goes down (Qt did that), the others come up.
  f.controls.SpeedButton11Down = 1;
  SubDisplayButtonClick(f, 11);
  EXPECT_EQ(f.controls.SpeedButton9Down, 0);
  EXPECT_EQ(f.controls.SpeedButton10Down, 0);
  EXPECT_EQ(f.controls.SpeedButton11Down, 1);
  EXPECT_EQ(f.Map.SubDispType, 2);
  EXPECT_EQ(f.Map.HideText, 0);
  // Clicking the one that is down raises it: none down, the tags hidden,
  // and the type still that button's.
  f.controls.SpeedButton11Down = 0;
  f.mapView.KeepViewOnce = 0;
  SubDisplayButtonClick(f, 11);
  EXPECT_EQ(f.controls.SpeedButton9Down + f.controls.SpeedButton10Down + f.controls.SpeedButton11Down, 0);
  EXPECT_EQ(f.Map.HideText, 1);
  EXPECT_EQ(f.Map.SubDispType, 2);
  EXPECT_EQ(f.mapView.KeepViewOnce, 1);
  f.controls.SpeedButton10Down = 1;
  SubDisplayButtonClick(f, 10);
  EXPECT_EQ(f.Map.SubDispType, 1);
  EXPECT_EQ(f.Map.HideText, 0);
  EXPECT_EQ(s.log, CallLog(3, "Redraw 0101"));
  EXPECT_EQ(s.effects.controlsChanged, 3);
}

TEST_F(Commands, N24AndN25AlwaysCarryExactlyOneMark) {
  Form1State& f = s.form;
  for (int start : {0, 1}) {
    f.controls.N24Checked = start;
    f.controls.N25Checked = 1 - start;
    for (int click = 0; click < 4; ++click) {
      if (click % 2) {
        N25Click(f);
      } else {
        N24Click(f);
      }
      EXPECT_EQ(f.controls.N24Checked + f.controls.N25Checked, 1);
    }
  }
  f.controls.N24Checked = 1;
  f.controls.N25Checked = 0;
  N24Click(f);
  EXPECT_EQ(f.controls.N25Checked, 1);
  N25Click(f);
  EXPECT_EQ(f.controls.N24Checked, 1);
  EXPECT_EQ(s.log.back(), "Redraw 0111");
}

TEST_F(Commands, MarksInvertAndAskTheirRedraws) {
  Form1State& f = s.form;
  f.controls.N8Checked = 0;
  f.controls.N21Checked = 1;
  f.controls.N28Checked = 1;
  N8Click(f);
  N21Click(f);
  N28Click(f);
  EXPECT_EQ(f.controls.N8Checked, 1);
  EXPECT_EQ(f.controls.N21Checked, 0);
  EXPECT_EQ(f.controls.N28Checked, 0);
  EXPECT_EQ(s.log, (CallLog{"Redraw 1101", "Redraw 0111", "Redraw 0111"}));
  // The panels' marks resize the window instead.
  f.controls.N11Checked = 0;
  f.controls.N26Checked = 1;
  N11Click(f);
  N26Click(f);
  EXPECT_EQ(f.controls.N11Checked, 1);
  EXPECT_EQ(f.controls.N26Checked, 0);
  EXPECT_EQ(s.log.back(), "FormResize");
  f.Etc.DispTime = 0;
  Image6Click(f);
  EXPECT_EQ(f.Etc.DispTime, 1);
  Image6Click(f);
  EXPECT_EQ(f.Etc.DispTime, 0);
}

TEST_F(Commands, NewestAircraftButton) {
  Form1State& f = s.form;
  // An empty table: selected, nothing drawn.
  f.controls.SpeedButton8Down = 1;
  f.mapView.MapViewOptions = 0x7F;
  f.mapView.KeepViewOnce = f.mapView.KeepSelectionOnce = 1;
  SpeedButton8Click(f);
  EXPECT_EQ(f.mapView.AircraftSelected, 1);
  EXPECT_EQ(f.mapView.MapViewOptions, 0);
  EXPECT_EQ(f.mapView.KeepViewOnce, 0);
  EXPECT_EQ(f.mapView.KeepSelectionOnce, 0);
  EXPECT_TRUE(s.log.empty());
  // Three aircraft, the second heard last.
  s.AddAircraft(3);
  f.aircraft.Aircraft.Records[0].Age = 1;
  f.aircraft.Aircraft.Records[1].Age = 0;
  f.aircraft.Aircraft.Records[2].Age = 0;
  SpeedButton8Click(f);
  EXPECT_EQ(f.mapView.SelectedAircraft, 1);
  EXPECT_EQ(f.mapView.LatestAircraft, 1);
  EXPECT_EQ(s.log, CallLog{"Redraw 0111"});
  // Raised.
  f.controls.SpeedButton8Down = 0;
  f.mapView.MapViewOptions = 3;
  SpeedButton8Click(f);
  EXPECT_EQ(f.mapView.LatestAircraft, -1);
  EXPECT_EQ(f.mapView.AircraftSelected, 0);
  EXPECT_EQ(f.mapView.MapViewOptions, 0);
  EXPECT_EQ(s.log.back(), "Redraw 0111");
}

TEST_F(Commands, ClearAllAnsweredNoChangesNothing) {
  Form1State& f = s.form;
  s.AddAircraft(2);
  boxes.SetAnswers({BoxAnswer::No});
  N6Click(f);
  EXPECT_EQ(f.aircraft.AircraftCount, 2);
  EXPECT_STREQ(f.aircraft.Aircraft.Records[0].FlightId, "FLT0");
  EXPECT_EQ(f.controls.N6Enabled, 1);
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
  f.app.AppDir = dir.path();
  s.AddAircraft(2);
  AircraftRecord& r = f.aircraft.Aircraft.Records[1];
  r.Age = 3;
  r.LastPoint = 4;
  r.AltTrend = 1;
  r.FlightLevel = 350;
  r.TagPos = 2;
  std::memcpy(r.LastReportId, "ABCDEFG", 8);
  std::memcpy(r.LastTime, "12:34XY", 8);
  r.AircraftType = "B744";
  r.Points[49] = {35.5, 139.5, 90, 35000, -50, 270, 80, 0.5, 45000.5, 3};
  f.controls.ComboBox2Items = {"ALL", "JL", "NH"};
  f.controls.ComboBox2Index = 2;
  f.mapView.AircraftSelected = 1;
  f.mapView.SelectedAircraft = 1;
  f.controls.SpeedButton8Down = 1;
  f.controls.N10Enabled = 1;
  f.mapView.LatestAircraft = 1;
  f.mapView.LatestAircraftShown = 1;
  f.mapView.KeepViewOnce = 1;

  N6Click(f);
  EXPECT_EQ(f.aircraft.AircraftCount, 0);
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
  EXPECT_EQ(f.controls.ComboBox2Items, std::vector<std::string>{"ALL"});
  EXPECT_EQ(f.controls.ComboBox2Index, 0);
  EXPECT_EQ(f.controls.SpeedButton8Down, 0);
  EXPECT_EQ(f.controls.N6Enabled, 0);
  EXPECT_EQ(f.controls.N10Enabled, 0);
  EXPECT_EQ(f.mapView.AircraftSelected, 0);
  EXPECT_EQ(f.mapView.SelectedAircraft, 0);
  EXPECT_EQ(f.mapView.LatestAircraft, -1);
  EXPECT_EQ(f.mapView.LatestAircraftShown, 0);
  EXPECT_EQ(f.mapView.KeepViewOnce, 0);
  const std::string noImage = platform::JoinPath(dir.path(), "pics/noimage.jpg");
  EXPECT_EQ(s.log, (CallLog{"ClearAllRows", "Text 17 Label3 ------", "Text 17 Label5 ------",
                            "Text 17 Label10 ----", "Text 17 Label11 ----", "Text 17 Label13 -", "Text 17 Label14 -",
                            "Text 17 Label15 -", "Text 17 Label7 なし", "ReadJpeg " + noImage,
                            "Picture 17 Image1 4", "Redraw 0111", "ClearRegistrationRows"}));
}

TEST_F(Commands, ClearAllOnAnEmptyTableStillResetsAndDisables) {
  Form1State& f = s.form;
  f.app.AppDir = "/nonexistent-folder";
  f.aircraft.Aircraft.Allocate(f.Map.MaxMapPlot, f.Map.MaxPlotData);
  f.app.UseEnglish = 0;
  N6Click(f);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"プロット画面・受信リストを消去します。\nよろしいですか？"});
  EXPECT_EQ(f.controls.N6Enabled, 0);
  EXPECT_EQ(f.controls.N10Enabled, 0);
  EXPECT_EQ(Filtered(s.log, "ReadJpeg").size(), 0u);  // no picture file
  EXPECT_EQ(Filtered(s.log, "ClearAllRows").size(), 1u);
  EXPECT_EQ(Filtered(s.log, "Text 17 Label7 なし").size(), 1u);  // in either language
}

TEST_F(Commands, DeleteSelectedWithoutASelectionWarnsOnce) {
  s.AddAircraft(2);
  s.form.mapView.AircraftSelected = 0;
  N10Click(s.form);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, "Not selected");
  EXPECT_EQ(boxes.Requests()[0].buttons, BoxButtons::Yes);
  EXPECT_EQ(boxes.Requests()[0].kind, BoxKind::Warning);
  EXPECT_TRUE(s.log.empty());
  s.form.app.UseEnglish = 0;
  N10Click(s.form);
  EXPECT_EQ(boxes.Requests()[1].text, "選択されていません");
  EXPECT_EQ(s.form.aircraft.AircraftCount, 2);
}

TEST_F(Commands, DeleteSelectedAsksForEachShownAircraft) {
  Form1State& f = s.form;
  s.AddAircraft(3);
  f.aircraft.Aircraft.Records[1].Visible = 0;
  f.mapView.AircraftSelected = 1;
  f.controls.N24Checked = 0;
  f.mapView.KeepViewOnce = f.mapView.KeepSelectionOnce = f.mapView.LatestAircraftShown = f.mapView.AutoShowLatest = f.mapView.AutoShowAll = 1;
  f.mapView.MapViewOptions = 5;
  f.mapView.LatestAircraft = 2;
  boxes.SetAnswers({BoxAnswer::Yes, BoxAnswer::No});
  N10Click(f);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Delete FLT0,OK?", "Delete FLT2,OK?"}));
  EXPECT_EQ(f.aircraft.AircraftCount, 2);
  EXPECT_STREQ(f.aircraft.Aircraft.Records[0].FlightId, "FLT1");
  EXPECT_STREQ(f.aircraft.Aircraft.Records[1].FlightId, "FLT2");
  EXPECT_EQ(Filtered(s.log, "DeleteAircraft"), CallLog{"DeleteAircraft 0"});
  EXPECT_EQ(Filtered(s.log, "ClearPosMark"), CallLog{"ClearPosMark REG0 FLT0"});
  // After the walk.
  EXPECT_EQ(f.mapView.MapViewOptions, 0);
  EXPECT_EQ(f.mapView.KeepViewOnce + f.mapView.KeepSelectionOnce + f.mapView.LatestAircraftShown + f.mapView.AutoShowLatest + f.mapView.AutoShowAll, 0);
  EXPECT_EQ(f.mapView.LatestAircraft, -1);
  EXPECT_EQ(f.mapView.AircraftSelected, 0);
  EXPECT_EQ(s.log.back(), "Redraw 0111");
}

TEST_F(Commands, DeleteSelectedNamesTheAircraftAsTheMapLabelsIt) {
  Form1State& f = s.form;
  s.AddAircraft(1);
  const AircraftRecord& r = f.aircraft.Aircraft.Records[0];
  f.controls.N24Checked = 1;
  const struct {
    flag n21, n28;
    const char* name;
  } cases[] = {{1, 1, "7A0"}, {1, 0, "7N0"}, {0, 1, "6A0"}, {0, 0, "6N0"}};
  for (const auto& c : cases) {
    f.controls.N21Checked = c.n21;
    f.controls.N28Checked = c.n28;
    EXPECT_EQ(N10AircraftName(f, r), c.name);
  }
  f.controls.N24Checked = 0;
  EXPECT_EQ(N10AircraftName(f, r), "FLT0");
  // Japanese, with a name in code page 932.
  f.controls.N24Checked = 1;
  f.aircraft.Aircraft.Records[0].FlightNo6 = "\x83\x65\x83\x58\x83\x67";  // テスト
  f.app.UseEnglish = 0;
  f.mapView.AircraftSelected = 1;
  boxes.SetAnswers({BoxAnswer::No});
  N10Click(f);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"テストを消去します。\nよろしいですか？"});
}

TEST_F(Commands, ADeletionThatDeletesNothingEndsTheWalk) {
  Form1State& f = s.form;
  s.AddAircraft(2);
  f.mapView.AircraftSelected = 1;
  s.aircraft.refuse = true;
  N10Click(f);  // every answer Yes
  EXPECT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(Filtered(s.log, "DeleteAircraft"), (CallLog{"DeleteAircraft 0", "DeleteAircraft 1"}));
  EXPECT_TRUE(Filtered(s.log, "ClearPosMark").empty());
  EXPECT_EQ(f.aircraft.AircraftCount, 2);
  EXPECT_EQ(f.mapView.AircraftSelected, 0);
}

TEST_F(Commands, DeleteSelectedYesToAllEmptiesTheTable) {
  Form1State& f = s.form;
  s.AddAircraft(3);
  f.mapView.AircraftSelected = 1;
  N10Click(f);
  EXPECT_EQ(f.aircraft.AircraftCount, 0);
  EXPECT_EQ(Filtered(s.log, "DeleteAircraft"), CallLog(3, "DeleteAircraft 0"));
  EXPECT_EQ(Filtered(s.log, "ClearPosMark"),
            (CallLog{"ClearPosMark REG0 FLT0", "ClearPosMark REG1 FLT1", "ClearPosMark REG2 FLT2"}));
}

TEST_F(Commands, PopupShowsTheNetworkItemsOnlyWhileLinked) {
  Form1State& f = s.form;
  f.exchange.NetConnected = 0;
  f.Net.Chat = 1;
  f.controls.N12Visible = f.controls.N13Visible = f.controls.N14Visible = 1;
  PopupMenu1Popup(f);
  EXPECT_EQ(f.controls.N12Visible + f.controls.N13Visible + f.controls.N14Visible, 0);
  f.exchange.NetConnected = 1;
  PopupMenu1Popup(f);
  EXPECT_EQ(f.controls.N12Visible + f.controls.N13Visible + f.controls.N14Visible, 3);
  f.Net.Chat = 0;
  f.controls.N13Visible = 0;
  PopupMenu1Popup(f);
  EXPECT_EQ(f.controls.N12Visible, 1);
  EXPECT_EQ(f.controls.N13Visible, 0);
  EXPECT_EQ(f.controls.N14Visible, 1);
  // Unlinked with Chat off leaves the chat item as it is.
  f.exchange.NetConnected = 0;
  f.controls.N13Visible = 1;
  PopupMenu1Popup(f);
  EXPECT_EQ(f.controls.N13Visible, 1);
  EXPECT_EQ(f.controls.N12Visible + f.controls.N14Visible, 0);
}

TEST_F(Commands, ConnectButtonPressedButNotConfirmed) {
  Form1State& f = s.form;
  f.controls.SpeedButton1Down = 1;
  f.exchange.NetConnected = f.exchange.Connecting = f.exchange.LoopProbePending = 1;
  f.exchange.LoopProbeRetries = 2;
  f.controls.Timer3Enabled = 1;
  s.effects.onShow = [&](int) { f.exchange.ConnectRequested = 0; };
  SpeedButton1Click(f);
  EXPECT_EQ(s.log, CallLog{"ShowForm 14 modal"});
  EXPECT_EQ(f.controls.SpeedButton1Down, 0);
  EXPECT_EQ(f.exchange.NetConnected + f.exchange.Connecting + f.exchange.LoopProbePending + f.controls.Timer3Enabled, 0);
  EXPECT_EQ(f.exchange.LoopProbeRetries, 0);
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(Commands, ConnectButtonStartsTheConnection) {
  Form1State& f = s.form;
  f.controls.SpeedButton1Down = 1;
  f.Net.ServerName = "example.host";
  f.Net.ClientPortNo = "49600";
  s.exchange.connects = true;
  s.effects.onShow = [&](int) { f.exchange.ConnectRequested = 1; };
  SpeedButton1Click(f);
  EXPECT_EQ(s.log, (CallLog{"ShowForm 14 modal", "ConnectToServer example.host 49600"}));
  EXPECT_EQ(f.exchange.Connecting, 1);
  EXPECT_EQ(f.controls.SpeedButton1Down, 1);
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(Commands, AConnectThatFailsAtOnceEndsAsARefusedOne) {
  for (flag english : {1, 0}) {
    RecordedState st;
    MessageBoxRecorder recorder;
    Form1State& f = st.form;
    f.app.UseEnglish = english;
    f.controls.SpeedButton1Down = 1;
    f.controls.Timer3Enabled = 1;
    f.exchange.LoopProbePending = 1;
    st.effects.onShow = [&](int) { f.exchange.ConnectRequested = 1; };
    SpeedButton1Click(f);
    ASSERT_EQ(recorder.Requests().size(), 1u);
    EXPECT_EQ(recorder.Requests()[0].text, english ? "Can not connect" : "接続できません");
    EXPECT_EQ(recorder.Requests()[0].kind, BoxKind::Information);
    EXPECT_EQ(recorder.Requests()[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(f.controls.SpeedButton1Down, 0);
    EXPECT_EQ(f.exchange.NetConnected + f.exchange.Connecting + f.controls.Timer3Enabled + f.exchange.LoopProbePending, 0);
    EXPECT_EQ(st.log.back(), "ArrangeStatusIndicators");
  }
}

TEST_F(Commands, ConnectButtonRaisedDisconnectsWithItsMessage) {
  Form1State& f = s.form;
  f.controls.SpeedButton1Down = 0;
  f.exchange.NetConnected = 1;
  SpeedButton1Click(f);
  EXPECT_EQ(s.log, CallLog{"DisconnectFromServer 1 NetConnected=1"});
  EXPECT_EQ(f.exchange.NetConnected, 0);
  EXPECT_EQ(f.controls.SpeedButton1Down, 0);
}

TEST_F(Commands, ShellOpensAndSmallCommands) {
  Form1State& f = s.form;
  f.app.FlightCsvPath = "/p/data/flight.csv";
  f.app.AircraftCsvPath = "/p/data/aircraft.csv";
  f.app.AppDir = "/p";
  std::vector<std::string> opened;
  platform::SetShellOpenHandler([&](const std::string& target) { opened.push_back(target); });
  flightcsv1Click(f);
  airlinecsv1Click(f);
  N17Click(f);
  platform::SetShellOpenHandler(nullptr);
  EXPECT_EQ(opened, (std::vector<std::string>{"/p/data/flight.csv", "/p/data/aircraft.csv", "/p"}));

  f.mapView.MapViewBitmap.Resize(7, 5);
  N3Click(f);
  N5Click(f);
  f.exchange.ChatLog = "abc\x82\xa0";  // "abcあ"
  N13Click(f);
  EXPECT_EQ(s.log, (CallLog{"Clipboard 7", "CloseMainWindow", "RestoreForm 12", "Text 12 Memo1 abcあ",
                            "ShowForm 12"}));
}

}  // namespace
