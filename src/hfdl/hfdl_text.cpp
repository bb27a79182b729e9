#include "hfdl/hfdl_text.h"

#include <algorithm>

#include "exchange/received_text.h"
#include "hfdl/dsp_tables.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/frame_bits.h"
#include "hfdl/hfnpdu.h"
#include "hfdl/lpdu.h"
#include "hfdl/squitter.h"
#include "platform/date_time.h"
#include "platform/shared_helpers.h"

namespace {

const std::string kDashes35(35, '-');
const std::string kDashes32(32, '-');
const std::string kDots = "..............................";

std::string SectionLine(const std::string& name, const std::string& tag) {
  return "/" + name + "(" + tag + ")/" + kDashes32;
}

// The mode names are indexed by 4 x interleave + rate.
std::string ModeName(int modeCode) {
  const int interleave = modeCode / 10, rate = modeCode % 10;
  if (modeCode < 0 || interleave > 1 || rate > 3) return "";
  return GetDspTables().HfdlModeNames[static_cast<size_t>(4 * interleave + rate)];
}

// Slots 3..12 of frame N, then slots 1 and 2 of frame N+1.
std::string SlotLabel(int s) {
  if (s <= 6) return "Frame N   Slot 0" + std::to_string(s + 3);
  if (s <= 9) return "Frame N   Slot " + std::to_string(s + 3);
  return "Frame N+1 Slot 0" + std::to_string(s - 9);
}

std::string SlotValue(int value) {
  if (value == 0) return "Uplinks";
  if (value == 254) return "Random Access";
  if (value == 255) return "Reserved";
  return HexText(static_cast<uint32_t>(value), 2);
}

std::string Id2(int id) { return HexText(static_cast<uint32_t>(id), 2); }

class Formatter {
 public:
  explicit Formatter(const HfdlFrame& frame) : frame_(frame), tag_(frame.Input.SourceTag) {}

  HfdlFrameTexts Run() {
    Line("/Data Analysis(" + tag_ + ")/" + kDashes35);
    if (frame_.OwnReception()) {
      Line("Mode = " + ModeName(frame_.Input.ModeCode));
      Line(frame_.Input.ErrorRatioLine);
    }
    switch (frame_.Failure) {
      case HfdlFailure::SpduCrc:
        Line("SPDU CRC Failed");
        break;
      case HfdlFailure::MpduParity:
        Line("MPDU Header Parity Failed");
        break;
      default:
        if (frame_.Squitter) Squitter(*frame_.Squitter);
        if (frame_.Mpdu) Mpdu(*frame_.Mpdu);
    }
    if (!frame_.Failed()) {
      out_.Compact = tag_ + std::string(24, '-') + "[" + platform::FormatDateTime(frame_.Received) + "]\r\n" + compact_;
      out_.Dat = "[" + tag_ + "]" + platform::FormatDateTime(frame_.Received) + ">HFDL<SOH>" +
                 HfdlOctetsToHex(frame_.Input.Octets.data(), frame_.DatOctets) + "<ETX>";
    }
    return std::move(out_);
  }

 private:
  void Line(const std::string& line) { out_.Analysis.push_back(line); }
  void Compact(const std::string& line) { compact_ += line + "\r\n"; }

