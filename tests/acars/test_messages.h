#pragma once
// Downlink and uplink messages for the tests, by their varying fields.
#include <string>

#include "acars/acars_message.h"
#include "acars_tx/acars_test_transmitter.h"

inline acars_tx::Message Down(const std::string& text, const std::string& msgNo = "M01A", bool etx = true,
                              const std::string& flight = "JL0012", const std::string& reg = "JA8089") {
  acars_tx::Message m;
  m.text = text;
  m.msgNo = msgNo;
  m.etx = etx;
  m.flightId = flight;
  m.registration = reg;
  return m;
}

// An uplink's text follows STX directly: it carries no message number or
// flight id.
inline acars_tx::Message Up(char blockId, const std::string& text, bool etx = true, const std::string& label = "C1",
                            const std::string& reg = "JA8089") {
  acars_tx::Message m;
  m.mode = 'a';
  m.downlink = false;
  m.blockId = blockId;
  m.text = text;
  m.etx = etx;
  m.label = label;
  m.registration = reg;
  return m;
}

// A received block as the transmitter's BlockCharacters: "+" through the
// terminator.
inline std::string Sent(const AcarsBlock& block) { return kAcarsSyncCharacters + block.Characters; }
