// TForm1's handlers: each menu item, tool-bar button and picture reaches its
// command. The commands of this window live in main_commands.cpp; those of
// the map, the logs and the audio monitor in their subsystems' services.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QToolButton>

#include "app/main_commands.h"
#include "app/skarvel_form.h"
#include "app/tform1.h"
#include "audio/audio_monitor.h"
#include "exchange/exchange_services.h"
#include "map/map_services.h"

namespace {

template <void (MapServices::*Method)(Form1State&)>
void Map(Form1State& f) {
  (f.svc.map->*Method)(f);
}

template <void (ExchangeServices::*Method)(Form1State&)>
void Exchange(Form1State& f) {
  (f.svc.exchange->*Method)(f);
}

void ShowCommandForm(Form1State& f, int number, bool modal) { f.svc.effects->ShowForm(number, modal); }

}  // namespace

void TForm1::ConnectMenuItem(const char* name, void (*command)(Form1State&), StateField<flag> mark) {
  QAction* item = MenuItem(name);
  if (!item) return;
  connect(item, &QAction::triggered, this, [this, item, command, mark](bool checked) {
    // A menu item's check mark is its command's to set: undo the toggle
    // that Qt made before the command runs.
    if (item->isCheckable()) {
      QSignalBlocker block(item);
      item->setChecked(!checked);
      if (mark) mark(state_) = checked ? 0 : 1;
    }
    command(state_);
    ControlsChanged();
  });
}

void TForm1::ConnectButton(int number, void (*command)(Form1State&)) {
  // A toggle's down state has already changed (and its mirror field with
  // it) when clicked arrives.
  connect(speedButtons_[number], &QToolButton::clicked, this, [this, command] {
    command(state_);
    ControlsChanged();
  });
}