  void Squitter(const HfdlSquitter& s) {
    Line(SectionLine("SPDU Information", tag_));
    Line("Ground Station ID = " + std::to_string(s.GsId));
    Line("Ground Station Name = " + s.GsName);
    Compact(" SQUITTER");
    Compact("  GS NAME         = " + s.GsName);
    Line("TDMA Frame Index = " + std::to_string(s.FrameIndex));
    Line("TDMA Frame Offset = " + std::to_string(s.FrameOffset));
    for (int k = 0; k < 12; ++k) Line(SlotLabel(k) + " = " + SlotValue(s.Slots[static_cast<size_t>(k)]));
    const std::string note = ChangeNoteText(s.ChangeNote);
    Line("Change Note = " + note);
    Compact("   CHANGE NOTE    = " + note);
    Line(s.IsoNotSupported ? "ISO8208 Protocol Implementation = not supported"
                           : "ISO8208 Protocol Implementation = supported");
    Line("SPDU Version = " + std::to_string(s.Version));
    Line(UtcLine(s.UtcSynchronized));
    for (const HfdlSquitter::Station& station : s.Stations) {
      std::string list, frequencies;
      for (int k = 0; k < 20; ++k) {
        if ((station.Mask >> k) & 1) list += " " + std::to_string(k + 1);
      }
      for (int kHz : station.KHz) frequencies += std::to_string(kHz) + "kHz ";
      Line("Operating Frequencies : " + station.Name);
      Line("  [" + list + " ]");
      Compact("   FREQUENCIES    = [ " + frequencies + "]" + " (" + station.Name + ")");
    }
  }

  void StationLines(const HfdlMpdu& m) {
    Line(SectionLine("MPDU Information", tag_));
    Line("Ground Station ID = " + std::to_string(m.GsId));
    Line("Ground Station Name = " + m.GsName);
  }

  void SizeLines(const AircraftBlock& block) {
    for (size_t k = 0; k < block.LpduSizes.size(); ++k) {
      Line("LPDU Size [" + std::to_string(k + 1) + "] = " + std::to_string(block.LpduSizes[k]));
    }
  }

  void Mpdu(const HfdlMpdu& m) {
    const bool uplink = m.Direction == LinkDirection::Uplink;
    if (uplink) {
      Line("Up Link");
      Line("Number of Aircraft = " + std::to_string(m.AircraftCount));
      if (frame_.Failure == HfdlFailure::UplinkParity) return Line("Uplink MPDU Parity Failed");
    } else {
      Line("Down Link");
      Line("Number of LPDU = " + std::to_string(m.LpduCount));
    }
    if (frame_.Failure == HfdlFailure::MpduHeaderCrc) return Line("MPDU Header CRC Failed");
    if (frame_.Failure == HfdlFailure::MpduHeaderSize) return Line("MPDU Header Size Failed");

    StationLines(m);
    Compact(uplink ? " UP LINK" : " DOWN LINK");
    Compact("  GS NAME         = " + m.GsName);
    if (uplink) {
      Compact("  " + kDots);
      Line(UtcLine(m.UtcSynchronized));
      Line(DataRateLine(m.UplinkRateCode));
      Line("/Each Aircraft Data/" + kDashes35);
      for (const AircraftBlock& block : m.Blocks) {
        Line("Aircraft ID = " + Id2(block.AircraftId));
        Line(DataRateLine(block.RateCode));
        Line("Number of LPDU = " + std::to_string(block.LpduSizes.size()));
        SizeLines(block);
      }
    } else {
      const AircraftBlock& block = m.Blocks.front();
      Line(UtcLine(m.UtcSynchronized));
      Line("Aircraft ID = " + Id2(block.AircraftId));
      Line(DataRateLine(block.RateCode));
      SizeLines(block);
    }
    Line(SectionLine("LPDU Information", tag_));
    for (const HfdlAircraftLpdus& a : m.Aircraft) {
      if (uplink) Line("Aircraft ID = " + Id2(a.Header.AircraftId));
      for (const HfdlLpdu& lpdu : a.Lpdus) {
        if (!Lpdu(a.Header, lpdu)) return;
      }
    }
  }

  void Separator(const HfdlLpdu& lpdu) {
    if (!lpdu.Separator) return;
    Line(kDots);
    Compact("  " + kDots);
  }

