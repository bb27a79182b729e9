#pragma once
// Operations of the aircraft records, reference data and alerts.
#include <string>

class Bitmap24;
struct Form1State;

// The values a position report carries besides its place. The HFDL road has
// none and passes the markers of NoValues().
struct AircraftPosition {
  double Lat = 0.0;
  double Lon = 0.0;
  int Heading = 900;
  int Altitude = 100000;
  int Temperature = 900;
  int WindDir = 900;
  int WindSpeed = 900;
};

class AircraftServices {
 public:
  virtual ~AircraftServices() = default;

  // Stores a report; 1 when stored, 0 when dropped. Time is "HHMM" or "-...".
  virtual int UpdateAircraftRecord(Form1State& form, const std::string& flightId, const std::string& registration,
                                   const std::string& reportId, const AircraftPosition& position,
                                   const std::string& time, const std::string& accessStation);
  virtual void UpdateTrackAges(Form1State& form);
  // 1 when the record was deleted, 0 when index is not below AircraftCount.
  virtual int DeleteAircraft(Form1State& form, int index);
  virtual std::string LookupAirline3(Form1State& form, const std::string& flightId);
  virtual bool LookupAircraftType(Form1State& form, const std::string& registration, std::string& type);
  // Reads a JPEG photograph; false when it cannot.
  virtual bool ReadJpeg(Form1State& form, const std::string& path, Bitmap24& picture);

  // The received-aircraft list window (TForm5).
  virtual int FindRowByFlight(Form1State& form, const std::string& flightId);
  virtual void RegisterContact(Form1State& form, const std::string& flightId, const std::string& registration,
                               const std::string& accessStation);
  virtual void MarkPositionReceived(Form1State& form, const std::string& flightId, const std::string& registration);
  virtual void ClearPosMark(Form1State& form, const std::string& registration, const std::string& flightId);
  virtual void ClearAllRows(Form1State& form);
  // The registration column of a 1-based list row.
  virtual std::string RowRegistration(Form1State& form, int row);
  // The list window's ListView1 takes ListBack and ListText.
  virtual void ApplyListColours(Form1State& form);

  // The watch list (TForm2): a downlink of this registration or flight.
  virtual void CheckSearchHit(Form1State& form, const std::string& registration, const std::string& flightId);
};

AircraftServices& DefaultAircraftServices();
