#include "acars/tform28.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

#include "app/form1_state.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "platform/paths.h"

namespace {

struct SwitchSpec {
  int number;
  const char* caption;
  const char* hint;
  StateField<flag> member;
};

// Left to right above the lists.
const SwitchSpec kSwitches[] = {
    {3, "Run", "検索開始", STATE_FIELD(MsgSrch.MsgSrchRun)},
    {1, "Popup", "検索ヒット時に画面を表示", STATE_FIELD(MsgSrch.MsgSrchPopup)},
    {2, "Sound", "検索ヒット時にサウンドを鳴らす", STATE_FIELD(MsgSrch.MsgSrchSound)},
};

QLabel* MakeLabel(QWidget* parent, int number, const char* text, const QRect& geometry) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QStringLiteral("Label%1").arg(number));
  label->setGeometry(geometry);
  return label;
}

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Refills the list only when its texts change, so that a selection stays.
void Fill(QListWidget* list, const QStringList& texts) {
  QStringList shown;
  for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
  if (shown == texts) return;
  list->clear();
  list->addItems(texts);
}

}  // namespace

TForm28::TForm28(Form1State& form) : SkarvelForm(form, 28) {
  setWindowTitle(QString::fromUtf8("ACARSメッセージ検索"));
  // Topmost whenever shown: the hint must be there before the show.
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setFixedSize(637, 448);

  int left = 8;
  for (const SwitchSpec& s : kSwitches) {
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(s.number));
    button->setText(QString::fromUtf8(s.caption));
    button->setToolTip(QString::fromUtf8(s.hint));
    button->setCheckable(true);
    button->setChecked(s.member(form) != 0);
    button->setGeometry(left, 4, 50, 23);
    left += 52;
    speedButtons_[s.number] = button;
    StateField<flag> member = s.member;
    connect(button, &QToolButton::clicked, this, [this, member](bool down) { member(form_) = down ? 1 : 0; });
  }

  MakeLabel(this, 1, "検索文字列", QRect(8, 32, 160, 16));
  listBox1_ = new QListWidget(this);
  listBox1_->setObjectName("ListBox1");
  listBox1_->setGeometry(8, 50, 160, 290);
  auto* group = new QGroupBox(QString::fromUtf8("検索文字列の追加・削除"), this);
  group->setObjectName("GroupBox1");
  group->setGeometry(8, 346, 160, 94);
  edit1_ = new QLineEdit(group);
  edit1_->setObjectName("Edit1");
  edit1_->setGeometry(8, 22, 144, 24);
  auto makeButton = [this](QWidget* parent, int number, const char* caption, const QRect& geometry) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QStringLiteral("Button%1").arg(number));
    button->setGeometry(geometry);
    buttonsN_[number] = button;
  };
  makeButton(group, 1, "追加", QRect(8, 56, 68, 26));
  makeButton(group, 2, "削除", QRect(84, 56, 68, 26));

  MakeLabel(this, 2, "検出履歴（ログファイル一覧）", QRect(176, 32, 260, 16));
  listBox2_ = new QListWidget(this);
  listBox2_->setObjectName("ListBox2");
  listBox2_->setGeometry(176, 50, 262, 356);
  makeButton(this, 3, "削除", QRect(176, 414, 80, 26));
  makeButton(this, 4, "全削除", QRect(262, 414, 80, 26));

  MakeLabel(this, 3, "メッセージ", QRect(446, 32, 180, 16));
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setGeometry(446, 50, 183, 390);
  memo_->setReadOnly(true);

  connect(buttonsN_[1], &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(buttonsN_[2], &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(buttonsN_[3], &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(buttonsN_[4], &QPushButton::clicked, this, [this] { Button4Click(); });
  connect(listBox2_, &QListWidget::itemClicked, this, [this] { ListBox2Click(); });

  OpenMessageSearch(form_.messageSearch, form_.app.MesgSearchListPath,
                    platform::JoinPath(form_.app.AppDir, "logs/SrchMesgLogs"), form_.app.MesgSearchWavePath);
  form_.messageSearch.Changed = [this] { ShowSearch(); };
  ShowSearch();
}

// The changes still owed to the strings' file are the main window's to
// save, at its close.
TForm28::~TForm28() { form_.messageSearch.Changed = nullptr; }

void TForm28::ShowSearch() {
  const MessageSearch& s = form_.messageSearch;
  QStringList strings;
  for (const std::string& text : s.SearchStrings) strings << platform::Cp932ToQString(text);
  Fill(listBox1_, strings);
  QStringList names;
  for (const std::string& name : s.HitNames) names << FromUtf8(name);
  Fill(listBox2_, names);
  memo_->setPlainText(platform::Cp932ToQString(s.Memo));
}

void TForm28::showEvent(QShowEvent* e) {
  SkarvelForm::showEvent(e);
  // A hit pops the window up with the focus: on the hits, not on Add.
  if (!e->spontaneous()) listBox2_->setFocus();
}

void TForm28::keyPressEvent(QKeyEvent* e) {
  // An Enter that no control took would press the default button, Add: one
  // Enter in a list would add an empty string, which every message
  // matches. Only the edit box's Enter adds its text.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    if (focusWidget() == edit1_) Button1Click();
    e->accept();
    return;
  }
  SkarvelForm::keyPressEvent(e);
}

void TForm28::Button1Click() {
  // Even an empty text is a search string: it matches every message.
  AddSearchString(form_.messageSearch, platform::QStringToCp932(edit1_->text()));
  edit1_->clear();
}

void TForm28::Button2Click() {
  const int row = listBox1_->currentRow();
  if (row < 0 || !listBox1_->currentItem()->isSelected()) return;
  DeleteSearchString(form_.messageSearch, static_cast<size_t>(row));
}

void TForm28::ListBox2Click() {
  if (QListWidgetItem* item = listBox2_->currentItem()) ShowHitLog(form_.messageSearch, item->text().toStdString());
}

void TForm28::Button3Click() {
  QListWidgetItem* item = listBox2_->currentItem();
  if (!item || !item->isSelected()) return;
  const std::string name = item->text().toStdString();
  if (!Confirm("Delete " + name + ",OK?", name + "を削除します。よろしいですか？")) return;
  DeleteHitLog(form_.messageSearch, name);
}

void TForm28::Button4Click() {
  if (!Confirm("Delete all ACARS messages,OK?", "過去のメッセージを全て削除します。よろしいですか？")) return;
  DeleteAllHitLogs(form_.messageSearch);
}

bool TForm28::Confirm(const std::string& english, const std::string& japanese) {
  return platform::ShowMessageBox(platform::BoxKind::Confirmation, platform::BoxButtons::YesNo,
                                  form_.app.UseEnglish ? english : japanese) != platform::BoxAnswer::No;
}
