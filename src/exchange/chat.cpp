#include "exchange/chat.h"

#include <algorithm>

#include "exchange/peer_link_byte_mapping.h"
#include "platform/cp932.h"

namespace {

constexpr size_t kTokenLength = 20;
constexpr char kEtx = 0x03;

std::string WithoutSpaces(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c != ' ') out.push_back(c);
  }
  return out;
}

}  // namespace

std::string CutCp932(std::string_view text, size_t maxBytes) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t width = platform::IsCp932Lead(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return std::string(text.substr(0, std::min(end, text.size())));
}

bool ChatListAdd(ChatParticipants& list, std::string_view payload) {
  if (payload.size() < kTokenLength) return false;
  const std::string name = CutCp932(WithoutSpaces(payload.substr(kTokenLength)), kParticipantNameMaxBytes);
  if (auto found = list.Index.find(name); found != list.Index.end()) {
    std::string& entry = list.Entries[found->second - list.Dropped];
    if (!entry.empty() && entry.back() == ' ') return false;
    entry = name + " ";
    return true;
  }
  if (name == "DefaultName") return false;
  if (list.Entries.size() >= kMaxParticipants) {
    list.Index.erase(WithoutSpaces(list.Entries.front()));
    list.Entries.pop_front();
    ++list.Dropped;
  }
  list.Index.emplace(name, list.Dropped + list.Entries.size());
  list.Entries.push_back(name + " ");
  return true;
}

bool ChatListCheck(ChatParticipants& list) {
  bool changed = false;
  ChatParticipants kept;
  for (const std::string& entry : list.Entries) {
    if (!entry.empty() && entry.back() == ' ') {
      std::string name = WithoutSpaces(entry);
      changed = changed || name != entry;
      kept.Index.emplace(name, kept.Entries.size());
      kept.Entries.push_back(std::move(name));
    } else {
      changed = true;
    }
  }
  list = std::move(kept);
  return changed;
}

void AppendChatLog(std::string& log, std::string_view line, int maxBytes) {
  log.append(line);
  log.append("\r\n");
  // Deleting the first character while the log is at least maxBytes long
  // is one cut.
  const size_t limit = static_cast<size_t>(std::max(maxBytes, 1));
  if (log.size() >= limit) log.erase(0, log.size() - limit + 1);
}

std::string ChatLine(std::string_view name, std::string_view text, std::string* shownLine) {
  const std::string start = "[CHAT]";
  const size_t fixed = start.size() + name.size() + 2;  // ">" and ETX
  const std::string cut = fixed < kChatLineMaxBytes ? CutCp932(text, kChatLineMaxBytes - fixed) : std::string();
  const std::string shown = std::string(name) + ">" + cut;
  if (shownLine) *shownLine = shown;
  return PeerLinkEncodeText(start + shown + kEtx);
}

std::string TestLine(int sequence) {
  return PeerLinkEncodeText("TEST ABSDEFGHIJKLMNOPQRSTUVWXYZ>" + std::to_string(sequence) + kEtx);
}
