#include "app/tform1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cstdio>

#include "acars/message_search.h"
#include "aircraft/tform5.h"
#include "app/button_pictures.h"
#include "app/centring.h"
#include "app/english_texts.h"
#include "app/main_window_layout.h"
#include "app/settings.h"
#include "app/skarvel_form.h"
#include "app/startup.h"
#include "app/status_indicators.h"
#include "app/tform3.h"
#include "audio/capture_delivery.h"
#include "audio/clock_fallback.h"
#include "audio/wave_devices.h"
#include "exchange/exchange_forms.h"
#include "map/map_files.h"
#include "map/map_navigation.h"
#include "map/zoom_factors.h"
#include "platform/file_io.h"
#include "platform/ini_file.h"
#include "platform/qt_color.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text_room.h"
#include "platform/window_stacking.h"
#include "platform/write_failure.h"

namespace {

std::string UnreadText(bool english, const std::string& path) {
  return english ? "Can not read " + path : path + "を読み込めません";
}

struct ToolButtonSpec {
  int number;
  int left;
  bool checkable;
  const char* hint;
};

// Left to right, as the tool bar is designed; 22 x 22 at top 3.
const ToolButtonSpec kToolButtons[] = {
    {3, 10, false, "受信航空機リスト"},
    {7, 34, false, "航空機情報"},
    {4, 58, false, "航空機サーチ機能"},
    {18, 82, false, "ACARSメッセージ検索"},
    {6, 106, false, "受信テキスト表示"},
    {16, 138, true, "軌跡表示"},
    {8, 162, true, "自動新規受信選択"},
    {9, 194, true, "サブ表示（フライトレベル）"},
    {10, 218, true, "サブ表示（時刻）"},
    {11, 242, true, "サブ表示（データ）"},
    {12, 274, false, "左へ移動"},
    {15, 298, false, "右へ移動"},
    {13, 322, false, "上へ移動"},
    {14, 346, false, "下へ移動"},
    {20, 378, false, "ズームアウト"},
    {19, 402, false, "ズームイン"},
    {2, 492, true, "地球儀表示"},
    {5, 516, true, "マップ表示"},
    {21, 548, true, "VOR/DME表示"},
    {22, 572, true, "VORTAC表示"},
    {23, 596, true, "NDB表示"},
    {24, 620, true, "Waypoint表示"},
    {28, 644, true, "空港表示"},
    {25, 676, true, "VOR航路表示"},
    {26, 700, true, "NDB航路表示"},
    {27, 724, true, "NAV航路表示"},
    {17, 818, true, "モニター"},
    {1, 842, true, "TCP/IP接続"},
};

struct MenuItemSpec {
  const char* name;
  const char* caption;  // nullptr: a separator
  bool checkable;
};

// PopupMenu1, in order. N34 is the map-file submenu.
const MenuItemSpec kMenuItems[] = {
    {"N1", "マップ画面を保存", false},
    {"N3", "マップ画面をクリップボードにコピー", false},
    {"N2", nullptr, false},
    {"N6", "プロット画面・受信リストの消去", false},
    {"N10", "選択プロットの削除", false},
    {"N7", nullptr, false},
    {"N11", "ポジションレポート画面を表示", true},
    {"N26", "高度表示画面を表示", true},
    {"N27", "モデム・時刻表示画面を表示", true},
    {"N8", "空港名任意表示", true},
    {"N21", "レター名任意表示", true},
    {"N28", "便名のゼロを取る", true},
    {"N38", "簡易操作ボタンを表示", true},
    {"N35", nullptr, false},
    {"N34", "地図を切り替え", false},
    {"N36", "地図ファイルを再認識", false},
    {"N37", "マップデバッグモード", true},
    {"N23", nullptr, false},
    {"N24", "フライト番号で表示", true},
    {"N25", "登録番号で表示", true},
    {"N9", nullptr, false},
    {"N19", "各種設定", false},
    {"SV2GE1", "表示関係設定", false},
    {"N29", "入力デバイス＆デコーダ動作の選択", false},
    {"HFDL1", "データ受信状況", false},
    {"N31", nullptr, false},
    {"N30", "HFDL使用周波数リスト", false},
    {"ICAO241", "HFDL機体登録番号管理状況", false},
    {"HFDL2", "HFDLシステムテーブル", false},
    {"N32", "HFDL自動周波数制御設定", false},
    {"N33", "セルコール操作画面", false},
    {"N22", nullptr, false},
    {"flightcsv1", "flightファイルを開く", false},
    {"airlinecsv1", "aircraftファイルを開く", false},
    {"N17", "ファイルフォルダを開く", false},
    {"N15", nullptr, false},
    {"N20", "Logsフォルダのファイルを消去", false},
    {"EachLogs1", "EachLogsフォルダのファイルを消去", false},
    {"N16", "RAW LOGファイルのインポート", false},
    {"DATLOG1", "DAT LOGファイルのインポート", false},
    {"N12", nullptr, false},
    {"N13", "チャット画面を開く", false},
    {"N14", "パケット状態測定画面", false},
    {"N18", nullptr, false},
    {"N4", "バージョン情報", false},
    {"N5", "終了", false},
};

// Toggle buttons whose down state is a field of the state.
struct ButtonField {
  int number;
  StateField<flag> field;
};

const ButtonField kButtonFields[] = {
    {1, STATE_FIELD(controls.SpeedButton1Down)},   {2, STATE_FIELD(controls.SpeedButton2Down)},
    {5, STATE_FIELD(controls.SpeedButton5Down)},   {8, STATE_FIELD(controls.SpeedButton8Down)},
    {9, STATE_FIELD(controls.SpeedButton9Down)},   {10, STATE_FIELD(controls.SpeedButton10Down)},
    {11, STATE_FIELD(controls.SpeedButton11Down)}, {16, STATE_FIELD(controls.SpeedButton16Down)},
    {17, STATE_FIELD(controls.SpeedButton17Down)}, {21, STATE_FIELD(controls.SpeedButton21Down)},
    {22, STATE_FIELD(controls.SpeedButton22Down)}, {23, STATE_FIELD(controls.SpeedButton23Down)},
    {24, STATE_FIELD(controls.SpeedButton24Down)}, {25, STATE_FIELD(controls.SpeedButton25Down)},
    {26, STATE_FIELD(controls.SpeedButton26Down)}, {27, STATE_FIELD(controls.SpeedButton27Down)},
    {28, STATE_FIELD(controls.SpeedButton28Down)},
};

struct ActionField {
  const char* name;
  StateField<flag> checked;
};

const ActionField kCheckedFields[] = {
    {"N8", STATE_FIELD(controls.N8Checked)},   {"N11", STATE_FIELD(controls.N11Checked)}, {"N21", STATE_FIELD(controls.N21Checked)},
    {"N24", STATE_FIELD(controls.N24Checked)}, {"N25", STATE_FIELD(controls.N25Checked)}, {"N26", STATE_FIELD(controls.N26Checked)},
    {"N27", STATE_FIELD(controls.N27Checked)}, {"N28", STATE_FIELD(controls.N28Checked)}, {"N38", STATE_FIELD(controls.N38Checked)},
    {"N37", STATE_FIELD(mapView.MapDebug)},
};

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

void SetLampColour(QFrame* lamp, TColor colour) {
  QPalette p = lamp->palette();
  p.setColor(QPalette::Window, platform::ToQColor(colour));
  lamp->setPalette(p);
}

// The windows that were open at the last close, each with its member.
const std::pair<int, StateField<flag>> kReopenedAtStart[] = {
    {2, STATE_FIELD(Form.SpecVisible)}, {5, STATE_FIELD(Form.ListVisible)},  {10, STATE_FIELD(Form.TextVisible)},
    {17, STATE_FIELD(Form.PictVisible)}, {20, STATE_FIELD(Form.FreqShow)},   {21, STATE_FIELD(Form.ICAOShow)},
    {26, STATE_FIELD(Form.SelCallVisible)}};

}  // namespace

