#pragma once
// The HFDL texts: a frame's analysis text (kind 4, line by line), its
// compact text (kind 5, the FMT log) and its DAT line (kind 3, the frame
// as hex), formatted from the analysed frame; the lines written when a
// frame's preamble is found; and the hex form of frames that the link
// between copies carries.
#include <cstdint>
#include <string>
#include <vector>

#include "app/settings_sections.h"
#include "hfdl/hfdl_frame.h"

class ReceivedText;

// The texts of one analysed frame. A failed frame has analysis lines only.
struct HfdlFrameTexts {
  std::vector<std::string> Analysis;
  std::string Compact;  // CR LF after every line
  std::string Dat;      // "[tag]yyyy/MM/dd HH:mm:ss>HFDL<SOH>hex<ETX>"
};
HfdlFrameTexts FormatHfdlFrame(const HfdlFrame& frame);

// Writes a frame's texts into the received text and, with logging on, the
// day's HFDL logs.
void WriteHfdlTexts(ReceivedText& text, const TxtSettings& txt, const HfdlFrame& frame);
// A preamble was found on a channel: the analysis text starts afresh
// unless a frame runs on the other channel, then names the channel, the
// mode (4 x interleave + rate) and the carrier's offset.
void WriteHfdlSyncLines(ReceivedText& text, const TxtSettings& txt, int channel, bool otherChannelReceiving,
                        int modeIndex, double freqError);

// Two upper-case digits per octet, the octet's low nibble first.
std::string HfdlOctetsToHex(const uint8_t* octets, int count);
// The longest relayed frame: 1890 octets.
constexpr size_t kMaxHfdlHexDigits = 3780;
// A relayed frame's hex text as analysis input (mode code 20, channel 2);
// nothing for a text longer than any frame.
bool HfdlHexToInput(const std::string& hex, HfdlFrameInput& input);

// "Frequency Error = +7.3083 Hz", with "." in every locale.
std::string FrequencyErrorLine(double freqError);
// "ErrorRatio = 0.00000".
std::string ErrorRatioLine(double ratio);
