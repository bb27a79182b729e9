#pragma once
// What GUI-free code asks of the main window's widgets. TForm1 implements it;
// the default does nothing, so that the state runs without a window.
#include <string>

#include "audio/audio_links.h"
#include "platform/color.h"

class Bitmap24;
struct AircraftInformation;

class FormEffects {
 public:
  virtual ~FormEffects() = default;

  // The control fields of the state changed: bring the widgets in line
  // without running their handlers.
  virtual void ControlsChanged() {}
  virtual void PaintLamp(Lamp, TColor) {}
  virtual void ArrangeStatusIndicators() {}
  // Shows dialog TFormN without waiting (modal=false) or modally.
  virtual void ShowForm(int /*formNumber*/, bool /*modal*/) {}
  virtual bool FormShowing(int /*formNumber*/) const { return false; }
  // Closes dialog TFormN as its close box does.
  virtual void CloseForm(int /*formNumber*/) {}
  // Takes it off the screen without what its close box would do: the
  // program ends the window, not the user (a countdown's close box cancels).
  virtual void HideForm(int /*formNumber*/) {}
  // Tool-bar button SpeedButtonN is clicked as by the user: a toggle
  // changes its down state, and its command runs.
  virtual void ClickSpeedButton(int /*number*/) {}
  // Lets pending window messages run (the nested loop of a long command).
  virtual void ProcessMessages() {}
  // Closes the main window as its close box does.
  virtual void CloseMainWindow() {}
  // Closes it at the end of a --fast run, with nobody there to answer a box.
  virtual void CloseMainWindowAtEndOfInput() {}

  // The main window's resize handler: panels laid out by the menu marks,
  // then the map's part.
  virtual void FormResize() {}
  // The waterfall (or constellation) and the clock panel of the status
  // panel.
  virtual void ShowAudioPicture(AudioPicture, const Bitmap24&) {}
  // The aircraft information window shows this aircraft.
  virtual void ShowAircraftInformation(const AircraftInformation&) {}
  // The information window searches the flight as if it were typed into
  // its search field and searched.
  virtual void SearchInformationFlight(const std::string& /*flightId*/) {}
  // The chat window shows the conversation so far (code page 932).
  virtual void ShowChatLog(const std::string& /*cp932Log*/) {}
  // The values dialog TFormN shows changed; it shows them afresh.
  virtual void FormValuesChanged(int /*formNumber*/) {}
  // The imports' open dialog OpenDialog1 with this title: the chosen log,
  // empty when cancelled.
  virtual std::string AskImportPath(const std::string& /*titleUtf8*/) { return {}; }
  // Brings dialog TFormN back from minimised or maximised.
  virtual void RestoreForm(int /*formNumber*/) {}
  virtual void CopyToClipboard(const Bitmap24& /*picture*/) {}
  // A line on the status bar (UTF-8).
  virtual void ShowStatusText(const std::string& /*utf8*/) {}
  // The map image Image2 shows the picture; the side list Image1 and the
  // altitude view Image4 theirs.
  virtual void ShowMapPicture(const Bitmap24& /*picture*/) {}
  virtual void ShowSideListPicture(const Bitmap24& /*picture*/) {}
  virtual void ShowAltitudePicture(const Bitmap24& /*picture*/) {}
  // Borderless and maximised, or back, with pending messages run between.
  virtual void SetFullScreen(bool /*on*/) {}
  // The save-picture dialog SavePictureDialog1: the chosen path, empty
  // when cancelled.
  virtual std::string AskSaveMapPath() { return {}; }

  static FormEffects& Null();
};
