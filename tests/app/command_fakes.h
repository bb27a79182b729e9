#pragma once
// Recording stand-ins for the services the main window's commands call.
// Every call is written, in order, into one shared log.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "acars/acars_services.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "exchange/exchange_services.h"
#include "hfdl/hfdl_services.h"
#include "map/map_services.h"

using CallLog = std::vector<std::string>;

class FakeMap : public MapServices {
 public:
  explicit FakeMap(CallLog& log) : log_(log) {}
  void Redraw(Form1State&, uint8_t b, uint8_t a, uint8_t l, uint8_t p) override {
    log_.push_back("Redraw " + std::to_string(b) + std::to_string(a) + std::to_string(l) + std::to_string(p));
  }
  void FormResize(Form1State&) override { log_.push_back("map FormResize"); }

 private:
  CallLog& log_;
};

// DeleteAircraft removes the record as the table's owner does, unless told
// to refuse.
class FakeAircraft : public AircraftServices {
 public:
  explicit FakeAircraft(CallLog& log) : log_(log) {}
  int DeleteAircraft(Form1State& f, int index) override {
    log_.push_back("DeleteAircraft " + std::to_string(index));
    if (refuse || index >= f.aircraft.AircraftCount) return 0;
    auto& records = f.aircraft.Aircraft.Records;
    records.erase(records.begin() + index);
    records.emplace_back();
    --f.aircraft.AircraftCount;
    return 1;
  }
  void ClearPosMark(Form1State&, const std::string& registration, const std::string& flightId) override {
    log_.push_back("ClearPosMark " + registration + " " + flightId);
  }
  void ClearAllRows(Form1State&) override { log_.push_back("ClearAllRows"); }
  bool ReadJpeg(Form1State&, const std::string& path, Bitmap24& picture) override {
    log_.push_back("ReadJpeg " + path);
    picture.Resize(4, 3);
    return true;
  }

  bool refuse = false;

 private:
  CallLog& log_;
};

// The newest aircraft: the first record whose Age is 0, else 0.
class FakeAcars : public AcarsServices {
 public:
  int FindLatestAircraft(Form1State& f) override {
    for (int i = 0; i < f.aircraft.AircraftCount; ++i) {
      if (f.aircraft.Aircraft.Records[static_cast<size_t>(i)].Age == 0) return i;
    }
    return 0;
  }
};

class FakeExchange : public ExchangeServices {
 public:
  explicit FakeExchange(CallLog& log) : log_(log) {}
  bool ConnectToServer(Form1State&, const std::string& host, const std::string& port) override {
    log_.push_back("ConnectToServer " + host + " " + port);
    return connects;
  }
  void DisconnectFromServer(Form1State& f, bool withMessage) override {
    log_.push_back(std::string("DisconnectFromServer ") + (withMessage ? "1" : "0") +
                   " NetConnected=" + std::to_string(f.exchange.NetConnected));
  }

  bool connects = false;

 private:
  CallLog& log_;
};

class FakeHfdl : public HfdlServices {
 public:
  explicit FakeHfdl(CallLog& log) : log_(log) {}
  void ResetDemodulatorChannel(Form1State& f, int channel) override {
    log_.push_back("ResetDemodulatorChannel " + std::to_string(channel) + " DecoderL=" + std::to_string(f.Wave.DecoderL) +
                   " DecoderR=" + std::to_string(f.Wave.DecoderR));
  }
  void ClearRegistrationRows(Form1State&) override { log_.push_back("ClearRegistrationRows"); }

 private:
  CallLog& log_;
};

class FakeEffects : public FormEffects {
 public:
  explicit FakeEffects(CallLog& log) : log_(log) {}
  void ControlsChanged() override { ++controlsChanged; }
  void ArrangeStatusIndicators() override { log_.push_back("ArrangeStatusIndicators"); }
  void ShowForm(int number, bool modal) override {
    log_.push_back("ShowForm " + std::to_string(number) + (modal ? " modal" : ""));
    if (onShow) onShow(number);
  }
  void CloseMainWindow() override { log_.push_back("CloseMainWindow"); }
  void FormResize() override { log_.push_back("FormResize"); }
  void SetControlText(int number, const std::string& name, const std::string& text) override {
    log_.push_back("Text " + std::to_string(number) + " " + name + " " + text);
  }
  void SetControlPicture(int number, const std::string& name, const Bitmap24& picture) override {
    log_.push_back("Picture " + std::to_string(number) + " " + name + " " + std::to_string(picture.Width()));
  }
  void RestoreForm(int number) override { log_.push_back("RestoreForm " + std::to_string(number)); }
  void CopyToClipboard(const Bitmap24& picture) override {
    log_.push_back("Clipboard " + std::to_string(picture.Width()));
  }

  int controlsChanged = 0;
  std::function<void(int)> onShow;

 private:
  CallLog& log_;
};

// A state whose services all record into one log.
struct RecordedState {
  RecordedState() : map(log), aircraft(log), exchange(log), hfdl(log), effects(log) {
    form.svc.map = &map;
    form.svc.aircraft = &aircraft;
    form.svc.acars = &acars;
    form.svc.exchange = &exchange;
    form.svc.hfdl = &hfdl;
    form.svc.effects = &effects;
  }

  // count records in a table of MaxMapPlot slots, flight ids "FLT0".. and
  // registrations "REG0"..
  void AddAircraft(int count) {
    form.aircraft.Aircraft.Allocate(form.Map.MaxMapPlot, form.Map.MaxPlotData);
    for (int i = 0; i < count; ++i) {
      AircraftRecord& r = form.aircraft.Aircraft.Records[static_cast<size_t>(i)];
      std::snprintf(r.FlightId, sizeof r.FlightId, "FLT%d", i);
      std::snprintf(r.Registration, sizeof r.Registration, "REG%d", i);
      r.FlightNo7 = "7N" + std::to_string(i);
      r.FlightNo7Alt = "7A" + std::to_string(i);
      r.FlightNo6 = "6N" + std::to_string(i);
      r.FlightNo6Alt = "6A" + std::to_string(i);
    }
    form.aircraft.AircraftCount = count;
  }

  CallLog log;
  Form1State form;
  FakeMap map;
  FakeAircraft aircraft;
  FakeAcars acars;
  FakeExchange exchange;
  FakeHfdl hfdl;
  FakeEffects effects;
};
