#include "map/tform4.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/centring.h"
#include "app/form1_state.h"
#include "app/map_wiring.h"
#include "app/reception_wiring.h"
#include "app/up_down.h"
#include "map/map_redraw.h"
#include "platform/qt_color.h"
#include "platform/window_stacking.h"

namespace {

const MapLayers kAircraftViews = {MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude};
const MapLayers kMapAndAircraft = {MapLayer::Background, MapLayer::Aircraft};
const MapLayers kAircraftAndAltitude = {MapLayer::Aircraft, MapLayer::Altitude};

// A colour panel: its label, the member it edits and what is drawn again;
// the clock's panels draw nothing but have the clock drawn anew in full.
struct ColourPanel {
  int panel, label;
  const char* japanese;
  TColor ColorSettings::*member;
  MapLayers layers;
  bool clock;
};

// The five point colours are crossed: each panel edits the key the map's
// background draws that kind with, and stored settings rely on it.
const ColourPanel kColourPanels[] = {
    {3, 1, "先頭色", &ColorSettings::PlotOnColor, kAircraftViews, false},
    {4, 2, "プロット", &ColorSettings::PlotOffColor, kAircraftViews, false},
    {5, 3, "ハイライト", &ColorSettings::PlotMarkUpColor, kAircraftViews, false},
    {6, 4, "影・周囲", &ColorSettings::PlotBackColor, kAircraftViews, false},
    {11, 9, "背景色", &ColorSettings::BackColor, {MapLayer::SideList}, false},
    {1, 11, "背景（海）色", &ColorSettings::MapBackColor, kMapAndAircraft, false},
    {2, 10, "陸地線・内陸色", &ColorSettings::MapCoastColor, kMapAndAircraft, false},
    {32, 32, "境界線", &ColorSettings::BoundariesColor, kMapAndAircraft, false},
    {30, 30, "経緯度線", &ColorSettings::GridColor, kMapAndAircraft, false},
    {31, 31, "経緯度値", &ColorSettings::GridNumColor, kMapAndAircraft, false},
    {8, 6, "マークなし", &ColorSettings::MapPointNone, kMapAndAircraft, false},
    {19, 19, "空港", &ColorSettings::MapPointVORDME, kMapAndAircraft, false},
    {12, 12, "VOR/DME", &ColorSettings::MapPointVORTAC, kMapAndAircraft, false},
    {13, 13, "VORTAC", &ColorSettings::MapPointNDB, kMapAndAircraft, false},
    {14, 14, "NDB", &ColorSettings::MapPointNAV, kMapAndAircraft, false},
    {15, 15, "Waypoint", &ColorSettings::MapPointAirPort, kMapAndAircraft, false},
    {20, 20, "家", &ColorSettings::MapPointHome, kMapAndAircraft, false},
    {21, 21, "ビーコン", &ColorSettings::MapPointBeacon, kMapAndAircraft, false},
    {22, 22, "アンテナ", &ColorSettings::MapPointAnt, kMapAndAircraft, false},
    {23, 23, "山", &ColorSettings::MapPointMount, kMapAndAircraft, false},
    {16, 16, "VOR航路", &ColorSettings::MapAirwayVOR, kMapAndAircraft, false},
    {17, 17, "NDB航路", &ColorSettings::MapAirwayNDB, kMapAndAircraft, false},
    {18, 18, "NAV航路", &ColorSettings::MapAirwayNAV, kMapAndAircraft, false},
    {24, 24, "背景色", &ColorSettings::SelBack, {MapLayer::Aircraft}, false},
    {25, 25, "線・文字色", &ColorSettings::SelText, {MapLayer::Aircraft}, false},
    {26, 26, "背景色", &ColorSettings::AltBack, {MapLayer::Altitude}, false},
    {27, 27, "スケール色", &ColorSettings::AltScale, {MapLayer::Altitude}, false},
    {28, 28, "背景色", &ColorSettings::ClockBack, {}, true},
    {29, 29, "点灯色", &ColorSettings::ClockText, {}, true},
    {33, 34, "消灯色", &ColorSettings::LineColor1, {}, true},
};

struct ColourGroup {
  int groupBox;
  const char* japanese;
  int firstPanel, panels;  // a run of kColourPanels
  int columns;
};
const ColourGroup kColourGroups[] = {
    {1, "プロット色設定", 0, 4, 1},          {2, "ポジションレポート色", 4, 1, 1}, {5, "マップ表示色設定", 5, 18, 2},
    {6, "マップセレクトデータ色", 23, 2, 1}, {7, "高度グラフ色", 25, 2, 1},        {8, "時計", 27, 3, 1},
};

// The options the radio buttons set.
enum class Option { PlotType, LineType, GridType, GridValue, TrackMark, MapSymbol, SymbolSize };

// The value of an option as its buttons show it: any non-zero switch is
// on, a symbol size other than large or small is medium, and a grid type
// other than none or solid is dotted, as the map draws it. A plot type
// outside the buttons' values checks none.
int ShownValue(const MapSettings& s, Option o) {
  switch (o) {
    case Option::PlotType:
      return s.PlotType;
    case Option::LineType:
      return s.LineType ? 1 : 0;
    case Option::GridType:
      return s.GridType == 0 || s.GridType == 1 ? s.GridType : 2;
    case Option::GridValue:
      return s.GridValue ? 1 : 0;
    case Option::TrackMark:
      return s.TrackMark ? 1 : 0;
    case Option::MapSymbol:
      return s.MapSymbol ? 1 : 0;
    case Option::SymbolSize:
      return s.SymbolSize == 0 || s.SymbolSize == 2 ? s.SymbolSize : 1;
  }
  return -1;
}

void Store(MapSettings& s, Option o, int value) {
  const flag on = value ? 1 : 0;
  switch (o) {
    case Option::PlotType:
      s.PlotType = value;
      return;
    case Option::LineType:
      s.LineType = on;
      return;
    case Option::GridType:
      s.GridType = value;
      return;
    case Option::GridValue:
      s.GridValue = on;
      return;
    case Option::TrackMark:
      s.TrackMark = on;
      return;
    case Option::MapSymbol:
      s.MapSymbol = on;
      return;
    case Option::SymbolSize:
      s.SymbolSize = value;
      return;
  }
}

// A radio button: the option's value it stands for and what is drawn again.
struct RadioChoice {
  int button;
  const char* japanese;
  Option option;
  int value;
  MapLayers layers;
};
const RadioChoice kRadioChoices[] = {
    {1, "なし", Option::PlotType, 0, kAircraftViews},
    {2, "影を描画", Option::PlotType, 1, kAircraftViews},
    {3, "周囲を塗りつぶす", Option::PlotType, 2, kAircraftViews},
    {4, "実線", Option::LineType, 0, kAircraftAndAltitude},
    {5, "点線", Option::LineType, 1, kAircraftAndAltitude},
    {6, "なし", Option::GridType, 0, kMapAndAircraft},
    {7, "実線", Option::GridType, 1, kMapAndAircraft},
    {8, "点線", Option::GridType, 2, kMapAndAircraft},
    {9, "表示", Option::GridValue, 1, kMapAndAircraft},
    {10, "非表示", Option::GridValue, 0, kMapAndAircraft},
    {11, "表示", Option::TrackMark, 1, kAircraftAndAltitude},
    {12, "非表示", Option::TrackMark, 0, kAircraftAndAltitude},
    {16, "航空機", Option::MapSymbol, 1, kAircraftAndAltitude},
    {17, "レーダー", Option::MapSymbol, 0, kAircraftAndAltitude},
    {13, "大", Option::SymbolSize, 0, kAircraftAndAltitude},
    {14, "中", Option::SymbolSize, 1, kAircraftAndAltitude},
    {15, "小", Option::SymbolSize, 2, kAircraftAndAltitude},
};

// The option groups: their box, caption and radio buttons in order.
struct OptionGroup {
  int groupBox;
  const char* japanese;
  std::initializer_list<int> buttons;
};
const OptionGroup kOptionGroups[] = {
    {3, "表示効果", {1, 2, 3}},
    {4, "プロット間描画", {4, 5}},
    {9, "経緯度線", {6, 7, 8}},
    {10, "緯経度値", {9, 10}},
    {12, "軌跡印", {11, 12}},
    {14, "マップシンボル", {16, 17}},
    {15, "シンボルサイズ", {13, 14, 15}},
};

constexpr int kGridDegrees[10] = {1, 2, 3, 5, 6, 9, 10, 15, 18, 30};

// Flat, in the colour exactly: the style's bevel would lighten it.
void PaintSwatch(QPushButton* panel, TColor colour) {
  panel->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #404040; }")
                           .arg(platform::ToQColor(colour).name()));
}

