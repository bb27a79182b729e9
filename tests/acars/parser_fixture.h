#pragma once
// A main-form state with recording services around the ACARS parser, and
// blocks built by the test transmitter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acars/acars_services.h"
#include "acars/test_messages.h"
#include "acars_tx/acars_test_transmitter.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "app/ground_names.h"
#include "exchange/exchange_services.h"
#include "platform/date_time.h"
#include "support/test_support.h"

// Everything the parser calls outside its subsystem, in order.
struct CallLog {
  std::vector<std::string> calls;
  int Count(const std::string& prefix) const {
    int n = 0;
    for (const std::string& c : calls) n += c.rfind(prefix, 0) == 0;
    return n;
  }
};

class RecordingAcars : public AcarsServices {
 public:
  explicit RecordingAcars(CallLog& log) : log_(log) {}
  void SearchAcarsMessage(Form1State&, const std::string& who, const std::string& address,
                          const std::string& text) override {
    log_.calls.push_back("search:" + who + "|" + address + "|" + text);
  }
  bool DispatchPositionDecoder(Form1State&, const std::string& text, const std::string& flightId,
                               const std::string& registration, const std::string& label, const std::string& msgNo,
                               const std::string& station) override {
    log_.calls.push_back("dispatch:" + text + "|" + flightId + "|" + registration + "|" + label + "|" + msgNo + "|" +
                         station);
    return positionStored;
  }
  bool positionStored = false;

 private:
  CallLog& log_;
};

class RecordingAircraft : public AircraftServices {
 public:
  explicit RecordingAircraft(CallLog& log) : log_(log) {}
  void RegisterContact(Form1State& form, const std::string& flightId, const std::string& registration,
                       const std::string& station) override {
    // The RAW line is written before the contact is registered.
    log_.calls.push_back("register:" + flightId + "|" + registration + "|" + station +
                         (form.text.TextBuffers[kAcarsRaw].empty() ? " (no raw yet)" : ""));
  }
  void CheckSearchHit(Form1State&, const std::string& registration, const std::string& flightId) override {
    log_.calls.push_back("hit:" + registration + "|" + flightId);
  }

 private:
  CallLog& log_;
};

class RecordingExchange : public ExchangeServices {
 public:
  explicit RecordingExchange(CallLog& log) : log_(log) {}
  void SendToAllClients(Form1State&, const std::string& text) override {
    log_.calls.push_back("relay");
    relayed.push_back(text);
  }
  void RefreshTextWindow(Form1State& form) override {
    log_.calls.push_back("refresh:" + std::to_string(form.Txt.TxtType));
  }
  std::vector<std::string> relayed;

 private:
  CallLog& log_;
};

// Bits of a block, one per byte, with odd parity, and the bit count the
// framer would hand on: 8 x (index of the terminator) + 24.
struct BlockBits {
  std::vector<uint8_t> bits;
  int bitCount = 0;
};

inline BlockBits BitsOf(const std::string& characters) {
  BlockBits b;
  // Two characters stand for the BCS, as in the framer's bits.
  std::string all = characters + "\x11\x22";
  for (char c : all) {
    const uint8_t byte = acars_tx::WithOddParity(static_cast<uint8_t>(c));
    for (int i = 0; i < 8; ++i) b.bits.push_back((byte >> i) & 1);
  }
  b.bitCount = 8 * static_cast<int>(characters.size() - 1) + 24;
  return b;
}

class ParserTest : public ::testing::Test {
 protected:
  ParserTest() : clock_(platform::EncodeDateTime(2024, 5, 1, 13, 5, 27)) {
    f.svc.acars = &acars;
    f.svc.aircraft = &aircraft;
    f.svc.exchange = &exchange;
    for (int k = 0; k < 28; ++k) f.acars.AcarsStationNames[k] = kDefaultAcarsStationNames[k];
    f.app.AppDir = dir.path();
    f.Txt.TxtLog = 0;
    f.Txt.TxtType = 4;
    f.Txt.MaxBytes = 63999;
    f.text.LogDate.clear();
    f.svc.exchange->UpdateDailyLogNames(f, true);
  }

  void Parse(const acars_tx::Message& m, AcarsSource source = AcarsSource::Vhf, const std::string& tag = "Lch") {
    ParseCharacters(acars_tx::BlockCharacters(m), m.etx, source, tag);
  }
  void ParseCharacters(const std::string& characters, bool etx, AcarsSource source = AcarsSource::Vhf,
                       const std::string& tag = "Lch") {
    const BlockBits b = BitsOf(characters);
    f.app.SourceTag = tag;
    f.svc.acars->ParseAcarsBlock(f, b.bits.data(), b.bits.size(), b.bitCount, etx ? AcarsEndFlag::Etx : AcarsEndFlag::Etb,
                                 source);
  }
  const std::string& Raw() const { return f.text.TextBuffers[kAcarsRaw]; }
  const std::string& Prc() const { return f.text.TextBuffers[kAcarsPrc]; }
  const std::string& Mes() const { return f.text.TextBuffers[kAcarsMes]; }
  void ClearBuffers() {
    for (std::string& b : f.text.TextBuffers) b.clear();
    log.calls.clear();
  }

  testing_support::TempDir dir;
  testing_support::FixedClock clock_;
  CallLog log;
  RecordingAcars acars{log};
  RecordingAircraft aircraft{log};
  RecordingExchange exchange{log};
  Form1State f;
};
