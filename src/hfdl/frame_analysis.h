#pragma once
// The entry of HFDL frame analysis: a squitter (SPDU) or a data frame
// (MPDU) is checked, explained line by line in the analysis text (kind 4),
// summarised in one compact text (kind 5, the FMT log), and ends either in
// the epilogue (FMT and DAT output, counted good) or in the failure exit
// (one line naming the failure, counted failed, nothing else written).
#include <cstddef>
#include <cstdint>
#include <string>

#include "hfdl/frame_bits.h"

struct Form1State;

// What the layers of one frame's analysis share.
class FrameAnalysis {
 public:
  FrameAnalysis(Form1State& form, const uint8_t* bits, size_t bitCount, int modeCode, int channel);

  Form1State& form;
  FrameBits bits;
  int modeCode;
  int channel;
  std::string compact;  // written out only by the epilogue

  // One analysis line, written at once.
  void Line(const std::string& line);
  // One compact line; CR LF is added.
  void Compact(const std::string& line);
  // The received-text window follows the analysis text when it shows it.
  void RefreshAnalysisView();
  // Ends the frame as failed after its failure line: no compact, FMT or
  // DAT output, SourceTag kept.
  void Fail(const std::string& line);
  // A rejected position report: ends the frame as failed with no line.
  void Reject();
  bool Ended() const { return ended_; }

 private:
  bool ended_ = false;
};

// bitCount bytes of one bit each: 8 x the mode's octet count for own
// reception, 4 x the hex digits for a frame from a linked copy. Nothing is
// read past them.
void AnalyzeHfdlFrame(Form1State& form, const uint8_t* bits, size_t bitCount, int modeCode, int channel);

// The analysis line of an uplink data rate code.
std::string DataRateLine(int code);
// "UTC Link = Synchronized" or "... Not synchronized".
std::string UtcLine(int flag);