  // False when the frame ended inside this LPDU.
  bool Lpdu(const AircraftBlock& block, const HfdlLpdu& lpdu) {
    if (!lpdu.CrcOk) {
      Line("LPDU Number " + std::to_string(lpdu.Number) + " CRC Failed");
      Compact("   CRC FAILED");
      Separator(lpdu);
      return true;
    }
    const std::string name = LpduTypeName(lpdu.Type);
    Line("LPDU TYPE = " + name);
    Compact("   DATA TYPE      = " + name);
    if (lpdu.ShowAircraftId) Compact("   AIRCRAFT ID    = " + Id2(block.AircraftId));
    if (lpdu.Address) {
      Line("Aircraft ICAO Address = " + *lpdu.Address);
      Compact("   ICAO24 ADDRESS = " + *lpdu.Address);
      Compact("   REGISTRATION   = " + lpdu.Registration);
    }
    if (lpdu.Reason) Line("Reason = " + LpduReasonText(lpdu.Type, *lpdu.Reason));
    if (lpdu.AllocatedId) {
      Line("Aircraft Address = " + *lpdu.AllocatedId);
      Compact("   ALLOCATION ID  = " + *lpdu.AllocatedId);
    }
    if (lpdu.Hfnpdu && !Hfnpdu(block, *lpdu.Hfnpdu)) return false;
    Separator(lpdu);
    return true;
  }

  bool Hfnpdu(const AircraftBlock& block, const HfdlHfnpdu& h) {
    if (h.Type < 0) return true;
    const std::string name = HfnpduTypeName(h.Type);
    Line("HFNPDU TYPE = " + name);
    Compact("   HFNPDU TYPE    = " + name);
    if (h.ShowAircraftId) Compact("   AIRCRAFT ID    = " + Id2(block.AircraftId));
    if (h.SystemTable) SystemTable(*h.SystemTable);
    if (h.Position && !Position(*h.Position)) return false;
    if (h.Envelope) {
      Line("ACARS Message = " + h.Envelope->Text);
      Compact("   ACARS MESSAGE  = " + h.Envelope->Text);
    }
    return true;
  }

  void SystemTable(const HfdlSystemTablePart& t) {
    Line("System Table Version = " + std::to_string(t.Version));
    Compact("   SYS TABLE VER  = " + std::to_string(t.Version));
    Line("Number of HFNPDUs = " + std::to_string(t.Parts));
    Compact("   Num of HFNPDUs = " + std::to_string(t.Parts));
    Line("PDU Sequence Number = " + std::to_string(t.Sequence));
    Compact("   SEQUENCE No    = " + std::to_string(t.Sequence));
    if (t.Outcome == SystemTableOutcome::AlreadyReceived) {
      Line("This System Table Data is Already Received");
      Compact("   THIS SYSTEM TABLE DATA IS ALREADY RECEIVED");
    } else if (t.Outcome == SystemTableOutcome::Buffered) {
      Line("System Table Data Buffed...");
      Compact("   SYSTEM TABLE DATA BUFFED...");
    }
  }

  bool Position(const HfdlPosition& p) {
    Line("Flight ID = " + p.Flight);
    Line("Latitude = " + p.LatText);
    Line("Longitude = " + p.LonText);
    if (p.TimeWithCompact) Line("UTC Time = " + p.TimeText);
    if (p.Rejected) return false;
    Compact("   FLIGHT ID      = " + p.FlightId);
    if (p.CompactRegistration) Compact("   REGISTRATION   = " + p.Registration);
    Compact("   LATITUDE       = " + p.LatText);
    Compact("   LONGITUDE      = " + p.LonText);
    if (p.TimeWithCompact) {
      Compact("   UTC TIME       = " + p.TimeText);
    } else {
      Line("UTC Time = " + p.TimeText);
    }
    return true;
  }

  const HfdlFrame& frame_;
  const std::string& tag_;
  std::string compact_;
  HfdlFrameTexts out_;
};

}  // namespace

HfdlFrameTexts FormatHfdlFrame(const HfdlFrame& frame) { return Formatter(frame).Run(); }

