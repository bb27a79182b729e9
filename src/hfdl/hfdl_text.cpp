#include "hfdl/hfdl_text.h"

#include <algorithm>

#include "acars/acars_services.h"
#include "app/form1_state.h"
#include "hfdl/hfdl_services.h"
#include "platform/date_time.h"
#include "platform/file_io.h"

namespace {

constexpr int kNetworkModeCode = 20;
constexpr int kNetworkChannel = 2;

bool LogOn(Form1State& form, int kind) { return form.Txt.TxtLog && form.Txt.LogOutFlag(kind); }

// While today's DAT log is being imported, new lines go to a "_c" twin so
// the import does not read its own output.
std::string DatLogPathForWrite(const Form1State& form) {
  const std::string& path = form.text.HfdlDatLogPath;
  if (form.text.ImportPath != path || path.size() < 4) return path;
  return path.substr(0, path.size() - 4) + "_c" + path.substr(path.size() - 4);
}

}  // namespace

std::string HfdlBitsToHex(const uint8_t* bits, int octets) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(static_cast<size_t>(std::max(octets, 0)) * 2);
  for (int n = 0; n < 2 * octets; ++n) {
    const uint8_t* b = bits + 4 * n;
    hex += kDigits[(b[0] & 1) | (b[1] & 1) << 1 | (b[2] & 1) << 2 | (b[3] & 1) << 3];
  }
  return hex;
}

void AnalyzeNetworkHfdlFrame(Form1State& form, const std::string& hex) {
  if (hex.size() > kMaxHfdlHexDigits) return;
  uint8_t* bits = form.hfdl.HfdlNetworkBits.data();
  // A short frame must not be analysed with the tail of an earlier one.
  std::fill(bits, bits + kHfdlFrameBits, uint8_t{0});
  for (size_t n = 0; n < hex.size(); ++n) {
    int c = static_cast<unsigned char>(hex[n]);
    // Only upper-case digits are meant; anything else gives wrong bits,
    // which the frame's checks reject.
    int v = (c < 'A' ? c - '0' : c - 55) & 15;
    for (int b = 0; b < 4; ++b) bits[4 * n + b] = static_cast<uint8_t>((v >> b) & 1);
  }
  form.svc.hfdl->AnalyzeHfdlFrame(form, bits, 4 * hex.size(), kNetworkModeCode, kNetworkChannel);
}

void WriteHfdlDatLog(Form1State& form, const std::string& hex) {
  const std::string path = DatLogPathForWrite(form);
  const std::string line =
      "[" + form.app.SourceTag + "]" + platform::FormatDateTime(platform::Now()) + ">HFDL<SOH>" + hex + "<ETX>";
  form.text.TextBuffers[kHfdlDat] += line + "\r\n";
  form.svc.acars->TrimTextBuffer(form, kHfdlDat);
  if (LogOn(form, kHfdlDat)) platform::AppendToFile(path, line + "\n");
}

void WriteHfdlAnaLog(Form1State& form, const std::string& line, int kind) {
  if (kind < 0 || kind >= static_cast<int>(form.text.TextBuffers.size())) return;
  form.text.TextBuffers[kind] += line + "\r\n";
  if (LogOn(form, kind)) platform::AppendToFile(form.text.HfdlAnaLogPath, line + "\n");
}

void WriteHfdlFmtLog(Form1State& form, const std::string& compact) {
  if (!LogOn(form, kHfdlFmt)) return;
  std::string text;
  text.reserve(compact.size() + 1);
  std::copy_if(compact.begin(), compact.end(), std::back_inserter(text), [](char c) { return c != '\r'; });
  text += '\n';
  platform::AppendToFile(form.text.HfdlFmtLogPath, text);
}

void OnLogFileEnabled(Form1State&, const std::string&) {}
