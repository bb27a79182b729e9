#include "selcal/tform26.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "app/form1_state.h"
#include "app/reception_wiring.h"
#include "app/selcal_wiring.h"
#include "platform/window_stacking.h"
#include "selcal/selcal_panel.h"
#include "selcal/selcal_tables.h"

namespace {

// The seconds of the timed monitor: a click of either button changes them.
class SecondsLabel : public QLabel {
 public:
  SecondsLabel(QWidget* parent, std::function<void(Qt::MouseButton)> released)
      : QLabel(parent), released_(std::move(released)) {}

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override { released_(e->button()); }

 private:
  std::function<void(Qt::MouseButton)> released_;
};

PanelMouseButton PanelButton(Qt::MouseButton b) {
  if (b == Qt::LeftButton) return PanelMouseButton::Left;
  if (b == Qt::RightButton) return PanelMouseButton::Right;
  return PanelMouseButton::Other;
}

QFrame* SunkenPanel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setGeometry(geometry);
  return frame;
}

}  // namespace

TForm26::TForm26(Form1State& form, ReceptionWiring& wiring)
    : SkarvelForm(form, 26), wiring_(wiring), panel_(wiring.Selcal().Panel()) {
  setWindowTitle(QString::fromUtf8("セルコール操作画面"));
  // The window was designed around a picture 200 pixels wide; a wider one
  // (the large code in this system's font) widens the buttons below it in
  // step.
  const int picture = SelcalPictureWidth();
  auto across = [picture](int x) { return x * picture / 200; };
  auto place = [across](QWidget* w, const QRect& designed) {
    const int left = across(designed.left()), right = across(designed.left() + designed.width());
    w->setGeometry(left, designed.top(), right - left, designed.height());
  };
  setFixedSize(picture + 12, 333);

  QFrame* panel1 = SunkenPanel(this, "Panel1", QRect(4, 4, picture + 4, 137));
  image1_ = new QLabel(panel1);
  image1_->setObjectName("Image1");
  image1_->setGeometry(2, 2, picture, 133);

  QFrame* panel2 = SunkenPanel(this, "Panel2", QRect(4, 145, picture + 4, 184));
  auto addToggle = [this, panel2, place](int n, const char* caption, const QRect& designed,
                                         void (SelcalPanel::*click)(bool)) {
    auto* button = new QToolButton(panel2);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(n));
    button->setText(QString::fromLatin1(caption));
    button->setCheckable(true);
    place(button, designed);
    connect(button, &QToolButton::clicked, this, [this, click](bool down) {
      (panel_.*click)(down);
      Done();
    });
    speedButtons_[n - 1] = button;
  };
  addToggle(1, "BEL", QRect(2, 2, 48, 22), &SelcalPanel::SpeedButton1Click);
  addToggle(3, "RDO", QRect(50, 2, 48, 22), &SelcalPanel::SpeedButton3Click);
  addToggle(7, "TIME MONI", QRect(98, 2, 102, 22), &SelcalPanel::SpeedButton7Click);
  addToggle(2, "MONI", QRect(100, 26, 50, 22), &SelcalPanel::SpeedButton2Click);
  addToggle(4, "3D", QRect(150, 26, 50, 22), &SelcalPanel::SpeedButton4Click);
  addToggle(5, "NR", QRect(100, 50, 50, 22), &SelcalPanel::SpeedButton5Click);
  addToggle(6, "AN", QRect(150, 50, 50, 22), &SelcalPanel::SpeedButton6Click);

  panel3_ = new SecondsLabel(panel2, [this](Qt::MouseButton b) {
    panel_.Panel3MouseUp(PanelButton(b));
    Done();
  });
  panel3_->setObjectName("Panel3");
  place(panel3_, QRect(2, 26, 96, 46));
  panel3_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel3_->setAlignment(Qt::AlignCenter);
  QFont digits = panel3_->font();
  digits.setPixelSize(28);
  digits.setBold(true);
  panel3_->setFont(digits);

  for (int k = 0; k < 16; ++k) {
    auto* key = new QPushButton(QString(QChar::fromLatin1(SelcalLetters[static_cast<size_t>(k)])), panel2);
    key->setObjectName(QStringLiteral("Button%1").arg(k + 1));
    place(key, QRect(2 + 50 * (k % 4), 76 + 26 * (k / 4), 48, 24));
    connect(key, &QPushButton::clicked, this, [this, k] {
      panel_.ButtonClick(k);
      Done();
    });
    keys_[k] = key;
  }

  panel_.Changed = [this] { Refresh(); };
  panel_.Construct();
}

TForm26::~TForm26() { panel_.Changed = nullptr; }

void TForm26::setVisible(bool visible) {
  const bool showing = visible && !isVisible();
  if (showing) platform::SetStayOnTop(this, true);
  SkarvelForm::setVisible(visible);
  if (!showing) return;
  panel_.FormShow();
  Done();
}

void TForm26::Refresh() {
  panel_.State().PanelBitmap.Show(image1_);
  const FormSettings& s = panel_.Settings();
  const bool down[7] = {s.SelCallBel != 0, panel_.MoniDown(), s.SelCallRdo != 0, s.SelCall3D != 0,
                        s.SelCallNR != 0,  s.SelCallAN != 0,  s.TimeMoni != 0};
  for (int n = 0; n < 7; ++n) {
    QSignalBlocker block(speedButtons_[n]);
    speedButtons_[n]->setChecked(down[n]);
  }
  panel3_->setText(QString::number(s.TimeMoniSec));
}

void TForm26::Done() { wiring_.RunRequestedRedraws(); }
