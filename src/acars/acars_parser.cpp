#include "acars/acars_parser.h"

#include "acars/acars_reception.h"
#include "acars/acars_stores.h"
#include "platform/control_char_name.h"

namespace {

constexpr char kDel = 127;
// Fewer characters than this ("+" through the terminator) leave nothing.
constexpr int kShortestBlock = 29;

// count characters from index from, as a text ending at the first NUL.
std::string Field(const AcarsBlock& b, int from, int count, bool delAsDash = false) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    char c = AcarsCharacter(b, from + i);
    if (c == '\0') break;
    if (delAsDash && c == kDel) c = '-';
    s.push_back(c);
  }
  return s;
}

std::string Characters(const AcarsBlock& b, int from, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s.push_back(AcarsCharacter(b, from + i));
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

void Downlink(AcarsMessage& m, AcarsStores& stores) {
  const AcarsFields& f = m.Fields;
  const bool etx = m.Block.End == AcarsEndFlag::Etx;
  if (stores.CheckAcarsDuplicate(f.Address, f.MsgNo)) {
    m.Completion = AcarsCompletion::Retransmission;
    return;
  }
  m.Completion = AcarsCompletion::Single;
  m.Text = ShownOwn(f.Text);
  const int slot = stores.FindAcarsBlockSlot(f.Address);
  if (slot == AcarsStores::kNoSlot) {
    if (!etx) {
      stores.StartAcarsBlockSlot(f.Address, f.MsgNo, f.Text);
      m.Completion = AcarsCompletion::FirstBlock;
    }
  } else if (!stores.AcarsBlockSlotMatches(slot, f.MsgNo)) {
    // Another message of this aircraft is open: it stays as it is, and
    // this block stands alone.
  } else if (stores.AppendAcarsBlock(slot, f.MsgNo, f.Text)) {
    if (!etx) {
      m.Completion = AcarsCompletion::MoreBlocks;
    } else {
      m.Completion = AcarsCompletion::Assembled;
      m.Text = Shown(stores.AcarsSlotText(slot));
      stores.FreeAcarsBlockSlot(slot);
    }
  } else {
    m.Completion = AcarsCompletion::SequenceError;
    m.Text = Shown(stores.AcarsSlotText(slot));
    stores.FreeAcarsBlockSlot(slot);
  }
}

void Uplink(AcarsMessage& m, AcarsStores& stores, char blockId) {
  const AcarsFields& f = m.Fields;
  const bool etx = m.Block.End == AcarsEndFlag::Etx;
  if (stores.CheckUplinkDuplicate(f.Address, blockId)) {
    m.Completion = AcarsCompletion::Retransmission;
    return;
  }
  m.Text = ShownOwn(f.Text);
  const int slot = stores.FindUplinkBlockSlot(f.Address);
  if (slot != AcarsStores::kNoSlot) {
    if (stores.AppendUplinkBlock(slot, blockId, f.Text)) {
      if (etx) {
        m.Completion = AcarsCompletion::Assembled;
        m.Text = Shown(stores.UplinkSlotText(slot));
        stores.FreeUplinkBlockSlot(slot);
      } else {
        m.Completion = AcarsCompletion::MoreBlocks;
      }
    } else {
      m.Completion = AcarsCompletion::SequenceError;
      m.Text = Shown(stores.UplinkSlotText(slot));
      stores.FreeUplinkBlockSlot(slot);
    }
  } else if (!etx) {
    stores.StartUplinkBlockSlot(f.Address, blockId, f.Text);
    m.Completion = AcarsCompletion::FirstBlock;
  } else {
    m.Completion = AcarsCompletion::Single;
  }
}

}  // namespace

char AcarsCharacter(const AcarsBlock& block, int n) {
  if (n < 0) return '\0';
  if (n < kAcarsSyncLength) return kAcarsSyncCharacters[n];
  size_t at = static_cast<size_t>(n - kAcarsSyncLength);
  if (at < block.Characters.size()) return block.Characters[at];
  at -= block.Characters.size();
  return at < block.CheckSequence.size() ? block.CheckSequence[at] : '\0';
}

bool AcarsBlockIsDownlink(const AcarsBlock& block) {
  if (block.Direction != AcarsDirection::FromBlock) return block.Direction == AcarsDirection::Downlink;
  const char mode = AcarsCharacter(block, 5);
  if (mode == '2' || mode == '`') {
    const char blockId = AcarsCharacter(block, 16);
    return blockId >= '0' && blockId <= '9';
  }
  return mode < 'a';
}

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

void AcarsParser::SetModeName(const std::array<std::string, 28>& stationNames, char mode) {
  int index = -1;
  if (mode >= 'A' && mode <= 'Z') index = mode - 'A';
  if (mode >= 'a' && mode <= 'z') index = mode - 'a';
  if (mode == '2') index = 26;
  if (mode == '3') index = 27;
  if (index >= 0) AcarsModeName = stationNames[static_cast<size_t>(index)];
}

std::optional<AcarsMessage> AcarsParser::Parse(const AcarsBlock& block, AcarsStores& stores,
                                               const std::array<std::string, 28>& stationNames,
                                               const EtcSettings& etc) {
  // "+" through the terminator.
  const int n = kAcarsSyncLength + static_cast<int>(block.Characters.size());
  if (n < kShortestBlock) return std::nullopt;
  AcarsMessage m;
  m.Block = block;
  for (int i = 0; i < n; ++i) m.RawText += ControlCharName(static_cast<uint8_t>(AcarsCharacter(block, i)));
  const char mode = AcarsCharacter(block, 5);
  SetModeName(stationNames, mode);
  AcarsFields& f = m.Fields;
  f.Mode = mode;
  f.ModeText = Field(block, 5, 1);
  f.Downlink = AcarsBlockIsDownlink(block);
  f.StationName = AcarsModeName;
  if (f.Downlink) {
    f.Address = WithoutLeadingDots(Field(block, 6, 7));
    f.Label = Field(block, 14, 2);
    const std::string id = NormaliseFlightId(Characters(block, 22, 6), etc.ConvJD, etc.ConvJC);
    if (!FlightIdPlausible(id)) return std::nullopt;
    f.FlightId = Shown(id);
    f.MsgNo = Field(block, 18, 4);
    f.BlockId = Field(block, 16, 1);
    f.Text = Characters(block, 28, n - kShortestBlock);
    Downlink(m, stores);
  } else {
    f.Address = WithoutLeadingDots(Field(block, 6, 7, true));
    f.Label = Field(block, 14, 2, true);
    if (f.Label == "SQ") f.Address = "Uplink";
    f.FlightId = "------";
    f.MsgNo = "----";
    // An uplink carries no message number or flight id: its text follows
    // STX directly.
    f.Text = Characters(block, 18, n - 19);
    char blockId = AcarsCharacter(block, 16);
    if (blockId == '\0' || blockId == kDel) blockId = '-';
    f.BlockId = std::string(1, blockId);
    Uplink(m, stores, blockId);
  }
  return m;
}

std::optional<AcarsMessage> ParseAcarsBlock(AcarsReception& acars, const EtcSettings& etc, const AcarsBlock& block) {
  // Every block long enough to be taken apart starts with no position
  // stored, uplinks and dropped downlinks included.
  if (kAcarsSyncLength + static_cast<int>(block.Characters.size()) >= kShortestBlock) {
    acars.PositionDecoders.FromAcars = 0;
  }
  return acars.AcarsParse.Parse(block, acars.AcarsStore, acars.AcarsStationNames, etc);
}
