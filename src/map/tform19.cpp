#include "map/tform19.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/centring.h"
#include "app/form1_state.h"
#include "app/reception_wiring.h"
#include "map/map_redraw.h"
#include "platform/cp932.h"
#include "platform/qt_color.h"
#include "platform/window_stacking.h"

namespace {

const char* const kColourNames[4] = {"先頭色", "プロット", "ハイライト", "影・周囲"};

// Flat, in the colour exactly: the style's bevel would lighten it.
void PaintSwatch(QPushButton* panel, TColor colour) {
  panel->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #404040; }")
                           .arg(platform::ToQColor(colour).name()));
}

// The panel that holds group i's labels and colours.
int GroupPanelNumber(int group) { return group == 0 ? 100 : 8 * group; }

}  // namespace

TForm19::TForm19(Form1State& form, ReceptionWiring& wiring) : SkarvelForm(form, 19), wiring_(wiring) {
  setWindowTitle(QString::fromUtf8("オペレーターカラー設定"));
  auto* rows = new QGridLayout(this);
  for (int i = 0; i < 10; ++i) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
    edit->setMaxLength(2);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("WWW")) + 8);
    edit->setText(platform::Cp932ToQString(form.Color.UserText[static_cast<size_t>(i)]));
    edits_[static_cast<size_t>(i)] = edit;
    rows->addWidget(edit, i, 0);
    auto* group = new QFrame(this);
    group->setObjectName(QStringLiteral("Panel%1").arg(GroupPanelNumber(i)));
    group->setFrameShape(QFrame::StyledPanel);
    auto* line = new QHBoxLayout(group);
    line->setContentsMargins(4, 2, 4, 2);
    for (int j = 1; j <= 4; ++j) {
      auto* label = new QLabel(QString::fromUtf8(kColourNames[j - 1]), group);
      label->setObjectName(QStringLiteral("Label%1").arg(j + 7 * i));
      auto* panel = new QPushButton(group);
      panel->setObjectName(QStringLiteral("Panel%1").arg(8 * i + j));
      panel->setFixedSize(40, 18);
      PaintSwatch(panel, form.Color.UserColor[j - 1][i]);
      panels_[static_cast<size_t>(i)][static_cast<size_t>(j - 1)] = panel;
      line->addWidget(label);
      line->addWidget(panel);
      line->addSpacing(6);
    }
    rows->addWidget(group, i, 1);
  }
  ChooseColour = [this](const QColor& start) { return platform::ChooseColour(start, this); };
  // The handlers come after the controls show the settings.
  for (int i = 0; i < 10; ++i) {
    connect(edits_[static_cast<size_t>(i)], &QLineEdit::textChanged, this, [this, i] { EditChange(i); });
    for (int j = 1; j <= 4; ++j) {
      connect(panels_[static_cast<size_t>(i)][static_cast<size_t>(j - 1)], &QPushButton::clicked, this,
              [this, i, j] { PanelClick(i, j); });
    }
  }
}

QLineEdit* TForm19::Edit(int n) const { return n >= 1 && n <= 10 ? edits_[static_cast<size_t>(n - 1)] : nullptr; }

QPushButton* TForm19::Panel(int n) const {
  const int i = (n - 1) / 8, j = (n - 1) % 8 + 1;
  if (n < 1 || i > 9 || j > 4) return nullptr;
  return panels_[static_cast<size_t>(i)][static_cast<size_t>(j - 1)];
}

void TForm19::EditChange(int group) {
  form_.Color.UserText[static_cast<size_t>(group)] =
      platform::QStringToCp932(edits_[static_cast<size_t>(group)]->text());
  RedrawAircraftViews();
}

void TForm19::PanelClick(int group, int colour) {
  if (!ChooseColour) return;
  TColor& member = form_.Color.UserColor[colour - 1][group];
  const std::optional<QColor> chosen = ChooseColour(platform::ToQColor(member));
  if (!chosen) return;
  member = platform::FromQColor(*chosen);
  PaintSwatch(panels_[static_cast<size_t>(group)][static_cast<size_t>(colour - 1)], member);
  RedrawAircraftViews();
}

void TForm19::RedrawAircraftViews() {
  RequestRedraw(form_.mapView, {MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude});
  wiring_.RunRequestedRedraws();
}

void TForm19::setVisible(bool visible) {
  if (visible && !isVisible()) {
    adjustSize();
    if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint)) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  SkarvelForm::setVisible(visible);
}