void TForm1::ConnectCommands() {
  // Windows shown by a button, a menu item or the logo.
  for (const form1::ShowCommand& c : form1::kShowCommands) {
    const int number = c.formNumber;
    const bool modal = c.modal;
    auto show = [this, number, modal] { ShowCommandForm(state_, number, modal); };
    const QString component = QString::fromLatin1(c.component);
    if (component.startsWith(QLatin1String("SpeedButton"))) {
      connect(speedButtons_[component.mid(11).toInt()], &QToolButton::clicked, this, show);
    } else if (QAction* item = MenuItem(c.component)) {
      connect(item, &QAction::triggered, this, show);
    }
  }
  images_[3]->installEventFilter(this);
  images_[6]->installEventFilter(this);

  // The tool bar.
  ConnectButton(12, [](Form1State& f) { form1::PanMap(f, form1::PanDirection::West); });
  ConnectButton(15, [](Form1State& f) { form1::PanMap(f, form1::PanDirection::East); });
  ConnectButton(13, [](Form1State& f) { form1::PanMap(f, form1::PanDirection::North); });
  ConnectButton(14, [](Form1State& f) { form1::PanMap(f, form1::PanDirection::South); });
  ConnectButton(9, [](Form1State& f) { form1::SubDisplayButtonClick(f, 9); });
  ConnectButton(10, [](Form1State& f) { form1::SubDisplayButtonClick(f, 10); });
  ConnectButton(11, [](Form1State& f) { form1::SubDisplayButtonClick(f, 11); });
  ConnectButton(16, form1::SpeedButton16Click);
  ConnectButton(8, form1::SpeedButton8Click);
  ConnectButton(1, form1::SpeedButton1Click);
  connect(comboBox2_, &QComboBox::currentIndexChanged, this, [this] {
    form1::ComboBox2Change(state_);
    ControlsChanged();
  });
  // The map's own buttons.
  ConnectButton(19, Map<&MapServices::SpeedButton19Click>);
  ConnectButton(20, Map<&MapServices::SpeedButton20Click>);
  ConnectButton(2, Map<&MapServices::SpeedButton2Click>);
  ConnectButton(5, Map<&MapServices::SpeedButton5Click>);
  ConnectButton(21, Map<&MapServices::SpeedButton21Click>);
  ConnectButton(22, Map<&MapServices::SpeedButton22Click>);
  ConnectButton(23, Map<&MapServices::SpeedButton23Click>);
  ConnectButton(24, Map<&MapServices::SpeedButton24Click>);
  ConnectButton(28, Map<&MapServices::SpeedButton28Click>);
  ConnectButton(25, Map<&MapServices::SpeedButton25Click>);
  ConnectButton(26, Map<&MapServices::SpeedButton26Click>);
  ConnectButton(27, Map<&MapServices::SpeedButton27Click>);
  connect(comboBox1_, &QComboBox::currentIndexChanged, this, [this] {
    state_.svc.map->ComboBox1Change(state_);
    ControlsChanged();
  });
  // The audio monitor.
  connect(speedButtons_[17], &QToolButton::clicked, this, [this] {
    SpeedButton17Click(state_.audio, state_.Form, state_.controls.SpeedButton17Down != 0, audio_);
    ControlsChanged();
  });

  // The popup menu.
  connect(popupMenu1_, &QMenu::aboutToShow, this, [this] { form1::PopupMenu1Popup(state_); });
  ConnectMenuItem("N3", form1::N3Click);
  ConnectMenuItem("N5", form1::N5Click);
  ConnectMenuItem("N6", form1::N6Click);
  ConnectMenuItem("N10", form1::N10Click);
  ConnectMenuItem("N11", form1::N11Click, STATE_FIELD(controls.N11Checked));
  ConnectMenuItem("N26", form1::N26Click, STATE_FIELD(controls.N26Checked));
  ConnectMenuItem("N27", form1::N27Click, STATE_FIELD(controls.N27Checked));
  ConnectMenuItem("N8", form1::N8Click, STATE_FIELD(controls.N8Checked));
  ConnectMenuItem("N21", form1::N21Click, STATE_FIELD(controls.N21Checked));
  ConnectMenuItem("N28", form1::N28Click, STATE_FIELD(controls.N28Checked));
  ConnectMenuItem("N24", form1::N24Click, STATE_FIELD(controls.N24Checked));
  ConnectMenuItem("N25", form1::N25Click, STATE_FIELD(controls.N25Checked));
  ConnectMenuItem("N13", form1::N13Click);
  ConnectMenuItem("flightcsv1", form1::flightcsv1Click);
  ConnectMenuItem("airlinecsv1", form1::airlinecsv1Click);
  ConnectMenuItem("N17", form1::N17Click);
  // The map's, the logs' and the imports' items.
  ConnectMenuItem("N1", Map<&MapServices::N1Click>);
  ConnectMenuItem("N37", Map<&MapServices::N37Click>, STATE_FIELD(mapView.MapDebug));
  ConnectMenuItem("N38", Map<&MapServices::N38Click>, STATE_FIELD(controls.N38Checked));
  ConnectMenuItem("N20", Exchange<&ExchangeServices::N20Click>);
  ConnectMenuItem("EachLogs1", Exchange<&ExchangeServices::EachLogs1Click>);
  ConnectMenuItem("N16", Exchange<&ExchangeServices::N16Click>);
  ConnectMenuItem("DATLOG1", Exchange<&ExchangeServices::DATLOG1Click>);
  connect(MenuItem("N36"), &QAction::triggered, this, [this] {
    state_.svc.map->N36Click(state_);
    BuildMapFileMenu();
    ControlsChanged();
  });
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonRelease && (watched == images_[3] || watched == images_[6])) {
    auto* mouse = static_cast<QMouseEvent*>(e);
    auto* image = static_cast<QLabel*>(watched);
    if (mouse->button() == Qt::LeftButton && image->rect().contains(mouse->position().toPoint())) {
      if (watched == images_[3]) {
        ShowCommandForm(state_, 11, true);
      } else {
        form1::Image6Click(state_);
      }
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, e);
}

void TForm1::SetControlText(int formNumber, const std::string& name, const std::string& utf8) {
  SkarvelForm* form = Form(formNumber);
  if (!form) return;
  QObject* control = form->findChild<QObject*>(QString::fromStdString(name));
  const QString text = QString::fromStdString(utf8);
  if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
    memo->setPlainText(text);
  } else if (auto* rich = qobject_cast<QTextEdit*>(control)) {
    rich->setPlainText(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(text);
  }
}

void TForm1::SetControlPicture(int formNumber, const std::string& name, const Bitmap24& picture) {
  // Form 1 is this window (Image5 and Image6 of the modem and time panel).
  QWidget* form = formNumber == 1 ? static_cast<QWidget*>(this) : Form(formNumber);
  if (!form) return;
  if (auto* image = form->findChild<QLabel*>(QString::fromStdString(name))) picture.Show(image);
}

void TForm1::RestoreForm(int formNumber) {
  if (SkarvelForm* form = Form(formNumber)) {
    form->setWindowState(form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
  }
}

void TForm1::CopyToClipboard(const Bitmap24& picture) {
  if (!picture.IsNull()) QGuiApplication::clipboard()->setImage(picture.Image());
}
