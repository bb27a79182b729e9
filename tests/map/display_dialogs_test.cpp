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
  MapLayers Drawn() {
    const MapLayers layers = drawn;
    drawn = MapLayers();
    return layers;
  }
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
  const PanelKey display4[] = {
      {3, "PlotOnColor", ALP},     {4, "PlotOffColor", ALP},   {5, "PlotMarkUpColor", ALP}, {6, "PlotBackColor", ALP},
      {11, "BackColor", L},        {1, "MapBackColor", B_A},   {2, "MapCoastColor", B_A},   {32, "Boundaries", B_A},
      {30, "Grid", B_A},           {31, "GridNum", B_A},       {8, "MapPointNone", B_A},    {19, "MapPointVORDME", B_A},
      {12, "MapPointVORTAC", B_A}, {13, "MapPointNDB", B_A},   {14, "MapPointNAV", B_A},    {15, "MapPointAirPort", B_A},
      {20, "MapPointHome", B_A},   {21, "MapPointBeacon", B_A}, {22, "MapPointAnt", B_A},   {23, "MapPointMount", B_A},
      {16, "MapAirwayVOR", B_A},   {17, "MapAirwayNDB", B_A},  {18, "MapAirwayNAV", B_A},   {24, "SelBack", A},
      {25, "SelText", A},          {26, "AltBack", P},         {27, "AltScale", P},         {28, "ClockBack", kNone},
      {29, "ClockText", kNone},    {33, "LineColor1", kNone}};
  std::vector<PanelKey> operators19;
  for (int i = 0; i < 10; ++i) {
    for (int j = 1; j <= 4; ++j) operators19.push_back({8 * i + j, "UserColor" + std::to_string(j) + std::to_string(i), ALP});
  }
  auto check = [&](QPushButton* panel, std::function<std::optional<QColor>(const QColor&)>& seam, const PanelKey& p) {
    const std::string before = Key(w, p.key);
    seam = [](const QColor&) { return std::nullopt; };
    panel->click();
    EXPECT_EQ(Key(w, p.key), before) << p.key << " changed on Cancel";
    EXPECT_TRUE(Drawn().Empty());
    w.State().audio.ClockCache = "12:00:00";
    seam = [&p](const QColor&) { return QColor(p.panel, 2, 3); };
    panel->click();
    char expected[8];
    std::snprintf(expected, sizeof expected, "0302%02X", p.panel);
    EXPECT_EQ(Key(w, p.key), expected) << "panel " << p.panel;
    EXPECT_TRUE(Drawn() == p.layers) << p.key;
    EXPECT_EQ(w.State().audio.ClockCache.empty(), p.layers.Empty()) << p.key;
  };
  for (const PanelKey& p : display4) check(display->Panel(p.panel), display->ChooseColour, p);
  for (const PanelKey& p : operators19) check(operators->Panel(p.panel), operators->ChooseColour, p);
  Close();
}

TEST_F(DisplayDialogs, OptionsStoreTheirValuesAndAskForTheirLayers) {
  TForm1& w = Open("SymbolSize=5\r\nPlotType=7\r\n");
  Form1State& f = w.State();
  EXPECT_TRUE(display->RadioButton(14)->isChecked());
  for (int n : {1, 2, 3}) EXPECT_FALSE(display->RadioButton(n)->isChecked());
  const struct {
    int button;
    StateField<int32_t> field;
    int value;
    MapLayers layers;
  } ints[] = {{3, STATE_FIELD(Map.PlotType), 2, ALP},
              {8, STATE_FIELD(Map.GridType), 2, B_A},
              {13, STATE_FIELD(Map.SymbolSize), 0, AP}};
  for (const auto& c : ints) {
    display->RadioButton(c.button)->click();
    EXPECT_EQ(c.field(f), c.value) << c.button;
    EXPECT_TRUE(Drawn() == c.layers) << c.button;
  }
  for (auto [button, layers] : {std::pair{5, AP}, {9, B_A}, {11, AP}, {17, AP}}) {
    display->RadioButton(button)->click();
    EXPECT_TRUE(Drawn() == layers) << button;
  }
  EXPECT_EQ(std::vector<int>({f.Map.LineType, f.Map.GridValue, f.Map.TrackMark, f.Map.MapSymbol}),
            std::vector<int>({1, 1, 1, 0}));
  display->ComboBox1()->setCurrentIndex(3);
  EXPECT_EQ(f.Map.SelectDegree, 3);
  EXPECT_TRUE(Drawn() == B_A);
  display->UpDown1()->UpButton()->click();
  EXPECT_EQ(f.Map.TimeAdjustMin, 6);
  EXPECT_EQ(display->Label(37)->text(), "6");
  // Unticked: the step is off and the age classes stay as they were.
  f.aircraft.AircraftCount = 1;
  f.aircraft.Aircraft.Records[0].Points[0].AgeClass = 7;
  display->CheckBox1()->click();
  EXPECT_EQ(f.Map.TimeAdjust, 0);
  EXPECT_FALSE(display->UpDown1()->isEnabled());
  EXPECT_EQ(f.aircraft.Aircraft.Records[0].Points[0].AgeClass, 7);
  EXPECT_TRUE(Drawn() == ALP);
  Close();
  EXPECT_NE(Ini().find("PlotType=2\r\n"), std::string::npos);
  EXPECT_NE(Ini().find("SymbolSize=0\r\n"), std::string::npos);
}

TEST_F(DisplayDialogs, AnOperatorCodeTakesEffectAtOnceAndIsKept) {
  TForm1& w = Open();
  Form1State& f = w.State();
  AircraftRecord& r = f.aircraft.Aircraft.Records[0];
  std::snprintf(r.FlightId, sizeof r.FlightId, "JL0012");
  operators->Edit(1)->setText("JL");
  EXPECT_EQ(OperatorGroup(f.Color, r), 0);
  EXPECT_TRUE(Drawn() == ALP);
  operators->Edit(1)->setText("--");
  EXPECT_EQ(OperatorGroup(f.Color, r), -1);
  operators->Edit(2)->setText("J");
  Close();
  EXPECT_NE(Ini().find("UserText1=J\r\n"), std::string::npos);
}

}  // namespace
