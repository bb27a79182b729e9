#include "acars/acars_text_output.h"

#include "exchange/received_text.h"
#include "platform/date_time.h"
#include "platform/log_name_part.h"
#include "platform/paths.h"

namespace {

const char* const kKindSuffix[3] = {"_RAW.log", "_PRC.log", "_MES.log"};

const char kRetransmission[] = "<<<  Retransmission Message   >>>";
const char kStoredUp[] = "<<<     Message Stored Up     >>>";
const char kStoredUpMore[] = "<<<     Messages Stored Up    >>>";
const char kStorage[] = "<<<      Storage Message      >>>";
const char kSequenceError[] = "<<< Stored Up Seaquence Error >>>";
const char kLinkTest[] = "<<<         Link Test         >>>";
const char kGeneralAck[] = "<<<  General Acknowledgement  >>>";

constexpr char kDel = 127;

std::string Stamp() { return platform::FormatDateTime(platform::Now()); }

std::string AddressWithFill(const std::string& address) {
  std::string s = "(" + address + ")";
  if (address.size() < 7) s.append(7 - address.size(), ' ');
  return s;
}

// Header, line 2, banner and text, with the given line end between them;
// the buffer adds one more line end, the log one LF.
std::string Entry(const std::string& tag, const std::string& line2, const std::string& banner, const std::string& text,
                  const char* eol) {
  std::string e = tag + "------------------------[" + Stamp() + "]" + eol + line2 + eol;
  if (!banner.empty()) {
    e += banner;
    if (!text.empty()) e += eol;
  }
  e += text;
  return e;
}

void Output(const AcarsTextOutput& out, int kind, const AcarsMessage& m, const std::string& line2,
            const std::string& banner, const std::string& text) {
  if (kind != kAcarsPrc && kind != kAcarsMes) return;
  const std::string& tag = m.Block.SourceTag;
  out.Text.Append(kind, Entry(tag, line2, banner, text, "\r\n") + "\r\n");
  if (out.Txt.Logs(kind)) out.Text.WriteFile(ChooseAcarsLogPath(out, kind, m.Fields), Entry(tag, line2, banner, text, "\n") + "\n");
  out.Text.Trim(kind, out.Txt.MaxBytes);
}

void Entry(const AcarsTextOutput& out, int kind, const AcarsMessage& m, const std::string& banner,
           const std::string& text) {
  if (m.Downlink()) {
    OutputAcarsDownlink(out, kind, m, banner, text);
  } else {
    OutputAcarsUplink(out, kind, m, banner, text);
  }
}

bool BeginsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

bool AcarsMesHeld(const AcarsMessage& m, const TxtSettings& txt) {
  const AcarsFields& f = m.Fields;
  if (!m.Downlink()) return m.Completion == AcarsCompletion::Single && f.Label == "SQ" && txt.SqNoDisp;
  if (txt.ShowPos && m.PositionStored) return true;
  if (m.Completion != AcarsCompletion::Single) return false;
  return (BeginsWith(m.Text, "FRQ") && txt.FreqNoDisp) || (BeginsWith(m.Text, "TIS") && txt.TISNoDisp);
}

bool AcarsSearched(const AcarsMessage& m, const TxtSettings& txt) {
  if (!m.Whole()) return false;
  const AcarsFields& f = m.Fields;
  if (!m.Downlink()) return true;
  if (m.Completion == AcarsCompletion::Single && (f.Label == "Q0" || (f.Label.size() == 2 && f.Label[0] == '_' && f.Label[1] == kDel))) {
    return false;
  }
  return !AcarsMesHeld(m, txt);
}

void WriteAcarsTexts(const AcarsTextOutput& out, const AcarsMessage& m) {
  WriteAcarsRawLine(out, m);
  const AcarsFields& f = m.Fields;
  switch (m.Completion) {
    case AcarsCompletion::Retransmission:
      return Entry(out, kAcarsPrc, m, kRetransmission, "");
    case AcarsCompletion::FirstBlock:
      return Entry(out, kAcarsPrc, m, kStoredUp, m.Text);
    case AcarsCompletion::MoreBlocks:
      // An uplink's further blocks read as its first.
      return Entry(out, kAcarsPrc, m, m.Downlink() ? kStoredUpMore : kStoredUp, m.Text);
    case AcarsCompletion::SequenceError:
      return Entry(out, kAcarsPrc, m, kSequenceError, m.Text);
    case AcarsCompletion::Assembled:
      Entry(out, kAcarsPrc, m, kStorage, m.Text);
      break;
    case AcarsCompletion::Single:
      if (m.Downlink() && f.Label == "Q0") return Entry(out, kAcarsPrc, m, kLinkTest, "");
      if (m.Downlink() && f.Label.size() == 2 && f.Label[0] == '_' && f.Label[1] == kDel) {
        return Entry(out, kAcarsPrc, m, kGeneralAck, "");
      }
      Entry(out, kAcarsPrc, m, "", m.Text);
      break;
  }
  if (!AcarsMesHeld(m, out.Txt)) Entry(out, kAcarsMes, m, "", m.Text);
}

std::string ChooseAcarsLogPath(const AcarsTextOutput& out, int kind, const AcarsFields& f) {
  const int saveType = out.Txt.TxtSaveType;
  if (saveType == 1 || saveType == 2) {
    const std::string& who = !f.Downlink ? f.StationName : saveType == 1 ? f.FlightId : f.Address;
    return platform::JoinPath(out.EachLogsFolder, LogNamePart(who) + kKindSuffix[kind]);
  }
  return out.Text.LogPath(kind);
}

void WriteAcarsRawLine(const AcarsTextOutput& out, const AcarsMessage& m) {
  const std::string line = "[" + m.Block.SourceTag + "]" + Stamp() + ">" + m.RawText + "\r\n";
  out.Text.Append(kAcarsRaw, line);
  if (out.Txt.Logs(kAcarsRaw)) out.Text.WriteFile(ChooseAcarsLogPath(out, kAcarsRaw, m.Fields), line);
  out.Text.Trim(kAcarsRaw, out.Txt.MaxBytes);
}

void OutputAcarsDownlink(const AcarsTextOutput& out, int kind, const AcarsMessage& m, const std::string& banner,
                         const std::string& text) {
  const AcarsFields& f = m.Fields;
  const std::string line2 = f.FlightId + " " + AddressWithFill(f.Address) + "   [" + f.Label + ":" + f.BlockId + ":" +
                            f.MsgNo + "] MODE:" + f.ModeText + "   ";
  Output(out, kind, m, line2, banner, text);
}

void OutputAcarsUplink(const AcarsTextOutput& out, int kind, const AcarsMessage& m, const std::string& banner,
                       const std::string& text) {
  const AcarsFields& f = m.Fields;
  const std::string line2 = f.StationName + "  " + AddressWithFill(f.Address) + "   [" + f.Label + ":" + f.BlockId +
                            "] MODE:" + f.ModeText + "   ";
  Output(out, kind, m, line2, banner, text);
}
