#pragma once
// The duplicate filters and multi-block assembly slots of ACARS messages,
// one set for downlinks and one for uplinks. Registrations and addresses are
// compared over their first 7 characters.
#include <array>
#include <string>
#include <string_view>

class AcarsStores {
 public:
  static constexpr int kRingSize = 500;
  static constexpr int kUplinkRingSize = 100;
  static constexpr int kSlots = 20;
  static constexpr int kNoSlot = 20;
  // A slot's text, and any copy of it, holds at most this many characters;
  // what does not fit is dropped.
  static constexpr size_t kMaxText = 5999;

  AcarsStores();
  void Clear();

  // ---- downlinks ----
  // 1 when this registration's last message number is msgNo (a repeat).
  int CheckAcarsDuplicate(std::string_view registration, std::string_view msgNo);
  int FindAcarsBlockSlot(std::string_view registration) const;
  int AcarsBlockSlotMatches(int slot, std::string_view msgNo) const;
  void StartAcarsBlockSlot(std::string_view registration, std::string_view msgNo, std::string_view text);
  // 1 when msgNo's block letter follows the slot's and the text (less its
  // first 4 characters) was taken.
  int AppendAcarsBlock(int slot, std::string_view msgNo, std::string_view text);
  void FreeAcarsBlockSlot(int slot);
  const std::string& AcarsSlotText(int slot) const { return down_[slot].Text; }

  // ---- uplinks ----
  // 1 when this address's last block id is blockId; never for "Uplink".
  int CheckUplinkDuplicate(std::string_view address, char blockId);
  int FindUplinkBlockSlot(std::string_view address) const;
  // 1 when appended or the same block again, 0 out of sequence.
  int AppendUplinkBlock(int slot, char blockId, std::string_view text);
  void StartUplinkBlockSlot(std::string_view address, char blockId, std::string_view text);
  void FreeUplinkBlockSlot(int slot);
  const std::string& UplinkSlotText(int slot) const { return up_[slot].Text; }

  // Inspection for tests and the fuzz run.
  bool AcarsSlotOpen(int slot) const { return down_[slot].State > 0; }
  bool UplinkSlotOpen(int slot) const { return up_[slot].InUse; }
  int NextAcarsSlot() const { return nextDown_; }
  int NextUplinkSlot() const { return nextUp_; }

 private:
  struct RingEntry {
    std::string Registration;  // up to 7
    std::string MsgNo;         // up to 4
  };
  struct DownSlot {
    std::string Registration = "-------";
    std::string MsgNo;  // first 3 characters of the message number
    std::string Text;
    int State = 0;      // text length; 0 is a free slot
    int BlockId = 0;    // the block letter of the last block taken
  };
  struct UplinkRingEntry {
    std::string Address;
    char BlockId = 0;
  };
  struct UpSlot {
    std::string Address;
    std::string Text;
    char LastBlockId = 0;  // upper case; "@" after "Z"
    // A freed slot's address is empty, as is an all-dots address: only
    // slots in use may match.
    bool InUse = false;
  };

  std::array<RingEntry, kRingSize> ring_;
  int ringNext_ = 0;
  std::array<DownSlot, kSlots> down_;
  int nextDown_ = 0;
  std::array<UplinkRingEntry, kUplinkRingSize> upRing_;
  int upRingNext_ = 0;
  std::array<UpSlot, kSlots> up_;
  int nextUp_ = 0;
};
