#pragma once
// The program's road of decoded messages with the shipped ground-station
// names, fed with blocks of the test transmitter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acars/acars_text_output.h"
#include "acars/test_messages.h"
#include "app/ground_names.h"
#include "support/reception_rig.h"

class ParserTest : public ::testing::Test {
 protected:
  ParserTest() {
    for (size_t k = 0; k < 28; ++k) f.acars.AcarsStationNames[k] = kDefaultAcarsStationNames[k];
  }

  // The block with a check sequence of two characters, as own VHF reception
  // on the left channel unless another road is given.
  void Receive(const acars_tx::Message& m, AcarsBearer bearer = AcarsBearer::Vhf) {
    rig.ReceiveAcars(acars_tx::BlockCharacters(m) + "\x11\x22", m.etx, bearer);
  }
  // The message the road delivered last; throws (and fails) when none.
  const AcarsMessage& Last() { return Messages().at(Messages().size() - 1); }
  const std::vector<AcarsMessage>& Messages() { return rig.sink().messages; }
  std::vector<AcarsCompletion> Completions() {
    std::vector<AcarsCompletion> out;
    for (const AcarsMessage& m : Messages()) out.push_back(m.Completion);
    return out;
  }
  // The texts the message search would be handed, by today's settings.
  std::vector<std::string> Searched() {
    std::vector<std::string> out;
    for (const AcarsMessage& m : Messages()) {
      if (AcarsSearched(m, f.Txt)) out.push_back(m.Text);
    }
    return out;
  }
  const std::string& Raw() const { return f.text.Buffer(kAcarsRaw); }
  const std::string& Prc() const { return f.text.Buffer(kAcarsPrc); }
  const std::string& Mes() const { return f.text.Buffer(kAcarsMes); }
  bool Has(const std::string& buffer, const std::string& part) const { return buffer.find(part) != std::string::npos; }

  testing_support::ReceptionRig rig;
  Form1State& f = rig.form();
};
