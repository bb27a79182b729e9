#include "hfdl/frame_analysis.h"

#include <vector>

#include "acars/acars_services.h"
#include "app/form1_state.h"
#include "exchange/exchange_services.h"
#include "hfdl/crc.h"
#include "hfdl/dsp_tables.h"
#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_text.h"
#include "hfdl/lpdu.h"
#include "hfdl/reception_stats.h"
#include "hfdl/squitter.h"
#include "platform/date_time.h"

namespace {

const std::string kDashes35(35, '-');
const std::string kDashes32(32, '-');

std::string SectionLine(const std::string& name, const std::string& tag) {
  return "/" + name + "(" + tag + ")/" + kDashes32;
}

// The mode names are indexed by 4 x interleave + rate.
std::string ModeName(int modeCode) {
  const int interleave = modeCode / 10, rate = modeCode % 10;
  if (modeCode < 0 || interleave > 1 || rate > 3) return "";
  return GetDspTables().HfdlModeNames[4 * interleave + rate];
}

// The octets an MPDU's header and its LPDUs take: a false sync passes the
// 16-bit header CRC now and then, and its sizes may point far past the frame.
bool LpdusFitInFrame(const FrameBits& bits, long headerOctets, const std::vector<AircraftBlock>& blocks) {
  long end = headerOctets + 2;
  for (const AircraftBlock& block : blocks) {
    for (int size : block.LpduSizes) end += size + 1;
  }
  return end <= bits.Octets();
}

void WriteLpduSizes(FrameAnalysis& frame, const std::vector<int>& sizes) {
  for (size_t k = 0; k < sizes.size(); ++k) {
    frame.Line("LPDU Size [" + std::to_string(k + 1) + "] = " + std::to_string(sizes[k]));
  }
}

void WriteStationLines(FrameAnalysis& frame, int gsId) {
  frame.Line("Ground Station ID = " + std::to_string(gsId));
  frame.Line("Ground Station Name = " + GsName(frame.form, gsId));
}

void AnalyzeDownlink(FrameAnalysis& frame) {
  const FrameBits& bits = frame.bits;
  const std::string& tag = frame.form.app.SourceTag;
  frame.Line("Down Link");
  AircraftBlock block;
  const int lpdus = static_cast<int>(bits.Field(2, 4));
  frame.Line("Number of LPDU = " + std::to_string(lpdus));
  if (!bits.CrcHolds(0, lpdus + 6)) return frame.Fail("MPDU Header CRC Failed");
  block.AircraftId = static_cast<int>(bits.Field(16, 8));
  block.RateCode = static_cast<int>(bits.Field(32, 3));
  for (int k = 0; k < lpdus; ++k) block.LpduSizes.push_back(static_cast<int>(bits.Field(48 + 8 * k, 8)));
  const std::vector<AircraftBlock> blocks = {block};
  if (!LpdusFitInFrame(bits, lpdus + 6, blocks)) return frame.Fail("MPDU Header Size Failed");

  frame.Line(SectionLine("MPDU Information", tag));
  const int gsId = static_cast<int>(bits.Field(8, 7));
  WriteStationLines(frame, gsId);
  frame.Compact(" DOWN LINK");
  frame.Compact("  GS NAME         = " + GsName(frame.form, gsId));
  frame.Line(UtcLine(bits.Bit(15)));
  frame.Line("Aircraft ID = " + HexText(block.AircraftId, 2));
  frame.Line(DataRateLine(block.RateCode));
  WriteLpduSizes(frame, block.LpduSizes);
  frame.Line(SectionLine("LPDU Information", tag));
  frame.form.hfdl.HfdlFrameOctets = lpdus + 8;
  WalkLpdus(frame, LinkDirection::Downlink, blocks, gsId);
}

void AnalyzeUplink(FrameAnalysis& frame) {
  const FrameBits& bits = frame.bits;
  const std::string& tag = frame.form.app.SourceTag;
  frame.Line("Up Link");
  const int aircraft = static_cast<int>(bits.Field(4, 3)) + 1;
  frame.Line("Number of Aircraft = " + std::to_string(aircraft));
  std::vector<AircraftBlock> blocks;
  long b = 16;
  for (int a = 0; a < aircraft; ++a) {
    int parity = 0;
    for (int i = 9; i <= 15; ++i) parity ^= bits.Bit(b + i);
    if (parity == bits.Bit(b + 8)) return frame.Fail("Uplink MPDU Parity Failed");
    AircraftBlock block;
    block.AircraftId = static_cast<int>(bits.Field(b, 8));
    block.RateCode = static_cast<int>(bits.Field(b + 9, 3));
    const int lpdus = static_cast<int>(bits.Field(b + 12, 4));
    for (int j = 0; j < lpdus; ++j) block.LpduSizes.push_back(static_cast<int>(bits.Field(b + 16 + 8 * j, 8)));
    blocks.push_back(block);
    b += 16 + 8 * lpdus;
  }
  const long headerOctets = b / 8;
  if (!bits.CrcHolds(0, headerOctets)) return frame.Fail("MPDU Header CRC Failed");
  if (!LpdusFitInFrame(bits, headerOctets, blocks)) return frame.Fail("MPDU Header Size Failed");

  frame.Line(SectionLine("MPDU Information", tag));
  const int gsId = static_cast<int>(bits.Field(8, 7));
  WriteStationLines(frame, gsId);
  frame.Compact(" UP LINK");
  frame.Compact("  GS NAME         = " + GsName(frame.form, gsId));
  frame.Compact("  ..............................");
  frame.Line(UtcLine(bits.Bit(15)));
  frame.Line(DataRateLine(static_cast<int>(bits.Field(25, 3))));
  frame.Line("/Each Aircraft Data/" + kDashes35);
  for (const AircraftBlock& block : blocks) {
    frame.Line("Aircraft ID = " + HexText(block.AircraftId, 2));
    frame.Line(DataRateLine(block.RateCode));
    frame.Line("Number of LPDU = " + std::to_string(block.LpduSizes.size()));
    WriteLpduSizes(frame, block.LpduSizes);
  }
  frame.Line(SectionLine("LPDU Information", tag));
  frame.form.hfdl.HfdlFrameOctets = static_cast<int32_t>(headerOctets + 2);
  WalkLpdus(frame, LinkDirection::Uplink, blocks, gsId);
}

void Epilogue(FrameAnalysis& frame, const std::string& savedTag) {
  Form1State& form = frame.form;
  frame.RefreshAnalysisView();
  form.app.SourceTag = savedTag;
  form.text.TextBuffers[kHfdlFmt] += frame.compact;
  form.svc.acars->TrimTextBuffer(form, kHfdlFmt);
  WriteHfdlFmtLog(form, frame.compact);
  // Every path keeps the octet count inside the frame; this holds it there.
  const int octets = static_cast<int>(std::min<long>(form.hfdl.HfdlFrameOctets, frame.bits.Octets()));
  WriteHfdlDatLog(form, HfdlBitsToHex(frame.bits.Data(), octets));
  form.app.SourceTag.clear();
  CountFrame(form, frame.modeCode, false);
}

}  // namespace

