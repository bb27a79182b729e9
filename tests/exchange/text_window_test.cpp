// The received-text window and its colour dialog on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "acars/acars_services.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "exchange/colour_dialog.h"
#include "exchange/text_window.h"
#include "hfdl/hfdl_services.h"
#include "platform/color.h"

namespace {

class RecordingEffects : public FormEffects {
 public:
  void ShowForm(int n, bool modal) override { shown.push_back(std::to_string(n) + (modal ? " modal" : "")); }
  std::vector<std::string> shown;
};

class RecordingHfdl : public HfdlServices {
 public:
  void OnLogFileEnabled(Form1State&, const std::string& path) override { paths.push_back(path); }
  std::vector<std::string> paths;
};

class RecordingList : public AircraftServices {
 public:
  void ApplyListColours(Form1State&) override { ++applied; }
  int applied = 0;
};

class TextWindow : public ::testing::Test {
 protected:
  TextWindow() {
    f.svc.effects = &effects;
    f.svc.hfdl = &hfdl;
    f.svc.aircraft = &list;
    const char* texts[6] = {"raw text", "prc text", "mes text", "dat text", "ana text", "fmt text"};
    for (int k = 0; k < 6; ++k) f.text.TextBuffers[k] = texts[k];
  }
  QString Memo(const TForm10& w) const { return w.Memo1()->toPlainText(); }

