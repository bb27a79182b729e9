#include "app/tform30.h"

#include <QCheckBox>
#include <QGroupBox>

#include "app/centring.h"
#include "app/form1_state.h"

namespace {

// Box k + 1 stands for the log of ReceivedTextKind k.
const char* const kCaptions[6] = {"ACARS RAW", "ACARS PRC", "ACARS MES", "HFDL DAT", "HFDL ANA", "HFDL FMT"};

}  // namespace

TForm30::TForm30(Form1State& form) : SkarvelForm(form, 30) {
  setWindowTitle(QString::fromUtf8("ログ出し項目設定"));
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  setFixedSize(220, 186);
  auto* group = new QGroupBox(QString::fromUtf8("ログ出し項目"), this);
  group->setObjectName("GroupBox1");
  group->setGeometry(8, 8, 204, 170);
  for (int kind = 0; kind < 6; ++kind) {
    auto* box = new QCheckBox(QString::fromLatin1(kCaptions[kind]), group);
    box->setObjectName(QStringLiteral("CheckBox%1").arg(kind + 1));
    box->setGeometry(16, 22 + 24 * kind, 180, 20);
    checkBoxes_[kind] = box;
    connect(box, &QCheckBox::toggled, this, [this, kind](bool on) { form_.Txt.LogOutFlag(kind) = on ? 1 : 0; });
  }
  for (int kind = 0; kind < 6; ++kind) checkBoxes_[kind]->setChecked(form.Txt.LogOutFlag(kind) != 0);
}

void TForm30::PlaceAndFill() {
  if (QWidget* textWindow = FindTopLevelWindow("Form10")) CentreOverWindow(*this, *textWindow);
}
