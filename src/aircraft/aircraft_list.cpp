#include "aircraft/aircraft_list.h"

#include <algorithm>
#include <cmath>

#include "aircraft/aircraft_link.h"
#include "aircraft/aircraft_state.h"
#include "aircraft/aircraft_table.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "platform/web_addresses.h"

namespace {

const char kUnknown[] = "unknown";
constexpr long long kMsPerDay = 86400000;

// The position label's texts: "Have" when a position arrives, "have" when
// a row is shown, as the two have always read.
const char kHave[] = "Have";
const char kHaveShown[] = "have";
const char kNone[] = "None";
const char kJapaneseHave[] = "\x82\xa0\x82\xe8";  // あり
const char kJapaneseNone[] = "\x82\xc8\x82\xb5";  // なし

AircraftListRow* RowAt(AircraftState& a, int row) {
  if (row < 1 || row > static_cast<int>(a.List.Rows.size())) return nullptr;
  return &a.List.Rows[static_cast<size_t>(row - 1)];
}

void Changed(const AircraftState& a) {
  if (a.List.Changed) a.List.Changed();
}

void RemoveRow(AircraftState& a, int row) {
  a.List.Rows.erase(a.List.Rows.begin() + (row - 1));
  int& selected = a.List.Selected;
  if (selected == row) {
    selected = 0;
  } else if (selected > row) {
    --selected;
  }
}

std::string TypeOf(const AircraftState& a, AircraftLink& link, const std::string& registration) {
  std::string type;
  if (LookupAircraftType(a.Files, registration, type)) return type;
  return link.LookupIcao24Description(registration);
}

void SetPositionLabel(AircraftInformation& info, bool plotted, bool english, const char* have) {
  info.PositionLink = plotted;
  if (plotted) {
    info.Position = english ? have : kJapaneseHave;
  } else {
    info.Position = english ? kNone : kJapaneseNone;
  }
}

// The photograph, else the fallback picture; null keeps the one shown. A
// file that does not load counts as missing.
Bitmap24 PictureFor(const AircraftFiles& files, const std::string& registration) {
  Bitmap24 picture;
  for (const std::string& path : {PhotoPath(files, registration), NoImagePath(files)}) {
    if (platform::FileExists(path) && ReadJpeg(path, picture)) return picture;
  }
  return Bitmap24();
}

// Whole milliseconds, so that a row exactly DeleteTime old stays.
long long AgeMs(TDateTime now, TDateTime then) { return std::llround((now - then) * kMsPerDay); }

}  // namespace

std::string NoMark(bool english) { return english ? "X" : "\x81\x7e"; }
std::string YesMark(bool english) { return english ? "O" : "\x81\x9b"; }

int FindRowByRegAndFlight(const AircraftState& a, const std::string& registration, const std::string& flight) {
  const std::vector<AircraftListRow>& rows = a.List.Rows;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].Flight == flight && (rows[i].Registration == registration || rows[i].Registration == kUnknown)) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

int FindRowByFlight(const AircraftState& a, const std::string& flight) {
  const std::vector<AircraftListRow>& rows = a.List.Rows;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].Flight == flight) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string RowRegistration(const AircraftState& a, int row) {
  if (row < 1 || row > static_cast<int>(a.List.Rows.size())) return "";
  return a.List.Rows[static_cast<size_t>(row - 1)].Registration;
}

void RegisterContact(AircraftState& a, const ListSettings& list, AircraftLink& link, const std::string& flight,
                     const std::string& registration, const std::string& accessStation) {
  int row = FindRowByRegAndFlight(a, registration, flight);
  if (row > 0) {
    UpdateRow(a, link, row, registration, accessStation);
    return;
  }
  const std::string type = TypeOf(a, link, registration);
  std::string dept = "----", dest = "----", remark = "-";
  if (const std::optional<FlightRoute> route = LookupFlightRoute(a.Files, flight)) {
    dept = RouteDeparture(route->Route);
    dest = RouteDestination(route->Route);
    remark = route->Remark;
  }
  AddListRow(a, link, flight, registration, dept, dest, type, remark, accessStation);
  row = FindRowByRegAndFlight(a, registration, flight);
  // Only a new row follows the newest reception.
  if (list.ShowNew) SelectRow(a, link, row);
  AircraftListRow& added = a.List.Rows[static_cast<size_t>(row - 1)];
  if (platform::FileExists(PhotoPath(a.Files, registration))) added.Pic = YesMark(link.UseEnglish());
  if (list.ListLog) link.WriteListLog(ListLogLine(added));
  Changed(a);
}

void AddListRow(AircraftState& a, const AircraftLink& link, const std::string& flight, const std::string& registration,
                const std::string& dept, const std::string& dest, const std::string& type, const std::string& remark,
                const std::string& accessStation) {
  const bool english = link.UseEnglish();
  const TDateTime now = platform::Now();
  AircraftListRow row{flight, NoMark(english), registration,  NoMark(english),           dept, dest,
                      type,   remark,          accessStation, platform::FormatTime(now), now};
  // After the rows of the same flight: they keep their order of arrival.
  std::vector<AircraftListRow>& rows = a.List.Rows;
  const auto at = std::upper_bound(rows.begin(), rows.end(), flight,
                                   [](const std::string& f, const AircraftListRow& r) { return f < r.Flight; });
  const int position = static_cast<int>(at - rows.begin()) + 1;
  rows.insert(at, row);
  if (a.List.Selected >= position) ++a.List.Selected;
  Changed(a);
}