TForm1::TForm1() {
  setObjectName("Form1");
  audioReceiver_ = new CaptureReceiver(state_.audio, AudioSettingsOf(state_), audio_, this);
  audioReceiver_->setObjectName("AudioReceiver");
  // 1. The form resource: every component with its designer name.
  auto* client = new QWidget(this);
  client->setObjectName("Form1Client");
  setCentralWidget(client);
  setMinimumSize(990, 702);
  resize(990, 702);
  BuildToolBar();
  BuildPanels();
  BuildPopupMenu();
  BuildSavePictureDialog();
  BuildOpenDialog();
  timer3_ = new QTimer(this);
  timer3_->setObjectName("Timer3");
  link_ = std::make_unique<LinkWiring>(state_, *this, reception_);
  // A map drawn anew while the copy closes (the window resized, say) keeps
  // the closing notice on it.
  reception_.DrawMap = [this, draw = std::move(reception_.DrawMap)](MapLayers layers) {
    if (draw) draw(layers);
    if (closing_) DrawClosingNotice();
  };
  statusBar()->hide();
  platform::SetMessageBoxOwner(this);

  platform::SetWriteFailureHandler([this](const std::string& path) {
    ShowStatusText(state_.app.UseEnglish ? "Can not write " + path : path + "に書き込めません");
  });
  platform::SetReadFailureHandler([this](const std::string& path) {
    // Said in the interface's language, which is known once the window shows.
    if (!formShowDone_) {
      unreadAtStart_ = path;
      return;
    }
    ShowStatusText(UnreadText(state_.app.UseEnglish, path));
  });

  // 2-26, 28.
  IniFile settings;
  settings.Load(platform::SettingsFilePath());
  ConstructForm1State(state_, platform::ProgramFolder(), settings, &link_->Link());
  folderHold_ = link_->HoldProgramFolder(platform::ProgramFolder(), platform::LockFilePath());

  {
    QSignalBlocker block(comboBox1_);
    for (const std::string& item : ZoomListItems()) comboBox1_->addItem(FromUtf8(item));
    comboBox1_->setMaxVisibleItems(comboBox1_->count() + 1);
    // Wide enough for "x100"; the tool bar leaves room up to the globe.
    comboBox1_->resize(std::max(comboBox1_->width(), platform::ComboBoxWidth(*comboBox1_)), comboBox1_->height());
  }
  setWindowTitle(FromUtf8(state_.controls.Caption));
  BuildMapFileMenu();
  ControlsChanged();
  ConnectControlFields();
  ConnectCommands();
  LayoutPanels();
  ArrangeStatusIndicators();
  // 27.
  CreateBitmaps();
}

