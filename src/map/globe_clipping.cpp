#include "map/globe_clipping.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 2 * M_PI;

// The side of the ring its inside lies on: +1 on its left, -1 on its
// right, 0 for a ring without area. Each step is taken the short way, as
// the globe draws it, across 180 degrees when that is shorter. A ring that
// goes round a pole holds the pole nearer its points; any other holds what
// it encloses on the map, on its left when it turns anticlockwise there
// (longitude east, latitude north).
int InsideSide(const std::vector<LonLat>& ring) {
  const size_t n = ring.size();
  const LonLat o = ring.front();
  double lon = o.lon, twiceArea = 0, latSum = 0;
  for (size_t i = 0; i < n; ++i) {
    const LonLat& next = ring[(i + 1) % n];
    double step = next.lon - ring[i].lon;
    step -= 360 * std::round(step / 360);
    // Taken from the first point, so that a small ring far from 0, 0 keeps
    // its digits.
    twiceArea += (lon - o.lon) * (next.lat - o.lat) - (lon + step - o.lon) * (ring[i].lat - o.lat);
    lon += step;
    latSum += ring[i].lat;
  }
  const double turns = std::round((lon - o.lon) / 360);
  if (turns != 0) return (turns > 0) == (latSum >= 0) ? 1 : -1;
  return twiceArea > 0 ? 1 : twiceArea < 0 ? -1 : 0;
}

// Anticlockwise on the screen, from east.
double RimAngle(const DiscPoint& p) { return std::atan2(-p.Y, p.X); }
DiscPoint RimPoint(double angle) { return {std::cos(angle), -std::sin(angle)}; }

// Where the edge from a to b, one on each side, meets the horizon: the
// great circle through them crosses it in the direction of the chord's
// crossing.
DiscPoint HorizonCrossing(const GlobePoint& a, const GlobePoint& b) {
  const double t = a.Z / (a.Z - b.Z);
  const double X = a.X + (b.X - a.X) * t, Y = a.Y + (b.Y - a.Y) * t;
  const double length = std::hypot(X, Y);
  if (!(length > 0)) return RimPoint(RimAngle({a.X, a.Y}));
  return {X / length, Y / length};
}

// One run of the ring on the near side, from where it comes over the
// horizon to where it leaves.
struct Piece {
  size_t first, last;  // its points in the shared list, both on the rim
  double entry, exit;  // their angles
  bool used = false;
};

// The arc from one angle to another, turning by sense (+1 anticlockwise),
// without its ends.
void AddArc(double from, double to, int sense, double rimStep, std::vector<DiscPoint>& out) {
  double sweep = sense > 0 ? to - from : from - to;
  sweep = std::fmod(sweep, kTwoPi);
  if (sweep < 0) sweep += kTwoPi;
  const int steps = static_cast<int>(std::ceil(sweep / rimStep));
  for (int i = 1; i < steps; ++i) out.push_back(RimPoint(from + sense * sweep * i / steps));
}

void ClipCrossingRing(const std::vector<GlobePoint>& view, int sense, double rimStep,
                      std::vector<std::vector<DiscPoint>>& outlines) {
  const size_t n = view.size();
  auto near = [&](size_t i) { return view[i % n].Z >= 0.0; };
  // Start where the ring comes over the horizon.
  size_t start = 0;
  while (near(start + n - 1) || !near(start)) ++start;
  std::vector<DiscPoint> points;
  std::vector<Piece> pieces;
  for (size_t k = 0; k < n; ++k) {
    const size_t i = start + k;
    if (!near(i)) continue;
    if (!near(i + n - 1)) {
      points.push_back(HorizonCrossing(view[i % n], view[(i + n - 1) % n]));
      pieces.push_back({points.size() - 1, 0, RimAngle(points.back()), 0});
    }
    points.push_back({view[i % n].X, view[i % n].Y});
    if (!near(i + 1)) {
      points.push_back(HorizonCrossing(view[i % n], view[(i + 1) % n]));
      pieces.back().last = points.size() - 1;
      pieces.back().exit = RimAngle(points.back());
    }
  }
  // From each exit along the rim, in the ring's sense, to the nearest
  // entry: the entries sorted by their angle.
  std::vector<std::pair<double, size_t>> entries;
  entries.reserve(pieces.size());
  for (size_t j = 0; j < pieces.size(); ++j) entries.push_back({pieces[j].entry, j});
  std::sort(entries.begin(), entries.end());
  auto next = [&](double exit) {
    if (sense > 0) {
      const auto after = std::lower_bound(entries.begin(), entries.end(), std::pair{exit, size_t{0}});
      return (after == entries.end() ? entries.front() : *after).second;
    }
    const auto before = std::upper_bound(entries.begin(), entries.end(), std::pair{exit, pieces.size()});
    return (before == entries.begin() ? entries.back() : *(before - 1)).second;
  };
  for (size_t first = 0; first < pieces.size(); ++first) {
    if (pieces[first].used) continue;
    std::vector<DiscPoint> outline;
    for (size_t p = first; !pieces[p].used;) {
      Piece& piece = pieces[p];
      piece.used = true;
      outline.insert(outline.end(), points.begin() + static_cast<std::ptrdiff_t>(piece.first),
                     points.begin() + static_cast<std::ptrdiff_t>(piece.last) + 1);
      p = next(piece.exit);
      AddArc(piece.exit, pieces[p].entry, sense, rimStep, outline);
    }
    outlines.push_back(std::move(outline));
  }
}

}  // namespace

double RimStep(double radius) {
  // An arc of angle a strays radius * a^2 / 8 from its chord.
  const double step = radius > 0 ? 2 / std::sqrt(radius) : kTwoPi;
  return std::clamp(step, kTwoPi / 100000, kTwoPi / 64);
}

void NearSideOutlines(const std::vector<LonLat>& ring, const std::vector<GlobePoint>& view, double rimStep,
                      std::vector<std::vector<DiscPoint>>& outlines) {
  outlines.clear();
  if (view.empty()) return;
  const size_t nearCount =
      static_cast<size_t>(std::count_if(view.begin(), view.end(), [](const GlobePoint& p) { return p.Z >= 0.0; }));
  if (nearCount == view.size()) {
    std::vector<DiscPoint> outline;
    outline.reserve(view.size());
    for (const GlobePoint& p : view) outline.push_back({p.X, p.Y});
    outlines.push_back(std::move(outline));
    return;
  }
  // Taken the short way, the edges of a ring wholly behind the globe
  // enclose a piece of the far side, or a polar cap there.
  if (nearCount == 0) return;
  const int sense = InsideSide(ring);
  if (sense != 0) ClipCrossingRing(view, sense, rimStep, outlines);
}
