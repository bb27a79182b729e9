#include "app/tform31.h"

#include <QPushButton>
#include <QRadioButton>

#include "app/button_pictures.h"
#include "app/centring.h"
#include "app/click_label.h"
#include "app/form1_state.h"

TForm31::TForm31(Form1State& form) : SkarvelForm(form, 31) {
  setWindowTitle(QStringLiteral("Skarvel "));
  setFixedSize(202, 142);
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(240, 240, 240));
  setPalette(background);

  auto addImage = [this](int number, const QRect& geometry, const QPixmap& picture) {
    auto* image = new ClickLabel(this);
    image->setObjectName(QStringLiteral("Image%1").arg(number));
    image->setGeometry(geometry);
    image->setPixmap(picture);
    images_[number - 1] = image;
    return image;
  };
  addImage(3, QRect(32, 8, 145, 30),
           TextPicture({QStringLiteral("Select your language"), QString::fromUtf8("使用言語を選んでください")}, 145,
                       30, 11));
  radio1_ = new QRadioButton(this);
  radio1_->setObjectName("RadioButton1");
  radio1_->setGeometry(64, 52, 17, 17);
  radio1_->setChecked(true);
  addImage(1, QRect(87, 52, 42, 17), TextPicture({QStringLiteral("English")}, 42, 17, 12));
  radio2_ = new QRadioButton(this);
  radio2_->setObjectName("RadioButton2");
  radio2_->setGeometry(64, 75, 17, 17);
  addImage(2, QRect(87, 75, 42, 17), TextPicture({QString::fromUtf8("日本語")}, 42, 17, 12));
  button1_ = new QPushButton(QStringLiteral("OK"), this);
  button1_->setObjectName("Button1");
  button1_->setGeometry(56, 106, 97, 25);
  button1_->setDefault(true);

  connect(images_[0], &ClickLabel::Clicked, this, &TForm31::Image1Click);
  connect(images_[1], &ClickLabel::Clicked, this, &TForm31::Image2Click);
  connect(button1_, &QPushButton::clicked, this, &TForm31::Button1Click);

  form.app.UseEnglish = 1;
}

void TForm31::Image1Click() {
  radio1_->setChecked(true);
  radio2_->setChecked(false);
}

void TForm31::Image2Click() {
  radio1_->setChecked(false);
  radio2_->setChecked(true);
}

void TForm31::Button1Click() {
  form_.app.UseEnglish = radio1_->isChecked() ? 1 : 0;
  accept();
}

void TForm31::PlaceAndFill() { CentreOnScreen(*this); }