FrameAnalysis::FrameAnalysis(Form1State& form, const uint8_t* bits, size_t bitCount, int modeCode, int channel)
    : form(form), bits(bits, bitCount), modeCode(modeCode), channel(channel) {}

void FrameAnalysis::Line(const std::string& line) { WriteHfdlAnaLog(form, line, kHfdlAna); }

void FrameAnalysis::Compact(const std::string& line) { compact += line + "\r\n"; }

void FrameAnalysis::RefreshAnalysisView() {
  if (form.Txt.TxtType == kHfdlAna) form.svc.exchange->RefreshTextWindow(form);
}

void FrameAnalysis::Fail(const std::string& line) {
  Line(line);
  Reject();
}

void FrameAnalysis::Reject() {
  RefreshAnalysisView();
  CountFrame(form, modeCode, true);
  ended_ = true;
}

bool FrameBits::CrcHolds(long firstOctet, long octetCount) const {
  if (firstOctet < 0 || octetCount < 0 || firstOctet + octetCount + 2 > Octets()) return false;
  return CheckCrc16Bits(bits_, size_, static_cast<int>(firstOctet), static_cast<int>(octetCount));
}

std::string HexText(uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = kDigits[value & 15];
  return text;
}

std::string DataRateLine(int code) {
  // Codes 0 and 5-7 have no rate of their own.
  static const char* const kRates[8] = {"Reserved",   "300bits/s", "600bits/s", "1200bits/s",
                                        "1800bits/s", "Reserved",  "Reserved",  "Reserved"};
  return std::string("Uplink Data Rate = ") + kRates[code & 7];
}

std::string UtcLine(int flag) { return flag ? "UTC Link = Synchronized" : "UTC Link = Not synchronized"; }

void AnalyzeHfdlFrame(Form1State& form, const uint8_t* bits, size_t bitCount, int modeCode, int channel) {
  FrameAnalysis frame(form, bits, bitCount, modeCode, channel);
  form.hfdl.HfdlFrameOctets = 0;
  const std::string savedTag = form.app.SourceTag;
  frame.Line("/Data Analysis(" + form.app.SourceTag + ")/" + kDashes35);
  if (channel == 0 || channel == 1) {
    frame.Line("Mode = " + ModeName(modeCode));
    frame.Line(form.hfdl.ErrorRatioText[channel]);
  }
  frame.compact = form.app.SourceTag + std::string(24, '-') + "[" + platform::FormatDateTime(platform::Now()) + "]\r\n";

  if (frame.bits.Bit(0) == 0) {
    AnalyzeSquitter(frame);
  } else {
    int parity = 0;
    for (int i = 0; i <= 6; ++i) parity ^= frame.bits.Bit(i);
    if (parity == frame.bits.Bit(7)) {
      frame.Fail("MPDU Header Parity Failed");
    } else if (frame.bits.Bit(1)) {
      AnalyzeDownlink(frame);
    } else {
      AnalyzeUplink(frame);
    }
  }
  if (!frame.Ended()) Epilogue(frame, savedTag);
}