void UpdateRow(AircraftState& a, AircraftLink& link, int row, const std::string& registration,
               const std::string& accessStation) {
  AircraftListRow* r = RowAt(a, row);
  if (!r) return;
  const TDateTime now = platform::Now();
  r->LastContact = now;
  r->LastTime = platform::FormatTime(now);
  r->AccessStation = accessStation;
  // A row that did not know its registration learns it; its route, remark
  // and photograph mark stay as they were.
  if (r->Registration == kUnknown && registration != kUnknown) {
    r->Registration = registration;
    r->Aircraft = TypeOf(a, link, registration);
    SetAircraftTypeAndReg(a, link, registration, r->Flight, row);
    link.RedrawAircraftLayer();
  }
  Changed(a);
}

void MarkPositionReceived(AircraftState& a, AircraftLink& link, const std::string& flight,
                          const std::string& registration) {
  AircraftListRow* r = RowAt(a, FindRowByFlight(a, flight));
  if (!r) return;
  const bool english = link.UseEnglish();
  if (r->Pos == NoMark(english)) r->Pos = YesMark(english);
  const TDateTime now = platform::Now();
  r->LastContact = now;
  r->LastTime = platform::FormatTime(now);
  if (a.Information.Registration == registration) {
    SetPositionLabel(a.Information, r->Pos == YesMark(english), english, kHave);
    link.ShowInformation(a.Information);
  }
  Changed(a);
}

void ClearPosMark(AircraftState& a, const AircraftLink& link, const std::string& registration,
                  const std::string& flight) {
  AircraftListRow* r = RowAt(a, FindRowByRegAndFlight(a, registration, flight));
  if (!r) return;
  r->Pos = NoMark(link.UseEnglish());
  Changed(a);
}

void ClearAllRows(AircraftState& a) {
  a.List.Rows.clear();
  a.List.Selected = 0;
  Changed(a);
}

void SelectRow(AircraftState& a, AircraftLink& link, int row) {
  const AircraftListRow* r = RowAt(a, row);
  a.List.Selected = r ? row : 0;
  if (!r || !link.Running()) return;
  a.Information = InformationOf(a, *r, link.UseEnglish());
  link.ShowInformation(a.Information);
}

AircraftInformation InformationOf(const AircraftState& a, const AircraftListRow& row, bool english) {
  const AircraftFiles& files = a.Files;
  AircraftInformation info;
  info.Flight = row.Flight;
  info.Registration = row.Registration;
  info.Departure = LookupAirportName(files, row.Dept);
  info.Destination = LookupAirportName(files, row.Dest);
  // A remark that is a listed airport code shows the airport's name.
  info.Remarks = LookupAirportName(files, row.Remarks);
  info.Airline = LookupAirline2(files, row.Flight);
  if (row.Aircraft == "----") {
    info.AircraftType = "-";
  } else {
    info.AircraftType = info.AircraftTypeHint = row.Aircraft;
  }
  info.Picture = PictureFor(files, row.Registration);
  SetPositionLabel(info, row.Pos == YesMark(english), english, kHaveShown);
  return info;
}

void ResetInformation(AircraftState& a, AircraftLink& link) {
  a.Information = AircraftInformation();
  if (platform::FileExists(NoImagePath(a.Files))) ReadJpeg(NoImagePath(a.Files), a.Information.Picture);
  link.ShowInformation(a.Information);
}

void AgeListRows(AircraftState& a, const ListSettings& list, AircraftLink& link) {
  if (!link.Running()) return;
  // The arrow pair's range: 5 minutes to 12 hours.
  const long long limit = std::clamp(list.DeleteTime, 5, 720) * 60000LL;
  const TDateTime now = platform::Now();
  bool removed = false;
  bool changed = false;
  // A row that moves into a removed row's place waits for the next tick.
  for (size_t i = 0; i < a.List.Rows.size(); ++i) {
    const AircraftListRow& r = a.List.Rows[i];
    if (AgeMs(now, r.LastContact) <= limit) continue;
    const int k = FindAircraftByFlightId(a, r.Flight);
    RemoveRow(a, static_cast<int>(i) + 1);
    removed = true;
    if (k > 0 && DeleteAircraft(a, link, k - 1)) changed = true;
  }
  if (changed) link.RedrawAircraftLayer();
  if (removed) Changed(a);
}

void DeleteSelectedRow(AircraftState& a, AircraftLink& link) {
  const AircraftListRow* r = RowAt(a, a.List.Selected);
  if (!r || r->Flight.empty()) return;
  const std::string flight = r->Flight, registration = r->Registration;
  const std::string name = platform::Cp932ToUtf8(flight);
  if (!link.Confirm(link.UseEnglish() ? "Delete " + name + ",OK?" : name + "を消去します。よろしいですか？")) return;
  // Reception goes on while the question is open: rows come, go and take
  // the selection, so the row asked about is found again.
  const int row = FindRowByRegAndFlight(a, registration, flight);
  const int k = FindAircraftByFlightId(a, flight);
  if (row > 0) RemoveRow(a, row);
  if (k > 0) {
    DeleteAircraft(a, link, k - 1);
    link.RedrawAircraftLayer();
  }
  Changed(a);
}

void OpenFlightLookup(const AircraftState& a, AircraftLink& link) {
  const int row = a.List.Selected;
  if (row < 1 || row > static_cast<int>(a.List.Rows.size())) return;
  link.OpenUrl(std::string(FlightLookupUrl) + "?F=" + a.List.Rows[static_cast<size_t>(row - 1)].Flight);
}

std::string ListStatusText(const AircraftState& a) { return std::to_string(a.List.Rows.size()) + " contacts"; }

std::string ListLogLine(const AircraftListRow& r) {
  return r.Flight + "," + r.Pic + "," + r.Registration + "," + r.Dept + "," + r.Dest + "," + r.Aircraft + "," +
         r.Remarks + "," + r.LastTime + "\r\n";
}
