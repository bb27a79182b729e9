// The commands, the language choice and the English texts on the real
// windows (offscreen).
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <map>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>
#include <iostream>

#include "app/centring.h"
#include "app/click_label.h"
#include "app/startup.h"
#include "app/english_texts.h"
#include "app/main_commands.h"
#include "app/tform3.h"
#include "audio/tform9.h"
#include "command_fakes.h"
#include "main_window_fixture.h"
#include "platform/ini_file.h"

namespace {

void Click(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

// The text an entry's control holds now.
QString HeldText(QObject* target, const EnglishText& entry) {
  switch (entry.property) {
    case TextProperty::Hint:
      if (auto* action = qobject_cast<QAction*>(target)) return action->toolTip();
      return qobject_cast<QWidget*>(target)->toolTip();
    case TextProperty::Column:
      return qobject_cast<QTreeWidget*>(target)->headerItem()->text(0);
    case TextProperty::DialogTitle:
      return qobject_cast<QWidget*>(target)->windowTitle();
    case TextProperty::DialogFilter:
      return qobject_cast<QFileDialog*>(target)->nameFilters().value(0);
    case TextProperty::Caption:
      if (auto* action = qobject_cast<QAction*>(target)) return action->text();
      if (auto* button = qobject_cast<QAbstractButton*>(target)) return button->text();
      if (auto* label = qobject_cast<QLabel*>(target)) return label->text();
      if (auto* group = qobject_cast<QGroupBox*>(target)) return group->title();
      return qobject_cast<QWidget*>(target)->windowTitle();
  }
  return {};
}

// ---- Commands ----

using Commands = MainWindowTest;

TEST_F(Commands, EveryShowCommandShowsItsWindow) {
  TForm1& w = StartEnglish();
  ModalCloser modals;
  for (const form1::ShowCommand& c : form1::kShowCommands) {
    SkarvelForm* form = w.Form(c.formNumber);
    form->hide();
    const std::string component = c.component;
    if (component.rfind("SpeedButton", 0) == 0) {
      w.SpeedButton(std::stoi(component.substr(11)))->click();
    } else if (component == "Image3") {
      Click(w.Image(3));
    } else {
      w.MenuItem(c.component)->trigger();
    }
    if (c.modal) {
      ASSERT_FALSE(modals.Closed().empty()) << component;
      EXPECT_EQ(modals.Closed().back(), "Form" + std::to_string(c.formNumber)) << component;
    } else {
      EXPECT_TRUE(form->isVisible()) << component;
    }
  }
  EXPECT_EQ(modals.Closed().size(), 2u);  // N4 and the logo
  Close();
}

TEST_F(Commands, ChatItemShowsTheChatWindowInItsNormalState) {
  TForm1& w = StartEnglish();
  SkarvelForm* chat = w.Form(12);
  chat->showMinimized();
  w.MenuItem("N13")->trigger();
  EXPECT_TRUE(chat->isVisible());
  EXPECT_FALSE(chat->windowState() & Qt::WindowMinimized);
  Close();
}

TEST_F(Commands, ExitEndsTheProgramThroughFormClose) {
  TForm1& w = StartEnglish();
  w.MenuItem("N5")->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.State().app.Running, 0);
  EXPECT_NE(Ini().find("Language=1\r\n"), std::string::npos);
}

TEST_F(Commands, MenuMarksChangeOncePerClick) {
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  CallLog log;
  FakeMap map(log);
  f.svc.map = &map;
  const flag n8 = f.controls.N8Checked;
  w.MenuItem("N8")->trigger();
  EXPECT_EQ(f.controls.N8Checked, 1 - n8);
  EXPECT_EQ(w.MenuItem("N8")->isChecked(), f.controls.N8Checked != 0);
  f.controls.N24Checked = 1;
  f.controls.N25Checked = 0;
  w.ControlsChanged();
  w.MenuItem("N24")->trigger();
  EXPECT_EQ(f.controls.N24Checked, 0);
  EXPECT_EQ(f.controls.N25Checked, 1);
  EXPECT_FALSE(w.MenuItem("N24")->isChecked());
  EXPECT_TRUE(w.MenuItem("N25")->isChecked());
  w.MenuItem("N24")->trigger();
  EXPECT_EQ(f.controls.N24Checked, 1);
  EXPECT_EQ(f.controls.N25Checked, 0);
  const flag n11 = f.controls.N11Checked;
  w.MenuItem("N11")->trigger();
  EXPECT_EQ(f.controls.N11Checked, 1 - n11);
  EXPECT_EQ(w.Panel(7)->isVisibleTo(&w), f.controls.N11Checked != 0);
  EXPECT_EQ(log, (CallLog{"Redraw 1101", "Redraw 0111", "Redraw 0111", "map FormResize"}));
  f.svc.map = &DefaultMapServices();
  Close();
}

TEST_F(Commands, ThePopupIsPreparedEachTimeItOpens) {
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  f.Net.Chat = 1;
  f.exchange.NetConnected = 1;
  w.PopupMenu1()->popup(w.mapToGlobal(QPoint(100, 100)));
  EXPECT_TRUE(w.MenuItem("N12")->isVisible());
  EXPECT_TRUE(w.MenuItem("N13")->isVisible());
  EXPECT_TRUE(w.MenuItem("N14")->isVisible());
  w.PopupMenu1()->close();
  f.exchange.NetConnected = 0;
  w.PopupMenu1()->popup(w.mapToGlobal(QPoint(100, 100)));
  EXPECT_FALSE(w.MenuItem("N12")->isVisible());
  EXPECT_FALSE(w.MenuItem("N13")->isVisible());
  EXPECT_FALSE(w.MenuItem("N14")->isVisible());
  w.PopupMenu1()->close();
  Close();
}

TEST_F(Commands, ConnectButtonThatCannotConnectComesBackUp) {
  TForm1& w = StartJapanese();
  ModalCloser modals;  // the connection dialog, closed: no connection asked
  w.SpeedButton(1)->click();
  EXPECT_EQ(modals.Closed(), std::vector<std::string>{"Form14"});
  EXPECT_FALSE(w.SpeedButton(1)->isChecked());
  // Confirmed, but the connection fails at once.
  w.State().exchange.ConnectRequested = 1;
  modals.inspect = [&](QWidget&) { w.State().exchange.ConnectRequested = 1; };
  w.SpeedButton(1)->click();
  EXPECT_FALSE(w.SpeedButton(1)->isChecked());
  EXPECT_EQ(w.State().exchange.Connecting, 0);
  EXPECT_EQ(boxes_.Texts().back(), "接続できません");
  Close();
}

TEST_F(Commands, ExcludedCarriersTypedIntoAnOpenDialogAreSavedAtExit) {
  TForm1& w = StartEnglish();
  auto* settings = qobject_cast<TForm3*>(w.Form(3));
  w.MenuItem("N19")->trigger();
  settings->Edit1()->setText("JL,NH,");
  EXPECT_EQ(w.State().Etc.PassList, "");
  Close();
  IniFile ini;
  ini.Load(dir_.File("skarvel.ini"));
  EXPECT_EQ(ini.ReadString("Etc", "PassList", "?"), "JL,NH,");
}

// ---- Language ----

using Language = MainWindowTest;

TEST_F(Language, TheRuleWithoutWidgets) {
  Form1State f;
  f.Etc.Language = 0;
  EXPECT_TRUE(LanguageDialogNeeded(f));
  f.app.UseEnglish = 0;
  SettleLanguage(f, true);
  EXPECT_EQ(f.Etc.Language, 2);
  for (int stored : {1, 2, 7, -1}) {
    f.Etc.Language = stored;
    EXPECT_FALSE(LanguageDialogNeeded(f));
    SettleLanguage(f, false);
    EXPECT_EQ(f.app.UseEnglish, stored == 1 ? 1 : 0) << stored;
    EXPECT_EQ(f.Etc.Language, stored);
  }
}

TEST_F(Language, FirstStartAsksOnceCentredWithEnglishPreselected) {
  bool englishTicked = false;
  QPoint expected;
  LanguageDialogAnswer answer([&](TForm31& d) {
    englishTicked = d.RadioButton(1)->isChecked() && !d.RadioButton(2)->isChecked();
    expected = CentredTopLeft(QRect(QPoint(0, 0), QGuiApplication::primaryScreen()->size()), d.frameGeometry().size());
    d.Button1()->click();
  });
  TForm1& w = Start("");
  EXPECT_EQ(answer.Shown(), 1);
  EXPECT_TRUE(englishTicked);
  EXPECT_EQ(answer.ShownAt(), expected);
  EXPECT_EQ(w.State().Etc.Language, 1);
  EXPECT_EQ(w.State().app.UseEnglish, 1);
  EXPECT_EQ(w.SpeedButton(3)->toolTip(), "Aircraft list window");
  Close();
  EXPECT_NE(Ini().find("Language=1\r\n"), std::string::npos);
}

TEST_F(Language, JapanesePictureAndOkKeepTheJapaneseTextsAndAreSaved) {
  {
    LanguageDialogAnswer answer([](TForm31& d) {
      Click(d.Image(2));
      d.Button1()->click();
    });
    TForm1& w = Start("");
    EXPECT_EQ(answer.Shown(), 1);
    EXPECT_EQ(w.State().Etc.Language, 2);
    EXPECT_EQ(w.State().app.UseEnglish, 0);
    EXPECT_EQ(w.SpeedButton(3)->toolTip(), "受信航空機リスト");
    EXPECT_EQ(w.MenuItem("N32")->text(), "HFDL自動周波数制御設定");
    Close();
    EXPECT_NE(Ini().find("Language=2\r\n"), std::string::npos);
  }
  LanguageDialogAnswer again;
  TForm1& w = Start("");  // the file of the first run
  EXPECT_EQ(again.Shown(), 0);
  EXPECT_EQ(w.State().app.UseEnglish, 0);
  Close();
}

TEST_F(Language, ThePicturesSelectTheirButtons) {
  Form1State f;
  TForm31 d(f);
  Click(d.Image(2));
  EXPECT_TRUE(d.RadioButton(2)->isChecked());
  EXPECT_FALSE(d.RadioButton(1)->isChecked());
  Click(d.Image(1));
  EXPECT_TRUE(d.RadioButton(1)->isChecked());
  EXPECT_FALSE(d.RadioButton(2)->isChecked());
  EXPECT_EQ(d.windowTitle(), "Skarvel ");
  EXPECT_EQ(d.size(), QSize(202, 142));
  EXPECT_EQ(d.palette().color(QPalette::Window), QColor(240, 240, 240));
}

TEST_F(Language, TheCloseBoxLeavesEnglish) {
  LanguageDialogAnswer answer([](TForm31& d) {
    Click(d.Image(2));
    d.close();
  });
  TForm1& w = Start("");
  EXPECT_EQ(answer.Shown(), 1);
  EXPECT_EQ(w.State().Etc.Language, 1);
  EXPECT_EQ(w.State().app.UseEnglish, 1);
  Close();
}

TEST_F(Language, AnyOtherStoredValueIsJapaneseWithoutAsking) {
  LanguageDialogAnswer answer;
  TForm1& w = Start("[Etc]\r\nLanguage=7\r\n");
  EXPECT_EQ(answer.Shown(), 0);
  EXPECT_EQ(w.State().app.UseEnglish, 0);
  EXPECT_EQ(w.SpeedButton(3)->toolTip(), "受信航空機リスト");
  Close();
  EXPECT_NE(Ini().find("Language=7\r\n"), std::string::npos);
}

// ---- EnglishTexts ----

using EnglishTexts = MainWindowTest;

TEST_F(EnglishTexts, EveryEntryOfTheBuiltWindowsHoldsItsText) {
  TForm1& w = StartEnglish();
  size_t count = 0;
  const EnglishText* table = EnglishTextTable(count);
  int checked = 0;
  for (size_t i = 0; i < count; ++i) {
    const EnglishText& e = table[i];
    if (e.form != 1 && e.form != 3 && e.form != 8 && e.form != 9 && e.form != 10 && e.form != 11 && e.form != 18 &&
        e.form != 30) {
      continue;
    }
    QObject* target = FindEnglishTextTarget(w, e);
    // The main window's file dialogs come with the map's and the imports'
    // commands.
    if (e.property == TextProperty::DialogTitle || e.property == TextProperty::DialogFilter) continue;
    ASSERT_NE(target, nullptr) << e.form << " " << e.name;
    EXPECT_EQ(HeldText(target, e).toStdString(), e.text) << e.form << " " << e.name;
    ++checked;
  }
  EXPECT_GT(checked, 100);
  Close();
}

TEST_F(EnglishTexts, SpotChecks) {
  TForm1& w = StartEnglish();
  EXPECT_EQ(w.SpeedButton(3)->toolTip(), "Aircraft list window");
  EXPECT_EQ(w.MenuItem("N32")->text(), "HFDL automatic remote frequncy control");
  EXPECT_EQ(w.Form(24)->windowTitle(), "HFDL automatic remote frequency control");
  EXPECT_EQ(w.Form(8)->windowTitle(), "Recoding Setting");
  EXPECT_EQ(qobject_cast<TForm9*>(w.Form(9))->Label1()->text(), "Now Changing device...");
  EXPECT_EQ(w.Panel(1)->toolTip(), "信号検出");
  EXPECT_EQ(w.windowTitle(), "Skarvel");
  EXPECT_EQ(qobject_cast<TForm3*>(w.Form(3))->Label(3)->text(), "");
  EXPECT_EQ(w.Form(31)->windowTitle(), "Skarvel ");
  EXPECT_EQ(w.MenuItem("N34")->text(), "Change map");
  Close();
}

TEST_F(EnglishTexts, EntriesStillWithoutAControl) {
  TForm1& w = StartEnglish();
  size_t count = 0;
  const EnglishText* table = EnglishTextTable(count);
  std::map<int, std::vector<std::string>> missing;
  for (size_t i = 0; i < count; ++i) {
    if (!FindEnglishTextTarget(w, table[i])) missing[table[i].form].push_back(table[i].name);
  }
  for (const auto& [form, names] : missing) {
    std::cout << "Form" << form << " (" << names.size() << "):";
    for (const std::string& n : names) std::cout << ' ' << n;
    std::cout << '\n';
  }
  EXPECT_EQ(missing.count(3) + missing.count(8) + missing.count(9) + missing.count(10) + missing.count(11) +
                missing.count(18) + missing.count(30),
            0u);
  Close();
}

}  // namespace
