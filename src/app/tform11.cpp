#include "app/tform11.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "app/button_pictures.h"
#include "app/centring.h"
#include "app/click_label.h"
#include "app/form1_state.h"
#include "app/version.h"
#include "platform/shell_open.h"
#include "platform/web_addresses.h"

namespace {

QFont Tahoma(int pixelSize) {
  // Usually missing here; the font matcher then picks a sans-serif.
  QFont f(QStringLiteral("Tahoma"));
  f.setPixelSize(pixelSize);
  return f;
}

}  // namespace

TForm11::TForm11(Form1State& form) : SkarvelForm(form, 11) {
  setWindowTitle(QStringLiteral("Skarvel"));
  setFixedSize(272, 302);

  auto* icon = new QLabel(this);
  icon->setObjectName("Image1");
  icon->setGeometry(16, 16, 32, 32);
  icon->setPixmap(ProgramIconPicture(32));
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(64, 8, 202, 52);
  auto* logo = new QLabel(panel);
  logo->setObjectName("Image2");
  logo->setGeometry(1, 1, 200, 50);
  logo->setPixmap(LogoPicture(200, 50));

  auto addLabel = [this](int number, QLabel* label, const QRect& geometry, Qt::Alignment alignment, int pixelSize) {
    label->setParent(this);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setFont(Tahoma(pixelSize));
    labels_[number] = label;
  };
  addLabel(1, new QLabel, QRect(64, 64, 200, 18), Qt::AlignRight, 15);
  addLabel(5, new QLabel(QStringLiteral("build 003")), QRect(65, 81, 199, 14), Qt::AlignRight, 12);
  addLabel(8, new QLabel, QRect(65, 137, 199, 14), Qt::AlignRight, 12);
  addLabel(4, new QLabel(QStringLiteral("Skarvel Web Site")), QRect(8, 225, 256, 14), Qt::AlignHCenter, 13);
  auto* link = new ClickLabel(QString::fromLatin1(kJapaneseSiteUrl));
  addLabel(3, link, QRect(8, 243, 256, 13), Qt::AlignHCenter, 11);
  QFont underlined = link->font();
  underlined.setUnderline(true);
  link->setFont(underlined);
  QPalette blue = link->palette();
  blue.setColor(QPalette::WindowText, Qt::blue);
  link->setPalette(blue);
  link->setCursor(Qt::PointingHandCursor);
  connect(link, &ClickLabel::Clicked, this, [this] { Label3Click(); });

  button1_ = new QPushButton(QString::fromUtf8("閉じる"), this);
  button1_->setObjectName("Button1");
  button1_->setGeometry(95, 270, 89, 25);
  button1_->setDefault(true);
  connect(button1_, &QPushButton::clicked, this, &QDialog::accept);

  labels_[1]->setText(QStringLiteral("Skarvel version ") + QString::fromLatin1(kSkarvelVersion));
}

QLabel* TForm11::Label(int n) const { return n >= 1 && n <= 8 ? labels_[n] : nullptr; }

void TForm11::Label3Click() { platform::ShellOpenUrl(form_.app.UseEnglish ? kEnglishSiteUrl : kJapaneseSiteUrl); }

void TForm11::PlaceAndFill() {
  if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
  for (QWidget* w : {static_cast<QWidget*>(labels_[4]), static_cast<QWidget*>(labels_[3]),
                     static_cast<QWidget*>(button1_)}) {
    w->move(width() / 2 - w->width() / 2, w->y());
  }
  labels_[8]->setText(QStringLiteral("HFDL system table version : %1").arg(form_.hfdl.SystemVer));
}