QGroupBox* MakeGroup(QWidget* parent, int number, const char* japanese) {
  auto* g = new QGroupBox(QString::fromUtf8(japanese), parent);
  g->setObjectName(QStringLiteral("GroupBox%1").arg(number));
  return g;
}

}  // namespace

TForm4::TForm4(Form1State& form, ReceptionWiring& wiring) : SkarvelForm(form, 4), wiring_(wiring) {
  setWindowTitle(QString::fromUtf8("表示関係設定"));
  BuildColourGroups();
  BuildOptionGroups();
  ChooseColour = [this](const QColor& start) { return platform::ChooseColour(start, this); };
}

void TForm4::BuildColourGroups() {
  auto* grid = new QGridLayout(this);
  auto* left = new QVBoxLayout;
  auto* middle = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  grid->addLayout(left, 0, 0);
  grid->addLayout(middle, 0, 1);
  grid->addLayout(right, 0, 2);
  for (const ColourGroup& g : kColourGroups) {
    QGroupBox* box = MakeGroup(this, g.groupBox, g.japanese);
    auto* rows = new QGridLayout(box);
    for (int k = 0; k < g.panels; ++k) {
      const ColourPanel& p = kColourPanels[g.firstPanel + k];
      auto* label = new QLabel(QString::fromUtf8(p.japanese), box);
      label->setObjectName(QStringLiteral("Label%1").arg(p.label));
      labels_[p.label] = label;
      auto* panel = new QPushButton(box);
      panel->setObjectName(QStringLiteral("Panel%1").arg(p.panel));
      panel->setFixedSize(40, 18);
      PaintSwatch(panel, form_.Color.*p.member);
      panels_[p.panel] = panel;
      const int row = k / g.columns, column = 2 * (k % g.columns);
      rows->addWidget(label, row, column);
      rows->addWidget(panel, row, column + 1);
      connect(panel, &QPushButton::clicked, this, [this, n = p.panel] { PanelClick(n); });
    }
    (g.groupBox == 5 ? middle : left)->addWidget(box);
  }
  left->addStretch();
  columns_[0] = middle;
  columns_[1] = right;
}

