#include "radio/tform20.h"

#include <QHeaderView>
#include <QShowEvent>
#include <QTreeWidget>
#include <algorithm>

#include "app/form1_state.h"
#include "platform/cp932.h"
#include "platform/item_frames.h"
#include "platform/text_room.h"
#include "platform/window_stacking.h"
#include "radio/frequency_list.h"

namespace {

struct Column {
  const char* caption;
  int width;
};
constexpr Column kColumns[5] = {
    {"Ground Station Name", 200}, {"Checked Time", 80}, {"Frequency1", 80}, {"Frequency2", 80}, {"Frequency3", 80}};

}  // namespace

TForm20::TForm20(Form1State& form, FrequencyListLink& tuner) : SkarvelForm(form, 20), tuner_(tuner) {
  setWindowTitle(QString::fromUtf8("HFDL使用周波数リスト"));
  setFixedSize(540, 360);
  listView1_ = new QTreeWidget(this);
  listView1_->setObjectName("ListView1");
  listView1_->setGeometry(8, 8, 524, 344);
  listView1_->setRootIsDecorated(false);
  listView1_->setUniformRowHeights(true);
  listView1_->setSelectionBehavior(QAbstractItemView::SelectRows);
  listView1_->setColumnCount(5);
  QStringList captions;
  for (const Column& c : kColumns) captions << QString::fromLatin1(c.caption);
  listView1_->setHeaderLabels(captions);
  for (int c = 0; c < 5; ++c) listView1_->setColumnWidth(c, kColumns[c].width);
  listView1_->header()->setSectionsClickable(false);
  listView1_->header()->setStretchLastSection(false);
  platform::FrameItems(*listView1_);
  platform::SetStayOnTop(this, true);
  SyncFrequencyRows(form.radio, form.hfdl);
  ShowRows();
  WidenColumns();
  form.radio.RowsChanged = [this] { ShowRows(); };
  form.radio.CaptionChanged = [this] { setWindowTitle(QString::fromLatin1(form_.radio.FreqListCaption.c_str())); };
}

TForm20::~TForm20() {
  form_.radio.RowsChanged = nullptr;
  form_.radio.CaptionChanged = nullptr;
}

void TForm20::showEvent(QShowEvent* e) {
  SkarvelForm::showEvent(e);
  if (!e->spontaneous()) RefreshFrequencies(form_.radio, form_.Radio, form_.hfdl, tuner_);
}

// The designed widths are the least a column gets: each shows its caption,
// any station's name, a time and a frequency whole, and the window grows to
// show every column.
void TForm20::WidenColumns() {
  QStringList names;
  for (const std::string& name : form_.hfdl.GsNames) names << platform::Cp932ToQString(name);
  const QStringList frequency{"-", "00000kHz"};
  const QStringList cells[5] = {names, {"--:--:--", "00:00:00"}, frequency, frequency, frequency};
  int width = 2 * listView1_->frameWidth();
  for (int c = 0; c < 5; ++c) {
    platform::WidenColumn(*listView1_, *listView1_->header(), c, cells[c]);
    width += listView1_->columnWidth(c);
  }
  const int grow = std::max(0, width - listView1_->width());
  listView1_->resize(listView1_->width() + grow, listView1_->height());
  setFixedSize(this->width() + grow, height());
}

void TForm20::ShowRows() {
  const std::vector<FrequencyRow>& rows = form_.radio.FrequencyRows;
  while (listView1_->topLevelItemCount() > static_cast<int>(rows.size())) delete listView1_->takeTopLevelItem(0);
  while (listView1_->topLevelItemCount() < static_cast<int>(rows.size()))
    listView1_->addTopLevelItem(new QTreeWidgetItem());
  for (size_t r = 0; r < rows.size(); ++r) {
    QTreeWidgetItem* item = listView1_->topLevelItem(static_cast<int>(r));
    item->setText(0, platform::Cp932ToQString(rows[r].name));
    item->setText(1, QString::fromLatin1(rows[r].checkedTime.c_str()));
    for (int k = 0; k < 3; ++k) item->setText(2 + k, QString::fromLatin1(rows[r].frequencies[k].c_str()));
  }
}
