// One redraw of all four map layers as the program draws it: the map and
// the map view at 990 x 702, the side list at 204 x 621 and the altitude
// view at 990 x 202 (more than any layout of the default window draws),
// world.map, every overlay on, grid values, and 100 aircraft of 50 points
// in the table. The flat map at the widest step and at x4 around Japan,
// and the globe. Texts are drawn on the offscreen platform, so they cost
// what they cost.
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

// The picture goes where the program's goes: into a pixmap.
class BenchLinks : public MapWindowLink, public MapAircraftLink {
 public:
  void ShowMapPicture(const Bitmap24& picture) override { shown = QPixmap::fromImage(picture.Image().copy()); }
  void ResetBlockCounter() override {}
  void SetFullScreen(bool) override {}
  std::string AskSaveMapPath() override { return {}; }
  std::string LookupAirportName(const std::string& code) override { return code; }
  QPixmap shown;
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
    // A hundred aircraft of fifty points around Japan, for the aircraft layers.
    f.aircraft.Aircraft.Allocate(200, 50);
    for (int a = 0; a < 100; ++a) {
      AircraftRecord& r = f.aircraft.Aircraft.Records[static_cast<size_t>(a)];
      std::snprintf(r.FlightId, sizeof r.FlightId, "JL%04d", a);
      r.LastPoint = 49;
      for (int p = 0; p < 50; ++p) {
        TrackPoint& t = r.Points[static_cast<size_t>(p)];
        t.Lat = 25.0 + a * 0.2 + p * 0.05;
        t.Lon = 125.0 + a * 0.2 + p * 0.1;
        t.Altitude = 30000 + p * 100;
      }
    }
    f.aircraft.AircraftCount = 100;
  }

  void View(bool globe, int step, double centN, double centE) {
    f.controls.SpeedButton2Down = globe ? 1 : 0;
    f.controls.SpeedButton5Down = globe ? 0 : 1;
    f.controls.ComboBox1Index = step;
    f.Map.MapCentN = centN;
    f.Map.MapCentE = centE;
    ApplyScaleRule(f.mapView, step);
    ApplyLatitudeRule(f.mapView, f.Map);
  }

  void Redraw() { ::Redraw(f.mapView, {f.Map, f.Color, f.controls, links, links}, MapLayers::All()); }

  Form1State f;
  BenchLinks links;
};

void Run(benchmark::State& state, bool globe, int step, double centN, double centE) {
  MapBench bench;
  bench.View(globe, step, centN, centE);
  for (auto _ : state) bench.Redraw();
}

void BM_FlatWholeWorld(benchmark::State& state) { Run(state, false, 0, 0.0, 139.0); }
void BM_FlatJapanX4(benchmark::State& state) { Run(state, false, 8, 36.0, 138.0); }
void BM_GlobeWholeWorld(benchmark::State& state) { Run(state, true, 0, 0.0, 139.0); }

BENCHMARK(BM_FlatWholeWorld)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlatJapanX4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlobeWholeWorld)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
