// The display settings and operator colour dialogs in the real main window
// (offscreen): each colour panel and option reaches its setting and asks
// for its layers at once, and the settings file keeps them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <utility>

#include "app/settings.h"
#include "app/up_down.h"
#include "main_window_fixture.h"
#include "map/aircraft_drawing.h"
#include "map/map_forms.h"
#include "platform/ini_file.h"

namespace {

const MapLayers kNone{}, B_A{MapLayer::Background, MapLayer::Aircraft}, A{MapLayer::Aircraft};
const MapLayers L{MapLayer::SideList}, P{MapLayer::Altitude}, AP{MapLayer::Aircraft, MapLayer::Altitude};
const MapLayers ALP{MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude};

class DisplayDialogs : public MainWindowTest {
 protected:
  TForm1& Open(const std::string& map = "") {
    TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Map]\r\n" + map);
    w.Reception().DrawMap = [this](MapLayers layers) { drawn |= layers; };
    display = qobject_cast<TForm4*>(w.Form(4));
    operators = qobject_cast<TForm19*>(w.Form(19));
    return w;
  }
  MapLayers Drawn() { return std::exchange(drawn, MapLayers()); }
  std::string Key(TForm1& w, const std::string& key) {
    IniFile ini;
    SaveSettings(w.State(), ini);
    return ini.ReadString("Color", key, "");
  }

  MapLayers drawn;
  TForm4* display = nullptr;
  TForm19* operators = nullptr;
};

struct PanelKey {
  int panel;
  std::string key;
  MapLayers layers;
};

TEST_F(DisplayDialogs, EveryColourPanelReachesItsKeyAndItsLayers) {
  TForm1& w = Open();
  const PanelKey display4[] = {{3, "PlotOnColor", ALP},      {4, "PlotOffColor", ALP},   {5, "PlotMarkUpColor", ALP},
                               {6, "PlotBackColor", ALP},    {11, "BackColor", L},       {1, "MapBackColor", B_A},
                               {2, "MapCoastColor", B_A},    {32, "Boundaries", B_A},    {30, "Grid", B_A},
                               {31, "GridNum", B_A},         {8, "MapPointNone", B_A},   {19, "MapPointVORDME", B_A},
                               {12, "MapPointVORTAC", B_A},  {13, "MapPointNDB", B_A},   {14, "MapPointNAV", B_A},
                               {15, "MapPointAirPort", B_A}, {20, "MapPointHome", B_A},  {21, "MapPointBeacon", B_A},
                               {22, "MapPointAnt", B_A},     {23, "MapPointMount", B_A}, {16, "MapAirwayVOR", B_A},
                               {17, "MapAirwayNDB", B_A},    {18, "MapAirwayNAV", B_A},  {24, "SelBack", A},
                               {25, "SelText", A},           {26, "AltBack", P},         {27, "AltScale", P},
                               {28, "ClockBack", kNone},     {29, "ClockText", kNone},   {33, "LineColor1", kNone}};
  std::vector<PanelKey> operators19;
  for (int i = 0; i < 10; ++i) {
    for (int j = 1; j <= 4; ++j)
      operators19.push_back({8 * i + j, "UserColor" + std::to_string(j) + std::to_string(i), ALP});
  }
  // Cancel changes nothing; a colour reaches the key and its layers.
  auto check = [&](QPushButton* panel, std::function<std::optional<QColor>(const QColor&)>& seam, const PanelKey& p) {
    const std::string before = Key(w, p.key);
    seam = [](const QColor&) { return std::nullopt; };
    panel->click();
    EXPECT_EQ(Key(w, p.key) + (Drawn().Empty() ? "" : " drawn"), before) << p.key << " on Cancel";
    w.State().audio.ClockCache = "12:00:00";
    seam = [&p](const QColor&) { return QColor(p.panel, 2, 3); };
    panel->click();
    EXPECT_EQ(Key(w, p.key), QStringLiteral("0302%1").arg(p.panel, 2, 16, QLatin1Char('0')).toUpper().toStdString());
    EXPECT_TRUE(Drawn() == p.layers) << p.key;
    EXPECT_EQ(w.State().audio.ClockCache.empty(), p.layers.Empty()) << p.key;
  };
  for (const PanelKey& p : display4) check(display->Panel(p.panel), display->ChooseColour, p);
  for (const PanelKey& p : operators19) check(operators->Panel(p.panel), operators->ChooseColour, p);
  Close();
}

TEST_F(DisplayDialogs, OptionsAndOperatorCodesTakeEffectAtOnceAndAreKept) {
  TForm1& w = Open("SymbolSize=5\r\nPlotType=7\r\nGridType=5\r\n");
  Form1State& f = w.State();
  // An unknown grid type shows dotted, as the map draws it.
  for (int n : {14, 8}) EXPECT_TRUE(display->RadioButton(n)->isChecked()) << n;
  for (int n : {1, 2, 3, 6, 7}) EXPECT_FALSE(display->RadioButton(n)->isChecked()) << n;
  for (auto [button, layers] : {std::pair{3, ALP}, {8, B_A}, {13, AP}, {5, AP}, {9, B_A}, {11, AP}, {17, AP}}) {
    display->RadioButton(button)->click();
    EXPECT_TRUE(Drawn() == layers) << button;
  }
  const MapSettings& m = f.Map;
  EXPECT_EQ(std::vector<int>({m.PlotType, m.GridType, m.SymbolSize, m.LineType, m.GridValue, m.TrackMark, m.MapSymbol}),
            std::vector<int>({2, 2, 0, 1, 1, 1, 0}));
  display->ComboBox1()->setCurrentIndex(3);
  EXPECT_EQ(f.Map.SelectDegree, 3);
  EXPECT_TRUE(Drawn() == B_A);
  display->UpDown1()->UpButton()->click();
  EXPECT_EQ(display->Label(37)->text().toStdString() + " " + std::to_string(f.Map.TimeAdjustMin), "6 6");
  // Unticked: the step is off and the age classes stay as they were.
  f.aircraft.AircraftCount = 1;
  AircraftRecord& r = f.aircraft.Aircraft.Records[0];
  r.Points[0].AgeClass = 7;
  display->CheckBox1()->click();
  EXPECT_EQ(f.Map.TimeAdjust, 0);
  EXPECT_FALSE(display->UpDown1()->isEnabled());
  EXPECT_EQ(r.Points[0].AgeClass, 7);
  EXPECT_TRUE(Drawn() == ALP);
  // An operator code: its group at once, "--" off, one character kept.
  std::snprintf(r.FlightId, sizeof r.FlightId, "JL0012");
  operators->Edit(1)->setText("JL");
  EXPECT_EQ(OperatorGroup(f.Color, r), 0);
  EXPECT_TRUE(Drawn() == ALP);
  operators->Edit(1)->setText("--");
  EXPECT_EQ(OperatorGroup(f.Color, r), -1);
  operators->Edit(2)->setText("J");
  Close();
  for (const char* key : {"PlotType=2\r\n", "SymbolSize=0\r\n", "UserText1=J\r\n"}) {
    EXPECT_NE(Ini().find(key), std::string::npos) << key;
  }
}

}  // namespace
