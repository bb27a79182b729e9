#pragma once
// One ACARS block as the roads hand it to the parser, and the message value
// the parser makes of it for the sinks of the one road of decoded messages.
#include <string>
#include <vector>

#include "acars/acars_fields.h"
#include "acars/position_report.h"

// How a block ends: ETX ends a message, ETB announces more blocks.
enum class AcarsEndFlag { Etb = 0, Etx = 1 };

// The road a block came by.
enum class AcarsBearer {
  Vhf,     // own VHF reception, channel 0 or 1
  Hfdl,    // enveloped in an HFDL frame (own or linked)
  Link,    // a linked copy
  Import,  // a RAW log being imported
  Dde,     // another program's DDE item
};

// Whether a block goes up or down, where its road knows it: an HFDL frame
// carries the blocks of its own direction only.
enum class AcarsDirection {
  FromBlock,  // the block's own characters tell
  Downlink,
  Uplink,
};

// The characters of a block after its sync characters, 7-bit values with
// the parity removed: from SOH through the terminator (ETX or ETB), and
// the two characters that followed the terminator on its road (the block
// check sequence), which the relay to linked copies carries along.
struct AcarsBlock {
  std::string Characters;
  std::string CheckSequence;
  AcarsEndFlag End = AcarsEndFlag::Etx;
  AcarsBearer Bearer = AcarsBearer::Vhf;
  AcarsDirection Direction = AcarsDirection::FromBlock;
  int Channel = 0;        // the VHF channel of own reception
  std::string SourceTag;  // "Lch", "Rch", "NET", "RAW", "DDE"
};

// Every block starts "+", "*", SYN, SYN before its SOH; the roads drop
// them, the texts that show whole blocks put them back.
constexpr char kAcarsSyncCharacters[] = "+*\x16\x16";
constexpr int kAcarsSyncLength = 4;

// What the duplicate filters and the multi-block stores made of a block.
enum class AcarsCompletion {
  Retransmission,  // a repeat of the last block of this aircraft
  FirstBlock,      // the first block of a message, stored
  MoreBlocks,      // a further block, stored
  Assembled,       // the last block: the stored message is complete
  SequenceError,   // out of sequence: the stored blocks were given up
  Single,          // a message of one block
};

struct AcarsMessage {
  AcarsBlock Block;
  AcarsFields Fields;
  // The block as the RAW text shows it, control characters by name.
  std::string RawText;
  AcarsCompletion Completion = AcarsCompletion::Single;
  // What the entry shows: the block's own text with a final CR LF blanked,
  // or the assembled text of the stored blocks.
  std::string Text;
  // The reports the airline's position decoder found in a whole downlink
  // message, in their order, and whether the aircraft table accepted the
  // last of them (FromAcars).
  std::vector<PositionReport> Positions;
  bool PositionStored = false;

  bool Downlink() const { return Fields.Downlink; }
  // A whole message: the position decoders, the MES text and the searches
  // see it.
  bool Whole() const { return Completion == AcarsCompletion::Single || Completion == AcarsCompletion::Assembled; }
};
