// TForm1's handlers: each menu item, tool-bar button and picture reaches its
// command. The commands of this window live in main_commands.cpp, the
// audio monitor's in audio, the map's in map, the link's and the imports'
// in exchange.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include "aircraft/tform17.h"
#include "app/main_commands.h"
#include "app/map_wiring.h"
#include "app/skarvel_form.h"
#include "app/tform1.h"
#include "audio/audio_monitor.h"
#include "map/aircraft_layer.h"
#include "map/map_files.h"
#include "map/map_mouse.h"
#include "map/map_navigation.h"
#include "map/map_picture_file.h"
#include "platform/window_stacking.h"

void TForm1::RunCommand(const std::function<void()>& command) {
  if (command) command();
  reception_.RunRequestedRedraws();
  ControlsChanged();
}

void TForm1::ConnectMenuItem(const char* name, std::function<void()> command, StateField<flag> mark) {
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
    RunCommand(command);
  });
}

void TForm1::ConnectButton(int number, std::function<void()> command) {
  // A toggle's down state has already changed (and its mirror field with
  // it) when clicked arrives.
  connect(speedButtons_[number], &QToolButton::clicked, this, [this, command] { RunCommand(command); });
}

void TForm1::ConnectCommands() {
  Form1State& f = state_;
  FormEffects& e = *this;
  // Windows shown by a button, a menu item or the logo.
  for (const form1::ShowCommand& c : form1::kShowCommands) {
    const int number = c.formNumber;
    const bool modal = c.modal;
    auto show = [this, number, modal] { ShowForm(number, modal); };
    const QString component = QString::fromLatin1(c.component);
    if (component.startsWith(QLatin1String("SpeedButton"))) {
      connect(speedButtons_[component.mid(11).toInt()], &QToolButton::clicked, this, show);
    } else if (QAction* item = MenuItem(c.component)) {
      connect(item, &QAction::triggered, this, show);
    }
  }
  for (int image : {1, 2, 3, 4, 5, 6}) images_[image]->installEventFilter(this);

  // The tool bar.
  ConnectButton(12, [&f] { form1::PanMap(f, form1::PanDirection::West); });
  ConnectButton(15, [&f] { form1::PanMap(f, form1::PanDirection::East); });
  ConnectButton(13, [&f] { form1::PanMap(f, form1::PanDirection::North); });
  ConnectButton(14, [&f] { form1::PanMap(f, form1::PanDirection::South); });
  ConnectButton(9, [&f, &e] { form1::SubDisplayButtonClick(f, e, 9); });
  ConnectButton(10, [&f, &e] { form1::SubDisplayButtonClick(f, e, 10); });
  ConnectButton(11, [&f, &e] { form1::SubDisplayButtonClick(f, e, 11); });
  ConnectButton(16, [&f] { form1::SpeedButton16Click(f); });
  ConnectButton(8, [&f] { form1::SpeedButton8Click(f); });
  ConnectButton(1, [this, &f, &e] { form1::SpeedButton1Click(f, e, link_->Link()); });
  // The keep-alive.
  connect(timer3_, &QTimer::timeout, this, [this] { RunCommand([this] { link_->Link().Timer3Timer(); }); });
  connect(comboBox2_, &QComboBox::currentIndexChanged, this, [this] { RunCommand([this] { form1::ComboBox2Change(state_); }); });
  // The map's view: zoom, scale list, flat and globe, the overlays.
  MapState& map = f.mapView;
  ConnectButton(19, [&f, &map] { SpeedButton19Click(map, f.Map, f.controls); });
  ConnectButton(20, [&f, &map] { SpeedButton20Click(map, f.Map, f.controls); });
  // The list's mirror follows first; the zoom buttons set it with the
  // list's signals blocked.
  connect(comboBox1_, &QComboBox::currentIndexChanged, this,
          [this, &f, &map] { RunCommand([&f, &map] { ComboBox1Change(map, f.Map, f.controls); }); });
  ConnectButton(2, [&f, &map] { SpeedButton2Click(map, f.Map, f.controls); });
  ConnectButton(5, [&f, &map] { SpeedButton5Click(map, f.Map, f.controls); });
  for (int overlay : {21, 22, 23, 24, 25, 26, 27, 28}) ConnectButton(overlay, [&map] { OverlayButtonClick(map); });
  // The audio monitor.
  ConnectButton(17, [this] {
    SpeedButton17Click(state_.audio, state_.Form, state_.controls.SpeedButton17Down != 0, audio_);
  });

  // The popup menu.
  connect(popupMenu1_, &QMenu::aboutToShow, this, [this] { form1::PopupMenu1Popup(state_, *this); });
  ConnectMenuItem("N1", [this, &map] { N1Click(map, reception_.Map()); });
  ConnectMenuItem("N3", [&f, &e] { form1::N3Click(f, e); });
  ConnectMenuItem("N5", [&e] { form1::N5Click(e); });
  ConnectMenuItem("N6", [&f, &e] { form1::N6Click(f, e); });
  ConnectMenuItem("N10", [&f, &e] { form1::N10Click(f, e); });
  ConnectMenuItem("N11", [&f, &e] { form1::N11Click(f, e); }, STATE_FIELD(controls.N11Checked));
  ConnectMenuItem("N26", [&f, &e] { form1::N26Click(f, e); }, STATE_FIELD(controls.N26Checked));
  ConnectMenuItem("N27", [&f, &e] { form1::N27Click(f, e); }, STATE_FIELD(controls.N27Checked));
  ConnectMenuItem("N8", [&f, &e] { form1::N8Click(f, e); }, STATE_FIELD(controls.N8Checked));
  ConnectMenuItem("N21", [&f, &e] { form1::N21Click(f, e); }, STATE_FIELD(controls.N21Checked));
  ConnectMenuItem("N28", [&f, &e] { form1::N28Click(f, e); }, STATE_FIELD(controls.N28Checked));
  ConnectMenuItem("N24", [&f, &e] { form1::N24Click(f, e); }, STATE_FIELD(controls.N24Checked));
  ConnectMenuItem("N25", [&f, &e] { form1::N25Click(f, e); }, STATE_FIELD(controls.N25Checked));
  ConnectMenuItem("N13", [&f, &e] { form1::N13Click(f, e); });
  // The imports.
  ConnectMenuItem("N16", [this] { link_->Import().ImportRawLog(); });
  ConnectMenuItem("DATLOG1", [this] { link_->Import().ImportDatLog(); });
  ConnectMenuItem("flightcsv1", [&f] { form1::flightcsv1Click(f); });
  ConnectMenuItem("airlinecsv1", [&f] { form1::airlinecsv1Click(f); });
  ConnectMenuItem("N17", [&f] { form1::N17Click(f); });
  ConnectMenuItem("N20", [&f] { form1::N20Click(f); });
  ConnectMenuItem("EachLogs1", [&f] { form1::EachLogs1Click(f); });
  ConnectMenuItem("N36", [this, &f, &map] {
    N36Click(f.controls.MapFileMenu, f.Map, map, f.app.AppDir);
    BuildMapFileMenu();
  });
  ConnectMenuItem("N37", [&map] { N37Click(map); }, STATE_FIELD(mapView.MapDebug));
  ConnectMenuItem("N38", [&f, &map] { N38Click(map, f.controls); }, STATE_FIELD(controls.N38Checked));
}