TForm1::~TForm1() {
  // FormDestroy: the list's ageing stops before anything goes.
  if (auto* list = qobject_cast<TForm5*>(Form(5))) list->Timer1()->stop();
  for (SkarvelForm*& form : forms_) {
    delete form;
    form = nullptr;
  }
  platform::SetWriteFailureHandler(nullptr);
  platform::SetReadFailureHandler(nullptr);
  platform::SetMessageBoxOwner(nullptr);
  // FormDestroy: the table and the bitmaps go with the state.
  state_.aircraft.Aircraft.Free();
  state_.exchange.PeerClients.Slots.clear();
}

QObject* TForm1::AudioReceiver() const { return audioReceiver_; }

int TForm1::ExitStatus() const {
  return settingsLost_ || searchStringsLost_ || platform::AnyWriteFailed() ? 1 : 0;
}

void TForm1::OpenAudioDevices() {
  // 29. The devices last; their failures are shown without blocking.
  SetSampleRate(state_.audio, state_.Wave);
  OpenWaveIn(state_.audio, state_.Wave, state_.app.UseEnglish != 0);
  OpenWaveOut(state_.audio, state_.app.UseEnglish != 0);
}

void TForm1::BuildToolBar() {
  auto* bar = new QFrame(centralWidget());
  bar->setObjectName("Panel9");
  bar->setFrameShape(QFrame::StyledPanel);
  bar->setGeometry(2, 1, 975, 28);
  panels_[9] = bar;
  for (const ToolButtonSpec& b : kToolButtons) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(b.number));
    button->setAutoRaise(true);
    button->setCheckable(b.checkable);
    button->setToolTip(QString::fromUtf8(b.hint));
    button->setGeometry(b.left, 3, b.number == 5 ? 23 : 22, 22);
    button->setIcon(SpeedButtonPicture(b.number));
    button->setIconSize(QSize(18, 18));
    speedButtons_[b.number] = button;
  }
  comboBox1_ = new QComboBox(bar);
  comboBox1_->setObjectName("ComboBox1");
  comboBox1_->setToolTip(QString::fromUtf8("マップ倍率設定"));
  comboBox1_->setGeometry(428, 3, 54, 22);
  comboBox2_ = new QComboBox(bar);
  comboBox2_->setObjectName("ComboBox2");
  comboBox2_->setToolTip(QString::fromUtf8("カンパニーセレクター"));
  comboBox2_->setGeometry(757, 3, 51, 22);

  auto* logo = new QFrame(bar);
  logo->setObjectName("Panel2");
  logo->setGeometry(891, 2, 67, 24);
  panels_[2] = logo;
  images_[3] = new QLabel(logo);
  images_[3]->setObjectName("Image3");
  images_[3]->setGeometry(0, 0, 67, 24);
  images_[3]->setPixmap(LogoPicture(67, 24));

  const int lampNumbers[3] = {1, 3, 5};
  for (int n : lampNumbers) {
    auto* lamp = new QFrame(bar);
    lamp->setObjectName(QStringLiteral("Panel%1").arg(n));
    lamp->setAutoFillBackground(true);
    lamp->setGeometry(960, 4, 6, 19);
    SetLampColour(lamp, 0);
    panels_[n] = lamp;
  }
  panels_[1]->setToolTip(QString::fromUtf8("信号検出"));
}

