// The commands, the language choice and the English texts on the real
// windows (offscreen).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

#include "app/click_label.h"
#include "app/english_texts.h"
#include "app/main_commands.h"
#include "app/tform3.h"
#include "main_window_fixture.h"

namespace {

void Click(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
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

TEST_F(Commands, APanelsMarkChangesOncePerClickAndThePanelFollows) {
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  for (int click = 0; click < 2; ++click) {
    const flag before = f.controls.N11Checked;
    w.MenuItem("N11")->trigger();
    EXPECT_EQ(f.controls.N11Checked, 1 - before);
    EXPECT_EQ(w.MenuItem("N11")->isChecked(), f.controls.N11Checked != 0);
    EXPECT_EQ(w.Panel(7)->isVisibleTo(&w), f.controls.N11Checked != 0);
  }
  Close();
}

TEST_F(Commands, TheConnectButtonThatCannotConnectComesBackUp) {
  TForm1& w = StartJapanese();
  ModalCloser modals;  // the connection dialog, closed: no connection asked
  w.SpeedButton(1)->click();
  EXPECT_EQ(modals.Closed(), std::vector<std::string>{"Form14"});
  EXPECT_FALSE(w.SpeedButton(1)->isChecked());
  // Confirmed, but no port can be had: the connection fails at once.
  w.State().Net.ClientPortNo = "0";
  modals.inspect = [&](QWidget&) { w.State().exchange.ConnectRequested = 1; };
  w.SpeedButton(1)->click();
  EXPECT_FALSE(w.SpeedButton(1)->isChecked());
  EXPECT_EQ(w.State().exchange.Connecting, 0);
  EXPECT_EQ(boxes_.Texts().back(), "接続できません");
  Close();
}

// The excluded carriers are taken over when the dialog closes, in code
// page 932: Exit closes it first.
TEST_F(Commands, ExitSavesTheCarriersTypedIntoAnOpenDialog) {
  TForm1& w = StartEnglish();
  w.MenuItem("N19")->trigger();
  qobject_cast<TForm3*>(w.Form(3))->Edit1()->setText("NH,ＪＡ");
  EXPECT_EQ(w.State().Etc.PassList, "");
  w.MenuItem("N5")->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.State().app.Running, 0);
  EXPECT_NE(Ini().find("PassList=NH,\x82\x69\x82\x60\r\n"), std::string::npos);
}

// ---- Language ----

using Language = MainWindowTest;

// A first start asks once, English ticked, and keeps the answer; a stored
// answer is not asked again, and any value but 1 is Japanese.
TEST_F(Language, TheFirstStartAsksOnceAndTheAnswerIsKept) {
  struct Case {
    const char* settings;
    std::vector<int> pictures;  // clicked in turn, then OK or the close box
    bool ok;
    int asked;
    bool english;
    const char* saved;
  };
  const Case cases[] = {
      {"", {}, true, 1, true, "1"},
      {"", {2}, true, 1, false, "2"},
      {"", {2, 1}, true, 1, true, "1"},
      {"", {2}, false, 1, true, "1"},  // the close box leaves English
      {"[Etc]\r\nLanguage=2\r\n", {}, true, 0, false, "2"},
      {"[Etc]\r\nLanguage=7\r\n", {}, true, 0, false, "7"},
  };
  for (const Case& c : cases) {
    ::unlink(dir_.File("skarvel.ini").c_str());
    ModalCloser language;
    language.answer = LanguageAnswer([&](TForm31& d) {
      for (int picture : c.pictures) Click(d.Image(picture));
      c.ok ? d.Button1()->click() : static_cast<void>(d.close());
    });
    TForm1& w = Start(c.settings);
    EXPECT_EQ(language.Count("Form31"), c.asked) << c.saved;
    EXPECT_EQ(w.State().app.UseEnglish, c.english) << c.saved;
    EXPECT_EQ(w.SpeedButton(3)->toolTip(), c.english ? "Aircraft list window" : "受信航空機リスト") << c.saved;
    Close();
    EXPECT_NE(Ini().find("Language=" + std::string(c.saved) + "\r\n"), std::string::npos) << c.saved;
  }
}

// ---- EnglishTexts ----

std::string WindowOf(const EnglishText& e) {
  if (e.form == 1 && (e.property == TextProperty::DialogTitle || e.property == TextProperty::DialogFilter)) {
    return e.name;
  }
  return "Form" + std::to_string(e.form);
}

// The text an entry's control holds now.
QString HeldText(QObject* target, const EnglishText& entry) {
  switch (entry.property) {
    case TextProperty::Hint:
      if (auto* action = qobject_cast<QAction*>(target)) return action->toolTip();
      return qobject_cast<QWidget*>(target)->toolTip();
    case TextProperty::Column:
      if (auto* tree = qobject_cast<QTreeWidget*>(target)) return tree->headerItem()->text(0);
      return {};
    case TextProperty::DialogTitle:
      return qobject_cast<QWidget*>(target)->windowTitle();
    case TextProperty::DialogFilter:
      if (auto* dialog = qobject_cast<QFileDialog*>(target)) return dialog->nameFilters().value(0);
      return {};
    case TextProperty::Caption:
      if (auto* action = qobject_cast<QAction*>(target)) return action->text();
      if (auto* button = qobject_cast<QAbstractButton*>(target)) return button->text();
      if (auto* label = qobject_cast<QLabel*>(target)) return label->text();
      if (auto* group = qobject_cast<QGroupBox*>(target)) return group->title();
      return qobject_cast<QWidget*>(target)->windowTitle();
  }
  return {};
}

using EnglishTexts = MainWindowTest;

// Every entry names a control, which then shows the entry's text.
TEST_F(EnglishTexts, EveryEntryNamesAControlThatShowsItsText) {
  TForm1& w = StartEnglish();
  size_t count = 0;
  const EnglishText* table = EnglishTextTable(count);
  int checked = 0;
  for (size_t i = 0; i < count; ++i) {
    const EnglishText& e = table[i];
    const std::string window = WindowOf(e);
    QObject* target = FindEnglishTextTarget(w, e);
    if (!target) {
      ADD_FAILURE() << window << " has no control " << e.name;
      continue;
    }
    EXPECT_EQ(HeldText(target, e).toStdString(), e.text) << window << " " << e.name;
    ++checked;
  }
  EXPECT_GT(checked, 100);
  Close();
}

}  // namespace