namespace {

MouseEventAt MouseEventOf(const QMouseEvent& e) {
  MouseEventAt at;
  switch (e.button()) {
    case Qt::LeftButton:
      at.button = MouseButton::Left;
      break;
    case Qt::RightButton:
      at.button = MouseButton::Right;
      break;
    case Qt::MiddleButton:
      at.button = MouseButton::Middle;
      break;
    default:
      at.button = MouseButton::Other;
      break;
  }
  const Qt::KeyboardModifiers keys = e.modifiers();
  const Qt::MouseButtons held = e.buttons();
  at.shift = static_cast<uint8_t>((keys & Qt::ShiftModifier ? kShiftOption : 0) |
                                  (keys & Qt::AltModifier ? kAltOption : 0) |
                                  (keys & Qt::ControlModifier ? kCtrlOption : 0) |
                                  (held & Qt::LeftButton ? kLeftOption : 0) | (held & Qt::RightButton ? kRightOption : 0) |
                                  (held & Qt::MiddleButton ? kMiddleOption : 0));
  const QPoint p = e.position().toPoint();
  at.x = p.x();
  at.y = p.y();
  return at;
}

}  // namespace

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  const bool press = e->type() == QEvent::MouseButtonPress, release = e->type() == QEvent::MouseButtonRelease;
  if ((press || release) && (watched == images_[1] || watched == images_[2] || watched == images_[4])) {
    // A disabled map (a log being imported) takes no mouse input: a filter
    // sees the events of a disabled widget all the same.
    if (!static_cast<QWidget*>(watched)->isEnabled()) return true;
    // The right button's context menu comes with its own event: let it.
    const MouseEventAt at = MouseEventOf(*static_cast<QMouseEvent*>(e));
    MapWiring& map = reception_.Map();
    if (press && watched != images_[1]) {
      (watched == images_[2] ? Image2MouseDown : Image4MouseDown)(state_.mapView, at);
    } else if (release) {
      auto handler = watched == images_[1] ? Image1MouseUp : watched == images_[2] ? Image2MouseUp : Image4MouseUp;
      RunCommand([&map, handler, at] { handler(map.MouseContext(), at); });
    }
    return false;
  }
  if (e->type() == QEvent::MouseButtonRelease && watched == images_[5]) {
    form1::Image5MouseUp(state_, static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton);
    return true;
  }
  if (e->type() == QEvent::MouseButtonRelease && (watched == images_[3] || watched == images_[6])) {
    auto* mouse = static_cast<QMouseEvent*>(e);
    auto* image = static_cast<QLabel*>(watched);
    if (mouse->button() == Qt::LeftButton && image->rect().contains(mouse->position().toPoint())) {
      if (watched == images_[3]) {
        ShowForm(11, true);
      } else {
        form1::Image6Click(state_);
      }
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, e);
}