void TForm1::BuildPanels() {
  auto makePanel = [this](int n, int image) {
    auto* panel = new QFrame(centralWidget());
    panel->setObjectName(QStringLiteral("Panel%1").arg(n));
    panel->setAutoFillBackground(true);
    panels_[n] = panel;
    if (image >= 0) {
      images_[image] = new QLabel(panel);
      images_[image]->setObjectName(QStringLiteral("Image%1").arg(image));
      images_[image]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return panel;
  };
  makePanel(4, 2);  // map
  makePanel(6, 4);  // altitude view
  makePanel(7, 1);  // side list
  QFrame* modem = makePanel(8, -1);
  auto makeInner = [this, modem](int n, int image, int left, int width) {
    auto* inner = new QFrame(modem);
    inner->setObjectName(QStringLiteral("Panel%1").arg(n));
    inner->setFrameShape(QFrame::Panel);
    inner->setFrameShadow(QFrame::Sunken);
    inner->setGeometry(left, 4, width + 2, 44);
    panels_[n] = inner;
    images_[image] = new QLabel(inner);
    images_[image]->setObjectName(QStringLiteral("Image%1").arg(image));
    images_[image]->setGeometry(1, 1, width, 42);
  };
  makeInner(10, 5, 3, 55);
  makeInner(11, 6, 64, 133);
}

void TForm1::BuildPopupMenu() {
  popupMenu1_ = new QMenu(this);
  popupMenu1_->setObjectName("PopupMenu1");
  for (const MenuItemSpec& item : kMenuItems) {
    if (std::string(item.name) == "N34") {
      n34_ = popupMenu1_->addMenu(QString::fromUtf8(item.caption));
      n34_->setObjectName("N34Menu");
      n34_->menuAction()->setObjectName("N34");
      continue;
    }
    QAction* action = item.caption ? popupMenu1_->addAction(QString::fromUtf8(item.caption)) : popupMenu1_->addSeparator();
    action->setObjectName(item.name);
    action->setCheckable(item.checkable);
  }
  for (QWidget* w : {static_cast<QWidget*>(images_[1]), static_cast<QWidget*>(images_[2]),
                     static_cast<QWidget*>(images_[4]), static_cast<QWidget*>(speedButtons_[1])}) {
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& p) { popupMenu1_->popup(w->mapToGlobal(p)); });
  }
}

void TForm1::BuildSavePictureDialog() {
  savePictureDialog1_ = new QFileDialog(this);
  savePictureDialog1_->setObjectName("SavePictureDialog1");
  savePictureDialog1_->setOption(QFileDialog::DontUseNativeDialog);
  savePictureDialog1_->setAcceptMode(QFileDialog::AcceptSave);
  savePictureDialog1_->setFileMode(QFileDialog::AnyFile);
  // "map" becomes map.bmp before the dialog asks about overwriting it.
  savePictureDialog1_->setDefaultSuffix(QStringLiteral("bmp"));
  savePictureDialog1_->setWindowTitle(QString::fromUtf8("マップ画像保存"));
  savePictureDialog1_->setNameFilter(QString::fromUtf8("ビットマップ (*.bmp)"));
}

void TForm1::BuildOpenDialog() {
  openDialog1_ = new QFileDialog(this);
  openDialog1_->setObjectName("OpenDialog1");
  openDialog1_->setOption(QFileDialog::DontUseNativeDialog);
  openDialog1_->setAcceptMode(QFileDialog::AcceptOpen);
  openDialog1_->setFileMode(QFileDialog::ExistingFile);
  openDialog1_->setNameFilter(QString::fromUtf8("ログファイル(*.log)"));
  ChooseImportPath = [this]() -> std::string {
    platform::KeepModalInSight(*openDialog1_);
    if (openDialog1_->exec() != QDialog::Accepted) return {};
    const QStringList files = openDialog1_->selectedFiles();
    return files.isEmpty() ? std::string() : files.first().toStdString();
  };
}

void TForm1::BuildMapFileMenu() {
  n34_->clear();
  for (size_t i = 0; i < state_.controls.MapFileMenu.size(); ++i) {
    // A file name is shown as it is: "&" would mark a shortcut.
    QString caption = FromUtf8(state_.controls.MapFileMenu[i]);
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    QAction* item = n34_->addAction(caption);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, i] {
      RunCommand([this, i] {
        AppMenuClick(state_.controls.MapFileMenu, state_.Map, state_.mapView, state_.app.AppDir, static_cast<int>(i));
      });
    });
  }
}

QAction* TForm1::MenuItem(const char* name) const { return popupMenu1_->findChild<QAction*>(name); }

QWidget* TForm1::Panel(int n) const { return n >= 0 && n < 12 ? panels_[n] : nullptr; }

QLabel* TForm1::Image(int n) const { return n >= 0 && n < 7 ? images_[n] : nullptr; }

