#include "exchange/tform12.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "app/centring.h"
#include "app/form1_state.h"
#include "exchange/chat.h"
#include "exchange/peer_link.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

TForm12::TForm12(Form1State& form, PeerLink& link) : SkarvelForm(form, 12), link_(link) {
  setWindowTitle(QString::fromUtf8("チャット画面"));
  setMinimumSize(230, 200);
  resize(560, 320);
  listBox1_ = new QListWidget(this);
  listBox1_->setObjectName("ListBox1");
  memo1_ = new QPlainTextEdit(this);
  memo1_->setObjectName("Memo1");
  memo1_->setReadOnly(true);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  label1_ = new QLabel(QString::fromUtf8("お名前"), this);
  label1_->setObjectName("Label1");
  edit1_ = new QLineEdit(this);
  edit1_->setObjectName("Edit1");
  button1_ = new QPushButton(QString::fromUtf8("送信"), this);
  button1_->setObjectName("Button1");
  button1_->setDefault(true);
  label2_ = new QLabel(QString::fromUtf8("送信文字"), this);
  label2_->setObjectName("Label2");
  edit2_ = new QLineEdit(this);
  edit2_->setObjectName("Edit2");
  setTabOrder(edit1_, edit2_);
  setTabOrder(edit2_, button1_);
  listBox1_->setFocusPolicy(Qt::NoFocus);
  memo1_->setFocusPolicy(Qt::NoFocus);
  connect(button1_, &QPushButton::clicked, this, &TForm12::Button1Click);
  edit1_->setText(platform::Cp932ToQString(form.Net.NetName));
}

void TForm12::PlaceAndFill() {
  if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
}

void TForm12::showEvent(QShowEvent* e) {
  ValuesChanged();
  SkarvelForm::showEvent(e);
  edit2_->setFocus();
}

void TForm12::resizeEvent(QResizeEvent* e) {
  SkarvelForm::resizeEvent(e);
  const int w = width();
  const int h = height();
  listBox1_->setGeometry(8, 6, 144, h - 13);
  memo1_->setGeometry(160, 8, w - 168, h - 69);
  // The labels' column is as wide as the wider caption in the language in
  // use, 44 at least.
  const int label = std::max({44, label1_->sizeHint().width(), label2_->sizeHint().width()});
  const int edit = 160 + label;
  label1_->setGeometry(160, h - 54, label, 22);
  edit1_->setGeometry(edit, h - 54, w - edit - 107, 22);
  button1_->setGeometry(w - 87, h - 55, 79, 24);
  label2_->setGeometry(160, h - 28, label, 22);
  edit2_->setGeometry(edit, h - 28, w - edit - 20, 22);
}

void TForm12::ValuesChanged() {
  memo1_->setPlainText(platform::Cp932ToQString(form_.exchange.ChatLog));
  memo1_->verticalScrollBar()->setValue(memo1_->verticalScrollBar()->maximum());
  listBox1_->clear();
  for (const std::string& entry : form_.exchange.Participants.Entries) {
    listBox1_->addItem(platform::Cp932ToQString(entry));
  }
}

void TForm12::Button1Click() {
  const bool english = form_.app.UseEnglish != 0;
  if (edit1_->text().isEmpty()) {
    platform::ShowMessageBox(platform::BoxKind::Warning, platform::BoxButtons::Ok,
                             english ? "Name is blank" : "お名前欄が空白です");
    return;
  }
  const std::string name = CutCp932(platform::QStringToCp932(edit1_->text()), kChatNameMaxBytes);
  form_.Net.NetName = name;
  if (edit2_->text().isEmpty()) {
    if (english) {
      platform::ShowMessageBox(platform::BoxKind::Warning, platform::BoxButtons::Ok, "Your name was set. ");
    } else {
      platform::ShowMessageBox(platform::BoxKind::Information, platform::BoxButtons::Ok, "お名前を設定しました");
    }
    return;
  }
  link_.SendChatLine(name, platform::QStringToCp932(edit2_->text()));
  edit2_->clear();
}
