#include "audio/tform9.h"

#include <QLabel>

#include "app/centring.h"

TForm9::TForm9(Form1State& form) : SkarvelForm(form, 9) {
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QString::fromUtf8("録音デバイス変更"));
  setFixedSize(230, 51);
  label1_ = new QLabel(QString::fromUtf8("録音再設定中..."), this);
  label1_->setObjectName("Label1");
  label1_->setGeometry(0, 0, 230, 51);
  label1_->setAlignment(Qt::AlignCenter);
}

void TForm9::PlaceAndFill() {
  if (QWidget* dialog = FindTopLevelWindow("Form8")) CentreOverWindow(*this, *dialog);
}