void TForm1::ControlsChanged() {
  for (const ButtonField& b : kButtonFields) {
    QSignalBlocker block(speedButtons_[b.number]);
    speedButtons_[b.number]->setChecked(b.field(state_) != 0);
  }
  speedButtons_[1]->setVisible(state_.controls.SpeedButton1Visible != 0);
  {
    QSignalBlocker block(comboBox1_);
    comboBox1_->setCurrentIndex(state_.controls.ComboBox1Index);
  }
  {
    QSignalBlocker block(comboBox2_);
    comboBox2_->clear();
    for (const std::string& item : state_.controls.ComboBox2Items) comboBox2_->addItem(FromUtf8(item));
    comboBox2_->setCurrentIndex(state_.controls.ComboBox2Index);
    comboBox2_->setMaxVisibleItems(comboBox2_->count() + 1);
  }
  for (const ActionField& a : kCheckedFields) {
    QAction* action = MenuItem(a.name);
    QSignalBlocker block(action);
    action->setChecked(a.checked(state_) != 0);
  }
  MenuItem("N6")->setEnabled(state_.controls.N6Enabled != 0);
  MenuItem("N10")->setEnabled(state_.controls.N10Enabled != 0);
  MenuItem("N12")->setVisible(state_.controls.N12Visible != 0);
  MenuItem("N13")->setVisible(state_.controls.N13Visible != 0);
  MenuItem("N14")->setVisible(state_.controls.N14Visible != 0);
  MenuItem("N16")->setEnabled(state_.controls.N16Enabled != 0);
  MenuItem("DATLOG1")->setEnabled(state_.controls.DATLOG1Enabled != 0);
  for (int image : {2, 1, 4}) images_[image]->setEnabled(state_.controls.MapImagesEnabled != 0);
  const auto mapItems = n34_->actions();
  for (int i = 0; i < mapItems.size(); ++i) {
    QSignalBlocker block(mapItems[i]);
    mapItems[i]->setChecked(i == state_.Map.MapNo);
  }
  // Never run the keep-alive at 0 ms: an interval of 0 means it is off.
  // Setting the interval of a running timer starts it over, and this runs
  // after every command: a user who clicks often would hold off every probe.
  const int interval = state_.controls.Timer3Interval > 0 ? state_.controls.Timer3Interval : 1000;
  if (timer3_->interval() != interval) timer3_->setInterval(interval);
  if (state_.controls.Timer3Enabled && state_.controls.Timer3Interval > 0) {
    if (!timer3_->isActive()) timer3_->start();
  } else {
    timer3_->stop();
  }
  setWindowTitle(FromUtf8(state_.controls.Caption));
}

void TForm1::ConnectControlFields() {
  for (const ButtonField& b : kButtonFields) {
    connect(speedButtons_[b.number], &QToolButton::toggled, this,
            [this, b](bool down) { b.field(state_) = down ? 1 : 0; });
  }
  for (const ActionField& a : kCheckedFields) {
    connect(MenuItem(a.name), &QAction::toggled, this, [this, a](bool on) { a.checked(state_) = on ? 1 : 0; });
  }
  connect(comboBox1_, &QComboBox::currentIndexChanged, this, [this](int i) { state_.controls.ComboBox1Index = i; });
  connect(comboBox2_, &QComboBox::currentIndexChanged, this, [this](int i) { state_.controls.ComboBox2Index = i; });
}

void TForm1::LayoutPanels() {
  // Once a line was shown, the status bar takes the bottom of the window.
  const int statusHeight = statusBar()->isHidden() ? 0 : statusBar()->sizeHint().height();
  MainWindowLayout l = ComputeMainWindowLayout(state_, width(), height() - statusHeight);
  auto apply = [](QWidget* w, const PanelRect& r) {
    w->setGeometry(r.left, r.top, r.width, r.height);
    w->setVisible(r.visible);
  };
  apply(panels_[9], l.panel9);
  apply(panels_[4], l.panel4);
  apply(panels_[6], l.panel6);
  apply(panels_[7], l.panel7);
  apply(panels_[8], l.panel8);
  images_[2]->setGeometry(0, 0, l.panel4.width, l.panel4.height);
  images_[4]->setGeometry(0, 0, l.panel6.width, l.panel6.height);
  images_[1]->setGeometry(0, 0, l.panel7.width, l.panel7.height);
}

void TForm1::CreateBitmaps() {
  auto sizeOf = [this](int image) { return images_[image]->size(); };
  state_.mapView.SideListBitmap.Resize(sizeOf(1).width(), sizeOf(1).height());
  state_.mapView.MapViewBitmap.Resize(sizeOf(2).width(), sizeOf(2).height());
  state_.mapView.MapBitmap.Resize(sizeOf(2).width(), sizeOf(2).height());
  state_.mapView.AltitudeBitmap.Resize(sizeOf(4).width(), sizeOf(4).height());
  state_.mapView.ImageWidth = sizeOf(2).width();
  state_.mapView.ImageHeight = sizeOf(2).height();
  state_.audio.SpectrumBitmap.Resize(55, 42);
  state_.audio.SpectrumBitmap.Fill(0);
  state_.audio.SpectrumBitmap.Show(images_[5]);
  state_.audio.ClockBitmap.Resize(133, 42);
  state_.audio.ClockBitmap.Fill(state_.Color.ClockBack);
  state_.audio.ClockBitmap.Show(images_[6]);
  SetLampColour(panels_[4], state_.Color.MapBackColor);
  SetLampColour(panels_[7], state_.Color.BackColor);
}

