#include "map/map_navigation.h"

#include "map/map_projection.h"
#include "map/map_redraw.h"
#include "map/zoom_factors.h"

namespace {

const MapLayers kViewLayers = {MapLayer::Background, MapLayer::Aircraft, MapLayer::Altitude};

void ZoomTo(MapState& map, MapSettings& settings, MapControls& controls, int step) {
  if (step < 0 || step >= static_cast<int>(ZoomFactors.size())) return;
  controls.ComboBox1Index = step;
  ApplyScaleRule(map, step);
  map.KeepViewOnce = 1;
  ApplyLatitudeRule(map, settings);
  RequestRedraw(map, kViewLayers);
}

void ResizeTo(Bitmap24& bitmap, PixelSize size) {
  const int width = size.width < 1 ? 1 : size.width, height = size.height < 1 ? 1 : size.height;
  if (bitmap.IsNull() || bitmap.Width() != width || bitmap.Height() != height) bitmap.Resize(width, height);
}

}  // namespace

void SpeedButton19Click(MapState& map, MapSettings& settings, MapControls& controls) {
  ZoomTo(map, settings, controls, controls.ComboBox1Index + 1);
}

void SpeedButton20Click(MapState& map, MapSettings& settings, MapControls& controls) {
  ZoomTo(map, settings, controls, controls.ComboBox1Index - 1);
}

void ComboBox1Change(MapState& map, MapSettings& settings, const MapControls& controls) {
  ApplyScaleRule(map, controls.ComboBox1Index);
  if (controls.ComboBox1Index == 0) settings.MapCentN = 0.0;
  map.KeepViewOnce = 1;
  ApplyLatitudeRule(map, settings);
  RequestRedraw(map, kViewLayers);
}

void OverlayButtonClick(MapState& map) {
  map.KeepViewOnce = 1;
  RequestRedraw(map, {MapLayer::Background, MapLayer::Aircraft});
}

void SpeedButton5Click(MapState& map, MapSettings& settings, MapControls& controls) {
  const bool globeShown = controls.SpeedButton2Down != 0;
  controls.SpeedButton2Down = 0;
  controls.SpeedButton5Down = 1;
  if (!globeShown) return;
  settings.MapCentN = -settings.ViewDeg;
  ApplyLatitudeRule(map, settings);
  RequestRedraw(map, kViewLayers);
}

void SpeedButton2Click(MapState& map, MapSettings& settings, MapControls& controls) {
  const bool flatShown = controls.SpeedButton5Down != 0;
  controls.SpeedButton2Down = 1;
  controls.SpeedButton5Down = 0;
  if (!flatShown) return;
  if (settings.MapCentN < -0.2 || settings.MapCentN > 0.2) settings.ViewDeg = -settings.MapCentN;
  if (settings.ViewDeg < -90.0) settings.ViewDeg = -90.0;
  if (settings.ViewDeg > 90.0) settings.ViewDeg = 90.0;
  RequestRedraw(map, kViewLayers);
}

void Panel4Resize(MapState& map, MapSettings& settings, const MapControls& controls) {
  ApplyPanelScaleRule(map, controls.ComboBox1Index);
  if (controls.ComboBox1Index == 0) settings.MapCentN = 0.0;
  ApplyLatitudeRule(map, settings);
}

void ResizeMapBitmaps(MapState& map, MapSettings& settings, const MapControls& controls, PixelSize image1,
                      PixelSize image2, PixelSize image4) {
  ResizeTo(map.SideListBitmap, image1);
  ResizeTo(map.MapBitmap, image2);
  ResizeTo(map.MapViewBitmap, image2);
  ResizeTo(map.AltitudeBitmap, image4);
  map.ImageWidth = image2.width;
  map.ImageHeight = image2.height;
  ApplyScaleRule(map, controls.ComboBox1Index);
  if (controls.ComboBox1Index == 0) settings.MapCentN = 0.0;
  ApplyLatitudeRule(map, settings);
  map.KeepViewOnce = 1;
  RequestRedraw(map, MapLayers::All());
}

void N38Click(MapState& map, MapControls& controls) {
  controls.N38Checked = controls.N38Checked ? 0 : 1;
  RequestRedraw(map, {MapLayer::Aircraft});
}

void FormActivateMap(MapState& map, const MapControls& controls, flag& textWindowClosed) {
  if (!textWindowClosed) return;
  if (controls.N38Checked) RequestRedraw(map, {MapLayer::Aircraft});
  textWindowClosed = 0;
}
