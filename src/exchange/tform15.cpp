#include "exchange/tform15.h"

#include <QLabel>
#include <QPushButton>

#include "app/centring.h"
#include "app/form1_state.h"
#include "exchange/peer_link.h"

TForm15::TForm15(Form1State& form, PeerLink& link) : SkarvelForm(form, 15), link_(link) {
  setWindowTitle(QString::fromUtf8("再接続"));
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(260, 104);
  label1_ = new QLabel(QStringLiteral("-"), this);
  label1_->setObjectName("Label1");
  label1_->setGeometry(12, 10, 236, 20);
  label2_ = new QLabel(QString::fromUtf8("60秒後に再接続を行います"), this);
  label2_->setObjectName("Label2");
  label2_->setGeometry(12, 36, 236, 20);
  button1_ = new QPushButton(QString::fromUtf8("キャンセル"), this);
  button1_->setObjectName("Button1");
  button1_->setGeometry(90, 68, 80, 26);
  connect(button1_, &QPushButton::clicked, this, &TForm15::reject);
}

void TForm15::PlaceAndFill() {
  if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
}

void TForm15::ValuesChanged() {
  const ExchangeState& x = form_.exchange;
  label1_->setText(QString::fromStdString(x.CountdownReason));
  const QString n = QString::number(x.Countdown);
  label2_->setText(form_.app.UseEnglish ? QStringLiteral("Reconnect after ") + n + QStringLiteral(" sec")
                                        : n + QString::fromUtf8("秒後に再接続を行います"));
}

void TForm15::reject() {
  // Cancel, Escape and the close box: no more tries. The link closes the
  // window.
  link_.CountdownCancel();
}
