#include "exchange/tform14.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/centring.h"
#include "app/form1_state.h"
#include "exchange/peer_link.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

namespace {

constexpr int kLowestPort = 49152;

}  // namespace

TForm14::TForm14(Form1State& form) : SkarvelForm(form, 14) {
  setWindowTitle(QString::fromUtf8("IP接続"));
  setFixedSize(330, 132);
  auto label = [this](const char* name, const char* text, int top) {
    auto* l = new QLabel(QString::fromUtf8(text), this);
    l->setObjectName(name);
    l->setGeometry(12, top, 80, 20);
  };
  label("Label1", "接続先", 12);
  label("Label2", "ポート番号", 40);
  edit1_ = new QLineEdit(this);
  edit1_->setObjectName("Edit1");
  edit1_->setGeometry(96, 10, 222, 22);
  edit2_ = new QLineEdit(this);
  edit2_->setObjectName("Edit2");
  edit2_->setGeometry(96, 38, 80, 22);
  checkBox1_ = new QCheckBox(QString::fromUtf8("切断された場合は自動的に再接続する"), this);
  checkBox1_->setObjectName("CheckBox1");
  checkBox1_->setGeometry(12, 66, 306, 20);
  button1_ = new QPushButton(QStringLiteral("OK"), this);
  button1_->setObjectName("Button1");
  button1_->setGeometry(150, 98, 80, 26);
  button1_->setDefault(true);
  button2_ = new QPushButton(QString::fromUtf8("キャンセル"), this);
  button2_->setObjectName("Button2");
  button2_->setGeometry(238, 98, 80, 26);
  connect(button1_, &QPushButton::clicked, this, &TForm14::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &TForm14::Button2Click);
  form_.exchange.ConnectRequested = 0;
}

void TForm14::PlaceAndFill() {
  // Only this showing's OK connects: Escape and the close box leave it 0.
  form_.exchange.ConnectRequested = 0;
  edit1_->setText(platform::Cp932ToQString(form_.Net.ServerName));
  edit2_->setText(QString::fromStdString(form_.Net.ClientPortNo));
  checkBox1_->setChecked(form_.Net.Reconnect != 0);
  if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
}

void TForm14::Button1Click() {
  // Plain decimal digits: a port that is not a whole number is out of range
  // as well.
  const std::string port = edit2_->text().toStdString();
  if (ParsePortNumber(port) < kLowestPort) {
    platform::ShowMessageBox(platform::BoxKind::Warning, platform::BoxButtons::Yes,
                             form_.app.UseEnglish ? "Port No is 49152 to 65535." : "ポート番号は49152～65535の間です");
    return;
  }
  form_.Net.ServerName = platform::QStringToCp932(edit1_->text());
  form_.Net.ClientPortNo = port;
  form_.Net.Reconnect = checkBox1_->isChecked() ? 1 : 0;
  form_.exchange.ConnectRequested = 1;
  accept();
}

void TForm14::Button2Click() {
  form_.exchange.ConnectRequested = 0;
  reject();
}
