#include "exchange/colour_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "aircraft/tform5.h"
#include "app/form1_state.h"
#include "exchange/text_window.h"
#include "platform/qt_color.h"
#include "platform/window_stacking.h"

namespace {

void PaintSwatch(QPushButton* panel, TColor colour) {
  panel->setStyleSheet(QStringLiteral("background-color: %1;").arg(platform::ToQColor(colour).name()));
}

}  // namespace

TForm18::TForm18(Form1State& form) : SkarvelForm(form, 18) {
  setWindowTitle(QString::fromUtf8("色設定"));
  auto* grid = new QGridLayout(this);
  label1_ = new QLabel(QString::fromUtf8("文字色"), this);
  label1_->setObjectName("Label1");
  label2_ = new QLabel(QString::fromUtf8("バックグランド"), this);
  label2_->setObjectName("Label2");
  panel1_ = new QPushButton(this);
  panel1_->setObjectName("Panel1");
  panel2_ = new QPushButton(this);
  panel2_->setObjectName("Panel2");
  for (QPushButton* p : {panel1_, panel2_}) p->setMinimumSize(60, 24);
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("Button3");
  cancel_ = new QPushButton(QString::fromUtf8("キャンセル"), this);
  cancel_->setObjectName("Button4");
  grid->addWidget(label1_, 0, 0);
  grid->addWidget(panel1_, 0, 1);
  grid->addWidget(label2_, 1, 0);
  grid->addWidget(panel2_, 1, 1);
  grid->addWidget(ok_, 2, 0);
  grid->addWidget(cancel_, 2, 1);

  ChooseColour = [this](const QColor& start) { return platform::ChooseColour(start, this); };
  connect(panel1_, &QPushButton::clicked, this, [this] { Pick(pendingText_); });
  connect(panel2_, &QPushButton::clicked, this, [this] { Pick(pendingBack_); });
  connect(ok_, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void TForm18::setVisible(bool visible) {
  if (visible && !isVisible()) {
    const bool list = form_.controls.ColorDialogTarget != 0;
    pendingBack_ = list ? form_.Color.ListBack : form_.Color.TextBack;
    pendingText_ = list ? form_.Color.ListText : form_.Color.TextText;
    ShowPending();
    if (QWidget* over = platform::FindTopLevelWindow(list ? "Form5" : "Form10")) {
      adjustSize();
      const QRect r = over->frameGeometry();
      move(r.left() + r.width() / 2 - width() / 2, r.top() + r.height() / 2 - height() / 2);
    }
  }
  SkarvelForm::setVisible(visible);
}

void TForm18::ShowPending() {
  PaintSwatch(panel1_, pendingText_);
  PaintSwatch(panel2_, pendingBack_);
}

void TForm18::Pick(TColor& pending) {
  if (!ChooseColour) return;
  std::optional<QColor> c = ChooseColour(platform::ToQColor(pending));
  if (!c) return;
  pending = platform::FromQColor(*c);
  ShowPending();
}

void TForm18::Button3Click() {
  if (form_.controls.ColorDialogTarget != 0) {
    form_.Color.ListBack = pendingBack_;
    form_.Color.ListText = pendingText_;
    if (auto* w = qobject_cast<TForm5*>(platform::FindTopLevelWindow("Form5"))) w->ApplyListColours();
  } else {
    form_.Color.TextBack = pendingBack_;
    form_.Color.TextText = pendingText_;
    if (auto* w = qobject_cast<TForm10*>(platform::FindTopLevelWindow("Form10"))) w->ApplyColours();
  }
  accept();
}
