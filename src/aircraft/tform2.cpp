#include "aircraft/tform2.h"

#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>

#include "aircraft/tform6.h"
#include "app/alerts_wiring.h"
#include "app/centring.h"
#include "app/form1_state.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

namespace {

struct ButtonSpec {
  int number;
  const char* caption;
  const char* hint;
  bool toggle;
};

// Left to right on the tool bar.
const ButtonSpec kButtons[] = {
    {4, "Add", "新規追加", false},    {3, "Edit", "編集", false},
    {2, "Del", "削除", false},        {5, "Mail set", "メール通知設定", false},
    {6, "Test", "テストメール送信", false}, {1, "Mail", "メール通知", true},
    {7, "Popup", "受信時にポップアップ", true}, {8, "Sound", "受信時にサウンドを鳴らす", true},
    {9, "Log", "ログ", true},
};

const char* const kColumns[4] = {"Search", "Hit", "LastTime", "Remarks"};
const int kColumnWidths[4] = {70, 70, 70, 186};

QString Text(const std::string& cp932) { return platform::Cp932ToQString(cp932); }

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, const QRect& geometry) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(name);
  label->setGeometry(geometry);
  return label;
}

// The status bar shows a reply's inner line ends as blanks.
QString StatusLine(const std::string& utf8) {
  QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  s.replace(QLatin1Char('\r'), QLatin1Char(' '));
  s.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return s;
}

}  // namespace