void TForm1::ShowAudioPicture(AudioPicture picture, const Bitmap24& bitmap) {
  bitmap.Show(images_[picture == AudioPicture::Spectrum ? 5 : 6]);
}

void TForm1::RestoreForm(int formNumber) {
  if (SkarvelForm* form = Form(formNumber)) {
    form->setWindowState(form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
  }
}

void TForm1::CopyToClipboard(const Bitmap24& picture) {
  if (!picture.IsNull()) QGuiApplication::clipboard()->setImage(picture.Image());
}

void TForm1::ShowMapPicture(const Bitmap24& picture) { picture.Show(images_[2]); }
void TForm1::ShowSideListPicture(const Bitmap24& picture) { picture.Show(images_[1]); }
void TForm1::ShowAltitudePicture(const Bitmap24& picture) { picture.Show(images_[4]); }

void TForm1::CloseForm(int formNumber) {
  if (SkarvelForm* form = Form(formNumber)) form->close();
}

void TForm1::HideForm(int formNumber) {
  if (SkarvelForm* form = Form(formNumber)) form->hide();
}

void TForm1::ClickSpeedButton(int number) {
  if (number >= 0 && number < static_cast<int>(speedButtons_.size()) && speedButtons_[number]) {
    speedButtons_[number]->click();
  }
}

void TForm1::ShowAircraftInformation(const AircraftInformation& information) {
  if (auto* window = qobject_cast<TForm17*>(Form(17))) window->ShowInformation(information);
}

void TForm1::SearchInformationFlight(const std::string& flightId) {
  if (auto* window = qobject_cast<TForm17*>(Form(17))) window->SearchFlight(flightId);
}

std::string TForm1::AskSaveMapPath() {
  platform::KeepModalInSight(*savePictureDialog1_);
  if (savePictureDialog1_->exec() != QDialog::Accepted) return {};
  const QStringList files = savePictureDialog1_->selectedFiles();
  return files.isEmpty() ? std::string() : files.first().toStdString();
}

void TForm1::ShowChatLog(const std::string&) { FormValuesChanged(12); }

void TForm1::FormValuesChanged(int formNumber) {
  if (SkarvelForm* form = Form(formNumber)) form->ValuesChanged();
}

std::string TForm1::AskImportPath(const std::string& titleUtf8) {
  openDialog1_->setWindowTitle(QString::fromStdString(titleUtf8));
  openDialog1_->setDirectory(QString::fromStdString(state_.app.AppDir));
  return ChooseImportPath ? ChooseImportPath() : std::string();
}

void TForm1::SetFullScreen(bool on) {
  // A nested loop runs below: a redraw asked for meanwhile is refused while
  // one is under way, as any other.
  if (on) {
    comboBox1_->repaint();
    comboBox2_->repaint();
    state_.Pos.MainMaximized = windowState() != Qt::WindowNoState ? 1 : 0;
    if (windowState() & Qt::WindowMaximized) showNormal();
    ProcessMessages();
    showFullScreen();
    return;
  }
  ProcessMessages();
  comboBox1_->repaint();
  comboBox2_->repaint();
  if (state_.Pos.MainMaximized) {
    showNormal();
    ProcessMessages();
    showMaximized();
    return;
  }
  showNormal();
  for (int n : {1, 2, 4, 8, 9}) panels_[n]->repaint();
}
