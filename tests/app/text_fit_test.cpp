// Every text a window shows fits its room at the default size, in both
// languages: labels, buttons, group titles, combo box items, column headers
// and the widest texts each column is meant to hold. The offscreen platform
// finds the same fonts through fontconfig as a display does (the same
// family, size and 96 dpi), so what fits here fits on screen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <sstream>

#include "aircraft/aircraft_list.h"
#include "hfdl/registration.h"
#include "platform/cp932.h"
#include "selcal/selcal_panel.h"
#include "selcal/selcal_state.h"
#include "selcal/selcal_tables.h"
#include "support/main_window_fixture.h"

namespace {

class TextFit {
 public:
  explicit TextFit(QWidget& window) : window_(window) {}

  // A line for each text that does not fit.
  std::vector<std::string> Check() {
    for (QWidget* w : window_.findChildren<QWidget*>()) {
      if (w->isWindow() || !w->isVisibleTo(&window_)) continue;
      if (auto* label = qobject_cast<QLabel*>(w)) CheckLabel(*label);
      if (auto* button = qobject_cast<QAbstractButton*>(w)) CheckButton(*button);
      if (auto* group = qobject_cast<QGroupBox*>(w)) CheckGroupBox(*group);
      if (auto* combo = qobject_cast<QComboBox*>(w)) CheckComboBox(*combo);
      if (auto* header = qobject_cast<QHeaderView*>(w)) CheckHeader(*header);
      if (auto* tree = qobject_cast<QTreeView*>(w)) CheckCells(*tree, *tree->header());
      if (auto* table = qobject_cast<QTableView*>(w)) CheckCells(*table, *table->horizontalHeader());
    }
    return clipped_;
  }

 private:
  void Expect(const QWidget& w, const QString& text, int need, int room) {
    if (need <= room) return;
    std::ostringstream where;
    where << window_.metaObject()->className() << " " << w.objectName().toStdString() << " ("
          << w.metaObject()->className() << "): \"" << text.toStdString() << "\" needs " << need << " px, has "
          << room;
    clipped_.push_back(where.str());
  }

  static int Width(const QWidget& w, const QString& text, int flags = Qt::TextShowMnemonic) {
    return w.fontMetrics().size(flags, text).width();
  }

  void CheckLabel(const QLabel& l) {
    // A picture shows whole, with whatever is written on it.
    const QPixmap picture = l.pixmap();
    if (!picture.isNull()) Expect(l, "(picture)", picture.width(), l.contentsRect().width());
    if (l.text().isEmpty() || l.wordWrap()) return;
    const int margin = l.margin();
    int room = l.contentsRect().width() - 2 * margin;
    // A framed label indents its text by half an x, as QLabel lays it out.
    int indent = l.indent();
    if (indent < 0 && l.frameWidth() > 0) indent = l.fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin;
    if (indent > 0) {
      if (l.alignment() & Qt::AlignLeft) room -= indent;
      if (l.alignment() & Qt::AlignRight) room -= indent;
    }
    Expect(l, l.text(), Width(l, l.text(), l.buddy() ? Qt::TextShowMnemonic : 0), room);
  }

  void CheckButton(const QAbstractButton& b) {
    if (b.text().isEmpty()) return;
    const QStyle& s = *b.style();
    QStyleOptionButton o;
    o.initFrom(&b);
    o.text = b.text();
    o.icon = b.icon();
    o.iconSize = b.iconSize();
    int room = b.width();
    if (qobject_cast<const QPushButton*>(&b)) {
      room = s.subElementRect(QStyle::SE_PushButtonContents, &o, &b).width();
      if (!b.icon().isNull()) room -= b.iconSize().width() + 4;
    } else if (qobject_cast<const QCheckBox*>(&b)) {
      room = s.subElementRect(QStyle::SE_CheckBoxContents, &o, &b).width();
    } else if (qobject_cast<const QRadioButton*>(&b)) {
      room = s.subElementRect(QStyle::SE_RadioButtonContents, &o, &b).width();
    } else if (auto* t = qobject_cast<const QToolButton*>(&b)) {
      Qt::ToolButtonStyle shows = t->toolButtonStyle();
      if (shows == Qt::ToolButtonFollowStyle) {
        shows = Qt::ToolButtonStyle(s.styleHint(QStyle::SH_ToolButtonStyle, nullptr, t));
      }
      if (!t->icon().isNull() && shows == Qt::ToolButtonIconOnly) return;
      room = t->width() - 2 * s.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, t);
      if (!t->icon().isNull() && shows == Qt::ToolButtonTextBesideIcon) room -= t->iconSize().width() + 4;
    }
    Expect(b, b.text(), Width(b, b.text()), room);
  }

