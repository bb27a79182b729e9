#include "map/side_list.h"

#include <algorithm>

#include "map/aircraft_texts.h"
#include "map/map_redraw.h"

namespace {

constexpr int kListFontPoints = 8;

// The row's trend marks by AltTrend 1 (first report), 2 (level), 3
// (descending) and 4 (climbing), relative to (dx + 67, row * 15 + dy).
constexpr int kListTrendMarks[4][3][4] = {
    {{0, 27, 0, 32}, {0, 27, 3, 30}, {3, 27, 3, 32}},
    {{1, 27, 1, 32}, {2, 28, 2, 31}, {3, 29, 3, 30}},
    {{0, 28, 5, 28}, {1, 29, 4, 29}, {2, 30, 3, 30}},
    {{2, 28, 3, 28}, {1, 29, 4, 29}, {0, 30, 5, 30}},
};

constexpr PassOffset kCentre;

std::string PadLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

void Line(Canvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
}

// A text of the header or the footer in its passes: the shadow colour
// under it (at (1, 1), or at the nine offsets, its own place included),
// then the head colour.
template <typename Draw>
void InHeaderPasses(Canvas& canvas, const MapContext& c, Draw draw) {
  switch (c.Map.PlotType) {
    case 0:
      break;
    case 1:
      canvas.SetFontColor(c.Color.PlotBackColor);
      draw(PassOffset{1, 1});
      break;
    case 2:
      canvas.SetFontColor(c.Color.PlotBackColor);
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) draw(PassOffset{dx, dy});
      }
      break;
    default:
      return;
  }
  canvas.SetFontColor(c.Color.PlotOnColor);
  draw(kCentre);
}

void DrawRowPasses(Canvas& canvas, const MapContext& c, const AircraftRecord& r, int row) {
  const int group = OperatorGroup(c.Color, r);
  auto pass = [&](int kind, PassOffset o) {
    SetPlotColors(canvas, c, r, group, kind, -1);
    DrawAircraftListRow(canvas, c, r, row, o);
  };
  switch (c.Map.PlotType) {
    case 0:
      pass(kHeadColor, kCentre);
      return;
    case 1:
      pass(kShadowColor, {1, 1});
      pass(kHeadColor, kCentre);
      return;
    case 2:
      for (const PassOffset& o : kSurroundOffsets) pass(kShadowColor, o);
      pass(kHeadColor, kCentre);
      return;
    default:
      return;
  }
}

}  // namespace

int ListRowsPerPage(int height) { return static_cast<int>((height - 32.0) / kListRowHeight); }

SideListPage PageSideList(int height, int listPage, int aircraftCount) {
  SideListPage p;
  const int64_t n = ListRowsPerPage(height);
  const int64_t count = std::max(aircraftCount, 0);
  p.rowsPerPage = static_cast<int>(n);
  if (n >= 1) {
    int64_t page = std::max(listPage, 1);
    int64_t last = std::min(n * page, count);
    int64_t first = (page - 1) * n;
    // Past the end (aircraft were deleted): page 1, with page 1's rows.
    if (last - first < 0) {
      first = 0;
      page = 1;
      last = std::min(n, count);
    }
    p.page = static_cast<int>(page);
    p.first = static_cast<int>(first);
    p.last = static_cast<int>(last);
    p.forwardArrow = n * page < count;
    p.backArrow = page > 1;
    p.pages = static_cast<int>(std::max<int64_t>(1, (count + n - 1) / n));
  }
  // Shorter than a row, the list holds none, on page 1 of 1.
  p.footer = std::to_string(p.page) + "/" + std::to_string(p.pages) + "   " + PadLeft(std::to_string(count), 3) +
             " aircraft displayed";
  p.footerY = (p.last - p.first) * kListRowHeight + 20;
  return p;
}

void DrawListText(Canvas& canvas, int x, const std::string& text, int y) { canvas.TextOut(x, y, text); }

