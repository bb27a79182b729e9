#pragma once
// The chat between linked copies: the participant list learned from the
// keep-alive probes, the conversation log, and the lines the chat window
// and the packet test send. Text is code page 932.
#include <string>
#include <string_view>

#include "exchange/exchange_state.h"

// The longest line the chat window sends, start and ETX included.
constexpr size_t kChatLineMaxBytes = 255;
// The longest name the chat window's name box keeps.
constexpr size_t kChatNameMaxBytes = 100;
// The longest participant name taken from a probe; with its marking space
// an entry stays within 127 bytes.
constexpr size_t kParticipantNameMaxBytes = 126;
// The most names listed; a new one pushes out the one first heard. A
// server keeps at most 1,000 clients (the largest MaxConnect), each heard
// under one name a sweep: four times that lets every one of them change
// its name between two sweeps with room to spare, while a peer that sends
// names without end costs no more than this many entries.
constexpr size_t kMaxParticipants = 4000;

// At most maxBytes of text, never ending inside a two-byte character.
std::string CutCp932(std::string_view text, size_t maxBytes);

// A probe's payload (20-letter token, then the sender's name) marks its
// sender as heard, adding it when it is new. Names are compared and stored
// without spaces; "DefaultName" is never listed; a payload of fewer than 20
// characters changes nothing. True when the list changed. A look-up, so a
// flood of probes costs time in step with its length.
bool ChatListAdd(ChatParticipants& list, std::string_view payload);
// The sweep: entries heard since the last one stay (unmarked), the others
// go. True when the list changed.
bool ChatListCheck(ChatParticipants& list);

// Appends name ">" text CR LF and keeps the log shorter than maxBytes by
// cutting its front (which may leave it starting inside a line).
void AppendChatLog(std::string& log, std::string_view line, int maxBytes);

// What the chat window sends for a name and a text: "[CHAT]" name ">" text
// ETX, mapped for the wire, the text cut so that the whole fits in 255
// bytes. shownLine receives name ">" text as sent.
std::string ChatLine(std::string_view name, std::string_view text, std::string* shownLine = nullptr);
// The packet test's line of a sequence number, mapped for the wire.
std::string TestLine(int sequence);
