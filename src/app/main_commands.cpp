#include "app/main_commands.h"

#include <algorithm>
#include <cstring>

#include "aircraft/aircraft_table.h"
#include "app/aircraft_wiring.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "exchange/daily_log_set.h"
#include "exchange/peer_link.h"
#include "hfdl/registration.h"
#include "map/map_projection.h"
#include "map/map_redraw.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"

namespace form1 {

namespace {

using platform::BoxAnswer;
using platform::BoxButtons;
using platform::BoxKind;

constexpr double kPanStepPixels = 50.0;

const char* Pick(const Form1State& f, const char* english, const char* japanese) {
  return f.app.UseEnglish ? english : japanese;
}

void RedrawAircraftAndAltitude(Form1State& f) { RequestRedraw(f.mapView, {MapLayer::Aircraft, MapLayer::Altitude}); }
void RedrawAircraftListAndAltitude(Form1State& f) {
  RequestRedraw(f.mapView, {MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude});
}

void ResetAircraftSlots(Form1State& f) {
  std::vector<AircraftRecord>& records = f.aircraft.Aircraft.Records;
  const size_t count = std::min(records.size(), static_cast<size_t>(std::max(f.Map.MaxMapPlot, 0)));
  for (size_t i = 0; i < count; ++i) {
    AircraftRecord& r = records[i];
    std::memcpy(r.FlightId, "-------", 8);
    std::memset(r.LastReportId, 0, 6);
    r.Age = r.LastPoint = r.AltTrend = r.FlightLevel = r.TagPos = 0;
    std::memset(r.LastTime, 0, 5);
    const size_t points = std::min(r.Points.size(), static_cast<size_t>(std::max(f.Map.MaxPlotData, 0)));
    for (size_t j = 0; j < points; ++j) {
      TrackPoint& p = r.Points[j];
      p.Lat = p.Lon = 0.0;
      p.ReportTime = 0.0;
      p.Heading = p.Altitude = p.Temperature = p.WindDir = p.WindSpeed = 0;
    }
  }
}

// The link button up, no link and no keep-alive.
void LinkDown(Form1State& f) {
  f.controls.SpeedButton1Down = 0;
  f.exchange.NetConnected = 0;
  f.exchange.Connecting = 0;
  f.controls.Timer3Enabled = 0;
  f.exchange.LoopProbePending = 0;
}

// A connect that failed at once ends as a refused one does, instead of
// leaving the button down as if the link were being set up.
void RefuseConnect(Form1State& f, FormEffects& e) {
  platform::ShowMessageBox(BoxKind::Information, BoxButtons::Ok, Pick(f, "Can not connect", "接続できません"));
  LinkDown(f);
  e.ControlsChanged();
  e.ArrangeStatusIndicators();
}

void InvertThenResize(FormEffects& e, flag& mark) {
  mark = mark ? 0 : 1;
  e.ControlsChanged();
  e.FormResize();
}

}  // namespace

const ShowCommand kShowCommands[17] = {
    {"SpeedButton3", 5, false},  {"SpeedButton4", 2, false},  {"SpeedButton6", 10, false},
    {"SpeedButton7", 17, false}, {"SpeedButton18", 28, false}, {"N19", 3, false},
    {"SV2GE1", 4, false},        {"N29", 8, false},           {"HFDL1", 22, false},
    {"N30", 20, false},          {"ICAO241", 21, false},      {"HFDL2", 23, false},
    {"N32", 24, false},          {"N33", 26, false},          {"N14", 13, false},
    {"N4", 11, true},            {"Image3", 11, true},
};

void PanMap(Form1State& f, PanDirection direction) {
  // Without a scale (no map yet, or an empty map panel) the step would be
  // infinite and the settings file would keep it.
  if (direction == PanDirection::West || direction == PanDirection::East) {
    if (!(f.mapView.MapScaleX > 0.0)) return;
    if (direction == PanDirection::West) {
      f.Map.MapCentE -= kPanStepPixels / f.mapView.MapScaleX;
      if (f.Map.MapCentE < -180.0) f.Map.MapCentE += 360.0;
    } else {
      f.Map.MapCentE += kPanStepPixels / f.mapView.MapScaleX;
      if (f.Map.MapCentE > 180.0) f.Map.MapCentE -= 360.0;
    }
  } else {
    if (!(f.mapView.MapScaleY > 0.0)) return;
    const bool north = direction == PanDirection::North;
    if (f.controls.SpeedButton2Down) {
      f.Map.ViewDeg += (north ? -kPanStepPixels : kPanStepPixels) / f.mapView.MapScaleY;
      if (f.Map.ViewDeg < -90.0) f.Map.ViewDeg = -90.0;
      if (f.Map.ViewDeg > 90.0) f.Map.ViewDeg = 90.0;
    } else {
      f.Map.MapCentN += (north ? kPanStepPixels : -kPanStepPixels) / f.mapView.MapScaleY;
    }
    // The flat map stays inside the poles, whichever view is on.
    ApplyLatitudeRule(f.mapView, f.Map);
  }
  f.mapView.KeepViewOnce = 1;
  RequestRedraw(f.mapView, {MapLayer::Background, MapLayer::Aircraft, MapLayer::Altitude});
}

void SubDisplayButtonClick(Form1State& f, FormEffects& e, int button) {
  flag* down[3] = {&f.controls.SpeedButton9Down, &f.controls.SpeedButton10Down, &f.controls.SpeedButton11Down};
  const int index = button - 9;
  if (index < 0 || index > 2) return;
  if (*down[index]) {
    for (int i = 0; i < 3; ++i) {
      if (i != index) *down[i] = 0;
    }
  }
  f.mapView.KeepViewOnce = 1;
  f.Map.SubDispType = index;
  f.Map.HideText = (*down[0] || *down[1] || *down[2]) ? 0 : 1;
  e.ControlsChanged();
  RedrawAircraftAndAltitude(f);
}

void SpeedButton16Click(Form1State& f) {
  f.mapView.KeepViewOnce = 1;
  RedrawAircraftAndAltitude(f);
}

void SpeedButton8Click(Form1State& f) {
  if (f.controls.SpeedButton8Down) {
    f.mapView.AircraftSelected = 1;
    f.mapView.KeepViewOnce = 0;
    f.mapView.KeepSelectionOnce = 0;
    f.mapView.MapViewOptions = 0;
    if (f.aircraft.AircraftCount > 0) {
      const int latest = FindLatestAircraft(f.aircraft);
      f.mapView.SelectedAircraft = latest;
      f.mapView.LatestAircraft = latest;
      RedrawAircraftListAndAltitude(f);
    }
  } else {
    f.mapView.MapViewOptions = 0;
    f.mapView.LatestAircraft = -1;
    f.mapView.AircraftSelected = 0;
    RedrawAircraftListAndAltitude(f);
  }
}

void ComboBox2Change(Form1State& f) {
  f.mapView.KeepViewOnce = 1;
  RedrawAircraftAndAltitude(f);
}

void SpeedButton1Click(Form1State& f, FormEffects& e, PeerLink& link) {
  if (f.controls.SpeedButton1Down) {
    e.ShowForm(14, true);
    if (f.exchange.ConnectRequested) {
      f.exchange.Connecting = 1;
      if (!link.ConnectToServer(f.Net.ServerName, f.Net.ClientPortNo)) RefuseConnect(f, e);
    } else {
      LinkDown(f);
      f.exchange.LoopProbeRetries = 0;
      e.ControlsChanged();
    }
  } else {
    link.DisconnectFromServer(true);
    f.controls.SpeedButton1Down = 0;
    f.exchange.NetConnected = 0;
    e.ControlsChanged();
  }
}

void Image6Click(Form1State& f) { f.Etc.DispTime = f.Etc.DispTime ? 0 : 1; }

void Image5MouseUp(Form1State& f, bool leftButton) {
  if (!leftButton) {
    f.Etc.DispType = f.Etc.DispType ? 0 : 1;
  } else if (f.Wave.WaveDual == 2) {
    f.Etc.FFTSel = f.Etc.FFTSel >= 2 ? 0 : f.Etc.FFTSel + 1;
  }
}

void N3Click(Form1State& f, FormEffects& e) { e.CopyToClipboard(f.mapView.MapViewBitmap); }

void N5Click(FormEffects& e) { e.CloseMainWindow(); }

void N6Click(Form1State& f, FormEffects& e) {
  // Escape and the close box answer No; only No keeps the plots.
  if (platform::ShowMessageBox(BoxKind::Confirmation, BoxButtons::YesNo,
                               Pick(f, "Delete all plots and aircraft list data,OK?",
                                    "プロット画面・受信リストを消去します。\nよろしいですか？")) == BoxAnswer::No) {
    return;
  }
  ResetAircraftSlots(f);
  f.aircraft.AircraftCount = 0;
  ClearAllRows(f.aircraft);
  AircraftWiring link(f, e);
  ResetInformation(f.aircraft, link);
  f.controls.ComboBox2Items = {"ALL"};
  f.controls.ComboBox2Index = 0;
  f.mapView.SelectedAircraft = 0;
  f.mapView.AircraftSelected = 0;
  f.controls.SpeedButton8Down = 0;
  f.controls.N10Enabled = 0;
  f.controls.N6Enabled = 0;
  e.ControlsChanged();
  RedrawAircraftListAndAltitude(f);
  f.mapView.LatestAircraft = -1;
  f.mapView.LatestAircraftShown = 0;
  f.mapView.KeepViewOnce = 0;
  ClearRegistrationRows(f.hfdl.HfdlRegistrations);
}

std::string N10AircraftName(const Form1State& f, const AircraftRecord& r) {
  if (!f.controls.N24Checked) return RecordText(r.FlightId);
  if (f.controls.N21Checked && f.controls.N28Checked) return r.FlightNo7Alt;
  if (f.controls.N21Checked) return r.FlightNo7;
  if (f.controls.N28Checked) return r.FlightNo6Alt;
  return r.FlightNo6;
}

void N10Click(Form1State& f, FormEffects& e) {
  if (!f.mapView.AircraftSelected) {
    platform::ShowMessageBox(BoxKind::Warning, BoxButtons::Yes, Pick(f, "Not selected", "選択されていません"));
    return;
  }
  AircraftWiring link(f, e);
  // The count is read afresh at each step: a deletion moves the records
  // above down into slot i, which is then examined again.
  for (int i = 0; i < f.aircraft.AircraftCount && i < static_cast<int>(f.aircraft.Aircraft.Records.size()); ++i) {
    const AircraftRecord& r = f.aircraft.Aircraft.Records[static_cast<size_t>(i)];
    if (!r.Visible) continue;
    const std::string registration = RecordText(r.Registration);
    const std::string flightId = RecordText(r.FlightId);
    const std::string name = platform::Cp932ToUtf8(N10AircraftName(f, r));
    const std::string question =
        f.app.UseEnglish ? "Delete " + name + ",OK?" : name + "を消去します。\nよろしいですか？";
    if (platform::ShowMessageBox(BoxKind::Confirmation, BoxButtons::YesNo, question) != BoxAnswer::Yes) continue;
    // Reception goes on while the question is open: the aircraft asked
    // about may have moved down or been replaced by a new one.
    int k = -1;
    for (int j = 0; j < f.aircraft.AircraftCount && j < static_cast<int>(f.aircraft.Aircraft.Records.size()); ++j) {
      const AircraftRecord& q = f.aircraft.Aircraft.Records[static_cast<size_t>(j)];
      if (RecordText(q.FlightId) == flightId && RecordText(q.Registration) == registration && (k < 0 || j == i)) k = j;
    }
    // A record that was not deleted is not asked about again, and keeps
    // its list mark.
    if (k >= 0 && DeleteAircraft(f.aircraft, link, k) == 1) {
      ClearPosMark(f.aircraft, link, registration, flightId);
      if (k <= i) --i;
    }
  }
  f.mapView.MapViewOptions = 0;
  f.mapView.KeepViewOnce = 0;
  f.mapView.KeepSelectionOnce = 0;
  f.mapView.LatestAircraftShown = 0;
  f.mapView.AutoShowLatest = 0;
  f.mapView.AutoShowAll = 0;
  f.mapView.LatestAircraft = -1;
  f.mapView.AircraftSelected = 0;
  e.ControlsChanged();
  RedrawAircraftListAndAltitude(f);
}

void N8Click(Form1State& f, FormEffects& e) {
  f.controls.N8Checked = f.controls.N8Checked ? 0 : 1;
  e.ControlsChanged();
  RequestRedraw(f.mapView, {MapLayer::Background, MapLayer::Aircraft, MapLayer::Altitude});
}

void N21Click(Form1State& f, FormEffects& e) {
  f.controls.N21Checked = f.controls.N21Checked ? 0 : 1;
  e.ControlsChanged();
  RedrawAircraftListAndAltitude(f);
}

void N28Click(Form1State& f, FormEffects& e) {
  f.controls.N28Checked = f.controls.N28Checked ? 0 : 1;
  e.ControlsChanged();
  RedrawAircraftListAndAltitude(f);
}

void N24Click(Form1State& f, FormEffects& e) {
  const flag wasMarked = f.controls.N24Checked;
  f.controls.N25Checked = wasMarked ? 1 : 0;
  f.controls.N24Checked = wasMarked ? 0 : 1;
  e.ControlsChanged();
  RedrawAircraftListAndAltitude(f);
}

void N25Click(Form1State& f, FormEffects& e) {
  const flag wasMarked = f.controls.N25Checked;
  f.controls.N24Checked = wasMarked ? 1 : 0;
  f.controls.N25Checked = wasMarked ? 0 : 1;
  e.ControlsChanged();
  RedrawAircraftListAndAltitude(f);
}

void N11Click(Form1State& f, FormEffects& e) { InvertThenResize(e, f.controls.N11Checked); }
void N26Click(Form1State& f, FormEffects& e) { InvertThenResize(e, f.controls.N26Checked); }
void N27Click(Form1State& f, FormEffects& e) { InvertThenResize(e, f.controls.N27Checked); }

void N13Click(Form1State& f, FormEffects& e) {
  e.RestoreForm(12);
  e.ShowChatLog(f.exchange.ChatLog);
  e.ShowForm(12, false);
}

void flightcsv1Click(Form1State& f) { platform::ShellOpenPath(f.aircraft.Files.FlightCsvPath); }
void airlinecsv1Click(Form1State& f) { platform::ShellOpenPath(f.aircraft.Files.AircraftCsvPath); }
void N17Click(Form1State& f) { platform::ShellOpenPath(f.app.AppDir); }

void N20Click(Form1State& f) {
  if (platform::ShowMessageBox(BoxKind::Confirmation, BoxButtons::YesNo,
                               Pick(f, "Delete logs in Logs folder,OK?", "Logs内のログを消去します。\nよろしいですか？")) !=
      BoxAnswer::No) {
    DeleteAllDailyLogs(f.text, f.app.AppDir);
  }
}

void EachLogs1Click(Form1State& f) {
  if (platform::ShowMessageBox(BoxKind::Confirmation, BoxButtons::YesNo,
                               Pick(f, "Delete logs in EachLogs folder,OK?",
                                    "EachLogs内のログを消去します。\nよろしいですか？")) != BoxAnswer::No) {
    DeleteAllEachLogs(f.text, f.app.AppDir);
  }
}

void PopupMenu1Popup(Form1State& f, FormEffects& e) {
  // N13 is only touched while Chat is on, so it shows only while linked
  // with Chat on.
  if (f.exchange.NetConnected) {
    f.controls.N12Visible = 1;
    f.controls.N14Visible = 1;
    if (f.Net.Chat) f.controls.N13Visible = 1;
  } else {
    f.controls.N12Visible = 0;
    f.controls.N14Visible = 0;
    if (f.Net.Chat) f.controls.N13Visible = 0;
  }
  e.ControlsChanged();
}

}  // namespace form1
