#include "acars/acars_stores.h"

#include <algorithm>

namespace {

std::string_view First(std::string_view s, size_t n) { return s.substr(0, std::min(n, s.size())); }

bool Same7(std::string_view a, std::string_view b) { return First(a, 7) == First(b, 7); }

// Appends as much of text as the slot still has room for.
void AppendBounded(std::string& into, std::string_view text) {
  if (into.size() >= AcarsStores::kMaxText) return;
  into.append(First(text, AcarsStores::kMaxText - into.size()));
}

int FourthChar(std::string_view msgNo) { return msgNo.size() > 3 ? static_cast<unsigned char>(msgNo[3]) : 0; }

}  // namespace

AcarsStores::AcarsStores() { Clear(); }

void AcarsStores::Clear() {
  for (RingEntry& e : ring_) e = RingEntry();
  ringNext_ = 0;
  for (DownSlot& s : down_) {
    s = DownSlot();
    s.Text.reserve(kMaxText);
  }
  nextDown_ = 0;
  for (UplinkRingEntry& e : upRing_) e = UplinkRingEntry();
  upRingNext_ = 0;
  for (UpSlot& s : up_) {
    s = UpSlot();
    s.Text.reserve(kMaxText);
  }
  nextUp_ = 0;
}

int AcarsStores::CheckAcarsDuplicate(std::string_view registration, std::string_view msgNo) {
  const std::string_view number = First(msgNo, 4);
  for (RingEntry& e : ring_) {
    if (e.Registration == First(registration, 7)) {
      if (e.MsgNo == number) return 1;
      e.MsgNo = number;
      return 0;
    }
  }
  ring_[ringNext_] = RingEntry{std::string(First(registration, 7)), std::string(number)};
  ringNext_ = (ringNext_ + 1) % kRingSize;
  return 0;
}

int AcarsStores::FindAcarsBlockSlot(std::string_view registration) const {
  for (int i = 0; i < kSlots; ++i) {
    if (down_[i].State > 0 && Same7(down_[i].Registration, registration)) return i;
  }
  return kNoSlot;
}

int AcarsStores::AcarsBlockSlotMatches(int slot, std::string_view msgNo) const {
  return down_[slot].MsgNo == First(msgNo, 3) ? 1 : 0;
}

void AcarsStores::StartAcarsBlockSlot(std::string_view registration, std::string_view msgNo, std::string_view text) {
  DownSlot& s = down_[nextDown_];
  s.Registration = First(registration, 7);
  s.MsgNo = First(msgNo, 3);
  s.BlockId = FourthChar(msgNo);
  s.Text.clear();
  AppendBounded(s.Text, text);
  s.State = static_cast<int>(s.Text.size());
  nextDown_ = (nextDown_ + 1) % kSlots;
}

int AcarsStores::AppendAcarsBlock(int slot, std::string_view msgNo, std::string_view text) {
  DownSlot& s = down_[slot];
  const int letter = FourthChar(msgNo);
  if (letter != s.BlockId + 1) return 0;
  // A continuation repeats the message number's 4 characters first; one
  // shorter than that brings no text.
  if (text.size() > 4) AppendBounded(s.Text, text.substr(4));
  s.State = static_cast<int>(s.Text.size());
  s.BlockId = letter;
  return 1;
}

void AcarsStores::FreeAcarsBlockSlot(int slot) {
  down_[slot].State = 0;
  down_[slot].Text.clear();
  down_[slot].Registration = "-------";
}

int AcarsStores::CheckUplinkDuplicate(std::string_view address, char blockId) {
  int result = 0;
  bool found = false;
  for (UplinkRingEntry& e : upRing_) {
    if (Same7(e.Address, address)) {
      found = true;
      if (e.BlockId == blockId) {
        result = 1;
      } else {
        e.BlockId = blockId;
      }
      break;
    }
  }
  if (!found) {
    upRing_[upRingNext_] = UplinkRingEntry{std::string(First(address, 7)), blockId};
    upRingNext_ = (upRingNext_ + 1) % kUplinkRingSize;
  }
  return First(address, 7) == "Uplink" ? 0 : result;
}

int AcarsStores::FindUplinkBlockSlot(std::string_view address) const {
  for (int i = 0; i < kSlots; ++i) {
    if (up_[i].InUse && Same7(up_[i].Address, address)) return i;
  }
  return kNoSlot;
}

int AcarsStores::AppendUplinkBlock(int slot, char blockId, std::string_view text) {
  UpSlot& s = up_[slot];
  const int b = static_cast<unsigned char>(blockId);
  const int last = static_cast<unsigned char>(s.LastBlockId);
  if (last == b - 1) {
    AppendBounded(s.Text, text);
    s.LastBlockId = static_cast<char>(b);
  } else if (last == b - 33) {
    AppendBounded(s.Text, text);
    s.LastBlockId = static_cast<char>(b - 32);
  } else if (last == b) {
    return 1;
  } else {
    return 0;
  }
  if (s.LastBlockId == 'Z') s.LastBlockId = '@';
  return 1;
}

void AcarsStores::StartUplinkBlockSlot(std::string_view address, char blockId, std::string_view text) {
  UpSlot& s = up_[nextUp_];
  s.Address = First(address, 7);
  s.Text.clear();
  AppendBounded(s.Text, text);
  int b = static_cast<unsigned char>(blockId);
  if (b >= 'a') b -= 32;
  s.LastBlockId = b == 'Z' ? '@' : static_cast<char>(b);
  s.InUse = true;
  nextUp_ = (nextUp_ + 1) % kSlots;
}

void AcarsStores::FreeUplinkBlockSlot(int slot) {
  up_[slot].Text.clear();
  up_[slot].Address.clear();
  up_[slot].InUse = false;
}
