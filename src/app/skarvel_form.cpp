#include "app/skarvel_form.h"

#include <QShowEvent>

#include "app/centring.h"
#include "app/form1_state.h"
#include "platform/message_box.h"
#include "platform/window_stacking.h"

namespace {

// The settings members that hold each dialog's position and size.
struct GeometryMembers {
  int number;
  StateField<int32_t> top;
  StateField<int32_t> left;
  StateField<int32_t> width;
  StateField<int32_t> height;
};

constexpr GeometryMembers kGeometry[] = {
    {2, STATE_FIELD(Pos.PlaneTop), STATE_FIELD(Pos.PlaneLeft), nullptr, nullptr},
    {5, STATE_FIELD(Pos.ListTop), STATE_FIELD(Pos.ListLeft), STATE_FIELD(Form.ListWidth), STATE_FIELD(Form.ListHeight)},
    {10, STATE_FIELD(Pos.TextTop), STATE_FIELD(Pos.TextLeft), STATE_FIELD(Form.TextWidth), STATE_FIELD(Form.TextHeight)},
    {17, STATE_FIELD(Pos.InfoTop), STATE_FIELD(Pos.InfoLeft), nullptr, nullptr},
    {20, STATE_FIELD(Form.FreqTop), STATE_FIELD(Form.FreqLeft), nullptr, nullptr},
    {21, STATE_FIELD(Form.ICAOTop), STATE_FIELD(Form.ICAOLeft), STATE_FIELD(Form.ICAOWidth), STATE_FIELD(Form.ICAOHeight)},
    {22, STATE_FIELD(Form.RecvTop), STATE_FIELD(Form.RecvLeft), nullptr, nullptr},
    {23, STATE_FIELD(Form.SystemTop), STATE_FIELD(Form.SystemLeft), nullptr, nullptr},
    {24, STATE_FIELD(Form.RadioTop), STATE_FIELD(Form.RadioLeft), nullptr, nullptr},
    {25, STATE_FIELD(Form.FreqSetTop), STATE_FIELD(Form.FreqSetLeft), nullptr, nullptr},
    {26, STATE_FIELD(Form.SelCallTop), STATE_FIELD(Form.SelCallLeft), nullptr, nullptr},
    {28, STATE_FIELD(Form.MesgSrchTop), STATE_FIELD(Form.MesgSrchLeft), nullptr, nullptr},
};

const GeometryMembers* GeometryOf(int number) {
  for (const GeometryMembers& g : kGeometry) {
    if (g.number == number) return &g;
  }
  return nullptr;
}

}  // namespace

SkarvelForm::SkarvelForm(Form1State& form, int number, QWidget* parent)
    : QDialog(parent), form_(form), number_(number) {
  setObjectName(QStringLiteral("Form%1").arg(number));
  setWindowTitle(QStringLiteral("Form%1").arg(number));
  if (const GeometryMembers* g = GeometryOf(number)) {
    if (g->width) resize(g->width(form), g->height(form));
    move(g->left(form), g->top(form));
  }
}

void SkarvelForm::setVisible(bool visible) {
  if (visible && !isVisible()) {
    platform::KeepModalInSight(*this, isModal());
    FitToScreenBeforeShow(*this);
  }
  QDialog::setVisible(visible);
}

void SkarvelForm::showEvent(QShowEvent* e) {
  if (!e->spontaneous()) PlaceAndFill();
  QDialog::showEvent(e);
  if (e->spontaneous()) return;
  FitToScreen(*this);
  // Without a window manager the fit above waits for a frame that never
  // comes, and a dialog that centres itself as it shows may land off the
  // screen.
  if (isModal()) platform::KeepModalOnScreen(*this, FindTopLevelWindow("Form1"));
}

void SkarvelForm::CaptureGeometry() {
  const GeometryMembers* g = GeometryOf(number_);
  if (!g) return;
  g->top(form_) = pos().y();
  g->left(form_) = pos().x();
  if (g->width) {
    g->width(form_) = width();
    g->height(form_) = height();
  }
}
