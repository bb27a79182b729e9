#include "aircraft/tform5.h"

#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "aircraft/aircraft_list.h"
#include "app/centring.h"
#include "app/form1_state.h"
#include "app/reception_wiring.h"
#include "app/up_down.h"
#include "platform/cp932.h"
#include "platform/qt_color.h"
#include "platform/text_room.h"
#include "platform/window_stacking.h"

namespace {

const char* const kColumns[10] = {"Flight", "PIC",      "Reg. No.", "POS",         "DEPT",
                                  "DEST",   "Aircraft", "Remarks",  "Access Sta.", "LastTime"};

struct ButtonText {
  int number;
  const char* caption;
  const char* hint;
};

// Left to right on the tool bar; the English hints come with every
// window's English texts.
const ButtonText kButtons[] = {
    {3, "Auto", "自動削除機能"},
    {4, "Log", "ログ"},
    {1, "Font", "フォント設定"},
    {2, "Color", "カラー設定"},
};

constexpr int kToolBarHeight = 27;

QString Text(const std::string& cp932) { return platform::Cp932ToQString(cp932); }

}  // namespace

TForm5::TForm5(Form1State& form, ReceptionWiring& wiring)
    : SkarvelForm(form, 5), wiring_(wiring), link_(wiring.Aircraft()) {
  setWindowTitle(QString::fromUtf8("受信航空機リスト"));
  int left = 4;
  auto place = [&](QWidget* w, int width) {
    w->setGeometry(left, 2, width, 23);
    left += width + 2;
  };
  for (const ButtonText& b : kButtons) {
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(b.number));
    button->setText(QString::fromUtf8(b.caption));
    button->setToolTip(QString::fromUtf8(b.hint));
    buttons_[b.number] = button;
  }
  place(buttons_[3], 40);
  panel1_ = new QLabel(this);
  panel1_->setObjectName("Panel1");
  panel1_->setToolTip(QString::fromUtf8("自動削除時間（分）"));
  panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel1_->setAlignment(Qt::AlignCenter);
  place(panel1_, 40);
  upDown1_ = new UpDownArrows(this);
  upDown1_->setObjectName("UpDown1");
  upDown1_->setToolTip(QString::fromUtf8("自動削除値調整"));
  upDown1_->SetRange(5, 720);
  upDown1_->SetIncrement(5);
  place(upDown1_, 16);
  for (int n : {4, 1, 2}) place(buttons_[n], 40);

  list_ = new QTableWidget(this);
  list_->setObjectName("ListView1");
  list_->setColumnCount(10);
  for (int c = 0; c < 10; ++c) {
    list_->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromLatin1(kColumns[c])));
    list_->setColumnWidth(c, form.Form.ColumnsWidth[static_cast<size_t>(c)]);
  }
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->installEventFilter(this);
  status_ = new QLabel(this);
  status_->setObjectName("StatusBar1");
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(1000);

  ChooseFont = [this](const QFont& start) { return platform::ChooseFont(start, this); };

  buttons_[3]->setCheckable(true);
  buttons_[4]->setCheckable(true);
  buttons_[3]->setChecked(form.List.AutoDelete != 0);
  buttons_[4]->setChecked(form.List.ListLog != 0);
  upDown1_->SetPosition(form.List.DeleteTime);
  panel1_->setText(QString::number(upDown1_->Position()));
  if (form.List.AutoDelete) timer1_->start();
  ApplyListColours();

  connect(buttons_[1], &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
  connect(buttons_[2], &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
  connect(buttons_[3], &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
  connect(buttons_[4], &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
  connect(upDown1_, &UpDownArrows::Clicked, this, [this] { UpDown1Click(); });
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(list_, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
  connect(list_, &QTableWidget::cellDoubleClicked, this, [this] { OpenFlightLookup(form_.aircraft, link_); });
  // Every dialog writes each change back at once.
  connect(list_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (column >= 0 && column < 10) form_.Form.ColumnsWidth[static_cast<size_t>(column)] = width;
  });
  // A hidden list is filled when it is shown.
  form_.aircraft.List.Changed = [this] {
    if (isVisible()) ShowRows();
  };
}

TForm5::~TForm5() { form_.aircraft.List.Changed = nullptr; }

QToolButton* TForm5::SpeedButton(int n) const { return n >= 1 && n <= 4 ? buttons_[n] : nullptr; }

void TForm5::ShowRows() {
  const AircraftList& l = form_.aircraft.List;
  showingRows_ = true;
  list_->setRowCount(static_cast<int>(l.Rows.size()));
  for (int r = 0; r < static_cast<int>(l.Rows.size()); ++r) {
    const AircraftListRow& row = l.Rows[static_cast<size_t>(r)];
    const std::string* cells[10] = {&row.Flight, &row.Pic,      &row.Registration, &row.Pos,           &row.Dept,
                                    &row.Dest,   &row.Aircraft, &row.Remarks,      &row.AccessStation, &row.LastTime};
    for (int c = 0; c < 10; ++c) {
      QTableWidgetItem* item = list_->item(r, c);
      if (!item) list_->setItem(r, c, item = new QTableWidgetItem);
      item->setText(Text(*cells[c]));
    }
  }
  if (l.Selected > 0) {
    list_->selectRow(l.Selected - 1);
  } else {
    list_->clearSelection();
  }
  status_->setText(Text(ListStatusText(form_.aircraft)));
  showingRows_ = false;
}

void TForm5::ApplyListColours() {
  QPalette p = list_->palette();
  p.setColor(QPalette::Base, platform::ToQColor(form_.Color.ListBack));
  p.setColor(QPalette::Text, platform::ToQColor(form_.Color.ListText));
  list_->setPalette(p);
}

void TForm5::ApplyFont(const QFont& font) {
  list_->setFont(font);
  // Rows as close as a report view's.
  list_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
  WidenColumns();
}

// The stored widths are the least a column gets: each shows its caption and
// the widest of the texts it is meant to hold in the list's font.
void TForm5::WidenColumns() {
  QStringList marks;
  for (bool english : {false, true}) marks << Text(NoMark(english)) << Text(YesMark(english));
  QStringList stations;
  for (const std::string& name : form_.acars.AcarsStationNames) stations << Text(name);
  for (const std::string& name : form_.hfdl.GsNames) stations << Text(name);
  const QStringList cells[10] = {{},                      // Flight
                                 marks,                   // PIC
                                 {"unknown", "NO DATA"},  // Reg. No.
                                 marks,                   // POS
                                 {"----"},                // DEPT
                                 {"----"},                // DEST
                                 {"NO DATA"},             // Aircraft
                                 {"-"},                   // Remarks
                                 stations,                // Access Sta.
                                 {"00:00:00"}};           // LastTime
  for (int c = 0; c < 10; ++c) platform::WidenColumn(*list_, *list_->horizontalHeader(), c, cells[c]);
}

void TForm5::SelectionChanged() {
  if (showingRows_) return;
  const QList<QTableWidgetSelectionRange> ranges = list_->selectedRanges();
  // A row is shown when it is selected, not when it is left.
  if (ranges.isEmpty()) {
    form_.aircraft.List.Selected = 0;
    return;
  }
  SelectRow(form_.aircraft, link_, ranges.first().topRow() + 1);
}

void TForm5::SpeedButton1Click() {
  if (!ChooseFont) return;
  std::optional<QFont> chosen = ChooseFont(list_->font());
  if (!chosen) return;
  QFont f = list_->font();
  f.setPointSize(chosen->pointSize());
  f.setFamily(chosen->family());
  ApplyFont(f);
  form_.Form.ListFontSize = chosen->pointSize();
  form_.Form.ListFontName = platform::QStringToCp932(chosen->family());
}

void TForm5::SpeedButton2Click() {
  form_.controls.ColorDialogTarget = 1;
  if (auto* dialog = qobject_cast<QDialog*>(FindTopLevelWindow("Form18"))) dialog->exec();
}

void TForm5::SpeedButton3Click() {
  form_.List.AutoDelete = buttons_[3]->isChecked() ? 1 : 0;
  if (form_.List.AutoDelete) {
    timer1_->start();
  } else {
    timer1_->stop();
  }
}

void TForm5::SpeedButton4Click() { form_.List.ListLog = buttons_[4]->isChecked() ? 1 : 0; }

void TForm5::UpDown1Click() {
  form_.List.DeleteTime = upDown1_->Position();
  panel1_->setText(QString::number(form_.List.DeleteTime));
}

void TForm5::Timer1Timer() {
  AgeListRows(form_.aircraft, form_.List, link_);
  Done();
}

void TForm5::Done() { wiring_.RunRequestedRedraws(); }

bool TForm5::eventFilter(QObject* watched, QEvent* e) {
  if (watched == list_ && e->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete) {
    DeleteSelectedRow(form_.aircraft, link_);
    Done();
    return true;
  }
  return SkarvelForm::eventFilter(watched, e);
}

void TForm5::setVisible(bool visible) {
  if (visible && !isVisible() && x() == 0 && y() == 0) {
    if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
  }
  SkarvelForm::setVisible(visible);
}

void TForm5::showEvent(QShowEvent* e) {
  QFont f = list_->font();
  if (form_.Form.ListFontSize > 0) f.setPointSize(form_.Form.ListFontSize);
  if (!form_.Form.ListFontName.empty()) f.setFamily(platform::Cp932ToQString(form_.Form.ListFontName));
  ApplyFont(f);
  // At the default width the window opens wide enough for every column (the
  // screen permitting); a width the user chose stays as it is.
  if (!openedAtColumnsWidth_ && form_.Form.ListWidth == kDefaultListWidth) {
    openedAtColumnsWidth_ = true;
    int columns = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < 10; ++c) columns += list_->columnWidth(c);
    // The list lies 5 pixels inside either side.
    if (columns + 10 > width()) resize(columns + 10, height());
  }
  SkarvelForm::showEvent(e);
  ShowRows();
}

void TForm5::resizeEvent(QResizeEvent* e) {
  SkarvelForm::resizeEvent(e);
  const int w = width(), h = height();
  list_->setGeometry(5, kToolBarHeight + 2, w - 10, h - 57);
  status_->setGeometry(2, h - 24, w - 4, 22);
}