void TForm4::BuildOptionGroups() {
  QVBoxLayout* right = columns_[1];
  // The first four option groups go under the map colours.
  int placed = 0;
  for (const OptionGroup& g : kOptionGroups) {
    QGroupBox* box = MakeGroup(this, g.groupBox, g.japanese);
    auto* rows = new QVBoxLayout(box);
    auto* exclusive = new QButtonGroup(box);
    for (int n : g.buttons) {
      for (const RadioChoice& c : kRadioChoices) {
        if (c.button != n) continue;
        auto* b = new QRadioButton(QString::fromUtf8(c.japanese), box);
        b->setObjectName(QStringLiteral("RadioButton%1").arg(n));
        b->setChecked(ShownValue(form_.Map, c.option) == c.value);
        exclusive->addButton(b);
        rows->addWidget(b);
        radioButtons_[n] = b;
        connect(b, &QRadioButton::clicked, this, [this, n] { RadioButtonClick(n); });
      }
    }
    (placed++ < 4 ? columns_[0] : right)->addWidget(box);
  }
  columns_[0]->addStretch();
  // The grid spacing.
  QGroupBox* spacing = MakeGroup(this, 11, "経緯度表示間隔");
  auto* spacingRow = new QHBoxLayout(spacing);
  comboBox1_ = new QComboBox(spacing);
  comboBox1_->setObjectName("ComboBox1");
  for (int d : kGridDegrees) comboBox1_->addItem(QString::number(d));
  comboBox1_->setCurrentIndex(form_.Map.SelectDegree);
  labels_[33] = new QLabel(QString::fromUtf8("度"), spacing);
  labels_[33]->setObjectName("Label33");
  spacingRow->addWidget(comboBox1_);
  spacingRow->addWidget(labels_[33]);
  right->addWidget(spacing);
  // Fading with age.
  QGroupBox* fading = MakeGroup(this, 13, "時間経過輝度調整");
  auto* fadingRows = new QGridLayout(fading);
  checkBox1_ = new QCheckBox(QString::fromUtf8("輝度調整有効"), fading);
  checkBox1_->setObjectName("CheckBox1");
  checkBox1_->setChecked(form_.Map.TimeAdjust != 0);
  const std::pair<int, const char*> stepLabels[] = {{36, "ステップ"}, {37, ""}, {38, "分"}};
  for (const auto& [n, text] : stepLabels) {
    labels_[n] = new QLabel(QString::fromUtf8(text), fading);
    labels_[n]->setObjectName(QStringLiteral("Label%1").arg(n));
  }
  upDown1_ = new UpDownArrows(fading);
  upDown1_->setObjectName("UpDown1");
  upDown1_->setFixedSize(16, 22);
  upDown1_->SetRange(1, 59);
  upDown1_->SetPosition(form_.Map.TimeAdjustMin);
  labels_[37]->setText(QString::number(upDown1_->Position()));
  labels_[37]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  fadingRows->addWidget(checkBox1_, 0, 0, 1, 4);
  fadingRows->addWidget(labels_[36], 1, 0);
  fadingRows->addWidget(labels_[37], 1, 1);
  fadingRows->addWidget(upDown1_, 1, 2);
  fadingRows->addWidget(labels_[38], 1, 3);
  right->addWidget(fading);
  EnableFadingStep();
  button1_ = new QPushButton(QString::fromUtf8("オペレーターカラー"), this);
  button1_->setObjectName("Button1");
  right->addWidget(button1_);
  right->addStretch();

  // The handlers come after the controls show the settings.
  connect(comboBox1_, &QComboBox::currentIndexChanged, this, [this] { ComboBox1Change(); });
  connect(checkBox1_, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
  connect(upDown1_, &UpDownArrows::Clicked, this, [this] { UpDown1Click(); });
  connect(button1_, &QPushButton::clicked, this, [] {
    if (QWidget* operators = FindTopLevelWindow("Form19")) {
      operators->show();
      operators->raise();
      operators->activateWindow();
    }
  });
}

QPushButton* TForm4::Panel(int n) const {
  const auto it = panels_.find(n);
  return it == panels_.end() ? nullptr : it->second;
}

QRadioButton* TForm4::RadioButton(int n) const {
  const auto it = radioButtons_.find(n);
  return it == radioButtons_.end() ? nullptr : it->second;
}

QLabel* TForm4::Label(int n) const {
  const auto it = labels_.find(n);
  return it == labels_.end() ? nullptr : it->second;
}

void TForm4::PanelClick(int n) {
  for (const ColourPanel& p : kColourPanels) {
    if (p.panel != n) continue;
    if (!ChooseColour) return;
    const std::optional<QColor> chosen = ChooseColour(platform::ToQColor(form_.Color.*p.member));
    if (!chosen) return;
    form_.Color.*p.member = platform::FromQColor(*chosen);
    PaintSwatch(panels_[n], form_.Color.*p.member);
    if (p.clock) {
      // The clock is drawn anew in full at its next update.
      form_.audio.ClockCache.clear();
    } else {
      Redraw(p.layers);
    }
    return;
  }
}

void TForm4::RadioButtonClick(int n) {
  for (const RadioChoice& c : kRadioChoices) {
    if (c.button != n) continue;
    Store(form_.Map, c.option, c.value);
    Redraw(c.layers);
    return;
  }
}

void TForm4::ComboBox1Change() {
  form_.Map.SelectDegree = comboBox1_->currentIndex();
  Redraw(kMapAndAircraft);
}

void TForm4::EnableFadingStep() {
  const bool on = checkBox1_->isChecked();
  for (QWidget* w :
       {static_cast<QWidget*>(upDown1_), static_cast<QWidget*>(labels_[36]), static_cast<QWidget*>(labels_[37])}) {
    w->setEnabled(on);
  }
}

void TForm4::CheckBox1Click() {
  form_.Map.TimeAdjust = checkBox1_->isChecked() ? 1 : 0;
  EnableFadingStep();
  if (form_.Map.TimeAdjust) wiring_.Map().UpdateTrackAges();
  Redraw(kAircraftViews);
}

void TForm4::UpDown1Click() {
  form_.Map.TimeAdjustMin = upDown1_->Position();
  labels_[37]->setText(QString::number(form_.Map.TimeAdjustMin));
  wiring_.Map().UpdateTrackAges();
  Redraw({});
}

void TForm4::Redraw(MapLayers layers) {
  RequestRedraw(form_.mapView, layers);
  wiring_.RunRequestedRedraws();
}

void TForm4::setVisible(bool visible) {
  if (visible && !isVisible()) {
    adjustSize();
    if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint)) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  SkarvelForm::setVisible(visible);
}
