#include "acars/acars_parser.h"

#include "acars/acars_stores.h"
#include "acars/acars_text_output.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "platform/shared_helpers.h"
#include "exchange/exchange_services.h"
#include "exchange/peer_link_byte_mapping.h"
#include "platform/control_char_name.h"

namespace {

constexpr char kDel = 127;
// Fewer characters than this ("+" through the terminator) leave nothing.
constexpr int kShortestBlock = 29;

const char kRetransmission[] = "<<<  Retransmission Message   >>>";
const char kStoredUp[] = "<<<     Message Stored Up     >>>";
const char kStoredUpMore[] = "<<<     Messages Stored Up    >>>";
const char kStorage[] = "<<<      Storage Message      >>>";
const char kSequenceError[] = "<<< Stored Up Seaquence Error >>>";
const char kLinkTest[] = "<<<         Link Test         >>>";
const char kGeneralAck[] = "<<<  General Acknowledgement  >>>";

char CharAt(const uint8_t* bits, int n) { return static_cast<char>(BitsToAscii7(bits, n)); }

// count characters from index from, as a text ending at the first NUL.
std::string Field(const uint8_t* bits, int from, int count, bool delAsDash = false) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    char c = CharAt(bits, from + i);
    if (c == '\0') break;
    if (delAsDash && c == kDel) c = '-';
    s.push_back(c);
  }
  return s;
}

std::string Characters(const uint8_t* bits, int from, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s.push_back(CharAt(bits, from + i));
  return s;
}

std::string WithoutLeadingDots(const std::string& s) {
  size_t k = s.find_first_not_of('.');
  return k == std::string::npos ? std::string() : s.substr(k);
}

// What is shown of a text: up to a NUL that came from the air.
std::string Shown(const std::string& text) { return text.substr(0, text.find('\0')); }

// A block's own text is shown with a final CR LF blanked.
std::string ShownOwn(const std::string& text) {
  std::string s = Shown(text);
  if (s.size() >= 2 && s[s.size() - 2] == '\r') {
    s[s.size() - 2] = ' ';
    s[s.size() - 1] = ' ';
  }
  return s;
}

bool BeginsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

std::string NormaliseFlightId(std::string id, bool convJD, bool convJC) {
  id.resize(6, '\0');
  if (id[4] == ' ') {
    id[4] = id[3];
    id[3] = id[2];
    id[2] = '0';
  }
  if (id[5] == ' ') {
    id[5] = id[4];
    id[4] = id[3];
    id[3] = id[2];
    id[2] = '0';
  }
  for (char& c : id) {
    if (c == ' ') c = '0';
  }
  if (convJD && id[0] == 'J' && id[1] == 'D') id[1] = 'L';
  if (convJC && id[0] == '0' && id[1] == '0') {
    id[0] = 'J';
    id[1] = 'C';
  }
  return id;
}

