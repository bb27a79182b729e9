#include "map/map_services.h"

#include "app/form1_state.h"
#include "platform/paths.h"

void MapServices::Redraw(Form1State&, uint8_t, uint8_t, uint8_t, uint8_t) {}

void MapServices::FormResize(Form1State&) {}

void MapServices::SetFullScreen(Form1State&, bool) {}

void MapServices::AppMenuClick(Form1State& form, int index) {
  if (index < 0 || index >= static_cast<int>(form.controls.MapFileMenu.size())) return;
  form.mapView.MapFileName = platform::JoinPath(platform::JoinPath(form.app.AppDir, "lines"), form.controls.MapFileMenu[index]);
  Redraw(form, 1, 1, 1, 1);
  form.Map.MapNo = index;
}

void MapServices::SpeedButton19Click(Form1State&) {}

void MapServices::SpeedButton20Click(Form1State&) {}

void MapServices::Image5MouseUp(Form1State&, bool) {}

void MapServices::N1Click(Form1State&) {}
void MapServices::N36Click(Form1State&) {}
void MapServices::N37Click(Form1State&) {}
void MapServices::N38Click(Form1State&) {}
void MapServices::ComboBox1Change(Form1State&) {}
void MapServices::SpeedButton2Click(Form1State&) {}
void MapServices::SpeedButton5Click(Form1State&) {}
void MapServices::SpeedButton21Click(Form1State&) {}
void MapServices::SpeedButton22Click(Form1State&) {}
void MapServices::SpeedButton23Click(Form1State&) {}
void MapServices::SpeedButton24Click(Form1State&) {}
void MapServices::SpeedButton28Click(Form1State&) {}
void MapServices::SpeedButton25Click(Form1State&) {}
void MapServices::SpeedButton26Click(Form1State&) {}
void MapServices::SpeedButton27Click(Form1State&) {}

MapServices& DefaultMapServices() {
  static MapServices services;
  return services;
}
