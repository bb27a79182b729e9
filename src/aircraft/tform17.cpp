#include "aircraft/tform17.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "aircraft/aircraft_information.h"
#include "aircraft/aircraft_table.h"
#include "aircraft/information_search.h"
#include "aircraft/reference_data.h"
#include "app/centring.h"
#include "app/click_label.h"
#include "app/form1_state.h"
#include "app/map_wiring.h"
#include "app/reception_wiring.h"
#include "map/map_redraw.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "platform/web_addresses.h"
#include "platform/window_stacking.h"

namespace {

constexpr int kClientWidth = 241, kClientHeight = 377;
constexpr int kRowHeight = 16;

// The captions' and values' rows in GroupBox2: caption label, value label,
// top. Value labels have a silver background and centred text.
struct DetailRow {
  int caption, value, top;
  const char* japanese;
};
const DetailRow kRows[] = {
    {2, 3, 18, "便　　名"},  {4, 5, 37, "機体番号"}, {8, 10, 215, "出発空港"}, {9, 11, 234, "到着空港"},
    {12, 13, 253, "航空機"}, {1, 14, 272, "備考"},   {6, 7, 291, "位置情報"},
};

QString Text(const std::string& cp932) { return platform::Cp932ToQString(cp932); }

// A link is pure blue, underlined, under the hand; other text is black.
void SetLinkLook(QLabel* label, bool link) {
  QFont f = label->font();
  f.setUnderline(link);
  label->setFont(f);
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, link ? QColor(0, 0, 255) : QColor(0, 0, 0));
  label->setPalette(p);
  label->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void SetText(QLabel* label, const std::string& cp932, bool hint) {
  label->setText(Text(cp932));
  if (hint) label->setToolTip(Text(cp932));
}

}  // namespace