void TForm1::PaintLamp(Lamp lamp, TColor colour) {
  int index = static_cast<int>(lamp);
  // The pipeline puts lamps out on every block; repaint only on a change.
  if (lampColors_[index] == colour) return;
  lampColors_[index] = colour;
  const int panel[3] = {1, 3, 5};
  SetLampColour(panels_[panel[index]], colour);
}

void TForm1::ArrangeStatusIndicators() {
  IndicatorPlacement p = ::ArrangeStatusIndicators(state_, width());
  // The lamps sit in the tool bar, two pixels right of the client's edge.
  auto place = [this](int n, int left) {
    if (left >= 0) panels_[n]->move(left - 2, panels_[n]->y());
  };
  place(3, p.panel3Left);
  place(1, p.panel1Left);
  place(5, p.panel5Left);
  place(2, p.panel2Left);
  if (p.panel1Visible >= 0) panels_[1]->setVisible(p.panel1Visible != 0);
  if (p.panel3Visible >= 0) panels_[3]->setVisible(p.panel3Visible != 0);
  if (p.panel5Visible >= 0) panels_[5]->setVisible(p.panel5Visible != 0);
}

void TForm1::AddForm(SkarvelForm* form) { forms_.at(form->Number()) = form; }

SkarvelForm* TForm1::Form(int number) const {
  return number >= 0 && number < static_cast<int>(forms_.size()) ? forms_[number] : nullptr;
}

void TForm1::ShowForm(int formNumber, bool modal) {
  SkarvelForm* form = Form(formNumber);
  if (!form) return;
  if (modal) {
    form->exec();
  } else {
    form->show();
    form->raise();
    form->activateWindow();
  }
}

bool TForm1::FormShowing(int formNumber) const {
  SkarvelForm* form = Form(formNumber);
  return form && form->isVisible();
}

void TForm1::ProcessMessages() { QCoreApplication::processEvents(); }

void TForm1::CloseMainWindow() { QTimer::singleShot(0, this, [this] { close(); }); }

void TForm1::CloseMainWindowAtEndOfInput() {
  unattendedClose_ = true;
  CloseMainWindow();
}

void TForm1::FormCreate() {
  move(state_.Pos.MainLeft, state_.Pos.MainTop);
  resize(state_.Pos.MainWidth, state_.Pos.MainHeight);
  if (state_.Pos.MainMaximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::FormShow() {
  if (formShowDone_) return;
  formShowDone_ = true;
  state_.mapView.RedrawBusy = 0;
  for (const auto& [number, visible] : kReopenedAtStart) {
    if (visible(state_)) ShowForm(number, false);
  }
  state_.controls.SpeedButton1Visible = state_.Net.TcpIp && !state_.Net.Server ? 1 : 0;
  ControlsChanged();
  // A close request that came while the window was built answers the
  // language question as the close box would: English.
  bool ask = LanguageDialogNeeded(state_);
  if (ask && !closePending_) ShowForm(31, true);
  SettleLanguage(state_, ask);
  if (state_.app.UseEnglish) SetEnglishTexts(*this);
  // Said once the language is known.
  if (!unreadAtStart_.empty()) ShowStatusText(UnreadText(state_.app.UseEnglish, unreadAtStart_));
  if (!folderHold_.held) ShowStatusText(state_.app.UseEnglish ? folderHold_.english : folderHold_.japanese);
}

void TForm1::ShowDone() {
  // The windows reopened at start showed before this one; where no window
  // manager keeps them on top they would be left under it.
  for (const auto& [number, visible] : kReopenedAtStart) {
    if (visible(state_) && FormShowing(number)) Form(number)->raise();
  }
  StartClockFallback(state_.audio, AudioSettingsOf(state_), audio_, this);
  shown_ = true;
  if (state_.Form.FullScreen && !closePending_) SetFullScreen(true);
  if (closePending_) {
    close();
    return;
  }
  // The boxes of the start come last, above every window it showed.
  platform::OpenHeldMessageBoxes();
  if (state_.audio.AudioDevices) state_.audio.AudioDevices->ReadyForInput();
}

void TForm1::RequestCloseFromSystem() {
  unattendedClose_ = true;
  platform::RejectOpenModals();
  DropInputUntilTheEnd();
  if (!shown_) {
    closePending_ = true;
    return;
  }
  QTimer::singleShot(0, this, [this] { close(); });
}

void TForm1::setVisible(bool visible) {
  if (visible && !isVisible()) FitToScreenBeforeShow(*this);
  QMainWindow::setVisible(visible);
}

void TForm1::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!e->spontaneous()) FitToScreen(*this);
}