void DrawAircraftListHeader(Canvas& canvas, const MapControls& controls, PassOffset o) {
  const int y = o.dy + 5;
  if (controls.N24Checked) {
    DrawListText(canvas, o.dx + 10, "Flight", y);
  } else if (controls.N25Checked) {
    DrawListText(canvas, o.dx + 10, "Reg.No.", y);
  }
  DrawListText(canvas, o.dx + 75, "ALT", y);
  DrawListText(canvas, o.dx + 115, "TMP", y);
  DrawListText(canvas, o.dx + 145, "WIND", y);
}

void DrawAircraftListRow(Canvas& canvas, const MapContext& c, const AircraftRecord& r, int row, PassOffset o) {
  canvas.SetBrushClear();
  const int last = CurrentPoint(r, c.Map.MaxPlotData);
  if (last < 0) return;
  const TrackPoint& p = r.Points[static_cast<size_t>(last)];
  const int y = row * kListRowHeight + o.dy + 20;
  DrawListText(canvas, o.dx + 10, FlightLabelText(c.Controls, r), y);
  DrawListText(canvas, o.dx + 75, ListAltitudeText(p.Altitude), y);
  DrawListText(canvas, o.dx + 115, ListTemperatureText(p.Temperature), y);
  DrawListText(canvas, o.dx + 145, WindText(p.WindDir, p.WindSpeed), y);
  if (r.AltTrend < 1 || r.AltTrend > 4) return;
  const int X0 = o.dx + 67, Y0 = row * kListRowHeight + o.dy;
  for (const auto& l : kListTrendMarks[r.AltTrend - 1]) Line(canvas, X0 + l[0], Y0 + l[1], X0 + l[2], Y0 + l[3]);
}

void DrawAircraftList(MapState& map, const MapContext& c, int selected) {
  if (!c.Controls.N11Checked || map.SideListBitmap.IsNull()) return;
  const std::vector<AircraftRecord>& records = c.Aircraft.Records();
  const int count = std::clamp(c.Aircraft.AircraftCount(), 0, static_cast<int>(records.size()));
  const int width = map.SideListBitmap.Width();
  {
    Canvas canvas(map.SideListBitmap);
    canvas.Fill(c.Color.BackColor);
    canvas.SetFontSize(kListFontPoints);
    InHeaderPasses(canvas, c, [&](PassOffset o) { DrawAircraftListHeader(canvas, c.Controls, o); });
    canvas.SetPen(c.Color.PlotBackColor);
    Line(canvas, 0, 19, width, 19);

    const SideListPage page = PageSideList(map.SideListBitmap.Height(), map.ListPage, count);
    map.ListPage = page.page;
    map.ListFirstIndex = page.first;
    canvas.SetPen(c.Color.PlotOnColor);
    for (int i = 0; i <= 5; ++i) {
      if (page.forwardArrow) Line(canvas, 193 + i, 16 - i, 193 + i, i + 5);
      if (page.backArrow) Line(canvas, 7 - i, i + 6, 7 - i, 17 - i);
    }
    for (int index = page.first; index < page.last; ++index) {
      const int row = index - page.first;
      DrawRowPasses(canvas, c, records[static_cast<size_t>(index)], row);
      const int bottom = (row + 1) * kListRowHeight + 19;
      canvas.SetPen(c.Color.PlotBackColor);
      Line(canvas, 0, bottom, width, bottom);
      if (index == selected) {
        canvas.SetPen(c.Color.PlotOnColor);
        canvas.SetBrushClear();
        canvas.Rectangle(0, row * kListRowHeight + 20, width - 1, bottom);
      }
    }
    InHeaderPasses(canvas, c, [&](PassOffset o) { DrawListText(canvas, 17 + o.dx, page.footer, page.footerY + o.dy); });
  }
  c.Window.ShowSideListPicture(map.SideListBitmap);
}