TForm17::TForm17(Form1State& form, ReceptionWiring& wiring)
    : SkarvelForm(form, 17), wiring_(wiring), link_(wiring.Aircraft()) {
  setWindowTitle(QString::fromUtf8("航空機情報"));
  setFixedSize(kClientWidth, kClientHeight);
  auto* panel3 = new QFrame(this);
  panel3->setObjectName("Panel3");
  panel3->setFrameShape(QFrame::StyledPanel);
  panel3->setGeometry(2, 2, kClientWidth - 4, 26);
  speedButton2_ = new QToolButton(panel3);
  speedButton2_->setObjectName("SpeedButton2");
  speedButton2_->setText("Auto");
  speedButton2_->setToolTip(QString::fromUtf8("新規受信時に自動的に表示"));
  speedButton2_->setGeometry(2, 2, 40, 22);
  speedButton5_ = new QToolButton(panel3);
  speedButton5_->setObjectName("SpeedButton5");
  speedButton5_->setText("Top");
  speedButton5_->setToolTip(QString::fromUtf8("常に手前に表示"));
  speedButton5_->setGeometry(44, 2, 40, 22);
  for (QToolButton* b : {speedButton2_, speedButton5_}) b->setCheckable(true);

  edit1_ = new QLineEdit(QStringLiteral("------"), this);
  edit1_->setObjectName("Edit1");
  edit1_->setGeometry(4, 33, 122, 23);
  edit1_->installEventFilter(this);
  button1_ = new QPushButton(QString::fromUtf8("便名検索"), this);
  button1_->setObjectName("Button1");
  button1_->setGeometry(130, 32, 107, 25);
  button1_->setDefault(true);

  groupBox2_ = new QGroupBox(QString::fromUtf8("航空機情報"), this);
  groupBox2_->setObjectName("GroupBox2");
  groupBox2_->setGeometry(2, 60, kClientWidth - 4, 315);
  auto label = [this](int n) {
    auto* l = new ClickLabel(groupBox2_);
    l->setObjectName(QStringLiteral("Label%1").arg(n));
    labels_[n] = l;
    return l;
  };
  auto value = [&](int n, int left, int top, int width) {
    ClickLabel* l = label(n);
    l->setGeometry(left, top, width, kRowHeight);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    l->setPalette(p);
  };
  for (const DetailRow& r : kRows) {
    label(r.caption)->setGeometry(8, r.top, 62, kRowHeight);
    labels_[r.caption]->setText(QString::fromUtf8(r.japanese));
    value(r.value, 72, r.top, kClientWidth - 4 - 80);
  }
  value(15, 8, 196, kClientWidth - 4 - 16);
  auto* panel2 = new QFrame(groupBox2_);
  panel2->setObjectName("Panel2");
  panel2->setFrameShape(QFrame::Panel);
  panel2->setFrameShadow(QFrame::Sunken);
  panel2->setGeometry((kClientWidth - 4 - 204) / 2, 56, 204, 137);
  image1_ = new QLabel(panel2);
  image1_->setObjectName("Image1");
  image1_->setGeometry(2, 2, 200, 133);
  image1_->setAlignment(Qt::AlignCenter);
  SetLinkLook(labels_[3], true);
  SetLinkLook(labels_[5], true);

  speedButton2_->setChecked(form.List.ShowNew != 0);
  speedButton5_->setChecked(form.Pos.PictTopMost != 0);
  AircraftInformation empty;
  ShowInformation(empty);
  // The fallback picture until a row is shown.
  Bitmap24 picture;
  if (ReadJpeg(NoImagePath(form.aircraft.Files), picture)) picture.Show(image1_);

  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(labels_[3], &ClickLabel::Clicked, this, [this] { Label3Click(); });
  connect(labels_[5], &ClickLabel::Clicked, this, [this] { Label5Click(); });
  connect(labels_[7], &ClickLabel::Clicked, this, [this] { Label7Click(); });
  connect(speedButton2_, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
  connect(speedButton5_, &QToolButton::clicked, this, [this] { SpeedButton5Click(); });
}

ClickLabel* TForm17::Label(int n) const { return n >= 0 && n < 16 ? labels_[n] : nullptr; }

void TForm17::ShowInformation(const AircraftInformation& info) {
  SetText(labels_[3], info.Flight, false);
  SetText(labels_[5], info.Registration, false);
  SetText(labels_[15], info.Airline, true);
  SetText(labels_[10], info.Departure, true);
  SetText(labels_[11], info.Destination, true);
  SetText(labels_[13], info.AircraftType, false);
  labels_[13]->setToolTip(Text(info.AircraftTypeHint));
  SetText(labels_[14], info.Remarks, true);
  SetText(labels_[7], info.Position, true);
  // A link exactly while a position is plotted.
  positionLink_ = info.PositionLink;
  SetLinkLook(labels_[7], positionLink_);
  if (!info.Picture.IsNull()) info.Picture.Show(image1_);
}

void TForm17::SearchFlight(const std::string& flightId) {
  edit1_->setText(Text(flightId));
  Button1Click();
}

void TForm17::Button1Click() {
  const std::string flight = NormaliseFlightSearch(platform::QStringToCp932(edit1_->text()));
  edit1_->setText(Text(flight));
  if (SearchFlightInList(form_.aircraft, link_, flight)) return;
  platform::ShowMessageBox(platform::BoxKind::Information, platform::BoxButtons::Ok,
                           form_.app.UseEnglish ? "No information" : "リストにありません");
}

void TForm17::Label3Click() {
  const std::string query = FlightStatusQuery(platform::QStringToCp932(labels_[3]->text()));
  if (!query.empty()) link_.OpenUrl(kFlightStatusUrl + query);
}

void TForm17::Label5Click() {
  link_.OpenUrl(kPhotoSearchUrl + PhotoSearchQuery(platform::QStringToCp932(labels_[5]->text())));
}

void TForm17::Label7Click() {
  if (!positionLink_) return;
  const int k = FindAircraftByFlightId(form_.aircraft, platform::QStringToCp932(labels_[3]->text()));
  if (k == 0) return;
  MapState& map = form_.mapView;
  map.KeepViewOnce = map.KeepSelectionOnce = map.AutoShowLatest = map.AutoShowAll = 0;
  // The layer alone, at once; the selection follows it.
  DrawMapAircraftLayer(map, wiring_.Map().Context(), k - 1);
  map.AircraftSelected = 1;
  map.SelectedAircraft = k - 1;
}

void TForm17::SpeedButton2Click() { form_.List.ShowNew = speedButton2_->isChecked() ? 1 : 0; }

void TForm17::SpeedButton5Click() {
  form_.Pos.PictTopMost = speedButton5_->isChecked() ? 1 : 0;
  platform::SetStayOnTop(this, form_.Pos.PictTopMost != 0);
}

void TForm17::setVisible(bool visible) {
  if (visible && !isVisible()) {
    // Placed and stacked before it appears: a stacking change after would
    // hide it again.
    if (x() == 0 && y() == 0) {
      if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
    }
    const bool onTop = form_.Pos.PictTopMost != 0;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  }
  SkarvelForm::setVisible(visible);
  if (visible) raise();
}

bool TForm17::eventFilter(QObject* watched, QEvent* e) {
  // Edit1Click: the whole text selected once the click has placed the
  // cursor.
  if (watched == edit1_ && e->type() == QEvent::MouseButtonRelease) {
    QTimer::singleShot(0, edit1_, [this] { edit1_->selectAll(); });
  }
  return SkarvelForm::eventFilter(watched, e);
}