void TForm1::wheelEvent(QWheelEvent* e) {
  // One zoom step per event whatever the movement; 0 and below zoom in.
  // A sideways tilt or swipe, and a touch pad's start or end of scrolling
  // without movement, are no turn of the wheel: they leave the zoom.
  const QPoint angle = e->angleDelta();
  const bool edge = e->phase() == Qt::ScrollBegin || e->phase() == Qt::ScrollEnd;
  if ((angle.y() == 0 && angle.x() != 0) || (edge && angle.isNull())) {
    e->accept();
    return;
  }
  int delta = angle.y();
  QToolButton* button = speedButtons_[delta < 1 ? 19 : 20];
  button->click();
  e->accept();
}

void TForm1::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (windowState() == Qt::WindowNoState && isVisible()) {
    state_.Pos.MainWidth = width();
    state_.Pos.MainHeight = height();
  }
  FormResize();
  reception_.RunRequestedRedraws();
}

void TForm1::FormResize() {
  const QSize mapPanel = panels_[4]->size();
  LayoutPanels();
  ArrangeStatusIndicators();
  if (panels_[4]->size() != mapPanel) Panel4Resize(state_.mapView, state_.Map, state_.controls);
  auto sizeOf = [this](int image) { return PixelSize{images_[image]->width(), images_[image]->height()}; };
  ResizeMapBitmaps(state_.mapView, state_.Map, state_.controls, sizeOf(1), sizeOf(2), sizeOf(4));
}

void TForm1::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  if (windowState() == Qt::WindowNoState && isVisible()) {
    state_.Pos.MainLeft = pos().x();
    state_.Pos.MainTop = pos().y();
  }
}

void TForm1::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TForm1::FormActivate() {
  if (windowState() == Qt::WindowNoState) {
    state_.Pos.MainWidth = width();
    state_.Pos.MainHeight = height();
    state_.Pos.MainTop = pos().y();
    state_.Pos.MainLeft = pos().x();
  }
  FormActivateMap(state_.mapView, state_.controls, state_.exchange.TextWindowClosed);
  reception_.RunRequestedRedraws();
}

void TForm1::closeEvent(QCloseEvent* e) {
  // FormClose runs once; a request that arrives while it runs is ignored.
  if (closing_) {
    e->ignore();
    return;
  }
  if (!closed_) {
    DropInputUntilTheEnd();
    closing_ = true;
    FormClose();
    closing_ = false;
    closed_ = true;
  }
  e->accept();
  // Other windows may still be open: the program ends with the main window.
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TForm1::DropInputUntilTheEnd() {
  // A click or key runs nothing once a close has begun, whenever it comes:
  // not kept for the end of the close either, where a command could open a
  // dialog and hold the close up. Only a box the close opens itself (a save
  // that failed) is answered; none other can open.
  class NoInput : public QObject {
   public:
    NoInput() : modalAtStart_(QApplication::activeModalWidget()) {}

   protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
      if (!e->isInputEvent() && e->type() != QEvent::Shortcut) return false;
      QWidget* box = QApplication::activeModalWidget();
      if (!box || box == modalAtStart_) return true;
      if (auto* widget = qobject_cast<QWidget*>(watched)) return widget->window() != box;
      return watched != box->windowHandle();
    }

   private:
    QPointer<QWidget> modalAtStart_;
  };
  if (noInput_) return;
  noInput_ = std::make_unique<NoInput>();
  qApp->installEventFilter(noInput_.get());
}

void TForm1::DrawClosingNotice() {
  Bitmap24& bmp = state_.mapView.MapViewBitmap;
  if (bmp.IsNull()) return;
  const int cx = bmp.Width() / 2;
  const int cy = bmp.Height() / 2;
  {
    QPainter p(&bmp.Image());
    p.setPen(Qt::white);
    p.setBrush(Qt::black);
    // A 200 x 40 box whose right and bottom edges lie outside it.
    p.drawRect(cx - 100, cy - 20, 199, 39);
    QFont font = p.font();
    font.setPointSize(12);
    p.setFont(font);
    QString text = state_.app.UseEnglish ? QStringLiteral("Closing Now...") : QString::fromUtf8("終了処理中…");
    p.drawText(cx - 45, cy - 8 + QFontMetrics(font).ascent(), text);
  }
  bmp.Show(images_[2]);
}

