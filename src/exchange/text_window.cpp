#include "exchange/text_window.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>

#include "app/form1_state.h"
#include "platform/qt_color.h"
#include "platform/cp932.h"
#include "platform/window_stacking.h"

namespace {

// Shows one of the program's dialogs, found by its name, and waits for it.
void ShowDialog(const char* name) {
  if (auto* dialog = qobject_cast<QDialog*>(platform::FindTopLevelWindow(name))) dialog->exec();
}

struct ButtonText {
  int number;
  const char* caption;
  const char* hint;
};

// In tool-bar order. The English hints are assigned with every window's
// English texts.
const ButtonText kButtons[] = {
    {1, "RAW", "RAW生データ表示"},     {2, "PRC", "PRC処理データ表示"},      {3, "MES", "MESメッセージ表示"},
    {11, "DAT", "HFDL受信データ表示"}, {12, "ANA", "HFDL解析内容表示"},      {13, "FMT", "HFDLフォーマット表示"},
    {4, "Log", "ログ"},                {14, "Item", "ログ出し項目設定"},     {6, "All", "そのまま保存"},
    {7, "Flt", "便名別に保存"},        {8, "Reg", "登録番号別に保存"},       {5, "Top", "常に手前に表示"},
    {9, "Font", "フォント設定"},       {10, "Color", "カラー設定"},
};

// The view buttons in ReceivedTextKind order, and the save-mode buttons.
constexpr int kViewButtons[6] = {1, 2, 3, 11, 12, 13};
constexpr int kSaveButtons[3] = {6, 7, 8};

constexpr int kToolBarHeight = 27;

}  // namespace

TForm10::TForm10(Form1State& form) : SkarvelForm(form, 10) {
  // A hidden window is refilled when it is shown.
  form_.text.Changed = [this](int kind) {
    if (isVisible() && kind == form_.Txt.TxtType) RefreshMemo();
  };
  setWindowTitle(QString::fromUtf8("受信テキスト表示"));
  setMinimumSize(400, 100);
  panel_ = new QFrame(this);
  panel_->setObjectName("Panel1");
  auto* bar = new QHBoxLayout(panel_);
  bar->setContentsMargins(0, 0, 0, 0);
  bar->setSpacing(1);
  for (const ButtonText& b : kButtons) {
    auto* button = new QToolButton(panel_);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(b.number));
    button->setText(QString::fromUtf8(b.caption));
    button->setToolTip(QString::fromUtf8(b.hint));
    bar->addWidget(button);
    buttons_.at(b.number) = button;
  }
  bar->addStretch();
  // Narrower than its buttons, the tool bar would cut the last ones' texts.
  setMinimumWidth(std::max(minimumWidth(), bar->sizeHint().width() + 4));
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  viewGroup_ = new QButtonGroup(this);
  for (int kind = 0; kind < 6; ++kind) {
    QToolButton* b = buttons_[kViewButtons[kind]];
    b->setCheckable(true);
    viewGroup_->addButton(b, kind);
    connect(b, &QToolButton::clicked, this, [this, kind] { ShowKind(kind); });
  }
  saveGroup_ = new QButtonGroup(this);
  for (int mode = 0; mode < 3; ++mode) {
    QToolButton* b = buttons_[kSaveButtons[mode]];
    b->setCheckable(true);
    saveGroup_->addButton(b, mode);
    connect(b, &QToolButton::clicked, this, [this, mode] { form_.Txt.TxtSaveType = mode; });
  }
  buttons_[4]->setCheckable(true);
  buttons_[5]->setCheckable(true);
  connect(buttons_[4], &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
  connect(buttons_[5], &QToolButton::clicked, this, [this] { SpeedButton5Click(); });
  connect(buttons_[9], &QToolButton::clicked, this, [this] { SpeedButton9Click(); });
  connect(buttons_[10], &QToolButton::clicked, this, [this] { SpeedButton10Click(); });
  connect(buttons_[14], &QToolButton::clicked, this, [this] { SpeedButton14Click(); });

  ChooseFont = [this](const QFont& start) { return platform::ChooseFont(start, this); };

  // The view of the settings; a kind the buffers do not have shows RAW.
  if (form_.Txt.TxtType < 0 || form_.Txt.TxtType > 5) form_.Txt.TxtType = kAcarsRaw;
  buttons_[kViewButtons[form_.Txt.TxtType]]->setChecked(true);
  if (form_.Txt.TxtSaveType >= 0 && form_.Txt.TxtSaveType <= 2) buttons_[kSaveButtons[form_.Txt.TxtSaveType]]->setChecked(true);
  buttons_[4]->setChecked(form_.Txt.TxtLog != 0);
  buttons_[5]->setChecked(form_.Pos.TextTopMost != 0);
  EnableSaveModes();
  ApplyColours();
}

