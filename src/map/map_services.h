#pragma once
// Operations of the map and aircraft display.
#include <cstdint>

struct Form1State;

class MapServices {
 public:
  virtual ~MapServices() = default;

  // Draws, as flagged and in this order: background, aircraft layer, side
  // list, altitude profile. Does nothing while RedrawBusy is set.
  virtual void Redraw(Form1State& form, uint8_t background, uint8_t aircraft, uint8_t sideList, uint8_t altitude);
  // The drawing part of the main window's resize: bitmap sizes, scale, redraw.
  virtual void FormResize(Form1State& form);
  virtual void SetFullScreen(Form1State& form, bool on);
  // A map file chosen from menu N34 (its index among the items).
  virtual void AppMenuClick(Form1State& form, int index);
  virtual void SpeedButton19Click(Form1State& form);  // zoom in
  virtual void SpeedButton20Click(Form1State& form);  // zoom out
  // Mouse release on the spectrum picture: leftButton steps FFTSel, any
  // other button toggles DispType.
  virtual void Image5MouseUp(Form1State& form, bool leftButton);
};

MapServices& DefaultMapServices();
