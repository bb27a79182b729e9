#include "aircraft/tform7.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/centring.h"
#include "app/form1_state.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

namespace {

QLineEdit* MakeField(QGroupBox* group, int label, const char* caption, int edit, int top) {
  auto* l = new QLabel(QString::fromUtf8(caption), group);
  l->setObjectName(QStringLiteral("Label%1").arg(label));
  l->setGeometry(10, top + 2, 96, 20);
  auto* e = new QLineEdit(group);
  e->setObjectName(QStringLiteral("Edit%1").arg(edit));
  e->setGeometry(108, top, 210, 24);
  return e;
}

}  // namespace

TForm7::TForm7(Form1State& form) : SkarvelForm(form, 7) {
  setWindowTitle(QString::fromUtf8("メール設定"));
  setFixedSize(344, 206);
  auto* sender = new QGroupBox(QString::fromUtf8("送信元設定"), this);
  sender->setObjectName("GroupBox1");
  sender->setGeometry(6, 6, 332, 84);
  edit1_ = MakeField(sender, 1, "SMTPサーバー", 1, 22);
  edit3_ = MakeField(sender, 3, "メールアドレス", 3, 52);
  auto* recipient = new QGroupBox(QString::fromUtf8("送信先設定"), this);
  recipient->setObjectName("GroupBox2");
  recipient->setGeometry(6, 96, 332, 56);
  edit4_ = MakeField(recipient, 4, "メールアドレス", 4, 22);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName("Button1");
  ok->setGeometry(166, 170, 80, 26);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QString::fromUtf8("キャンセル"), this);
  cancel->setObjectName("Button2");
  cancel->setGeometry(252, 170, 80, 26);

  edit1_->setText(platform::Cp932ToQString(form.Mail.MailHost));
  edit3_->setText(platform::Cp932ToQString(form.Mail.MailFrom));
  edit4_->setText(platform::Cp932ToQString(form.Mail.MailTo));
  connect(ok, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit* TForm7::Edit(int n) const { return n == 1 ? edit1_ : n == 3 ? edit3_ : n == 4 ? edit4_ : nullptr; }

void TForm7::Button1Click() {
  const bool english = form_.app.UseEnglish != 0;
  const char* blank = nullptr;
  if (edit1_->text().isEmpty()) {
    blank = english ? "SMTP Server name is blank" : "メールホストが空欄がです";
  } else if (edit3_->text().isEmpty()) {
    blank = english ? "Transmission origin E-mail address is blank" : "送信元メールアドレスが空欄がです";
  } else if (edit4_->text().isEmpty()) {
    blank = english ? "Destination mail E-mail address is blank" : "送信先メールアドレスが空欄がです";
  }
  WatchList& w = form_.watchList;
  if (blank) {
    platform::ShowMessageBox(platform::BoxKind::Error, platform::BoxButtons::Ok, blank);
    w.MailButtonsEnabled = 0;
  } else {
    form_.Mail.MailHost = platform::QStringToCp932(edit1_->text());
    form_.Mail.MailFrom = platform::QStringToCp932(edit3_->text());
    form_.Mail.MailTo = platform::QStringToCp932(edit4_->text());
    w.MailButtonsEnabled = 1;
  }
  if (w.Changed) w.Changed();
  if (!blank) accept();
}

void TForm7::PlaceAndFill() {
  if (QWidget* list = FindTopLevelWindow("Form2")) CentreOverWindow(*this, *list);
}
