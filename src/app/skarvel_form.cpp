#include "app/skarvel_form.h"

#include "app/form1_state.h"

namespace {

// The settings members that hold each dialog's position and size.
struct GeometryMembers {
  int number;
  int32_t Form1State::*top;
  int32_t Form1State::*left;
  int32_t Form1State::*width;
  int32_t Form1State::*height;
};

constexpr GeometryMembers kGeometry[] = {
    {2, &Form1State::PlaneTop, &Form1State::PlaneLeft, nullptr, nullptr},
    {5, &Form1State::ListTop, &Form1State::ListLeft, &Form1State::ListWidth, &Form1State::ListHeight},
    {10, &Form1State::TextTop, &Form1State::TextLeft, &Form1State::TextWidth, &Form1State::TextHeight},
    {17, &Form1State::InfoTop, &Form1State::InfoLeft, nullptr, nullptr},
    {20, &Form1State::FreqTop, &Form1State::FreqLeft, nullptr, nullptr},
    {21, &Form1State::ICAOTop, &Form1State::ICAOLeft, &Form1State::ICAOWidth, &Form1State::ICAOHeight},
    {22, &Form1State::RecvTop, &Form1State::RecvLeft, nullptr, nullptr},
    {23, &Form1State::SystemTop, &Form1State::SystemLeft, nullptr, nullptr},
    {24, &Form1State::RadioTop, &Form1State::RadioLeft, nullptr, nullptr},
    {25, &Form1State::FreqSetTop, &Form1State::FreqSetLeft, nullptr, nullptr},
    {26, &Form1State::SelCallTop, &Form1State::SelCallLeft, nullptr, nullptr},
    {28, &Form1State::MesgSrchTop, &Form1State::MesgSrchLeft, nullptr, nullptr},
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
    if (g->width) resize(form.*(g->width), form.*(g->height));
    move(form.*(g->left), form.*(g->top));
  }
}

void SkarvelForm::CaptureGeometry() {
  const GeometryMembers* g = GeometryOf(number_);
  if (!g) return;
  form_.*(g->top) = pos().y();
  form_.*(g->left) = pos().x();
  if (g->width) {
    form_.*(g->width) = width();
    form_.*(g->height) = height();
  }
}
