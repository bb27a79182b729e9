// One redraw of all four map layers as the program draws it: the map and
// the map view at 990 x 702, the side list at 204 x 621 and the altitude
// view at 990 x 202 (more than any layout of the default window draws),
// world.map, every overlay on, grid values, and 100 aircraft of 50 points
// spread over the view, in the default style, none selected. The flat map
// at the widest step and at x4 around Japan, and the globe, all layers and
// its background alone; and the three aircraft layers alone, as each block
// with a position asks for them.
// Texts are drawn on the offscreen platform, so they cost what they cost.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/form1_state.h"
#include "map/map_projection.h"
#include "map/map_redraw.h"

namespace {

// The pictures go where the program's go: into pixmaps.
class BenchLinks : public MapWindowLink, public MapAircraftLink {
 public:
  explicit BenchLinks(AircraftState& aircraft) : aircraft_(aircraft) {}
  void ShowMapPicture(const Bitmap24& picture) override { shown = QPixmap::fromImage(picture.Image().copy()); }
  void ShowSideListPicture(const Bitmap24& picture) override { list = QPixmap::fromImage(picture.Image().copy()); }
  void ShowAltitudePicture(const Bitmap24& picture) override { altitude = QPixmap::fromImage(picture.Image().copy()); }
  void ResetBlockCounter() override {}
  void SetFullScreen(bool) override {}
  std::string AskSaveMapPath() override { return {}; }
  bool TextWindowShown() override { return false; }
  void ToggleTextWindow() override {}
  bool ToolBarShown() override { return true; }
  void ToggleToolBar() override {}
  bool FullScreenShown() override { return false; }
  void ToggleFullScreen() override {}
  void ClickTracksButton() override {}
  void ClickMonitorButton() override {}
  void SetSelcalMonitorButton(bool) override {}
  void CloseMainWindow() override {}
  std::string LookupAirportName(const std::string& code) override { return code; }
  const std::vector<AircraftRecord>& Records() override { return aircraft_.Aircraft.Records; }
  int AircraftCount() override { return aircraft_.AircraftCount; }
  void SetVisible(int slot, flag visible) override { aircraft_.Aircraft.Records.at(slot).Visible = visible; }
  void SetTagPos(int, int) override {}
  void UpdateTrackAges() override {}
  std::string LookupAirline2(const std::string&) override { return "-"; }
  std::string PhotoPath(const std::string&) override { return {}; }
  std::string NoImagePath() override { return {}; }
  void ShowFlightInformation(const std::string&) override {}
  QPixmap shown, list, altitude;

 private:
  AircraftState& aircraft_;
};

struct MapBench {
  MapBench() {
    const std::string program = SKARVEL_PROGRAM_DIR;
    f.mapView.MapFileName = program + "/lines/world.map";
    f.mapView.AirwayPath = program + "/lines/airway.txt";
    f.mapView.NavPointsPath = program + "/points/nav.txt";
    f.mapView.MapBitmap.Resize(990, 702);
    f.mapView.MapViewBitmap.Resize(990, 702);
    f.mapView.SideListBitmap.Resize(204, 621);
    f.mapView.AltitudeBitmap.Resize(990, 202);
    f.mapView.ImageWidth = 990;
    f.mapView.ImageHeight = 702;
    MainControls& c = f.controls;
    for (flag* overlay : {&c.SpeedButton21Down, &c.SpeedButton22Down, &c.SpeedButton23Down, &c.SpeedButton24Down,
                          &c.SpeedButton25Down, &c.SpeedButton26Down, &c.SpeedButton27Down, &c.SpeedButton28Down}) {
      *overlay = 1;
    }
    c.N8Checked = c.N11Checked = c.N26Checked = 1;
    f.Map.GridValue = 1;
    f.aircraft.Aircraft.Allocate(f.Map.MaxMapPlot, f.Map.MaxPlotData);
    f.aircraft.AircraftCount = 100;
  }

  // The view, and a hundred aircraft of fifty points spread over it, each
  // with a heading, an altitude, a temperature and a wind, in the default
  // style (surround passes, tracks and tags), none selected.
  void View(bool globe, int step, double centN, double centE) {
    f.controls.SpeedButton2Down = globe ? 1 : 0;
    f.controls.SpeedButton5Down = globe ? 0 : 1;
    f.controls.ComboBox1Index = step;
    f.Map.MapCentN = centN;
    f.Map.MapCentE = centE;
    ApplyScaleRule(f.mapView, step);
    ApplyLatitudeRule(f.mapView, f.Map);
    UpdateMapGeometry(f.mapView, f.Map, f.controls);
    const double width = globe ? 140.0 : 990 / f.mapView.MapScaleX, height = globe ? 120.0 : 702 / f.mapView.MapScaleY;
    const double west = globe ? centE - 70.0 : f.mapView.MapLeftLon, north = globe ? 60.0 : f.mapView.MapTopLat;
    for (int a = 0; a < 100; ++a) {
      AircraftRecord& r = f.aircraft.Aircraft.Records[static_cast<size_t>(a)];
      std::snprintf(r.FlightId, sizeof r.FlightId, "JL%04d", a);
      std::snprintf(r.Registration, sizeof r.Registration, "JA%04d", a);
      r.FlightNo7Alt = "JAL" + std::to_string(a);
      r.LastPoint = 49;
      r.Age = a == 0 ? 0 : 1;
      r.AltTrend = 2 + a % 3;
      const double lat0 = north - height * (0.1 + 0.8 * (a / 10) / 10.0);
      const double lon0 = west + width * (0.1 + 0.8 * (a % 10) / 10.0);
      for (int p = 0; p < 50; ++p) {
        TrackPoint& t = r.Points[static_cast<size_t>(p)];
        t.Lat = lat0 - height * 0.002 * p;
        t.Lon = lon0 + width * 0.002 * p;
        t.Heading = (a * 37 + p) % 360;
        t.Altitude = 30000 + p * 100;
        t.Temperature = -45;
        t.WindDir = 270;
        t.WindSpeed = 120;
        t.AgeClass = 1 + p / 10;
      }
    }
  }

  void Redraw(MapLayers layers) { ::Redraw(f.mapView, {f.Map, f.Color, f.controls, links, links}, layers); }

  Form1State f;
  BenchLinks links{f.aircraft};
};

void Run(benchmark::State& state, bool globe, int step, double centN, double centE, MapLayers layers) {
  MapBench bench;
  bench.View(globe, step, centN, centE);
  bench.Redraw(MapLayers::All());
  for (auto _ : state) bench.Redraw(layers);
}

const MapLayers kAircraftLayers = {MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude};

void BM_FlatWholeWorld(benchmark::State& state) { Run(state, false, 0, 0.0, 139.0, MapLayers::All()); }
void BM_FlatJapanX4(benchmark::State& state) { Run(state, false, 8, 36.0, 138.0, MapLayers::All()); }
void BM_GlobeWholeWorld(benchmark::State& state) { Run(state, true, 0, 0.0, 139.0, MapLayers::All()); }
void BM_GlobeBackground(benchmark::State& state) { Run(state, true, 0, 0.0, 139.0, {MapLayer::Background}); }
// What each audio block that brought a position asks for.
void BM_AircraftLayersFlat(benchmark::State& state) { Run(state, false, 0, 0.0, 139.0, kAircraftLayers); }
void BM_AircraftLayersGlobe(benchmark::State& state) { Run(state, true, 0, 0.0, 139.0, kAircraftLayers); }

BENCHMARK(BM_FlatWholeWorld)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlatJapanX4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlobeWholeWorld)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlobeBackground)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AircraftLayersFlat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AircraftLayersGlobe)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
