// Makes Skarvel's map files from the TopoJSON files of Natural Earth's land
// and countries (the npm package world-atlas):
//
//   world_map LAND.json COUNTRIES.json OUT.map [COAST.dat COAST.out]
//
// OUT.map holds each land ring as a "PLGN=L" polygon followed by its holes
// as "PLGN=S", then the borders (the arcs two countries share) as "LINE"
// sections, then "TERM"; points are "lon<TAB>lat" with four decimals. The
// map draws polygons without a date-line step, so every ring that crosses
// 180 degrees is cut into pieces that stay on one side, a ring around a
// pole is closed along it, and rings without area are left out. COAST.dat
// and COAST.out hold the same rings as polylines in the two older formats.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Point {
  double lon, lat;
};
using Ring = std::vector<Point>;

// Rings whose area (in square degrees) is below this have none.
constexpr double kNoArea = 1e-9;

struct Topology {
  std::vector<std::vector<Point>> arcs;
  QJsonObject objects;
};

bool Load(const char* path, Topology& topology) {
  QFile file(QString::fromLocal8Bit(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
  const QJsonObject transform = root.value("transform").toObject();
  const QJsonArray scale = transform.value("scale").toArray();
  const QJsonArray translate = transform.value("translate").toArray();
  if (scale.size() != 2 || translate.size() != 2) return false;
  // Quantised positions, each a delta from the one before.
  for (const QJsonValue& arc : root.value("arcs").toArray()) {
    std::vector<Point> points;
    double x = 0, y = 0;
    for (const QJsonValue& delta : arc.toArray()) {
      x += delta.toArray().at(0).toDouble();
      y += delta.toArray().at(1).toDouble();
      points.push_back({x * scale.at(0).toDouble() + translate.at(0).toDouble(),
                        y * scale.at(1).toDouble() + translate.at(1).toDouble()});
    }
    topology.arcs.push_back(std::move(points));
  }
  topology.objects = root.value("objects").toObject();
  return !topology.arcs.empty();
}

// An arc index i is arc i; ~i is arc i reversed.
size_t ArcNumber(int index) { return static_cast<size_t>(index >= 0 ? index : ~index); }

Ring RingOf(const Topology& topology, const QJsonArray& indexes) {
  Ring ring;
  for (const QJsonValue& value : indexes) {
    const int index = value.toInt();
    if (ArcNumber(index) >= topology.arcs.size()) continue;
    std::vector<Point> arc = topology.arcs[ArcNumber(index)];
    if (index < 0) std::reverse(arc.begin(), arc.end());
    // Each arc starts where the one before ended.
    ring.insert(ring.end(), arc.begin() + (ring.empty() ? 0 : 1), arc.end());
  }
  return ring;
}

// Every polygon of an object, as its rings' arc indexes.
std::vector<QJsonArray> PolygonsOf(const QJsonObject& geometry) {
  const QString type = geometry.value("type").toString();
  std::vector<QJsonArray> polygons;
  if (type == "GeometryCollection") {
    for (const QJsonValue& g : geometry.value("geometries").toArray()) {
      for (QJsonArray& p : PolygonsOf(g.toObject())) polygons.push_back(std::move(p));
    }
  } else if (type == "MultiPolygon") {
    for (const QJsonValue& p : geometry.value("arcs").toArray()) polygons.push_back(p.toArray());
  } else if (type == "Polygon") {
    polygons.push_back(geometry.value("arcs").toArray());
  }
  return polygons;
}

double Round4(double value) { return std::round(value * 10000.0) / 10000.0; }

double Area(const Ring& ring) {
  double twice = 0;
  for (size_t i = 0; i + 1 < ring.size(); ++i) {
    twice += ring[i].lon * ring[i + 1].lat - ring[i + 1].lon * ring[i].lat;
  }
  if (!ring.empty()) twice += ring.back().lon * ring.front().lat - ring.front().lon * ring.back().lat;
  return twice / 2;
}

// One side of a Sutherland-Hodgman clip at a meridian.
Ring ClipAt(const Ring& in, double lon, bool keepEast) {
  Ring out;
  auto inside = [&](const Point& p) { return keepEast ? p.lon >= lon : p.lon <= lon; };
  auto cut = [&](const Point& a, const Point& b) {
    return Point{lon, a.lat + (b.lat - a.lat) * (lon - a.lon) / (b.lon - a.lon)};
  };
  for (size_t i = 0; i < in.size(); ++i) {
    const Point& current = in[i];
    const Point& previous = in[(i + in.size() - 1) % in.size()];
    if (inside(current)) {
      if (!inside(previous)) out.push_back(cut(previous, current));
      out.push_back(current);
    } else if (inside(previous)) {
      out.push_back(cut(previous, current));
    }
  }
  return out;
}

// A closed ring with its points at four decimals; empty without area.
Ring Finished(Ring ring) {
  for (Point& p : ring) p = {Round4(p.lon), Round4(p.lat)};
  if (ring.empty()) return ring;
  if (ring.front().lon != ring.back().lon || ring.front().lat != ring.back().lat) ring.push_back(ring.front());
  if (std::fabs(Area(ring)) < kNoArea) return {};
  return ring;
}

// The pieces of a ring within -180..180, none of whose segments crosses
// the date line.
std::vector<Ring> CutAtDateLine(const Ring& ring) {
  if (ring.size() < 3) return {};
  // Continuous longitudes: a step of more than 180 degrees crosses 180.
  Ring unwrapped = ring;
  double shift = 0;
  for (size_t i = 1; i < ring.size(); ++i) {
    const double step = ring[i].lon - ring[i - 1].lon;
    if (step > 180) shift -= 360;
    if (step < -180) shift += 360;
    unwrapped[i].lon = ring[i].lon + shift;
  }
  // A ring along a single parallel, such as one along the pole, has no area.
  if (std::fabs(Area(unwrapped)) < kNoArea) return {};
  // A ring that goes once around a pole is closed along that pole.
  if (std::fabs(unwrapped.back().lon - unwrapped.front().lon) > 180) {
    double latSum = 0;
    for (const Point& p : unwrapped) latSum += p.lat;
    const double pole = latSum < 0 ? -90.0 : 90.0;
    // Along the pole in steps of 10 degrees, so that no segment spans
    // more than 180.
    const Point first = unwrapped.front();
    const double from = unwrapped.back().lon;
    const int steps = static_cast<int>(std::ceil(std::fabs(first.lon - from) / 10));
    for (int i = 0; i <= steps; ++i) unwrapped.push_back({from + (first.lon - from) * i / steps, pole});
    unwrapped.push_back(first);
  }
  double west = unwrapped.front().lon, east = west;
  for (const Point& p : unwrapped) {
    west = std::min(west, p.lon);
    east = std::max(east, p.lon);
  }
  std::vector<Ring> pieces;
  if (west >= -180 && east <= 180) {
    if (Ring piece = Finished(unwrapped); !piece.empty()) pieces.push_back(std::move(piece));
    return pieces;
  }
  // Each strip of 360 degrees the ring reaches, shifted back into -180..180.
  for (int k = static_cast<int>(std::floor((west + 180) / 360)); k <= static_cast<int>(std::floor((east + 180) / 360));
       ++k) {
    Ring piece = ClipAt(ClipAt(unwrapped, -180.0 + 360.0 * k, true), 180.0 + 360.0 * k, false);
    for (Point& p : piece) p.lon -= 360.0 * k;
    if (Ring finished = Finished(std::move(piece)); !finished.empty()) pieces.push_back(std::move(finished));
  }
  return pieces;
}

// Four decimals without the locale's separator; a negative latitude in the
// .out format keeps three integer digits so that no point line begins "-1".
std::string Decimal(double value, bool padNegative = false) {
  const long long tenThousandths = std::llround(value * 10000.0);
  const long long magnitude = tenThousandths < 0 ? -tenThousandths : tenThousandths;
  char text[40];
  if (tenThousandths < 0) {
    std::snprintf(text, sizeof text, padNegative ? "-%03lld.%04lld" : "-%lld.%04lld", magnitude / 10000,
                  magnitude % 10000);
  } else {
    std::snprintf(text, sizeof text, "%lld.%04lld", magnitude / 10000, magnitude % 10000);
  }
  return text;
}

void WritePoints(std::string& out, const std::vector<Point>& points) {
  for (const Point& p : points) out += Decimal(p.lon) + "\t" + Decimal(p.lat) + "\n";
}

// The borders: the arcs that exactly two countries use, split where they
// cross 180 degrees.
std::vector<std::vector<Point>> Borders(const Topology& countries) {
  std::map<size_t, std::set<int>> users;
  const QJsonArray geometries = countries.objects.value("countries").toObject().value("geometries").toArray();
  for (int country = 0; country < geometries.size(); ++country) {
    for (const QJsonArray& polygon : PolygonsOf(geometries.at(country).toObject())) {
      for (const QJsonValue& ring : polygon) {
        for (const QJsonValue& index : ring.toArray()) users[ArcNumber(index.toInt())].insert(country);
      }
    }
  }
  std::vector<std::vector<Point>> lines;
  for (const auto& [arc, who] : users) {
    if (who.size() != 2 || arc >= countries.arcs.size()) continue;
    std::vector<Point> line;
    for (const Point& p : countries.arcs[arc]) {
      const Point rounded{Round4(p.lon), Round4(p.lat)};
      if (!line.empty() && std::fabs(rounded.lon - line.back().lon) > 180) {
        if (line.size() >= 2) lines.push_back(line);
        line.clear();
      }
      line.push_back(rounded);
    }
    if (line.size() >= 2) lines.push_back(line);
  }
  return lines;
}

bool WriteFile(const char* path, const std::string& text) {
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 6) {
    std::fprintf(stderr, "usage: world_map LAND.json COUNTRIES.json OUT.map [COAST.dat COAST.out]\n");
    return 2;
  }
  Topology land, countries;
  if (!Load(argv[1], land) || !Load(argv[2], countries)) {
    std::fprintf(stderr, "world_map: cannot read %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  std::string map, dat, out;
  for (const QJsonArray& polygon : PolygonsOf(land.objects.value("land").toObject())) {
    for (int r = 0; r < polygon.size(); ++r) {
      for (const Ring& piece : CutAtDateLine(RingOf(land, polygon.at(r).toArray()))) {
        map += r == 0 ? "PLGN=L\n" : "PLGN=S\n";
        WritePoints(map, piece);
        dat += "# -b\n";
        WritePoints(dat, piece);
        out += "$TYPE=COAST\n";
        for (const Point& p : piece) out += Decimal(p.lat, true) + "+" + Decimal(p.lon) + "\n";
      }
    }
  }
  for (const std::vector<Point>& line : Borders(countries)) {
    map += "LINE\n";
    WritePoints(map, line);
  }
  map += "TERM\n";
  if (!WriteFile(argv[3], map) || (argc == 6 && (!WriteFile(argv[4], dat) || !WriteFile(argv[5], out)))) {
    std::fprintf(stderr, "world_map: cannot write the map files\n");
    return 1;
  }
  return 0;
}
