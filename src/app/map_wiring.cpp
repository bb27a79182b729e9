#include "app/map_wiring.h"

#include "aircraft/reference_data.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "map/map_redraw.h"

MapContext MapWiring::Context() { return {form_.Map, form_.Color, form_.controls, *this, *this}; }

void MapWiring::Redraw(MapLayers layers) { ::Redraw(form_.mapView, Context(), layers); }

void MapWiring::ShowMapPicture(const Bitmap24& picture) { effects_.ShowMapPicture(picture); }

void MapWiring::ResetBlockCounter() { form_.audio.BlockCounter = 0; }

void MapWiring::SetFullScreen(bool on) { effects_.SetFullScreen(on); }

std::string MapWiring::AskSaveMapPath() { return effects_.AskSaveMapPath(); }

std::string MapWiring::LookupAirportName(const std::string& code) {
  return ::LookupAirportName(form_.aircraft.Files, code);
}
