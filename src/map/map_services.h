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

  // Main-window commands of the map. A menu item's check mark is as it was
  // before the click: the handler sets it.
  virtual void N1Click(Form1State& form);   // save the map picture
  virtual void N36Click(Form1State& form);  // list the map files again (MapFileMenu)
  virtual void N37Click(Form1State& form);  // map debug mode (MapDebug)
  virtual void N38Click(Form1State& form);  // the buttons on the map (N38Checked)
  virtual void ComboBox1Change(Form1State& form);  // a zoom step chosen (ComboBox1Index)
  // Tool-bar toggles; their down state has changed when these run.
  virtual void SpeedButton2Click(Form1State& form);  // globe view
  virtual void SpeedButton5Click(Form1State& form);  // flat map
  virtual void SpeedButton21Click(Form1State& form);  // VOR/DME
  virtual void SpeedButton22Click(Form1State& form);  // VORTAC
  virtual void SpeedButton23Click(Form1State& form);  // NDB
  virtual void SpeedButton24Click(Form1State& form);  // waypoints
  virtual void SpeedButton28Click(Form1State& form);  // airports
  virtual void SpeedButton25Click(Form1State& form);  // VOR airways
  virtual void SpeedButton26Click(Form1State& form);  // NDB airways
  virtual void SpeedButton27Click(Form1State& form);  // NAV airways
};

MapServices& DefaultMapServices();
