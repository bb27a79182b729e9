#include "acars/acars_text_output.h"

#include "app/form1_state.h"
#include "exchange/exchange_services.h"
#include "platform/cp932.h"
#include "platform/date_time.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace {

const char* const kKindSuffix[3] = {"_RAW.log", "_PRC.log", "_MES.log"};

std::string Stamp() { return platform::FormatDateTime(platform::Now()); }

std::string AddressWithFill(const std::string& address) {
  std::string s = "(" + address + ")";
  if (address.size() < 7) s.append(7 - address.size(), ' ');
  return s;
}

// Header, line 2, banner and text, with the given line end between them;
// the buffer adds one more line end, the log one LF.
std::string Entry(const Form1State& form, const std::string& line2, const std::string& banner,
                  const std::string& text, const char* eol) {
  std::string e = form.app.SourceTag + "------------------------[" + Stamp() + "]" + eol + line2 + eol;
  if (!banner.empty()) {
    e += banner;
    if (!text.empty()) e += eol;
  }
  e += text;
  return e;
}

void Output(Form1State& form, int kind, bool downlink, const AcarsFields& f, const std::string& line2,
            const std::string& banner, const std::string& text) {
  if (kind != kAcarsPrc && kind != kAcarsMes) return;
  form.text.TextBuffers[kind] += Entry(form, line2, banner, text, "\r\n") + "\r\n";
  if (form.Txt.TxtLog && form.Txt.LogOutFlag(kind)) {
    const std::string path = ChooseAcarsLogPath(form, kind, downlink, f.FlightId, f.Address, f.StationName);
    platform::AppendToFile(path, Entry(form, line2, banner, text, "\n") + "\n");
  }
  TrimTextBuffer(form, kind);
}

}  // namespace

std::string LogNamePart(std::string_view cp932Name) {
  std::string name = platform::Cp932ToUtf8(cp932Name);
  bool allDots = true;
  for (char& c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '/': case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        c = '_';
        break;
      default:
        if (u < 0x20 || u == 0x7F) c = '_';
    }
    if (c != '.') allDots = false;
  }
  if (allDots) return "_";
  return name;
}

std::string ChooseAcarsLogPath(const Form1State& form, int kind, bool downlink, const std::string& flightId,
                               const std::string& address, const std::string& station) {
  std::string path;
  if (form.Txt.TxtSaveType == 1 || form.Txt.TxtSaveType == 2) {
    const std::string& who = !downlink ? station : form.Txt.TxtSaveType == 1 ? flightId : address;
    path = platform::JoinPath(platform::JoinPath(form.app.AppDir, "logs/EachLogs"), LogNamePart(who) + kKindSuffix[kind]);
  } else {
    const std::string* daily[3] = {&form.text.AcarsRawLogPath, &form.text.AcarsPrcLogPath, &form.text.AcarsMesLogPath};
    path = *daily[kind];
  }
  if (!form.text.ImportPath.empty() && path == form.text.ImportPath && path.size() >= 4) path.insert(path.size() - 4, "_c");
  return path;
}

void WriteAcarsRawLine(Form1State& form, const std::string& rawText, const std::string& flightId,
                       const std::string& address) {
  const std::string line = "[" + form.app.SourceTag + "]" + Stamp() + ">" + rawText + "\r\n";
  form.text.TextBuffers[kAcarsRaw] += line;
  if (form.Txt.TxtLog && form.Txt.LogOutACASRAW) {
    const std::string path = ChooseAcarsLogPath(form, kAcarsRaw, form.acars.AcarsParse.AcarsDownlink != 0, flightId,
                                                address, form.acars.AcarsParse.AcarsModeName);
    platform::AppendToFile(path, line);
  }
  TrimTextBuffer(form, kAcarsRaw);
}

void OutputAcarsDownlink(Form1State& form, int kind, const AcarsFields& f, const std::string& banner,
                         const std::string& text) {
  const std::string line2 = f.FlightId + " " + AddressWithFill(f.Address) + "   [" + f.Label + ":" + f.BlockId + ":" +
                            f.MsgNo + "] MODE:" + f.ModeText + "   ";
  Output(form, kind, true, f, line2, banner, text);
}

void OutputAcarsUplink(Form1State& form, int kind, const AcarsFields& f, const std::string& banner,
                       const std::string& text) {
  const std::string line2 = f.StationName + "  " + AddressWithFill(f.Address) + "   [" + f.Label + ":" + f.BlockId +
                            "] MODE:" + f.ModeText + "   ";
  Output(form, kind, false, f, line2, banner, text);
}

void TrimTextBuffer(Form1State& form, int kind) {
  if (kind < 0 || kind >= static_cast<int>(form.text.TextBuffers.size())) return;
  std::string& buffer = form.text.TextBuffers[kind];
  const size_t limit = form.Txt.MaxBytes > 0 ? static_cast<size_t>(form.Txt.MaxBytes) : 0;
  // One cut removes what deleting the first character while too long would.
  if (buffer.size() >= limit) buffer.erase(0, buffer.size() - limit + 1);
  if (form.Txt.TxtType == kind) form.svc.exchange->RefreshTextWindow(form);
}
