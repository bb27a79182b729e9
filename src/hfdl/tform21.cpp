#include "hfdl/tform21.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "app/form1_state.h"
#include "platform/cp932.h"
#include "platform/item_frames.h"
#include "platform/text_room.h"

namespace {

struct Column {
  const char* caption;
  int width;
};
constexpr Column kColumns[7] = {{"ID", 30}, {"GS", 30},        {"ICAO24", 50}, {"Reg.No", 60},
                                {"LT", 30}, {"Aircraft", 100}, {"Souce", 80}};

}  // namespace

TForm21::TForm21(Form1State& form) : SkarvelForm(form, 21) {
  setWindowTitle(QString::fromUtf8("HFDL機体登録番号管理状況"));
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  listView1_ = new QTreeWidget(this);
  listView1_->setObjectName("ListView1");
  listView1_->setRootIsDecorated(false);
  listView1_->setUniformRowHeights(true);
  listView1_->setColumnCount(7);
  QStringList captions;
  for (const Column& c : kColumns) captions << QString::fromLatin1(c.caption);
  listView1_->setHeaderLabels(captions);
  for (int c = 0; c < 7; ++c) listView1_->setColumnWidth(c, kColumns[c].width);
  listView1_->header()->setSectionsClickable(false);
  listView1_->header()->setStretchLastSection(false);
  platform::FrameItems(*listView1_);
  WidenColumns();
  listView1_->move(8, 8);
  listView1_->resize(std::max(0, width() - 29), std::max(0, height() - 50));
  for (size_t r = 0; r < form.hfdl.HfdlRegistrations.Rows.size(); ++r) ShowRow(static_cast<int>(r));
  form.hfdl.HfdlRegistrations.Changed = [this](int row) { ShowRow(row); };
}

// The designed widths are the least a column gets: each shows its caption
// and the widest text of its kind whole (an address of six hex digits, an
// operator code of three capitals).
void TForm21::WidenColumns() {
  const QString hex = QStringLiteral("0123456789ABCDEF");
  const QStringList cells[7] = {platform::EachRepeated(hex, 2),
                                {"127"},  // a seven-bit ground station id
                                platform::EachRepeated(hex, 6) << "------",
                                {"NO DATA"},
                                platform::EachRepeated(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), 3) << "---",
                                {"NO DATA"},
                                {"HFDL", "ACARS"}};
  for (int c = 0; c < 7; ++c) platform::WidenColumn(*listView1_, *listView1_->header(), c, cells[c]);
}

TForm21::~TForm21() { form_.hfdl.HfdlRegistrations.Changed = nullptr; }

void TForm21::ShowRow(int row) {
  const auto& rows = form_.hfdl.HfdlRegistrations.Rows;
  if (row < 0) {
    listView1_->clear();
    return;
  }
  if (row >= static_cast<int>(rows.size())) return;
  while (listView1_->topLevelItemCount() <= row) listView1_->addTopLevelItem(new QTreeWidgetItem());
  const HfdlRegistrationRow& r = rows[static_cast<size_t>(row)];
  const std::string* texts[7] = {&r.Id, &r.Gs, &r.Icao24, &r.RegNo, &r.Lt, &r.Aircraft, &r.Souce};
  QTreeWidgetItem* item = listView1_->topLevelItem(row);
  for (int c = 0; c < 7; ++c) item->setText(c, platform::Cp932ToQString(*texts[c]));
}

void TForm21::resizeEvent(QResizeEvent* e) {
  SkarvelForm::resizeEvent(e);
  listView1_->resize(std::max(0, width() - 29), std::max(0, height() - 50));
}
