#include "hfdl/tform22.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

#include "app/form1_state.h"
#include "platform/item_frames.h"

TForm22::TForm22(Form1State& form) : SkarvelForm(form, 22) {
  setWindowTitle(QString::fromUtf8("データ受信状況"));
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  setFixedSize(354, 186);
  listView1_ = new QTreeWidget(this);
  listView1_->setObjectName("ListView1");
  listView1_->setGeometry(8, 8, 337, 170);
  listView1_->setRootIsDecorated(false);
  listView1_->setUniformRowHeights(true);
  listView1_->setHeaderLabels({"Data Type", "Received", "Error", "Ratio"});
  const int widths[4] = {150, 60, 60, 60};
  for (int c = 0; c < 4; ++c) listView1_->setColumnWidth(c, widths[c]);
  listView1_->header()->setSectionsClickable(false);
  listView1_->header()->setStretchLastSection(false);
  platform::FrameItems(*listView1_);
  for (int r = 0; r < ReceptionStats::kRows; ++r) listView1_->addTopLevelItem(new QTreeWidgetItem());
  ShowCounts();
  FitToRows(widths);
  form.hfdl.HfdlReceptionStats.Changed = [this] { ShowCounts(); };
}

void TForm22::FitToRows(const int (&widths)[4]) {
  // With the fonts here the designed size cuts the last rows, and their
  // scroll bar the Ratio column: grow to show every row and column whole.
  const QAbstractItemView& view = *listView1_;
  const int frame = 2 * listView1_->frameWidth();
  int w = frame;
  for (int c = 0; c < 4; ++c) {
    const int need = std::max({widths[c], view.sizeHintForColumn(c), listView1_->header()->sectionSizeHint(c)});
    listView1_->setColumnWidth(c, need);
    w += need;
  }
  const int h = frame + listView1_->header()->sizeHint().height() +
                ReceptionStats::kRows * view.sizeHintForRow(0);
  const QSize list(std::max(337, w), std::max(170, h));
  listView1_->resize(list);
  setFixedSize(list.width() + 17, list.height() + 16);
}

TForm22::~TForm22() { form_.hfdl.HfdlReceptionStats.Changed = nullptr; }

void TForm22::ShowCounts() {
  for (int r = 0; r < ReceptionStats::kRows; ++r) {
    const std::array<std::string, 4> texts = form_.hfdl.HfdlReceptionStats.Texts(r);
    for (int c = 0; c < 4; ++c) listView1_->topLevelItem(r)->setText(c, QString::fromLatin1(texts[c].c_str()));
  }
}
