// The received-text window and its colour dialog on the offscreen platform.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/form1_state.h"
#include "support/main_window_fixture.h"
#include "exchange/colour_dialog.h"
#include "exchange/text_window.h"

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

TEST_F(TextWindow, EachViewButtonShowsItsBufferAndAKindOutsideThemShowsRaw) {
  f.Txt.TxtType = 9;
  TForm10 w(f);
  w.show();
  EXPECT_EQ(f.Txt.TxtType, 0);
  EXPECT_EQ(Memo(w), "raw text");
  const int buttons[6] = {1, 2, 3, 11, 12, 13};
  for (int k = 5; k >= 0; --k) {
    w.SpeedButton(buttons[k])->click();
    EXPECT_EQ(f.Txt.TxtType, k);
    EXPECT_EQ(Memo(w), kTexts[k]);
    EXPECT_TRUE(w.SpeedButton(buttons[k])->isChecked());
  }
}

// Shown from code page 932, even when the front was cut mid-character; a
// hidden window is filled afresh when it shows again.
TEST_F(TextWindow, EntriesShowOnlyWhenTheirKindIsOnView) {
  f.Txt.TxtType = 0;
  TForm10 w(f);
  w.show();
  f.text.Append(1, " more");
  f.text.Trim(1, 10000);
  EXPECT_EQ(Memo(w), "raw text");
  f.text.Append(0, "\x8B\x9E" "ABC\r\n\x93\x8C\x8B\x9E");  // the trail byte of a cut character first
  f.text.Trim(0, 10000);
  EXPECT_TRUE(Memo(w).endsWith(QString::fromUtf8("ABC\n東京")));
  w.hide();
  f.text.Append(0, "!");
  f.text.Touch(0);
  w.show();
  EXPECT_TRUE(Memo(w).endsWith(QString::fromUtf8("東京!")));
}

TEST_F(TextWindow, TheLogButtonGatesTheSaveModes) {
  f.Txt.TxtLog = 0;
  f.Txt.TxtSaveType = 1;
  TForm10 w(f);
  const auto saveModes = [&] {
    const int enabled = w.SpeedButton(6)->isEnabled() + w.SpeedButton(7)->isEnabled() + w.SpeedButton(8)->isEnabled();
    return std::to_string(f.Txt.TxtLog) + std::to_string(f.Txt.TxtSaveType) + " " + std::to_string(enabled);
  };
  EXPECT_TRUE(!w.SpeedButton(4)->isChecked() && w.SpeedButton(7)->isChecked());
  EXPECT_EQ(saveModes(), "01 0");
  for (const auto& [button, after] : {std::pair{4, "11 3"}, {8, "12 3"}, {6, "10 3"}, {4, "00 0"}}) {
    w.SpeedButton(button)->click();
    EXPECT_EQ(saveModes(), after) << button;
  }
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
  for (const std::optional<QFont>& answer : {std::optional<QFont>(chosen), std::optional<QFont>()}) {
    w.ChooseFont = [&](const QFont&) { return answer; };
    w.SpeedButton(9)->click();
    EXPECT_EQ(f.Form.TextFontSize, 17);  // a cancelled dialog changes nothing
    EXPECT_EQ(f.Form.TextFontName, "Monospace");
  }
}

// The text window's colour button opens the dialog on its own colours; the
// dialog stores them on OK only.
TEST_F(TextWindow, TheColourDialogStoresOnOkOnly) {
  f.Color.TextText = 0x000000;
  f.Color.TextBack = 0xFFFFFF;
  TForm10 w(f);
  TForm18 d(f);
  f.controls.ColorDialogTarget = 1;
  {
    ModalCloser closer;
    w.SpeedButton(10)->click();
  }
  EXPECT_EQ(f.controls.ColorDialogTarget, 0);
  d.ChooseColour = [](const QColor&) { return std::optional<QColor>(QColor(255, 0, 0)); };
  d.show();
  d.Panel1()->click();
  d.Panel2()->click();
  EXPECT_EQ(d.PendingTextColour(), 0x0000FFu);
  d.Button4()->click();  // Cancel
  EXPECT_TRUE(f.Color.TextText == 0x000000u && f.Color.TextBack == 0xFFFFFFu);

  d.show();
  EXPECT_EQ(d.PendingTextColour(), 0x000000u);
  d.ChooseColour = [](const QColor&) { return std::optional<QColor>(QColor(0, 0, 255)); };
  d.Panel2()->click();
  d.Button3()->click();  // OK
  EXPECT_TRUE(f.Color.TextBack == 0xFF0000u && f.Color.TextText == 0x000000u);
  EXPECT_EQ(w.Memo1()->palette().color(QPalette::Base), QColor(0, 0, 255));

  // For the aircraft list: its own pair of colours.
  f.controls.ColorDialogTarget = 1;
  f.Color.ListBack = 0x111111;
  d.show();
  EXPECT_EQ(d.PendingBackColour(), 0x111111u);
  d.Panel1()->click();
  d.Button3()->click();
  EXPECT_TRUE(f.Color.ListText == 0xFF0000u && f.Color.ListBack == 0x111111u && f.Color.TextText == 0x000000u);
}

}  // namespace
