// The received-text window and its colour dialog on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "app/form1_state.h"
#include "app/settings.h"
#include "app/tform30.h"
#include "exchange/colour_dialog.h"
#include "exchange/text_window.h"
#include "platform/ini_file.h"

namespace {

const char* const kTexts[6] = {"raw text", "prc text", "mes text", "dat text", "ana text", "fmt text"};

class TextWindow : public ::testing::Test {
 protected:
  TextWindow() {
    for (int k = 0; k < 6; ++k) f.text.Append(k, kTexts[k]);
  }
  static QString Memo(const TForm10& w) { return w.Memo1()->toPlainText(); }

  Form1State f;
};

TEST_F(TextWindow, EachViewButtonShowsItsBufferAndSetsTxtType) {
  f.Txt.TxtType = 2;
  TForm10 w(f);
  EXPECT_TRUE(w.SpeedButton(3)->isChecked());
  w.show();
  EXPECT_EQ(Memo(w), "mes text");
  const int buttons[6] = {1, 2, 3, 11, 12, 13};
  for (int k = 5; k >= 0; --k) {
    w.SpeedButton(buttons[k])->click();
    EXPECT_EQ(f.Txt.TxtType, k);
    EXPECT_EQ(Memo(w), kTexts[k]);
    EXPECT_TRUE(w.SpeedButton(buttons[k])->isChecked());
  }
}

TEST_F(TextWindow, AKindOutsideTheBuffersShowsRaw) {
  f.Txt.TxtType = 9;
  TForm10 w(f);
  w.show();
  EXPECT_EQ(f.Txt.TxtType, 0);
  EXPECT_TRUE(w.SpeedButton(1)->isChecked());
  EXPECT_EQ(Memo(w), "raw text");
}

TEST_F(TextWindow, TheBufferIsShownFromCodePage932EvenWhenCutMidCharacter) {
  f.Txt.TxtType = 0;
  f.text.Clear(0);
  f.text.Append(0, "\x8B\x9E" "ABC\r\n\x93\x8C\x8B\x9E");  // the trail byte of a cut character first
  TForm10 w(f);
  w.show();
  EXPECT_TRUE(Memo(w).endsWith(QString::fromUtf8("ABC\n東京")));
}

TEST_F(TextWindow, EntriesRefreshTheWindowOnlyWhenTheirKindIsOnView) {
  f.Txt.TxtType = 0;
  TForm10 w(f);
  w.show();
  f.text.Append(1, " more");
  f.text.Trim(1, 10000);
  EXPECT_EQ(Memo(w), "raw text");
  f.text.Append(0, " more");
  f.text.Trim(0, 10000);
  EXPECT_EQ(Memo(w), "raw text more");
  // Hidden, it is filled afresh when it shows again.
  w.hide();
  f.text.Append(0, "!");
  f.text.Touch(0);
  w.show();
  EXPECT_EQ(Memo(w), "raw text more!");
}

TEST_F(TextWindow, TheLogButtonGatesTheSaveModes) {
  f.Txt.TxtLog = 0;
  f.Txt.TxtSaveType = 1;
  TForm10 w(f);
  EXPECT_FALSE(w.SpeedButton(4)->isChecked());
  EXPECT_TRUE(w.SpeedButton(7)->isChecked());
  for (int n : {6, 7, 8}) EXPECT_FALSE(w.SpeedButton(n)->isEnabled()) << n;

  w.SpeedButton(4)->click();
  EXPECT_EQ(f.Txt.TxtLog, 1);
  for (int n : {6, 7, 8}) EXPECT_TRUE(w.SpeedButton(n)->isEnabled()) << n;
  w.SpeedButton(8)->click();
  EXPECT_EQ(f.Txt.TxtSaveType, 2);
  w.SpeedButton(6)->click();
  EXPECT_EQ(f.Txt.TxtSaveType, 0);
  EXPECT_TRUE(w.SpeedButton(6)->isChecked());

  w.SpeedButton(4)->click();
  EXPECT_EQ(f.Txt.TxtLog, 0);
  for (int n : {6, 7, 8}) EXPECT_FALSE(w.SpeedButton(n)->isEnabled()) << n;
}

TEST_F(TextWindow, StayOnTopAndTheChosenFontAreKept) {
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
  w.ChooseFont = [](const QFont&) { return std::optional<QFont>(); };
  w.SpeedButton(9)->click();
  EXPECT_EQ(f.Form.TextFontSize, 17);
}

// The colour and log-item buttons open their dialogs modally; the colour
// dialog then edits the text window's colours.
TEST_F(TextWindow, ColourAndItemButtonsOpenTheirDialogs) {
  TForm10 w(f);
  TForm18 colours(f);
  TForm30 items(f);
  std::vector<QString> opened;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      opened.push_back(modal->objectName());
      modal->close();
    }
  });
  closer.start(5);
  f.controls.ColorDialogTarget = 1;
  w.SpeedButton(10)->click();
  EXPECT_EQ(f.controls.ColorDialogTarget, 0);
  w.SpeedButton(14)->click();
  EXPECT_EQ(opened, (std::vector<QString>{"Form18", "Form30"}));
}

TEST_F(TextWindow, TheColourDialogStoresOnOkOnly) {
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

  // For the aircraft list: its own pair of colours.
  f.controls.ColorDialogTarget = 1;
  f.Color.ListBack = 0x111111;
  d.show();
  EXPECT_EQ(d.PendingBackColour(), 0x111111u);
  d.Panel1()->click();
  d.Button3()->click();
  EXPECT_EQ(f.Color.ListText, 0xFF0000u);
  EXPECT_EQ(f.Color.ListBack, 0x111111u);
  EXPECT_EQ(f.Color.TextText, 0x000000u);
}

TEST_F(TextWindow, EveryToolButtonShowsItsWholeTextAtTheDefaultSize) {
  LoadSettings(f, IniFile());
  TForm10 w(f);
  w.show();
  for (QToolButton* b : w.findChildren<QToolButton*>()) EXPECT_GE(b->width(), b->sizeHint().width());
}

}  // namespace
