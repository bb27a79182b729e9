#include "exchange/tform16.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/centring.h"
#include "app/form1_state.h"
#include "exchange/log_import.h"

namespace {

constexpr int kBlinkMs = 200;

}  // namespace

TForm16::TForm16(Form1State& form, LogImport& import) : SkarvelForm(form, 16), import_(import) {
  setWindowTitle(QString::fromUtf8("RAWデータ取り込み中"));
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  setFixedSize(220, 78);
  label1_ = new QLabel(QString::fromUtf8("取り込み中..."), this);
  label1_->setObjectName("Label1");
  label1_->setGeometry(16, 12, 188, 20);
  button1_ = new QPushButton(QString::fromUtf8("キャンセル"), this);
  button1_->setObjectName("Button1");
  button1_->setGeometry(70, 42, 80, 26);
  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(kBlinkMs);
  connect(timer1_, &QTimer::timeout, this, [this] { label1_->setVisible(!label1_->isVisible()); });
  connect(button1_, &QPushButton::clicked, this, [this] { import_.Cancel(); });
}

void TForm16::ValuesChanged() {
  setWindowTitle(import_.Kind() == LogKind::Dat ? QStringLiteral("Importing DAT data...")
                                                : QStringLiteral("Importing RAW data..."));
}

void TForm16::PlaceAndFill() {
  if (QWidget* main = FindTopLevelWindow("Form1")) move(main->x() + 10, main->y() + 60);
}

void TForm16::showEvent(QShowEvent* e) {
  label1_->show();
  timer1_->start();
  SkarvelForm::showEvent(e);
}

void TForm16::hideEvent(QHideEvent* e) {
  timer1_->stop();
  SkarvelForm::hideEvent(e);
}
