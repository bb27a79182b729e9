#pragma once
// The HFDL text writers and converters: the hex form of a frame (low
// nibble first), its inverse for frames from linked copies, and the DAT,
// analysis and compact (FMT) writers with their daily logs.
#include <cstdint>
#include <string>

struct Form1State;

// Two upper-case digits per octet, the octet's low nibble first.
std::string HfdlBitsToHex(const uint8_t* bits, int octets);
// The longest relayed frame: 1890 octets.
constexpr size_t kMaxHfdlHexDigits = 3780;
// A frame from a linked copy: its bits go to HfdlNetworkBits and on to the
// analysis (mode code 20, channel 2). A longer text than any frame is
// refused: nothing is analysed or written.
void AnalyzeNetworkHfdlFrame(Form1State& form, const std::string& hex);
// "[tag]yyyy/MM/dd HH:mm:ss>HFDL<SOH>hex<ETX>" into buffer 3 and the DAT log.
void WriteHfdlDatLog(Form1State& form, const std::string& hex);
// One analysis line into TextBuffers[kind] and its log.
void WriteHfdlAnaLog(Form1State& form, const std::string& line, int kind);
// The compact text of a frame into the FMT log.
void WriteHfdlFmtLog(Form1State& form, const std::string& compact);
// Called when logging of a text kind is switched on; nothing to prepare.
void OnLogFileEnabled(Form1State& form, const std::string& logPath);
