#pragma once
// The main window: the map with its tool bar, side list, altitude view,
// modem/time panel, status lamps and the right-click menu. It owns the
// shared state and mirrors the state's control fields onto its widgets.
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "app/audio_wiring.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "app/link_wiring.h"
#include "app/reception_wiring.h"

class QAction;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QMenu;
class QTimer;
class QToolButton;
class CaptureReceiver;
class SkarvelForm;

class TForm1 : public QMainWindow, public FormEffects {
  Q_OBJECT
 public:
  // Builds the window and runs the constructor's steps: every table, the
  // settings, paths, clamps, the network start and the bitmaps. The audio
  // devices are opened by OpenAudioDevices, once the caller is ready.
  TForm1();
  ~TForm1() override;

  Form1State& State() { return state_; }
  // The decoders and the road of decoded messages.
  ReceptionWiring& Reception() { return reception_; }
  // The audio subsystem's links to the rest of the program.
  AudioWiring& Audio() { return audio_; }
  // The link between copies, the log import and the ACARS item.
  LinkWiring& Link() { return *link_; }
  // Where the recording device posts its buffers.
  QObject* AudioReceiver() const;

  // Constructor step 29 and FormCreate.
  void OpenAudioDevices();
  void FormCreate();
  // Runs once, before the window first appears (its language dialog comes
  // before the main window).
  void FormShow();
  bool Closing() const { return closing_; }
  // The close has run (FormClose, the save).
  bool Closed() const { return closed_; }
  // What the program exits with: 1 when the settings or any log record or
  // other file could not be written (a read-only settings file, or a
  // second copy's settings, left unsaved on purpose, are no failure).
  int ExitStatus() const;

  // The dialogs, created after the main window in class-number order.
  void AddForm(SkarvelForm* form);
  SkarvelForm* Form(int number) const;

  // A close request from the system (a signal): closes an open box as its
  // Escape would, then the window; before the first show, right after it.
  // Nobody answers a box during such a close.
  void RequestCloseFromSystem();
  void ShowDone();

  // FormEffects
  void ControlsChanged() override;
  void PaintLamp(Lamp lamp, TColor colour) override;
  void ArrangeStatusIndicators() override;
  void ShowForm(int formNumber, bool modal) override;
  bool FormShowing(int formNumber) const override;
  void ProcessMessages() override;
  void CloseMainWindow() override;
  void CloseMainWindowAtEndOfInput() override;
  void FormResize() override;
  void setVisible(bool visible) override;
  void ShowAudioPicture(AudioPicture picture, const Bitmap24& bitmap) override;
  void RestoreForm(int formNumber) override;
  void CopyToClipboard(const Bitmap24& picture) override;
  void ShowStatusText(const std::string& utf8) override;
  void ShowMapPicture(const Bitmap24& picture) override;
  void ShowSideListPicture(const Bitmap24& picture) override;
  void ShowAltitudePicture(const Bitmap24& picture) override;
  void SetFullScreen(bool on) override;
  std::string AskSaveMapPath() override;
  void ShowChatLog(const std::string& cp932Log) override;
  void FormValuesChanged(int formNumber) override;
  void CloseForm(int formNumber) override;
  void HideForm(int formNumber) override;
  std::string AskImportPath(const std::string& titleUtf8) override;
  void ClickSpeedButton(int number) override;
  void ShowAircraftInformation(const AircraftInformation& information) override;
  void SearchInformationFlight(const std::string& flightId) override;

  // The imports' open dialog, set up; tests answer in its place. Empty
  // means Cancel.
  std::function<std::string()> ChooseImportPath;

  QToolButton* SpeedButton(int n) const { return speedButtons_.at(n); }
  QComboBox* ComboBox1() const { return comboBox1_; }
  QComboBox* ComboBox2() const { return comboBox2_; }
  QMenu* PopupMenu1() const { return popupMenu1_; }
  QMenu* N34() const { return n34_; }
  QAction* MenuItem(const char* name) const;
  QWidget* Panel(int n) const;
  QLabel* Image(int n) const;
  QTimer* Timer3() const { return timer3_; }
  QFileDialog* SavePictureDialog1() const { return savePictureDialog1_; }
  QFileDialog* OpenDialog1() const { return openDialog1_; }

 protected:
  // Clicks on the logo (Image3), the clock (Image6) and the spectrum
  // (Image5); the mouse on the side list, the map and the altitude view
  // (Image1, Image2, Image4).
  bool eventFilter(QObject* watched, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void BuildToolBar();
  void BuildPanels();
  void BuildPopupMenu();
  void BuildSavePictureDialog();
  void BuildOpenDialog();
  void BuildMapFileMenu();
  void CreateBitmaps();
  void LayoutPanels();
  void ConnectControlFields();
  // The handlers of the menu items, buttons and pictures (tform1_commands.cpp).
  void ConnectCommands();
  // A command runs; then the map layers it asked for are drawn and the
  // widgets follow the state.
  void ConnectMenuItem(const char* name, std::function<void()> command, StateField<flag> mark = nullptr);
  void ConnectButton(int number, std::function<void()> command);
  void RunCommand(const std::function<void()>& command);
  void FormActivate();
  void FormClose();
  // From a close's start to the program's end.
  void DropInputUntilTheEnd();
  // Between slices of the close's long work.
  void AnswerWhileClosing();
  void DrawClosingNotice();
  void SaveSettingsToFile();
  void CaptureWindowsIntoState();

  Form1State state_;
  ReceptionWiring reception_{state_, *this};
  AudioWiring audio_{state_, *this, reception_};
  // Made before the start opens the server, and gone after the close.
  std::unique_ptr<LinkWiring> link_;
  // A child: it goes with the window's QObject, after the state.
  CaptureReceiver* audioReceiver_ = nullptr;
  std::array<QToolButton*, 29> speedButtons_{};
  QComboBox* comboBox1_ = nullptr;
  QComboBox* comboBox2_ = nullptr;
  QFrame* panels_[12] = {};
  QLabel* images_[7] = {};
  QMenu* popupMenu1_ = nullptr;
  QMenu* n34_ = nullptr;
  QTimer* timer3_ = nullptr;
  QFileDialog* savePictureDialog1_ = nullptr;
  QFileDialog* openDialog1_ = nullptr;
  std::array<SkarvelForm*, 32> forms_{};
  std::array<TColor, 3> lampColors_{};
  bool formShowDone_ = false;
  bool shown_ = false;
  bool closePending_ = false;
  bool closing_ = false;
  bool closed_ = false;
  // A signal or the end of a --fast run asked for the close.
  bool unattendedClose_ = false;
  bool settingsLost_ = false;
  // Search strings changed in this run that never reached their file.
  bool searchStringsLost_ = false;
  // Set once a close begins.
  std::unique_ptr<QObject> noInput_;
  // A file that could not be read before the language was known.
  std::string unreadAtStart_;
  // Not held when another copy of the program folder runs (that one saves
  // the settings) or its lock file cannot be taken.
  FolderHold folderHold_{true, "", ""};
};
