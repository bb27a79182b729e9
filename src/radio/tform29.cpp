#include "radio/tform29.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "app/centring.h"
#include "app/form1_state.h"
#include "platform/window_stacking.h"
#include "radio/manual_tuning.h"

namespace {

constexpr int kEnter = 11;
constexpr int kClear = 12;

// Button n's digit: Button1..Button9 are 1..9, Button10 is 0.
int DigitOf(int button) { return button == 10 ? 0 : button; }

}  // namespace

TForm29::TForm29(Form1State& form, FrequencyListLink& tuner) : SkarvelForm(form, 29), tuner_(tuner) {
  setWindowTitle(QString::fromUtf8("周波数手動入力"));
  setFixedSize(172, 248);
  platform::SetStayOnTop(this, true);
  for (int n = 1; n <= 3; ++n) {
    labels_[static_cast<size_t>(n)] = new QLabel(this);
    labels_[static_cast<size_t>(n)]->setObjectName(QStringLiteral("Label%1").arg(n));
  }
  QLabel* display = labels_[1];
  display->setGeometry(8, 8, 118, 36);
  display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  display->setAutoFillBackground(true);
  display->setStyleSheet("QLabel { background: black; color: white; font-size: 24px; font-weight: bold; }");
  labels_[2]->setText("kHz");
  labels_[2]->setGeometry(132, 18, 32, 20);
  labels_[3]->setGeometry(8, 48, 60, 16);
  // Rows 7 8 9 / 4 5 6 / 1 2 3 / 0 CE ENT.
  const int layout[12] = {7, 8, 9, 4, 5, 6, 1, 2, 3, 10, kClear, kEnter};
  for (int i = 0; i < 12; ++i) {
    const int n = layout[i];
    const QString caption = n == kEnter ? "ENT" : n == kClear ? "CE" : QString::number(DigitOf(n));
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QStringLiteral("Button%1").arg(n));
    button->setGeometry(8 + 54 * (i % 3), 70 + 44 * (i / 3), 48, 38);
    // The keys go to the form, never to a button.
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    buttons_[static_cast<size_t>(n)] = button;
    connect(button, &QPushButton::clicked, this, [this, n] {
      if (n == kEnter) {
        PressKeypadEnter(form_.radio, form_.Radio, tuner_);
      } else if (n == kClear) {
        PressKeypadClear(form_.radio);
      } else {
        PressKeypadDigit(form_.radio, form_.Radio, tuner_, DigitOf(n));
      }
      ShowDisplay();
    });
  }
  setFocusPolicy(Qt::StrongFocus);
}

void TForm29::OpenFor(int channel) {
  OpenKeypad(form_.radio, form_.Radio, channel);
  ShowDisplay();
  show();
  raise();
  activateWindow();
}

void TForm29::ShowDisplay() {
  labels_[1]->setText(QString::fromLatin1(KeypadDisplay(form_.radio).c_str()));
  labels_[3]->setText(form_.radio.KeypadChannel == 1 ? "Rch" : "Lch");
}

void TForm29::PlaceAndFill() {
  if (QWidget* settings = platform::FindTopLevelWindow("Form24")) CentreOverWindow(*this, *settings);
}

void TForm29::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      e->accept();
      return;
    default:
      SkarvelForm::keyPressEvent(e);
  }
}

void TForm29::keyReleaseEvent(QKeyEvent* e) {
  if (e->isAutoRepeat()) return;
  const int key = e->key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    const int digit = key - Qt::Key_0;
    buttons_[static_cast<size_t>(digit == 0 ? 10 : digit)]->click();
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    buttons_[kEnter]->click();
  } else if (key == Qt::Key_Escape) {
    buttons_[kClear]->click();
  }
}
