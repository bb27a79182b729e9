#include "exchange/tform13.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "app/centring.h"
#include "app/form1_state.h"
#include "exchange/peer_link.h"

namespace {

QLabel* MakeLabel(QWidget* parent, int number, const char* text, int left, int top, int width) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QStringLiteral("Label%1").arg(number));
  label->setGeometry(left, top, width, 16);
  return label;
}

}  // namespace

TForm13::TForm13(Form1State& form, PeerLink& link) : SkarvelForm(form, 13), link_(link) {
  setWindowTitle(QString::fromUtf8("パケット状態測定"));
  // Shown, it stays on top.
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  // The Part's client area; the packet test lies to its right, reached by
  // widening the window.
  resize(171, 125);
  auto* status = new QGroupBox(QString::fromUtf8("パケット状態"), this);
  status->setObjectName("GroupBox1");
  status->setGeometry(4, 2, 163, 45);
  MakeLabel(status, 1, "送信パケット数", 6, 14, 90);
  MakeLabel(status, 10, "受信パケット数", 6, 28, 90);
  values_[11] = MakeLabel(status, 11, "0", 100, 14, 58);
  values_[12] = MakeLabel(status, 12, "0", 100, 28, 58);
  auto* client = new QGroupBox(QStringLiteral("Client Send"), this);
  client->setObjectName("GroupBox2");
  client->setGeometry(4, 49, 163, 36);
  MakeLabel(client, 6, "Blocked", 4, 16, 56);
  values_[2] = MakeLabel(client, 2, "0", 62, 16, 28);
  MakeLabel(client, 7, "Error", 92, 16, 34);
  values_[3] = MakeLabel(client, 3, "0", 128, 16, 32);
  auto* server = new QGroupBox(QStringLiteral("Server Send"), this);
  server->setObjectName("GroupBox3");
  server->setGeometry(4, 87, 163, 36);
  MakeLabel(server, 8, "Blocked", 4, 16, 56);
  values_[4] = MakeLabel(server, 4, "0", 62, 16, 28);
  MakeLabel(server, 9, "Error", 92, 16, 34);
  values_[5] = MakeLabel(server, 5, "0", 128, 16, 32);
  speedButton1_ = new QToolButton(this);
  speedButton1_->setObjectName("SpeedButton1");
  speedButton1_->setText(QStringLiteral("TEST TX"));
  speedButton1_->setCheckable(true);
  speedButton1_->setGeometry(176, 8, 64, 24);
  edit1_ = new QLineEdit(QStringLiteral("200"), this);
  edit1_->setObjectName("Edit1");
  edit1_->setGeometry(176, 38, 40, 22);
  QLabel* unit = MakeLabel(this, 13, "msec", 220, 41, 30);
  unit->resize(std::max(unit->width(), unit->sizeHint().width()), unit->height());
  connect(speedButton1_, &QToolButton::clicked, this, &TForm13::SpeedButton1Click);
  if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
}

QLabel* TForm13::Value(int labelNumber) const {
  return labelNumber >= 0 && labelNumber < 13 ? values_[labelNumber] : nullptr;
}

void TForm13::PlaceAndFill() {
  if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
}

void TForm13::showEvent(QShowEvent* e) {
  ValuesChanged();
  SkarvelForm::showEvent(e);
}

void TForm13::ValuesChanged() {
  const PacketCounters& c = form_.exchange.Packets;
  const std::pair<int, int32_t> shown[] = {{11, c.SentPackets},  {12, c.ReceivedPackets}, {2, c.ClientBlocked},
                                           {3, c.ClientErrors},  {4, c.ServerBlocked},    {5, c.ServerErrors}};
  for (const auto& [label, value] : shown) values_[label]->setText(QString::number(value));
}

void TForm13::SpeedButton1Click() {
  if (!speedButton1_->isChecked()) return link_.StopPacketTest();
  // An interval that is not a whole number of at least 1 ms starts nothing.
  if (!link_.StartPacketTest(edit1_->text().toStdString())) {
    QApplication::beep();
    speedButton1_->setChecked(false);
  }
}