void TForm1::FormClose() {
  // 1. The notice; 2. pending messages run, but nothing more is decoded:
  // Running is cleared first.
  DrawClosingNotice();
  // The ACARS item's senders were told their blocks were handed over: they
  // go where any other goes, so before Running is cleared and the link
  // closes. Many take a while, behind the notice.
  link_->FinishAcarsItem([this] { AnswerWhileClosing(); });
  BeginClose(state_);
  ProcessMessages();
  // An import or a reconnect countdown would run on behind the save.
  link_->EndForClose();
  // 5. Only the copy that holds the folder writes there at close: another
  // would put back what it read at its start over what the holder saved
  // since.
  if (folderHold_.held) SaveSettingsToFile();
  // The search strings are saved as they change, in every copy: at close
  // only the changes still owed are tried again, and fail the run if lost.
  if (!SaveOwedSearchStrings(state_.messageSearch)) {
    searchStringsLost_ = true;
    const std::string& list = state_.messageSearch.ListPath;
    const std::string said = state_.app.UseEnglish ? "The changes to the search strings were not saved in " + list
                                                   : list + "に検索文字列の変更を保存できませんでした";
    std::fprintf(stderr, "%s\n", said.c_str());
  }
  // 6, 7.
  if (state_.Net.Server) link_->Link().CloseServer();
  if (state_.controls.SpeedButton1Down && state_.exchange.NetConnected) link_->Link().DisconnectFromServer(false);
  // 8.
  CloseWaveIn(state_.audio, audio_);
  CloseWaveOut(state_.audio);
}

void TForm1::AnswerWhileClosing() {
  // The windows repaint and answer the window manager, which would take a
  // window that does not for hung and offer to kill it; the program's own
  // work waits, and the user's input is dropped all through the close.
  // So is another close asked of a window, which Qt would take as done
  // while the first runs, and take the window off the screen.
  class OnlyTheWindows : public QObject {
   protected:
    bool eventFilter(QObject*, QEvent* e) override {
      // A socket notifier comes back while its socket has something for it.
      return e->type() == QEvent::Close || e->type() == QEvent::SockAct;
    }
  } onlyTheWindows;
  qApp->installEventFilter(&onlyTheWindows);
  // A recording buffer waits, as for a nested loop inside the pipeline.
  bool& pipelineBusy = state_.audio.WaveIn.PipelineBusy;
  const bool wasBusy = pipelineBusy;
  pipelineBusy = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers);
  pipelineBusy = wasBusy;
  qApp->removeEventFilter(&onlyTheWindows);
}

void TForm1::CaptureWindowsIntoState() {
  // Full screen is a maximised window without its border.
  if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
    state_.Pos.MainMaximized = 1;
  } else {
    state_.Pos.MainMaximized = 0;
    state_.Pos.MainTop = pos().y();
    state_.Pos.MainLeft = pos().x();
    state_.Pos.MainWidth = width();
    state_.Pos.MainHeight = height();
  }
  for (SkarvelForm* form : forms_) {
    if (form) form->CaptureGeometry();
  }
  auto showing = [this](int n) -> flag { return FormShowing(n) ? 1 : 0; };
  state_.Form.SpecVisible = showing(2);
  state_.Form.PictVisible = showing(17);
  state_.Form.TextVisible = showing(10);
  state_.Form.ListVisible = showing(5);
  state_.Form.SelCallVisible = showing(26);
  state_.Form.FreqShow = showing(20);
  state_.Form.ICAOShow = showing(21);
}

void TForm1::SaveSettingsToFile() {
  CaptureWindowsIntoState();
  // The excluded carriers are taken over when their dialog closes; ending
  // the program closes no dialog, so take them now.
  if (auto* settings = qobject_cast<TForm3*>(Form(3)); settings && settings->isVisible()) settings->FormClose();
  const std::string path = platform::SettingsFilePath();
  // The user froze a read-only file on purpose.
  if (platform::FileIsReadOnly(path)) {
    std::fprintf(stderr, "The settings file %s is read-only: the settings were not saved\n", path.c_str());
    return;
  }
  IniFile ini;
  ini.Load(path);
  SaveSettings(state_, ini);
  if (!ini.Save(path)) {
    settingsLost_ = true;
    std::fprintf(stderr, "Can not save the settings file %s\n", path.c_str());
    // A signal or the end of a --fast run has nobody to answer a box: a
    // log-out would wait out its time-out, a script for ever.
    if (unattendedClose_) return;
    const std::string english = "Can not save the settings file\n" + path;
    const std::string japanese = "設定ファイルを保存できません\n" + path;
    platform::ShowMessageBox(platform::BoxKind::Error, platform::BoxButtons::Ok,
                             state_.app.UseEnglish ? english : japanese);
  }
}

void TForm1::ShowStatusText(const std::string& utf8) {
  if (statusBar()->isHidden()) {
    statusBar()->show();
    // The panels make room for it as after a resize, from the event loop:
    // a line may come in the middle of a decode or a drawing.
    QTimer::singleShot(0, this, [this] {
      FormResize();
      reception_.RunRequestedRedraws();
    });
  }
  statusBar()->showMessage(FromUtf8(utf8));
}
