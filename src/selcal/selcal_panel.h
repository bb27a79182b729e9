#pragma once
// The SELCAL panel without its window: the last code with its aircraft,
// the own code typed on the keypad, the bell, the monitor opened on the
// calling channel (for a set time), and the monitor's options. It runs
// whether the window shows or not; the window only shows its values.
// Settings are written at each change.
#include <QMetaObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/settings_sections.h"
#include "platform/bitmap24.h"

struct SelcalPanelState;
struct SelcalState;

// What the panel reaches outside SELCAL. Texts are code page 932.
class SelcalPanelLink {
 public:
  virtual ~SelcalPanelLink() = default;
  // The main window's monitor button as its state: setting it runs no
  // handler.
  virtual bool MainMonitorDown() const = 0;
  virtual void SetMainMonitorDown(bool down) = 0;
  // Does nothing while the main monitor button is up.
  virtual void StartAudioMonitor(bool forced, int channel) = 0;
  virtual void WriteSilentMonitorBlock() = 0;
  virtual void RedrawAircraftLayer() = 0;
  // Plays the wave file in the background.
  virtual void PlaySound(const std::string& path) = 0;
  // The type aircraft.csv gives the registration; false when none.
  virtual bool LookupAircraftType(const std::string& registration, std::string& type) = 0;
  // The description ICAO24.csv gives; "NO DATA" when none.
  virtual std::string LookupIcao24Description(const std::string& registration) = 0;
  // Nothing when the file is missing or damaged; a picture larger than
  // the size given may come decoded down towards it.
  virtual std::optional<Bitmap24> LoadJpeg(const std::string& path, int maxWidth, int maxHeight) = 0;
};

// The files the panel reads, as the program state holds their paths.
struct SelcalFiles {
  const std::string& CodeFile;    // data/selcal.csv
  const std::string& BellSound;   // selcall.wav
  const std::string& PicsFolder;  // pics
};

enum class PanelMouseButton { Left, Right, Other };

// A text over the panel's picture (code page 932): the top left of its
// cell, its colour and size, and a black shadow a pixel right and down of
// it, or all round it.
struct SelcalPanelText {
  int x, y;
  std::string text;
  TColor colour;
  int points;
  bool shadowAround;
};

// The texts over the picture: the call with its aircraft when the code file
// names one, else the code alone; then the code being typed.
std::vector<SelcalPanelText> SelcalPanelTexts(const std::string& code, const std::string& registration,
                                              const std::string& type, const std::string& typedCode);
// The picture is the photograph's size, wider where the widest codes'
// texts need it in the font in use.
int SelcalPictureWidth();

class SelcalPanel {
 public:
  SelcalPanel(SelcalPanelState& state, EtcSettings& etc, FormSettings& form, SelcalFiles files,
              SelcalPanelLink& link);
  ~SelcalPanel();
  SelcalPanel(const SelcalPanel&) = delete;
  SelcalPanel& operator=(const SelcalPanel&) = delete;

  // The panel's construction at start-up, once the settings are in.
  void Construct();

  const SelcalPanelState& State() const { return state_; }
  const FormSettings& Settings() const { return form_; }
  bool MoniDown() const { return moniDown_; }
  // Runs after every change the window shows: picture, buttons, seconds.
  std::function<void()> Changed;

  // A code from the tone decoder.
  void SelcalReceived(const std::string& code, int channel);
  void FormShow();
  // Keypad key 0..15, lettered A..S without I, N and O.
  void ButtonClick(int key);
  void CommitTypedCode();
  void DrawSelcalDisplay(bool reloadPhoto);

  // The toggles, with their new down state.
  void SpeedButton1Click(bool down);  // BEL
  void SpeedButton2Click(bool down);  // MONI
  void SpeedButton3Click(bool down);  // RDO
  void SpeedButton4Click(bool down);  // 3D
  void SpeedButton5Click(bool down);  // NR
  void SpeedButton6Click(bool down);  // AN
  void SpeedButton7Click(bool down);  // TIME MONI
  // MONI's state as the map's quick button sets it: no handler runs.
  void SetMoniDown(bool down);
  // The seconds of TIME MONI: left adds 5, right takes 5.
  void Panel3MouseUp(PanelMouseButton button);
  void Timer1Timer();

 private:
  void CloseMonitor();
  void StartTimer1();
  void LoadPhoto(const std::string& registration);
  void Notify();

  SelcalPanelState& state_;
  EtcSettings& etc_;
  FormSettings& form_;
  SelcalFiles files_;
  SelcalPanelLink& link_;
  bool moniDown_ = false;
  QMetaObject::Connection timer1Connection_;
};

// The main monitor button went up with TIME MONI on: the timed monitor
// ends with it.
void DisableTimer1(SelcalState& selcal);