TForm2::TForm2(Form1State& form, AlertsWiring& alerts) : SkarvelForm(form, 2), alerts_(alerts) {
  setWindowTitle(QString::fromUtf8("航空機サーチ"));
  setFixedSize(420, 446);
  int left = 4;
  for (const ButtonSpec& b : kButtons) {
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(b.number));
    button->setText(QString::fromUtf8(b.caption));
    button->setToolTip(QString::fromUtf8(b.hint));
    button->setCheckable(b.toggle);
    const int width = b.number == 5 ? 52 : 42;
    button->setGeometry(left, 2, width, 23);
    left += width + 2;
    buttons_[b.number] = button;
  }

  MakeLabel(this, "Label25", "サーチ航空機登録リスト", QRect(6, 30, 300, 16));
  list_ = new QTableWidget(this);
  list_->setObjectName("ListView1");
  list_->setGeometry(6, 48, 408, 150);
  list_->setColumnCount(4);
  for (int c = 0; c < 4; ++c) {
    list_->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromLatin1(kColumns[c])));
    list_->setColumnWidth(c, kColumnWidths[c]);
  }
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setDefaultSectionSize(20);

  auto* group = new QGroupBox(QString::fromUtf8("サーチ航空機新規受信状況"), this);
  group->setObjectName("GroupBox2");
  group->setGeometry(6, 202, 408, 52);
  MakeLabel(group, "Label1", "機体番号", QRect(8, 22, 56, 20));
  MakeLabel(group, "Label2", "便名", QRect(140, 22, 34, 20));
  const QRect panelPlaces[4] = {{}, QRect(64, 20, 70, 22), QRect(176, 20, 70, 22), QRect(252, 20, 148, 22)};
  for (int n = 1; n <= 3; ++n) {
    panels_[n] = new QLabel(group);
    panels_[n]->setObjectName(QStringLiteral("Panel%1").arg(n));
    panels_[n]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panels_[n]->setAlignment(Qt::AlignCenter);
    panels_[n]->setGeometry(panelPlaces[n]);
  }

  MakeLabel(this, "Label9", "受信記録", QRect(6, 258, 300, 16));
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setGeometry(6, 276, 408, 142);
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->viewport()->installEventFilter(this);

  status_ = new QLabel(this);
  status_->setObjectName("StatusBar1");
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setGeometry(2, 424, 416, 20);

  const WatchListFiles files = alerts_.WatchFiles();
  OpenWatchList(form_.watchList, form_.Mail, files);
  buttons_[7]->setChecked(form_.Spec.SpecPopUp != 0);
  buttons_[8]->setChecked(form_.Spec.SpecSound != 0);
  buttons_[9]->setChecked(form_.Spec.SpecLog != 0);
  SetRowButtons(false);

  connect(list_, &QTableWidget::itemSelectionChanged, this, [this] { SetRowButtons(SelectedRow() >= 0); });
  connect(buttons_[1], &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
  connect(buttons_[2], &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
  connect(buttons_[3], &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
  connect(buttons_[4], &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
  connect(buttons_[5], &QToolButton::clicked, this, [this] { SpeedButton5Click(); });
  connect(buttons_[6], &QToolButton::clicked, this, [this] { SpeedButton6Click(); });
  connect(buttons_[7], &QToolButton::clicked, this, [this](bool down) {
    SetRowButtons(false);
    form_.Spec.SpecPopUp = down ? 1 : 0;
  });
  connect(buttons_[8], &QToolButton::clicked, this, [this](bool down) {
    form_.Spec.SpecSound = down ? 1 : 0;
    SetRowButtons(false);
  });
  connect(buttons_[9], &QToolButton::clicked, this, [this] { SpeedButton9Click(); });

  form_.watchList.Changed = [this] { ShowWatchList(); };
  ShowWatchList();
}

TForm2::~TForm2() { form_.watchList.Changed = nullptr; }

bool TForm2::English() const { return form_.app.UseEnglish != 0; }

void TForm2::ShowWatchList() {
  const WatchList& w = form_.watchList;
  const int selected = SelectedRow();
  {
    const QSignalBlocker block(list_);
    list_->setRowCount(static_cast<int>(w.Rows.size()));
    for (int r = 0; r < static_cast<int>(w.Rows.size()); ++r) {
      const SearchListRow& row = w.Rows[static_cast<size_t>(r)];
      const std::string* cells[4] = {&row.Search, &row.Hit, &row.LastTime, &row.Remarks};
      for (int c = 0; c < 4; ++c) {
        QTableWidgetItem* item = list_->item(r, c);
        if (!item) list_->setItem(r, c, item = new QTableWidgetItem);
        item->setText(Text(*cells[c]));
      }
    }
    if (selected >= 0 && selected < list_->rowCount()) list_->selectRow(selected);
  }
  panels_[1]->setText(Text(w.Panel1));
  panels_[2]->setText(Text(w.Panel2));
  panels_[3]->setText(Text(w.Panel3));
  QStringList lines;
  for (const std::string& line : w.Memo) lines << Text(line);
  const QString memo = lines.join(QLatin1Char('\n'));
  if (memo_->toPlainText() != memo) {
    memo_->setPlainText(memo);
    memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
  }
  status_->setText(StatusLine(w.Mail.StatusText));
  // The mail buttons rest while a mail is under way.
  const bool mailButtons = w.MailButtonsEnabled && !w.Mail.InFlight();
  buttons_[1]->setEnabled(mailButtons);
  buttons_[6]->setEnabled(mailButtons);
  const QSignalBlocker block(buttons_[1]);
  buttons_[1]->setChecked(w.MailButtonDown != 0);
}

void TForm2::SetRowButtons(bool enabled) {
  buttons_[2]->setEnabled(enabled);
  buttons_[3]->setEnabled(enabled);
}

int TForm2::SelectedRow() const {
  const QList<QTableWidgetSelectionRange> ranges = list_->selectedRanges();
  return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void TForm2::ShowNoSelection() {
  platform::ShowMessageBox(platform::BoxKind::Error, platform::BoxButtons::Ok,
                           English() ? "Delete line is not selected" : "削除項目が選択されていません");
}

void TForm2::SpeedButton1Click() {
  const flag down = buttons_[1]->isChecked() ? 1 : 0;
  form_.Mail.MailSend = down;
  form_.watchList.MailButtonDown = down;
}

void TForm2::SpeedButton2Click() {
  const int row = SelectedRow();
  if (row < 0) return ShowNoSelection();
  if (platform::ShowMessageBox(platform::BoxKind::Confirmation, platform::BoxButtons::YesNo,
                               English() ? "Delete OK?" : "消去します。よろしいですか？") == platform::BoxAnswer::No) {
    return;
  }
  WatchList& w = form_.watchList;
  if (row < static_cast<int>(w.Rows.size())) w.Rows.erase(w.Rows.begin() + row);
  SaveSearchList(w, form_.app.SearchCsvPath);
  list_->clearSelection();
  ShowWatchList();
  SetRowButtons(false);
}

void TForm2::SpeedButton3Click() {
  const int row = SelectedRow();
  if (row < 0) return ShowNoSelection();
  if (auto* entry = qobject_cast<TForm6*>(FindTopLevelWindow("Form6"))) entry->OpenForEdit(row);
}

void TForm2::SpeedButton4Click() {
  if (auto* entry = qobject_cast<TForm6*>(FindTopLevelWindow("Form6"))) entry->OpenForAdd();
}

void TForm2::SpeedButton5Click() {
  SetRowButtons(false);
  if (auto* settings = qobject_cast<QDialog*>(FindTopLevelWindow("Form7"))) settings->exec();
}

void TForm2::SpeedButton6Click() {
  SetRowButtons(false);
  alerts_.SendHitMail(TestMailArgs(English()));
}

void TForm2::SpeedButton9Click() {
  const bool down = buttons_[9]->isChecked();
  if (down) SaveSearchLog(form_.watchList, form_.text.SearchLogPath());
  form_.Spec.SpecLog = down ? 1 : 0;
}

void TForm2::setVisible(bool visible) {
  if (visible && !isVisible() && x() == 0 && y() == 0) {
    if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
  }
  SkarvelForm::setVisible(visible);
}

bool TForm2::eventFilter(QObject* watched, QEvent* e) {
  if (watched == memo_->viewport() && e->type() == QEvent::MouseButtonPress) SetRowButtons(false);
  return SkarvelForm::eventFilter(watched, e);
}
