#include "radio/tform25.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>
#include <algorithm>

#include "app/form1_state.h"
#include "platform/cp932.h"
#include "platform/window_stacking.h"
#include "radio/manual_tuning.h"

namespace {

constexpr int kColumns = 21;
constexpr int kRowHeight = 16;
constexpr int kColumnWidth = 55;
constexpr int kGridWidth = 784;

}  // namespace

TForm25::TForm25(Form1State& form, FrequencyListLink& tuner) : SkarvelForm(form, 25), tuner_(tuner) {
  setWindowTitle(QString::fromUtf8("手動周波数設定"));
  platform::SetStayOnTop(this, true);
  stringGrid1_ = new QTableWidget(this);
  stringGrid1_->setObjectName("StringGrid1");
  stringGrid1_->setColumnCount(kColumns);
  QStringList header{"Ground Station Name"};
  for (int c = 1; c < kColumns; ++c) header << QString::number(c);
  stringGrid1_->setHorizontalHeaderLabels(header);
  stringGrid1_->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
  stringGrid1_->setColumnWidth(0, 200);
  stringGrid1_->horizontalHeader()->setSectionsClickable(false);
  stringGrid1_->verticalHeader()->hide();
  stringGrid1_->verticalHeader()->setMinimumSectionSize(kRowHeight);
  stringGrid1_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  stringGrid1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  stringGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  stringGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(stringGrid1_, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
    // Table row 0 is grid row 1: the header is the grid's fixed row.
    if (row >= 0 && column >= 0) StringGrid1SelectCell(column, row + 1);
  });
  FillGrid();
}

void TForm25::OpenFor(int channel) {
  form_.radio.GridChannel = channel;
  exec();
}

void TForm25::PlaceAndFill() { FillGrid(); }

void TForm25::FillGrid() {
  // The stations as the table holds them now, and no cell chosen yet: only
  // a cell the user chooses tunes.
  ShowGrid(form_.radio, form_.hfdl);
  const std::vector<int32_t>& stations = form_.radio.GridRowStation;
  QSignalBlocker block(stringGrid1_);
  stringGrid1_->clearContents();
  stringGrid1_->setRowCount(static_cast<int>(stations.size()) - 1);
  for (size_t row = 1; row < stations.size(); ++row) {
    const int id = stations[row];
    const int r = static_cast<int>(row) - 1;
    auto* name = new QTableWidgetItem(platform::Cp932ToQString(form_.hfdl.GsNames[static_cast<size_t>(id)]));
    name->setFlags(Qt::NoItemFlags);
    name->setBackground(palette().button());
    name->setForeground(palette().buttonText());
    stringGrid1_->setItem(r, 0, name);
    for (int k = 0; k < kColumns - 1; ++k) {
      const int32_t f = form_.hfdl.GsFrequencies[id][k];
      auto* cell = new QTableWidgetItem(f != 0 ? QString::number(f) + "kHz" : QString());
      cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      stringGrid1_->setItem(r, k + 1, cell);
    }
  }
  // A column is as wide as its widest frequency in this system's font:
  // "2193..." could be any of ten.
  const int padding = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, stringGrid1_) + 1) + 2;
  int columnWidth = kColumnWidth;
  for (int r = 0; r < stringGrid1_->rowCount(); ++r) {
    for (int c = 1; c < kColumns; ++c) {
      const int text = stringGrid1_->fontMetrics().horizontalAdvance(stringGrid1_->item(r, c)->text());
      columnWidth = std::max(columnWidth, text + padding);
    }
  }
  for (int c = 1; c < kColumns; ++c) stringGrid1_->setColumnWidth(c, columnWidth);
  stringGrid1_->setCurrentCell(-1, -1);
  stringGrid1_->clearSelection();
  // Every row shows: the header, the rows and the scroll bar, measured here
  // rather than in another system's metrics.
  const int gridHeight = stringGrid1_->horizontalHeader()->sizeHint().height() +
                         (static_cast<int>(stations.size()) - 1) * kRowHeight +
                         stringGrid1_->horizontalScrollBar()->sizeHint().height() + 2 * stringGrid1_->frameWidth();
  stringGrid1_->setGeometry(8, 8, kGridWidth, gridHeight);
  setFixedSize(kGridWidth + 16, gridHeight + 40);
}

void TForm25::StringGrid1SelectCell(int column, int row) {
  if (!SelectGridCell(form_.radio, form_.hfdl, column, row)) return;
  // The tuning runs once the click has been handled.
  const int channel = form_.radio.GridChannel == 1 ? 1 : 0;
  QMetaObject::invokeMethod(
      this, [this, channel] { tuner_.TuneReceiver(channel); }, Qt::QueuedConnection);
}
