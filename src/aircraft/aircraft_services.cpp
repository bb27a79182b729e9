#include "aircraft/aircraft_services.h"

#include "app/form1_state.h"

int AircraftServices::UpdateAircraftRecord(Form1State&, const std::string&, const std::string&, const std::string&,
                                           const AircraftPosition&, const std::string&, const std::string&) {
  return 0;
}

void AircraftServices::UpdateTrackAges(Form1State&) {}

int AircraftServices::DeleteAircraft(Form1State&, int) { return 0; }

std::string AircraftServices::LookupAirline3(Form1State&, const std::string&) { return "--"; }

bool AircraftServices::LookupAircraftType(Form1State&, const std::string&, std::string&) { return false; }

bool AircraftServices::ReadJpeg(Form1State&, const std::string&, Bitmap24&) { return false; }

int AircraftServices::FindRowByFlight(Form1State&, const std::string&) { return 0; }

void AircraftServices::RegisterContact(Form1State&, const std::string&, const std::string&, const std::string&) {}

void AircraftServices::MarkPositionReceived(Form1State&, const std::string&, const std::string&) {}

void AircraftServices::ClearPosMark(Form1State&, const std::string&, const std::string&) {}

void AircraftServices::ClearAllRows(Form1State&) {}

std::string AircraftServices::RowRegistration(Form1State&, int) { return ""; }

void AircraftServices::ApplyListColours(Form1State&) {}

void AircraftServices::CheckSearchHit(Form1State&, const std::string&, const std::string&) {}

AircraftServices& DefaultAircraftServices() {
  static AircraftServices services;
  return services;
}