  void CheckGroupBox(const QGroupBox& g) {
    if (g.title().isEmpty()) return;
    QStyleOptionGroupBox o;
    o.initFrom(&g);
    o.text = g.title();
    o.textAlignment = g.alignment();
    o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (g.isCheckable()) o.subControls |= QStyle::SC_GroupBoxCheckBox;
    const QRect title = g.style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, &g);
    Expect(g, g.title(), Width(g, g.title()), g.width() - title.left());
  }

  void CheckComboBox(const QComboBox& c) {
    QStyleOptionComboBox o;
    o.initFrom(&c);
    o.editable = c.isEditable();
    o.frame = c.hasFrame();
    o.subControls = QStyle::SC_All;
    // The label is drawn a pixel inside the edit field on either side.
    const int room = c.style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, &c).width() - 2;
    QString widest;
    for (int i = 0; i < c.count(); ++i) {
      if (Width(c, c.itemText(i), 0) > Width(c, widest, 0)) widest = c.itemText(i);
    }
    Expect(c, widest, Width(c, widest, 0), room);
  }

  void CheckHeader(const QHeaderView& h) {
    if (!h.model() || h.orientation() != Qt::Horizontal) return;
    for (int i = 0; i < h.count(); ++i) {
      const QString text = h.model()->headerData(i, Qt::Horizontal).toString();
      if (h.isSectionHidden(i) || text.isEmpty()) continue;
      Expect(h, text, h.sectionSizeHint(i), h.sectionSize(i));
    }
  }

  void CheckCells(const QAbstractItemView& view, const QHeaderView& header) {
    const QAbstractItemModel* model = view.model();
    if (!model) return;
    for (int c = 0; c < model->columnCount(); ++c) {
      if (header.isSectionHidden(c)) continue;
      QString widest;
      for (int r = 0; r < model->rowCount(); ++r) {
        const QString text = model->index(r, c).data().toString();
        if (view.fontMetrics().horizontalAdvance(text) > view.fontMetrics().horizontalAdvance(widest)) widest = text;
      }
      Expect(view, widest, view.sizeHintForColumn(c), header.sectionSize(c));
    }
    // A list not made to scroll sideways shows all its columns.
    if (view.horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOn) {
      Expect(view, "(every column)", header.length(), view.viewport()->width());
    }
  }

  QWidget& window_;
  std::vector<std::string> clipped_;
};

// The widest texts the lists are meant to hold, put where the program puts
// them.
void FillWidestCells(TForm1& w) {
  Form1State& s = w.State();
  AircraftLink& link = w.Reception().Aircraft();
  // Every station an aircraft may be heard through ("BROADCAST" among
  // them), one aircraft each.
  std::vector<std::string> stations(s.hfdl.GsNames.begin(), s.hfdl.GsNames.end());
  stations.insert(stations.end(), s.acars.AcarsStationNames.begin(), s.acars.AcarsStationNames.end());
  int flight = 0;
  for (const std::string& station : stations) {
    // A flight the reference files do not know: its remark is "-".
    const std::string id = "XX" + std::to_string(1000 + ++flight);
    RegisterContact(s.aircraft, s.List, link, id, flight % 2 ? "unknown" : "NO DATA", station);
    MarkPositionReceived(s.aircraft, link, id, "unknown");
  }
  for (AircraftListRow& row : s.aircraft.List.Rows) row.LastTime = "23:59:59";
  s.aircraft.List.Changed();
  // The information window shows the first of them.
  SelectRow(s.aircraft, link, 1);

  // Every hex digit six times over: one of them is the widest address.
  HfdlRegistrationTable& registrations = s.hfdl.HfdlRegistrations;
  for (char digit : std::string("0123456789ABCDEF")) {
    registrations.Rows.push_back(
        {std::string(2, digit), "17", std::string(6, digit), "NO DATA", "---", "NO DATA", "ACARS"});
    registrations.Changed(static_cast<int>(registrations.Rows.size()) - 1);
  }

  for (FrequencyRow& row : s.radio.FrequencyRows) {
    row.checkedTime = "23:59:59";
    row.frequencies = {"21934kHz", "17919kHz", "13276kHz"};
  }
  s.radio.RowsChanged();
}

// The SELCAL panel writes its texts into its picture: with each code of
// the widest letters, with and without an aircraft, every text ends inside.
std::vector<std::string> ClippedPanelTexts(const SelcalPanel& panel) {
  std::vector<std::string> clipped;
  const int room = panel.State().PanelBitmap.Width();
  for (char letter : SelcalLetters) {
    const std::string code(4, letter);
    for (const char* registration : {"", "JA8089"}) {
      for (const SelcalPanelText& t : SelcalPanelTexts(code, registration, "NO DATA", code)) {
        const std::string text = platform::Cp932ToUtf8(t.text);
        const int need = t.x + Bitmap24::TextWidth(text, t.points) + 1;  // and its shadow
        if (need > room) clipped.push_back("SELCAL picture: \"" + text + "\" needs " + std::to_string(need));
      }
    }
  }
  return clipped;
}

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

class WindowTexts : public MainWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(WindowTexts, FitTheirRoomAtTheDefaultSize) {
  // The shipped data: the ground stations' names, the station list.
  testing_support::CopyProgramFolder(dir_.path());
  TForm1& w = std::string(GetParam()) == "en" ? StartEnglish() : StartJapanese();
  Settle();
  FillWidestCells(w);
  std::vector<std::string> clipped = TextFit(w).Check();
  for (int n = 2; n <= 31; ++n) {
    SkarvelForm* form = w.Form(n);
    if (!form) continue;
    form->show();
    Settle();
    for (const std::string& c : TextFit(*form).Check()) clipped.push_back(c);
    form->hide();
  }
  for (const std::string& c : ClippedPanelTexts(w.Reception().Selcal().Panel())) clipped.push_back(c);
  for (const std::string& c : clipped) ADD_FAILURE() << c;
  Close();
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowTexts, ::testing::Values("ja", "en"));

}  // namespace
