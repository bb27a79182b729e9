#pragma once
// What GUI-free code asks of the main window's widgets. TForm1 implements it;
// the default does nothing, so that the state runs without a window.
#include <string>

#include "audio/audio_links.h"
#include "platform/color.h"

class Bitmap24;

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
  // Lets pending window messages run (the nested loop of a long command).
  virtual void ProcessMessages() {}
  // Closes the main window as its close box does.
  virtual void CloseMainWindow() {}

  // The main window's resize handler: panels laid out by the menu marks,
  // then the map's part.
  virtual void FormResize() {}
  // A control inside dialog TFormN (for pictures, 1 is the main window),
  // found by its designer name; a window or control that does not exist
  // (yet) is skipped. Texts are UTF-8.
  virtual void SetControlText(int /*formNumber*/, const std::string& /*name*/, const std::string& /*utf8*/) {}
  virtual void SetControlPicture(int /*formNumber*/, const std::string& /*name*/, const Bitmap24& /*picture*/) {}
  // Brings dialog TFormN back from minimised or maximised.
  virtual void RestoreForm(int /*formNumber*/) {}
  virtual void CopyToClipboard(const Bitmap24& /*picture*/) {}

  static FormEffects& Null();
};
