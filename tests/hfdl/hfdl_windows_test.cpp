// The three HFDL windows as views of what the analysis keeps.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTreeWidget>

#include "hfdl/hfdl_forms.h"
#include "hfdl/registration.h"
#include "hfdl_tx/hfdl_frames.h"
#include "support/reception_rig.h"

namespace {

using testing_support::Golden;
using testing_support::ReceptionRig;
using namespace hfdl_tx;

QStringList RowTexts(QTreeWidget* view, int row) {
  QStringList texts;
  QTreeWidgetItem* item = view->topLevelItem(row);
  for (int c = 0; item && c < view->columnCount(); ++c) texts << item->text(c);
  return texts;
}

TEST(HfdlWindows, ShowWhatTheFramesLeft) {
  ReceptionRig rig;
  Form1State& form = rig.form();
  TForm21 registrations(form);
  TForm22 statistics(form);
  TForm23 systemTable(form);
  EXPECT_EQ(systemTable.Memo1()->toPlainText(), "");

  std::vector<ScenarioFrame> frames = AnalysisScenario();
  frames.push_back(ScenarioAcars());
  for (const ScenarioFrame& f : frames) rig.AnalyzeOwn(f.octets, f.mode, 0);

  QTreeWidget* stats = statistics.ListView1();
  ASSERT_EQ(stats->topLevelItemCount(), 10);
  EXPECT_EQ(RowTexts(stats, 0), (QStringList{"BPSK 300bits/s  1.8s", "1", "0", "100.000"}));
  EXPECT_EQ(RowTexts(stats, 2), (QStringList{"QPSK 1200bits/s 1.8s", "3", "0", "100.000"}));
  EXPECT_EQ(RowTexts(stats, 3), (QStringList{"8PSK 1800bits/s 1.8s", "2", "0", "100.000"}));
  EXPECT_EQ(RowTexts(stats, 8), (QStringList{"MSK  2400bits/s (VHF)", "0", "0", "0.000"}));
  EXPECT_EQ(RowTexts(stats, 9), (QStringList{"Total", "10", "0", "100.000"}));
  // Every row and column whole, with no scroll bar.
  statistics.show();
  QCoreApplication::processEvents();
  EXPECT_FALSE(stats->verticalScrollBar()->isVisible() || stats->horizontalScrollBar()->isVisible());
  const QAbstractItemView& items = *stats;
  for (int c = 0; c < 4; ++c) EXPECT_GE(stats->columnWidth(c), items.sizeHintForColumn(c)) << c;

  QTreeWidget* rows = registrations.ListView1();
  ASSERT_EQ(rows->topLevelItemCount(), 2);
  EXPECT_EQ(RowTexts(rows, 0), (QStringList{"23", "2", "800001", "JA8089", "JL", "B777-200", "HFDL"}));
  EXPECT_EQ(RowTexts(rows, 1), (QStringList{"23", "7", "800001", "JA8089", "JL", "B777-200", "ACARS"}));
  EXPECT_EQ(rows->headerItem()->text(6), "Souce");
  // The second ACARS frame from the same aircraft adds no row.
  EXPECT_EQ(form.hfdl.HfdlRegistrations.Rows.size(), 2u);

  std::string golden = Golden("system.txt");
  golden.erase(std::remove(golden.begin(), golden.end(), '\r'), golden.end());
  golden.pop_back();
  EXPECT_EQ(systemTable.Memo1()->toPlainText().toStdString(), golden);

  // A window made at the next start shows the saved table.
  Form1State next;
  next.hfdl.SystemTxtPath = form.hfdl.SystemTxtPath;
  TForm23 again(next);
  EXPECT_EQ(again.Memo1()->toPlainText().toStdString(), golden);

  ClearRegistrationRows(form.hfdl.HfdlRegistrations);
  EXPECT_EQ(rows->topLevelItemCount(), 0);
}

TEST(HfdlWindows, CutDoubleByteDescriptionShows) {
  ReceptionRig rig;
  Form1State& form = rig.form();
  // 62 ASCII bytes and a two-byte character: the cut at 63 splits it.
  testing_support::WriteFile(form.hfdl.Icao24CsvPath, "ABCDEF,B77,JL,JA9999," + std::string(62, 'A') + "\x88\x9f\n");
  TForm21 registrations(form);
  OnHfdlLogon(form.hfdl, NoHfdlLookups(), "44", "ABCDEF", "HFDL", "-", "-", "-", 3);
  ASSERT_EQ(form.hfdl.HfdlRegistrations.Rows.size(), 1u);
  EXPECT_EQ(form.hfdl.HfdlRegistrations.Rows[0].Aircraft.size(), 63u);
  const QString shown = registrations.ListView1()->topLevelItem(0)->text(5);
  EXPECT_TRUE(shown.startsWith(QString(62, 'A')));
}

}  // namespace
