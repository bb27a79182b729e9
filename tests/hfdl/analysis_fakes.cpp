#include "analysis_fakes.h"

#include "hfdl/frame_analysis.h"
#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_services.h"
#include "hfdl/hfdl_text.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/file_io.h"

namespace hfdl_test {

void ServiceRecorder::ParseAcarsBlock(Form1State&, const uint8_t* bits, size_t bitsSize, int bitCount,
                                      AcarsEndFlag endFlag, AcarsSource source) {
  if (bitCount < 0 || static_cast<size_t>(bitCount) > bitsSize) ++badBitCounts;
  parsed.push_back({std::vector<uint8_t>(bits, bits + bitsSize), bitsSize, bitCount, endFlag, source});
  calls.push_back("parse " + std::to_string(bitCount));
}

void ServiceRecorder::TrimTextBuffer(Form1State&, int kind) { calls.push_back("trim " + std::to_string(kind)); }

int ServiceRecorder::FindLatestAircraft(Form1State&) {
  calls.push_back("latest");
  return latestAircraft;
}

void ServiceRecorder::SetAcarsDownlink(Form1State&, bool downlink) {
  calls.push_back(std::string("downlink ") + (downlink ? "1" : "0"));
}

int ServiceRecorder::UpdateAircraftRecord(Form1State&, const std::string& flightId, const std::string& registration,
                                          const std::string& reportId, const AircraftPosition& p,
                                          const std::string& time, const std::string& accessStation) {
  calls.push_back("record " + flightId + " " + registration + " " + reportId + " " + std::to_string(p.Heading) + " " +
                  std::to_string(p.Altitude) + " " + std::to_string(p.Temperature) + " " + std::to_string(p.WindDir) +
                  " " + std::to_string(p.WindSpeed) + " " + time + " " + accessStation);
  positions.push_back(p);
  return 1;
}

std::string ServiceRecorder::LookupAirline3(Form1State&, const std::string& flightId) {
  calls.push_back("airline " + flightId);
  return flightId.compare(0, 3, "JAL") == 0 ? "JL" : "--";
}

bool ServiceRecorder::LookupAircraftType(Form1State& f, const std::string& registration, std::string& type) {
  analysisAtTypeLookup.push_back(f.text.TextBuffers[kHfdlAna]);
  if (registration != "JA8089") return false;
  type = "B777-200";
  return true;
}

int ServiceRecorder::FindRowByFlight(Form1State&, const std::string& flightId) {
  calls.push_back("list row " + flightId);
  return listRow;
}

void ServiceRecorder::RegisterContact(Form1State&, const std::string& flightId, const std::string& registration,
                                      const std::string& accessStation) {
  calls.push_back("contact " + flightId + " " + registration + " " + accessStation);
}

void ServiceRecorder::MarkPositionReceived(Form1State&, const std::string& flightId, const std::string& registration) {
  calls.push_back("position " + flightId + " " + registration);
}

std::string ServiceRecorder::RowRegistration(Form1State&, int row) { return "LIST" + std::to_string(row); }

void ServiceRecorder::Redraw(Form1State&, uint8_t background, uint8_t aircraft, uint8_t sideList, uint8_t altitude) {
  calls.push_back("redraw " + std::to_string(background) + std::to_string(aircraft) + std::to_string(sideList) +
                  std::to_string(altitude));
}

void ServiceRecorder::RefreshTextWindow(Form1State&) { calls.push_back("text window"); }

void ServiceRecorder::RefreshFrequencies(Form1State&) { calls.push_back("frequencies"); }

void ServiceRecorder::ShowForm(int formNumber, bool) { calls.push_back("show " + std::to_string(formNumber)); }

TDateTime TestNow() { return platform::EncodeDateTime(2026, 12, 6, 14, 3, 7); }

AnalysisRig::AnalysisRig() : clock_(TestNow()), form_(std::make_unique<Form1State>()) {
  Form1State& f = *form_;
  f.svc.acars = &services_;
  f.svc.aircraft = &services_;
  f.svc.map = &services_;
  f.svc.exchange = &services_;
  f.svc.radio = &services_;
  f.svc.effects = &services_;
  services_.form = &f;
  const std::string data = dir_.File("data");
  platform::EnsureFolder(data);
  testing_support::WriteFile(data + "/freqs.csv", Golden("freqs.csv"));
  testing_support::WriteFile(data + "/ICAO24.csv", Golden("ICAO24.csv"));
  f.app.AppDir = dir_.path();
  f.hfdl.FreqsCsvPath = data + "/freqs.csv";
  f.hfdl.SystemTxtPath = data + "/system.txt";
  f.hfdl.Icao24CsvPath = data + "/ICAO24.csv";
  f.text.HfdlDatLogPath = dir_.File("logs/20261206_HFDL_DAT.log");
  f.text.HfdlAnaLogPath = dir_.File("logs/20261206_HFDL_ANA.log");
  f.text.HfdlFmtLogPath = dir_.File("logs/20261206_HFDL_FMT.log");
  f.Txt.TxtLog = 1;
  for (int kind = 0; kind < 6; ++kind) f.Txt.LogOutFlag(kind) = 1;
  f.Txt.TxtType = kHfdlAna;
  f.hfdl.SystemVer = 35;
  f.hfdl.SystemTableAssembly.Version = 35;
  f.hfdl.ErrorRatioText = {"ErrorRatio = 0.00000", "ErrorRatio = 0.00000"};
  LoadHfdlSystemTable(f);
}

AnalysisRig::~AnalysisRig() = default;

void AnalysisRig::AnalyzeOwn(const std::vector<uint8_t>& octets, int mode, int channel) {
  std::vector<uint8_t> bits(8 * static_cast<size_t>(ModeOctets(mode)), 0);
  for (size_t n = 0; n < octets.size() && 8 * n < bits.size(); ++n) {
    for (int b = 0; b < 8; ++b) bits[8 * n + b] = static_cast<uint8_t>((octets[n] >> b) & 1);
  }
  form_->app.SourceTag = channel == 0 ? "Lch" : "Rch";
  AnalyzeHfdlFrame(*form_, bits.data(), bits.size(), ModeCode(mode), channel);
}

void AnalysisRig::AnalyzeNetwork(const std::vector<uint8_t>& octets) {
  form_->app.SourceTag = "NET";
  form_->svc.hfdl->AnalyzeNetworkHfdlFrame(*form_, hfdl_tx::RelayHex(octets));
}

void AnalysisRig::ClearText() {
  for (std::string& text : form_->text.TextBuffers) text.clear();
  services_.calls.clear();
  services_.parsed.clear();
  services_.positions.clear();
  services_.analysisAtTypeLookup.clear();
}

std::string Golden(const std::string& name) {
  return testing_support::ReadFile(std::string(SKARVEL_SOURCE_DIR) + "/tests/hfdl/golden/" + name);
}

std::string WithoutCr(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}

std::string DatLine(const std::string& tag, const std::vector<uint8_t>& octets, size_t count) {
  std::vector<uint8_t> first(octets.begin(), octets.begin() + static_cast<long>(std::min(count, octets.size())));
  first.resize(count, 0);
  return "[" + tag + "]2026/12/06 14:03:07>HFDL<SOH>" + hfdl_tx::RelayHex(first) + "<ETX>\r\n";
}

std::vector<std::string> SplitFrames(const std::string& text, const std::string& header) {
  std::vector<std::string> frames;
  for (size_t start = text.find(header); start != std::string::npos;) {
    const size_t next = text.find(header, start + 1);
    frames.push_back(text.substr(start, next == std::string::npos ? std::string::npos : next - start));
    start = next;
  }
  return frames;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size())) {
    text.replace(pos, from.size(), to);
  }
  return text;
}

int ModeOctets(int mode) {
  static constexpr int kOctets[8] = {135, 270, 540, 810, 315, 630, 1260, 1890};
  return kOctets[mode];
}

int ModeCode(int mode) { return 10 * (mode / 4) + mode % 4; }

}  // namespace hfdl_test
