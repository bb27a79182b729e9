#pragma once
// The side list beside the map: every aircraft of the table in pages of
// rows (flight or registration, trend, altitude, temperature, wind), with
// page arrows and a footer, in the map's colours and shadow passes. It
// shows every aircraft: the visible flags and the company selector do not
// filter it.
#include <string>

#include "map/aircraft_drawing.h"

constexpr int kListRowHeight = 15;

// The rows per page of a side list this high: trunc((height - 32) / 15).
int ListRowsPerPage(int height);

// One page of the list, worked out before it is drawn.
struct SideListPage {
  int rowsPerPage = 0;
  int page = 1;   // ListPage after the paging: page 1 past the end
  int first = 0;  // ListFirstIndex
  int last = 0;   // one past the last index shown
  int pages = 1;
  bool forwardArrow = false, backArrow = false;
  std::string footer;  // "1/2    31 aircraft displayed"
  int footerY = 20;
};
// A list too short for a row (fewer than 47 pixels) shows page 1 of 1 and
// no arrows; a page past the end falls back to page 1.
SideListPage PageSideList(int height, int listPage, int aircraftCount);

// One text of a row or the header, at (x, y).
void DrawListText(Canvas& canvas, int x, const std::string& text, int y);
void DrawAircraftListHeader(Canvas& canvas, const MapControls& controls, PassOffset offset);
// The row's columns for the record's current point, in the canvas's
// colours. row: the row on the page.
void DrawAircraftListRow(Canvas& canvas, const MapContext& context, const AircraftRecord& record, int row,
                         PassOffset offset);

// DrawAircraftList is declared with the other drawers in map_redraw.h.
