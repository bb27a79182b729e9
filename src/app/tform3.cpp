#include "app/tform3.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/centring.h"
#include "app/form1_state.h"
#include "app/up_down.h"
#include "platform/cp932.h"

namespace {

struct BoxSpec {
  int number;
  const char* group;
  int top;
  const char* caption;
  StateField<flag> member;
};

// The twelve plain boxes, each with the member it writes.
const BoxSpec kBoxes[] = {
    {4, "GroupBox5", 20, "スキッターメッセージ", STATE_FIELD(Txt.SqNoDisp)},
    {5, "GroupBox5", 42, "FREQメッセージ", STATE_FIELD(Txt.FreqNoDisp)},
    {9, "GroupBox5", 64, "TISメッセージ", STATE_FIELD(Txt.TISNoDisp)},
    {10, "GroupBox5", 86, "ポジションメッセージ", STATE_FIELD(Txt.ShowPos)},
    {2, "GroupBox4", 20, "JCレター変換(00→JC)", STATE_FIELD(Etc.ConvJC)},
    {3, "GroupBox4", 42, "JDレター変換(JD→JL)", STATE_FIELD(Etc.ConvJD)},
    {1, "GroupBox4", 64, "10point完全受信プロット", STATE_FIELD(Map.TenPointPlot)},
    {6, "GroupBox4", 86, "対象外航空機プロット", STATE_FIELD(Map.ElsePosGet)},
    {7, "GroupBox15", 20, "シフトJIS変換処理", STATE_FIELD(Mail.SJISConv)},
    {8, "GroupBox15", 42, "MIME64変換処理", STATE_FIELD(Mail.MIMEConv)},
    {11, "GroupBox2", 20, "VHF-ACARS", STATE_FIELD(Net.RecvVHF)},
    {12, "GroupBox2", 42, "HF-ACARS", STATE_FIELD(Net.RecvHF)},
};

struct GroupSpec {
  const char* name;
  const char* title;
  QRect geometry;
};

const GroupSpec kGroups[] = {
    {"GroupBox5", "MES表示フィルタリング", QRect(8, 8, 236, 114)},
    {"GroupBox4", "ACARSデータ処理設定", QRect(8, 128, 236, 114)},
    {"GroupBox2", "ネットワークデータ受信内容", QRect(252, 8, 236, 68)},
    {"GroupBox7", "ログファイル", QRect(252, 82, 236, 114)},
    {"GroupBox15", "メール設定", QRect(252, 202, 236, 68)},
    {"GroupBox3", "処理排除キャリアー（２レター、コンマ区切り）", QRect(8, 276, 480, 56)},
};

}  // namespace

TForm3::TForm3(Form1State& form) : SkarvelForm(form, 3) {
  setWindowTitle(QString::fromUtf8("設定"));
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  setFixedSize(496, 340);

  for (const GroupSpec& g : kGroups) {
    auto* group = new QGroupBox(QString::fromUtf8(g.title), this);
    group->setObjectName(g.name);
    group->setGeometry(g.geometry);
  }
  auto group = [this](const char* name) { return findChild<QGroupBox*>(name); };
  auto addBox = [this](int number, QGroupBox* parent, int top, const char* caption) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QStringLiteral("CheckBox%1").arg(number));
    box->setGeometry(12, top, 216, 20);
    checkBoxes_[number] = box;
    return box;
  };
  for (const BoxSpec& b : kBoxes) addBox(b.number, group(b.group), b.top, b.caption);

  QGroupBox* logs = group("GroupBox7");
  addBox(13, logs, 20, "ファイル名自動変更");
  addBox(14, logs, 42, "過去ファイル自動削除");
  auto addLabel = [this, logs](int number, const QRect& geometry, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), logs);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    label->setGeometry(geometry);
    labels_[number] = label;
    return label;
  };
  addLabel(1, QRect(30, 74, 80, 20), "削除期間");
  QLabel* dayCount = addLabel(2, QRect(112, 73, 44, 22), "");
  dayCount->setAlignment(Qt::AlignCenter);
  dayCount->setAutoFillBackground(true);
  QPalette silver = dayCount->palette();
  silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  // Greyed out, the count stays readable on silver.
  silver.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x70, 0x70, 0x70));
  dayCount->setPalette(silver);
  QFont arial(QStringLiteral("Arial"));
  arial.setPixelSize(13);
  dayCount->setFont(arial);
  upDown1_ = new UpDownArrows(logs);
  upDown1_->setObjectName("UpDown1");
  upDown1_->setGeometry(156, 73, 16, 22);
  upDown1_->SetRange(1, 365);
  addLabel(3, QRect(178, 74, 40, 20), "日");

  edit1_ = new QLineEdit(group("GroupBox3"));
  edit1_->setObjectName("Edit1");
  edit1_->setGeometry(12, 22, 456, 24);

  for (const BoxSpec& b : kBoxes) {
    StateField<flag> member = b.member;
    connect(checkBoxes_[b.number], &QCheckBox::toggled, this,
            [this, member](bool on) { member(form_) = on ? 1 : 0; });
  }
  connect(checkBoxes_[13], &QCheckBox::toggled, this, [this](bool on) {
    form_.Etc.ChangeLogFileName = on ? 1 : 0;
    ApplyEnablingRule();
  });
  connect(checkBoxes_[14], &QCheckBox::toggled, this, [this](bool on) {
    form_.Etc.DeleteLogFile = on ? 1 : 0;
    ApplyEnablingRule();
  });
  connect(upDown1_, &UpDownArrows::Clicked, this, [this] { UpDown1Click(); });

  // The controls are filled once; nothing else writes these members.
  for (const BoxSpec& b : kBoxes) checkBoxes_[b.number]->setChecked(b.member(form) != 0);
  edit1_->setText(platform::Cp932ToQString(form.Etc.PassList));
  checkBoxes_[13]->setChecked(form.Etc.ChangeLogFileName != 0);
  checkBoxes_[14]->setChecked(form.Etc.DeleteLogFile != 0);
  upDown1_->SetPosition(form.Etc.DeleteDay);
  ApplyEnablingRule();
  // A stored count outside the range shows as it is until an arrow is used.
  labels_[2]->setText(QString::number(form.Etc.DeleteDay));
}

QCheckBox* TForm3::CheckBox(int n) const { return n >= 1 && n <= 14 ? checkBoxes_[n] : nullptr; }

QLabel* TForm3::Label(int n) const { return n >= 1 && n <= 3 ? labels_[n] : nullptr; }

void TForm3::ApplyEnablingRule() {
  // Only what can be clicked changes: a disabled box keeps its tick.
  QWidget* dayControls[] = {upDown1_, labels_[1], labels_[2], labels_[3]};
  if (!checkBoxes_[13]->isChecked()) {
    checkBoxes_[14]->setEnabled(false);
    for (QWidget* w : dayControls) w->setEnabled(false);
  } else {
    const bool days = checkBoxes_[14]->isChecked();
    for (QWidget* w : dayControls) w->setEnabled(days);
    checkBoxes_[14]->setEnabled(true);
  }
}

void TForm3::UpDown1Click() {
  form_.Etc.DeleteDay = static_cast<int16_t>(upDown1_->Position());
  labels_[2]->setText(QString::number(form_.Etc.DeleteDay));
}

void TForm3::FormClose() { form_.Etc.PassList = platform::QStringToCp932(edit1_->text()); }

void TForm3::PlaceAndFill() {
  if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
}

void TForm3::hideEvent(QHideEvent* e) {
  if (!e->spontaneous()) FormClose();
  SkarvelForm::hideEvent(e);
}