TForm10::~TForm10() { form_.text.Changed = nullptr; }

void TForm10::ApplyColours() {
  QPalette p = memo_->palette();
  p.setColor(QPalette::Base, platform::ToQColor(form_.Color.TextBack));
  p.setColor(QPalette::Text, platform::ToQColor(form_.Color.TextText));
  memo_->setPalette(p);
}

void TForm10::RefreshMemo() {
  const int kind = form_.Txt.TxtType >= 0 && form_.Txt.TxtType <= 5 ? form_.Txt.TxtType : kAcarsRaw;
  memo_->setPlainText(platform::Cp932ToQString(form_.text.Buffer(kind)));
  memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
}

void TForm10::ShowKind(int kind) {
  form_.Txt.TxtType = kind;
  RefreshMemo();
}

void TForm10::EnableSaveModes() {
  const bool on = buttons_[4]->isChecked();
  for (int n : kSaveButtons) buttons_[n]->setEnabled(on);
}

void TForm10::SpeedButton4Click() {
  EnableSaveModes();
  form_.Txt.TxtLog = buttons_[4]->isChecked() ? 1 : 0;
}

void TForm10::SpeedButton5Click() {
  form_.Pos.TextTopMost = buttons_[5]->isChecked() ? 1 : 0;
  platform::SetStayOnTop(this, form_.Pos.TextTopMost != 0);
}

void TForm10::SpeedButton9Click() {
  if (!ChooseFont) return;
  std::optional<QFont> chosen = ChooseFont(memo_->font());
  if (!chosen) return;
  QFont f = memo_->font();
  f.setPointSize(chosen->pointSize());
  f.setFamily(chosen->family());
  memo_->setFont(f);
  form_.Form.TextFontSize = chosen->pointSize();
  form_.Form.TextFontName = platform::QStringToCp932(chosen->family());
}

void TForm10::SpeedButton10Click() {
  form_.controls.ColorDialogTarget = 0;
  ShowDialog("Form18");
}

void TForm10::SpeedButton14Click() { ShowDialog("Form30"); }

void TForm10::setVisible(bool visible) {
  if (visible && !isVisible()) {
    // Placed before it appears: a stacking change after would hide it again.
    if (x() == 0 && y() == 0) {
      move(form_.Pos.MainLeft + form_.Pos.MainWidth / 2 - width() / 2, form_.Pos.MainTop + form_.Pos.MainHeight / 2 - height() / 2);
    }
    const bool onTop = form_.Pos.TextTopMost != 0;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  }
  SkarvelForm::setVisible(visible);
}

void TForm10::showEvent(QShowEvent* e) {
  SkarvelForm::showEvent(e);
  memo_->clear();
  QFont f = memo_->font();
  if (form_.Form.TextFontSize > 0) f.setPointSize(form_.Form.TextFontSize);
  if (!form_.Form.TextFontName.empty()) f.setFamily(platform::Cp932ToQString(form_.Form.TextFontName));
  memo_->setFont(f);
  ApplyColours();
  RefreshMemo();
}

void TForm10::resizeEvent(QResizeEvent* e) {
  SkarvelForm::resizeEvent(e);
  const int w = width();
  const int h = height();
  panel_->setGeometry(2, 0, w - 4, kToolBarHeight);
  memo_->setGeometry(2, kToolBarHeight + 2, w - 4, h - 31);
}

void TForm10::closeEvent(QCloseEvent* e) {
  form_.exchange.TextWindowClosed = 1;
  SkarvelForm::closeEvent(e);
}