void WriteHfdlTexts(ReceivedText& text, const TxtSettings& txt, const HfdlFrame& frame) {
  const HfdlFrameTexts texts = FormatHfdlFrame(frame);
  // The frame's analysis is one log entry: a full disk keeps it whole or
  // drops it.
  std::string ana;
  for (const std::string& line : texts.Analysis) {
    text.Append(kHfdlAna, line + "\r\n");
    ana += line + "\n";
  }
  if (txt.Logs(kHfdlAna) && !ana.empty()) text.WriteLog(kHfdlAna, ana);
  // The window follows the analysis text when it shows it.
  text.Touch(kHfdlAna);
  if (frame.Failed()) return;

  text.Append(kHfdlFmt, texts.Compact);
  text.Trim(kHfdlFmt, txt.MaxBytes);
  if (txt.Logs(kHfdlFmt)) {
    std::string log;
    log.reserve(texts.Compact.size() + 1);
    std::copy_if(texts.Compact.begin(), texts.Compact.end(), std::back_inserter(log), [](char c) { return c != '\r'; });
    text.WriteLog(kHfdlFmt, log + "\n");
  }
  text.Append(kHfdlDat, texts.Dat + "\r\n");
  text.Trim(kHfdlDat, txt.MaxBytes);
  if (txt.Logs(kHfdlDat)) text.WriteLog(kHfdlDat, texts.Dat + "\n");
}

void WriteHfdlSyncLines(ReceivedText& text, const TxtSettings& txt, int channel, bool otherChannelReceiving,
                        int modeIndex, double freqError) {
  // The analysis text is shared: a frame running on the other channel keeps it.
  if (!otherChannelReceiving) text.Clear(kHfdlAna);
  const std::string lines[3] = {
      channel == 0 ? "/Data Receiving(Lch)/----------------------------------"
                   : "/Data Receiving(Rch)/----------------------------------",
      GetDspTables().HfdlModeNames[static_cast<size_t>(modeIndex & 7)], FrequencyErrorLine(freqError)};
  std::string ana;
  for (const std::string& line : lines) {
    text.Append(kHfdlAna, line + "\r\n");
    ana += line + "\n";
  }
  if (txt.Logs(kHfdlAna) && !ana.empty()) text.WriteLog(kHfdlAna, ana);
  text.Touch(kHfdlAna);
}

std::string HfdlOctetsToHex(const uint8_t* octets, int count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(static_cast<size_t>(std::max(count, 0)) * 2);
  for (int n = 0; n < count; ++n) {
    hex += kDigits[octets[n] & 15];
    hex += kDigits[octets[n] >> 4];
  }
  return hex;
}

bool HfdlHexToInput(const std::string& hex, HfdlFrameInput& input) {
  if (hex.size() > kMaxHfdlHexDigits) return false;
  input.Octets.assign((hex.size() + 1) / 2, 0);
  for (size_t n = 0; n < hex.size(); ++n) {
    const int c = static_cast<unsigned char>(hex[n]);
    // Only upper-case digits are meant; anything else gives wrong bits,
    // which the frame's checks reject.
    const int v = (c < 'A' ? c - '0' : c - 55) & 15;
    input.Octets[n / 2] |= static_cast<uint8_t>(n % 2 == 0 ? v : v << 4);
  }
  input.BitCount = 4 * hex.size();
  input.ModeCode = kNetworkModeCode;
  input.Channel = kNetworkChannel;
  return true;
}

std::string FrequencyErrorLine(double freqError) {
  // printf's "%0.4f", whose sign rule the text keeps: -0.00004 reads -0.0000.
  std::string text = FormatFixed(freqError, 4);
  return (freqError >= 0.0 ? "Frequency Error = +" : "Frequency Error = ") + text + " Hz";
}

std::string ErrorRatioLine(double ratio) { return "ErrorRatio = " + FormatFixed(ratio, 5); }
