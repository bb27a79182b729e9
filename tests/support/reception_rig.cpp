#include "support/reception_rig.h"

#include "exchange/daily_log_set.h"
#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_text.h"
#include "platform/file_io.h"

namespace testing_support {

TDateTime RigNow() { return platform::EncodeDateTime(2026, 12, 6, 14, 3, 7); }

ReceptionRig::ReceptionRig() : clock_(RigNow()), form_(std::make_unique<Form1State>()) {
  Form1State& f = *form_;
  const std::string data = dir_.File("data");
  platform::EnsureFolder(data);
  WriteFile(data + "/freqs.csv", Golden("freqs.csv"));
  WriteFile(data + "/ICAO24.csv", Golden("ICAO24.csv"));
  f.app.AppDir = dir_.path();
  f.hfdl.FreqsCsvPath = data + "/freqs.csv";
  f.hfdl.SystemTxtPath = data + "/system.txt";
  f.hfdl.Icao24CsvPath = data + "/ICAO24.csv";
  f.aircraft.Files = AircraftFilesIn(dir_.path());
  f.aircraft.Aircraft.Allocate(f.Map.MaxMapPlot, f.Map.MaxPlotData);
  f.app.Running = 1;
  UpdateDailyLogNames(f.text, f.Etc, f.app.AppDir, true);
  f.Txt.TxtLog = 1;
  f.Txt.MaxBytes = 10000;  // the program's default
  for (int kind = 0; kind < 6; ++kind) f.Txt.LogOutFlag(kind) = 1;
  f.Txt.TxtType = kHfdlAna;
  f.hfdl.SystemVer = 35;
  f.hfdl.SystemTableAssembly.Version = 35;
  f.hfdl.ErrorRatioText = {"ErrorRatio = 0.00000", "ErrorRatio = 0.00000"};
  LoadHfdlSystemTable(f.hfdl);
  wiring_ = std::make_unique<ReceptionWiring>(f, effects_, &lookups_);
  wiring_->Road().AddSink(sink_);
}

ReceptionRig::~ReceptionRig() = default;

std::string ReceptionRig::Log(const std::string& kind) const {
  return ReadFile(dir_.File("logs/20261206_" + kind + ".log"));
}

void ReceptionRig::AnalyzeOwn(const std::vector<uint8_t>& octets, int mode, int channel) {
  HfdlFrameInput frame;
  frame.Octets.assign(static_cast<size_t>(ModeOctets(mode)), 0);
  std::copy(octets.begin(), octets.begin() + static_cast<long>(std::min(octets.size(), frame.Octets.size())),
            frame.Octets.begin());
  frame.BitCount = 8 * frame.Octets.size();
  frame.ModeCode = ModeCode(mode);
  frame.Channel = channel;
  frame.SourceTag = channel == 0 ? "Lch" : "Rch";
  frame.ErrorRatioLine = form_->hfdl.ErrorRatioText[static_cast<size_t>(channel)];
  road().OwnHfdlFrame(std::move(frame));
}

void ReceptionRig::AnalyzeNetwork(const std::vector<uint8_t>& octets) {
  road().RelayedHfdlFrame(HfdlOctetsToHex(octets.data(), static_cast<int>(octets.size())), "NET");
}

void ReceptionRig::ReceiveAcars(const std::string& characters, bool etx, AcarsBearer bearer, const std::string& tag) {
  const AcarsBlock block = BlockOf(characters, etx, bearer, tag);
  if (bearer == AcarsBearer::Vhf) {
    road().OwnAcarsBlock(block);
  } else {
    road().AcarsBlockReceived(block);
  }
}

void ReceptionRig::ClearText() {
  for (int kind = 0; kind < 6; ++kind) form_->text.Clear(kind);
  sink_.Clear();
}

std::string Golden(const std::string& name) {
  return ReadFile(std::string(SKARVEL_SOURCE_DIR) + "/tests/hfdl/golden/" + name);
}

std::string WithoutCr(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}

int ModeOctets(int mode) {
  static constexpr int kOctets[8] = {135, 270, 540, 810, 315, 630, 1260, 1890};
  return kOctets[mode];
}

int ModeCode(int mode) { return 10 * (mode / 4) + mode % 4; }

AcarsBlock BlockOf(const std::string& characters, bool etx, AcarsBearer bearer, const std::string& tag) {
  AcarsBlock block;
  // The terminator is the last ETX or ETB before the two trailing characters.
  const size_t end = characters.size() >= 2 ? characters.size() - 2 : characters.size();
  if (characters.size() > kAcarsSyncLength) {
    block.Characters = characters.substr(kAcarsSyncLength, end > kAcarsSyncLength ? end - kAcarsSyncLength : 0);
    block.CheckSequence = characters.substr(end);
  }
  block.End = etx ? AcarsEndFlag::Etx : AcarsEndFlag::Etb;
  block.Bearer = bearer;
  block.SourceTag = tag;
  return block;
}

}  // namespace testing_support