bool FlightIdPlausible(const std::string& id) {
  if (id.size() < 6) return false;
  for (int i = 2; i <= 5; ++i) {
    const char c = id[i];
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return true;
}

void AcarsParser::SetModeName(const Form1State& form, char mode) {
  int index = -1;
  if (mode >= 'A' && mode <= 'Z') index = mode - 'A';
  if (mode >= 'a' && mode <= 'z') index = mode - 'a';
  if (mode == '2') index = 26;
  if (mode == '3') index = 27;
  if (index >= 0) AcarsModeName = form.acars.AcarsStationNames[index];
}

void AcarsParser::ParseAcarsBlock(Form1State& form, const uint8_t* bits, size_t bitsSize, int bitCount,
                                  AcarsEndFlag endFlag, AcarsSource source) {
  AcarsRawText.clear();
  if (bits == nullptr || bitCount < 0 || static_cast<size_t>(bitCount) > bitsSize) {
    form.app.SourceTag.clear();
    return;
  }
  const int n = bitCount / 8 - 2;
  for (int i = 0; i < n; ++i) AcarsRawText += ControlCharName(static_cast<uint8_t>(CharAt(bits, i)));
  if (n < kShortestBlock) {
    form.app.SourceTag.clear();
    return;
  }
  const char mode = CharAt(bits, 5);
  AcarsDownlink = mode < 'a' ? 1 : 0;
  SetModeName(form, mode);
  fields_ = AcarsFields();
  fields_.Mode = mode;
  fields_.ModeText = Field(bits, 5, 1);
  fields_.Downlink = AcarsDownlink != 0;
  if (AcarsDownlink) {
    Downlink(form, bits, n, bitCount, endFlag, source);
  } else {
    Uplink(form, bits, n, bitCount, endFlag, source);
  }
  form.app.SourceTag.clear();
}

void AcarsParser::Relay(Form1State& form, const uint8_t* bits, int bitCount, AcarsSource source) {
  if (!form.Net.Server || !form.Net.DupCheckSend) return;
  // The two characters after the terminator travel too; the reader ignores them.
  NetAcarsText.clear();
  for (int i = 0; i < bitCount / 8; ++i) AppendPeerLinkEncoded(NetAcarsText, static_cast<uint8_t>(CharAt(bits, i)));
  if (source == AcarsSource::Vhf) form.svc.exchange->SendToAllClients(form, NetAcarsText);
}

void AcarsParser::Downlink(Form1State& form, const uint8_t* bits, int n, int bitCount, AcarsEndFlag endFlag,
                           AcarsSource source) {
  AcarsFields& f = fields_;
  f.Address = WithoutLeadingDots(Field(bits, 6, 7));
  f.Label = Field(bits, 14, 2);
  const std::string id = NormaliseFlightId(Characters(bits, 22, 6), form.Etc.ConvJD, form.Etc.ConvJC);
  if (!FlightIdPlausible(id)) return;
  f.FlightId = Shown(id);
  f.MsgNo = Field(bits, 18, 4);
  f.BlockId = Field(bits, 16, 1);
  f.Text = Characters(bits, 28, n - kShortestBlock);
  f.StationName = AcarsModeName;

  WriteAcarsRawLine(form, AcarsRawText, f.FlightId, f.Address);
  form.svc.aircraft->RegisterContact(form, f.FlightId, f.Address, AcarsModeName);
  AcarsStores& stores = form.acars.AcarsStore;
  if (stores.CheckAcarsDuplicate(f.Address, f.MsgNo)) {
    OutputAcarsDownlink(form, kAcarsPrc, f, kRetransmission, "");
    form.svc.aircraft->CheckSearchHit(form, f.Address, f.FlightId);
    return;
  }
  Relay(form, bits, bitCount, source);

  const std::string own = ShownOwn(f.Text);
  const std::string station = "ACARS:" + AcarsModeName;
  auto dispatch = [&](const std::string& text) {
    return form.svc.acars->DispatchPositionDecoder(form, text, f.FlightId, f.Address, f.Label, f.MsgNo, station);
  };
  auto toMes = [&](const std::string& text) {
    OutputAcarsDownlink(form, kAcarsMes, f, "", text);
    form.svc.acars->SearchAcarsMessage(form, f.FlightId, f.Address, text);
  };

  bool single = false;
  const int slot = stores.FindAcarsBlockSlot(f.Address);
  if (slot == AcarsStores::kNoSlot) {
    if (endFlag == AcarsEndFlag::Etb) {
      stores.StartAcarsBlockSlot(f.Address, f.MsgNo, f.Text);
      OutputAcarsDownlink(form, kAcarsPrc, f, kStoredUp, own);
    } else {
      single = true;
    }
  } else if (!stores.AcarsBlockSlotMatches(slot, f.MsgNo)) {
    // Another message of this aircraft is open: it stays as it is.
    single = true;
  } else if (stores.AppendAcarsBlock(slot, f.MsgNo, f.Text)) {
    if (endFlag == AcarsEndFlag::Etb) {
      OutputAcarsDownlink(form, kAcarsPrc, f, kStoredUpMore, own);
    } else {
      assembledDown_ = stores.AcarsSlotText(slot);
      stores.FreeAcarsBlockSlot(slot);
      const std::string text = Shown(assembledDown_);
      const bool positionStored = dispatch(text);
      OutputAcarsDownlink(form, kAcarsPrc, f, kStorage, text);
      if (!(form.Txt.ShowPos && positionStored)) toMes(text);
    }
  } else {
    assembledDown_ = stores.AcarsSlotText(slot);
    OutputAcarsDownlink(form, kAcarsPrc, f, kSequenceError, Shown(assembledDown_));
    stores.FreeAcarsBlockSlot(slot);
  }

  if (single) {
    const bool positionStored = dispatch(own);
    if (f.Label == "Q0") {
      OutputAcarsDownlink(form, kAcarsPrc, f, kLinkTest, "");
    } else if (f.Label.size() == 2 && f.Label[0] == '_' && f.Label[1] == kDel) {
      OutputAcarsDownlink(form, kAcarsPrc, f, kGeneralAck, "");
    } else {
      OutputAcarsDownlink(form, kAcarsPrc, f, "", own);
      const bool held = (BeginsWith(own, "FRQ") && form.Txt.FreqNoDisp) || (BeginsWith(own, "TIS") && form.Txt.TISNoDisp) ||
                        (form.Txt.ShowPos && positionStored);
      if (!held) toMes(own);
    }
  }
  form.svc.aircraft->CheckSearchHit(form, f.Address, f.FlightId);
}

void AcarsParser::Uplink(Form1State& form, const uint8_t* bits, int n, int bitCount, AcarsEndFlag endFlag,
                         AcarsSource source) {
  AcarsFields& f = fields_;
  f.Address = WithoutLeadingDots(Field(bits, 6, 7, true));
  f.Label = Field(bits, 14, 2, true);
  if (f.Label == "SQ") f.Address = "Uplink";
  f.FlightId = "------";
  f.MsgNo = "----";
  f.Text = Characters(bits, 22, n - 23);
  char blockId = CharAt(bits, 16);
  if (blockId == '\0' || blockId == kDel) blockId = '-';
  f.BlockId = std::string(1, blockId);
  f.StationName = AcarsModeName;

  WriteAcarsRawLine(form, AcarsRawText, f.FlightId, f.Address);
  AcarsStores& stores = form.acars.AcarsStore;
  if (stores.CheckUplinkDuplicate(f.Address, blockId)) {
    OutputAcarsUplink(form, kAcarsPrc, f, kRetransmission, "");
    return;
  }
  Relay(form, bits, bitCount, source);

  const std::string own = ShownOwn(f.Text);
  const int slot = stores.FindUplinkBlockSlot(f.Address);
  if (slot != AcarsStores::kNoSlot) {
    if (stores.AppendUplinkBlock(slot, blockId, f.Text)) {
      if (endFlag == AcarsEndFlag::Etx) {
        assembledUp_ = stores.UplinkSlotText(slot);
        stores.FreeUplinkBlockSlot(slot);
        const std::string text = Shown(assembledUp_);
        OutputAcarsUplink(form, kAcarsPrc, f, kStorage, text);
        OutputAcarsUplink(form, kAcarsMes, f, "", text);
        form.svc.acars->SearchAcarsMessage(form, AcarsModeName, f.Address, text);
      } else {
        OutputAcarsUplink(form, kAcarsPrc, f, kStoredUp, own);
      }
    } else {
      assembledUp_ = stores.UplinkSlotText(slot);
      stores.FreeUplinkBlockSlot(slot);
      OutputAcarsUplink(form, kAcarsPrc, f, kSequenceError, Shown(assembledUp_));
    }
  } else if (endFlag == AcarsEndFlag::Etb) {
    stores.StartUplinkBlockSlot(f.Address, blockId, f.Text);
    OutputAcarsUplink(form, kAcarsPrc, f, kStoredUp, own);
  } else {
    OutputAcarsUplink(form, kAcarsPrc, f, "", own);
    if (!(f.Label == "SQ" && form.Txt.SqNoDisp)) OutputAcarsUplink(form, kAcarsMes, f, "", own);
    form.svc.acars->SearchAcarsMessage(form, AcarsModeName, f.Address, own);
  }
}