  RecordingEffects effects;
  RecordingHfdl hfdl;
  RecordingList list;
  Form1State f;
};

TEST_F(TextWindow, EachViewButtonShowsItsBufferAndSetsTxtType) {
  f.Txt.TxtType = 2;
  TForm10 w(f);
  EXPECT_TRUE(w.SpeedButton(3)->isChecked());
  w.show();
  EXPECT_EQ(Memo(w), "mes text");
  const int buttons[6] = {1, 2, 3, 11, 12, 13};
  const char* texts[6] = {"raw text", "prc text", "mes text", "dat text", "ana text", "fmt text"};
  for (int k = 5; k >= 0; --k) {
    w.SpeedButton(buttons[k])->click();
    EXPECT_EQ(f.Txt.TxtType, k);
    EXPECT_EQ(Memo(w), texts[k]);
    EXPECT_TRUE(w.SpeedButton(buttons[k])->isChecked());
  }
}

TEST_F(TextWindow, BufferIsShownFromCodePage932EvenWhenCutMidCharacter) {
  f.Txt.TxtType = 0;
  f.text.TextBuffers[0] = "\x8B\x9E" "ABC\r\n\x93\x8C\x8B\x9E";  // trail byte of a cut character first
  TForm10 w(f);
  w.show();
  EXPECT_TRUE(Memo(w).endsWith(QString::fromUtf8("ABC\n東京")));
}

TEST_F(TextWindow, EntriesRefreshTheWindowOnlyWhenTheirKindIsOnView) {
  f.Txt.TxtType = 0;
  TForm10 w(f);
  w.show();
  f.text.TextBuffers[1] += " more";
  f.svc.acars->TrimTextBuffer(f, 1);
  EXPECT_EQ(Memo(w), "raw text");
  f.text.TextBuffers[0] += " more";
  f.svc.acars->TrimTextBuffer(f, 0);
  EXPECT_EQ(Memo(w), "raw text more");
}

TEST_F(TextWindow, KindOutsideTheBuffersShowsRaw) {
  f.Txt.TxtType = 9;
  TForm10 w(f);
  w.show();
  EXPECT_EQ(f.Txt.TxtType, 0);
  EXPECT_TRUE(w.SpeedButton(1)->isChecked());
  EXPECT_EQ(Memo(w), "raw text");
  f.text.TextBuffers[0] += "!";
  f.svc.acars->TrimTextBuffer(f, 0);
  EXPECT_EQ(Memo(w), "raw text!");
}

TEST_F(TextWindow, LogButtonGatesTheSaveModesAndAnnouncesTheLogs) {
  f.Txt.TxtLog = 0;
  f.Txt.TxtSaveType = 1;
  TForm10 w(f);
  EXPECT_FALSE(w.SpeedButton(4)->isChecked());
  for (int n : {6, 7, 8}) EXPECT_FALSE(w.SpeedButton(n)->isEnabled()) << n;
  EXPECT_TRUE(w.SpeedButton(7)->isChecked());

  w.SpeedButton(4)->click();
  EXPECT_EQ(f.Txt.TxtLog, 1);
  for (int n : {6, 7, 8}) EXPECT_TRUE(w.SpeedButton(n)->isEnabled()) << n;
  EXPECT_EQ(hfdl.paths, (std::vector<std::string>{f.text.AcarsRawLogPath, f.text.AcarsPrcLogPath, f.text.AcarsMesLogPath,
                                                  f.text.HfdlDatLogPath, f.text.HfdlAnaLogPath, f.text.HfdlFmtLogPath}));
  w.SpeedButton(8)->click();
  EXPECT_EQ(f.Txt.TxtSaveType, 2);
  w.SpeedButton(6)->click();
  EXPECT_EQ(f.Txt.TxtSaveType, 0);

  w.SpeedButton(4)->click();
  EXPECT_EQ(f.Txt.TxtLog, 0);
  EXPECT_EQ(hfdl.paths.size(), 6u);
  for (int n : {6, 7, 8}) EXPECT_FALSE(w.SpeedButton(n)->isEnabled()) << n;
  EXPECT_TRUE(w.SpeedButton(6)->isChecked());
}

TEST_F(TextWindow, NeverPlacedOpensCentredOnTheMainWindow) {
  f.Pos.TextLeft = f.Pos.TextTop = 0;
  f.Form.TextWidth = 500;
  f.Form.TextHeight = 300;
  f.Pos.MainLeft = 100;
  f.Pos.MainTop = 50;
  f.Pos.MainWidth = 990;
  f.Pos.MainHeight = 702;
  TForm10 w(f);
  w.show();
  EXPECT_EQ(w.x(), 100 + 990 / 2 - 500 / 2);
  EXPECT_EQ(w.y(), 50 + 702 / 2 - 300 / 2);
}

TEST_F(TextWindow, MemoFillsTheWindowBelowTheToolBar) {
  f.Form.TextWidth = 600;
  f.Form.TextHeight = 400;
  TForm10 w(f);
  w.show();
  QApplication::processEvents();
  EXPECT_EQ(w.Memo1()->width(), w.width() - 4);
  EXPECT_EQ(w.Memo1()->height(), w.height() - 31);
  EXPECT_EQ(w.Panel1()->width(), w.width() - 4);
  EXPECT_EQ(w.minimumSize(), QSize(400, 100));
}

TEST_F(TextWindow, StayOnTopFontAndColourButtons) {
  f.Pos.TextTopMost = 1;
  TForm10 w(f);
  w.show();
  EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  w.SpeedButton(5)->click();
  EXPECT_EQ(f.Pos.TextTopMost, 0);
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(w.isVisible());

  QFont chosen = w.Memo1()->font();
  chosen.setPointSize(17);
  chosen.setFamily("Monospace");
  w.ChooseFont = [&](const QFont&) { return std::optional<QFont>(chosen); };
  w.SpeedButton(9)->click();
  EXPECT_EQ(f.Form.TextFontSize, 17);
  EXPECT_EQ(f.Form.TextFontName, "Monospace");
  EXPECT_EQ(w.Memo1()->font().pointSize(), 17);
  w.ChooseFont = [](const QFont&) { return std::optional<QFont>(); };
  w.SpeedButton(9)->click();
  EXPECT_EQ(f.Form.TextFontSize, 17);

  f.controls.ColorDialogTarget = 1;
  w.SpeedButton(10)->click();
  w.SpeedButton(14)->click();
  EXPECT_EQ(f.controls.ColorDialogTarget, 0);
  EXPECT_EQ(effects.shown, (std::vector<std::string>{"18 modal", "30 modal"}));

  w.close();
  EXPECT_EQ(f.exchange.TextWindowClosed, 1);
}

TEST_F(TextWindow, ColourDialogStoresOnOkOnly) {
  f.Color.TextText = 0x000000;
  f.Color.TextBack = 0xFFFFFF;
  TForm10 w(f);
  TForm18 d(f);
  d.ChooseColour = [](const QColor&) { return std::optional<QColor>(QColor(255, 0, 0)); };
  f.controls.ColorDialogTarget = 0;
  d.show();
  d.Panel1()->click();
  d.Panel2()->click();
  EXPECT_EQ(d.PendingTextColour(), 0x0000FFu);
  d.Button4()->click();  // Cancel
  EXPECT_EQ(f.Color.TextText, 0x000000u);
  EXPECT_EQ(f.Color.TextBack, 0xFFFFFFu);

  d.show();
  EXPECT_EQ(d.PendingTextColour(), 0x000000u);
  d.ChooseColour = [](const QColor&) { return std::optional<QColor>(QColor(0, 0, 255)); };
  d.Panel2()->click();
  d.Button3()->click();  // OK
  EXPECT_EQ(f.Color.TextBack, 0xFF0000u);
  EXPECT_EQ(f.Color.TextText, 0x000000u);
  EXPECT_EQ(w.Memo1()->palette().color(QPalette::Base), QColor(0, 0, 255));

  f.controls.ColorDialogTarget = 1;
  f.Color.ListBack = 0x111111;
  d.show();
  EXPECT_EQ(d.PendingBackColour(), 0x111111u);
  d.Panel1()->click();
  d.Button3()->click();
  EXPECT_EQ(f.Color.ListText, 0xFF0000u);
  EXPECT_EQ(f.Color.ListBack, 0x111111u);
  EXPECT_EQ(list.applied, 1);
}

}  // namespace
