#include "selcal/selcal_panel.h"

#include <algorithm>
#include <cstring>

#include "platform/cp932.h"
#include "platform/file_io.h"
#include "platform/log_name_part.h"
#include "platform/paths.h"
#include "selcal/selcal_code_file.h"
#include "selcal/selcal_state.h"
#include "selcal/selcal_tables.h"

namespace {

// The photograph's size; the picture is as high and may be wider.
constexpr int kWidth = 200;
constexpr int kHeight = 133;
constexpr TColor kBlack = 0x000000;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kCyan = 0xFFFF00;  // blue 255, green 255, red 0
// A click's limit, and the limit a stored value may have at start.
constexpr int kLongestTimeMoni = 600;
constexpr int kLongestStoredTimeMoni = 604;
constexpr int kDefaultTimeMoni = 120;
// Photographs larger than eight times the picture are decoded down to it,
// so that a huge file is never held whole.
constexpr int kLargestDecoded = 8;

// The text with a black shadow at the offsets 0..1 right and down (-1..1
// all round), then in its colour.
void ShadowedText(Bitmap24& b, const SelcalPanelText& t) {
  const std::string text = platform::Cp932ToUtf8(t.text);
  for (int dy = t.shadowAround ? -1 : 0; dy <= 1; ++dy) {
    for (int dx = t.shadowAround ? -1 : 0; dx <= 1; ++dx) b.TextOut(t.x + dx, t.y + dy, text, kBlack, t.points);
  }
  b.TextOut(t.x, t.y, text, t.colour, t.points);
}

void CopyPicture(const Bitmap24& from, Bitmap24& to) {
  for (int y = 0; y < kHeight; ++y) std::memcpy(to.ScanLine(y), from.ScanLine(y), 3 * kWidth);
}

// Nearest pixel: row r takes source row r x height / 133, column c source
// column c x width / 200.
void ScaleNearest(const Bitmap24& from, Bitmap24& to) {
  const int64_t w = from.Width(), h = from.Height();
  for (int r = 0; r < kHeight; ++r) {
    const uint8_t* source = from.ScanLine(static_cast<int>(r * h / kHeight));
    uint8_t* target = to.ScanLine(r);
    for (int c = 0; c < kWidth; ++c) std::memcpy(target + 3 * c, source + 3 * (c * w / kWidth), 3);
  }
}

}  // namespace

std::vector<SelcalPanelText> SelcalPanelTexts(const std::string& code, const std::string& registration,
                                              const std::string& type, const std::string& typedCode) {
  std::vector<SelcalPanelText> texts;
  if (!registration.empty()) {
    texts.push_back({5, 94, "Code :" + code, kCyan, 8, false});
    texts.push_back({5, 106, "RegNo:" + registration, kCyan, 8, false});
    texts.push_back({5, 118, "Type :" + type, kCyan, 8, false});
  } else {
    texts.push_back({15, 20, code, kWhite, 50, false});
    if (code != "----") texts.push_back({60, 105, "NO DATA", kWhite, 14, false});
  }
  texts.push_back({95, 5, "SET CODE:" + typedCode, kCyan, 10, true});
  return texts;
}

int SelcalPictureWidth() {
  int width = kWidth;
  for (char letter : SelcalLetters) {
    const std::string code(4, letter);
    for (const SelcalPanelText& t : SelcalPanelTexts(code, "", "", code)) {
      // The shadow reaches a pixel further.
      width = std::max(width, t.x + Bitmap24::TextWidth(platform::Cp932ToUtf8(t.text), t.points) + 1);
    }
  }
  return width;
}

SelcalPanel::SelcalPanel(SelcalPanelState& state, EtcSettings& etc, FormSettings& form, SelcalFiles files,
                         SelcalPanelLink& link)
    : state_(state), etc_(etc), form_(form), files_(files), link_(link) {
  timer1Connection_ = QObject::connect(&state_.Timer1, &QTimer::timeout, [this] { Timer1Timer(); });
}

SelcalPanel::~SelcalPanel() { QObject::disconnect(timer1Connection_); }

void SelcalPanel::Construct() {
  state_.TypedCode = etc_.SelCallCode;
  CommitTypedCode();
  state_.PanelShown = 0;
  state_.PanelBitmap.Resize(SelcalPictureWidth(), kHeight);
  state_.PanelBitmap.Fill(kBlack);
  state_.PhotoBitmap.Resize(kWidth, kHeight);
  state_.PhotoBitmap.Fill(kBlack);
  if (form_.TimeMoniSec < 1 || form_.TimeMoniSec > kLongestStoredTimeMoni) form_.TimeMoniSec = kDefaultTimeMoni;
  state_.Timer1.stop();
  Notify();
}

void SelcalPanel::SelcalReceived(const std::string& code, int channel) {
  state_.LastCode = code;
  DrawSelcalDisplay(true);
  // The own code is the last complete one, also while another is typed.
  const bool own = code == etc_.SelCallCode;
  if (form_.SelCallBel && own && platform::FileExists(files_.BellSound)) link_.PlaySound(files_.BellSound);
  if (form_.SelCallRdo && (own || etc_.SelCallCode == "AAAA")) {
    if (!link_.MainMonitorDown()) {
      link_.SetMainMonitorDown(true);
      link_.RedrawAircraftLayer();
      link_.StartAudioMonitor(true, channel);
      if (form_.TimeMoni) StartTimer1();
    }
    moniDown_ = true;
  }
  Notify();
}

void SelcalPanel::FormShow() {
  state_.PanelShown = 1;
  DrawSelcalDisplay(true);
}

void SelcalPanel::ButtonClick(int key) {
  if (key < 0 || key > 15) return;
  if (state_.TypedCode.size() >= 4) state_.TypedCode.clear();
  state_.TypedCode += SelcalLetters[static_cast<size_t>(key)];
  CommitTypedCode();
}

void SelcalPanel::CommitTypedCode() {
  if (state_.TypedCode.size() == 4) etc_.SelCallCode = state_.TypedCode;
  DrawSelcalDisplay(false);
}

void SelcalPanel::DrawSelcalDisplay(bool reloadPhoto) {
  if (!state_.PanelShown) return;
  Bitmap24& panel = state_.PanelBitmap;
  panel.Fill(kBlack);
  const std::string registration = LookupSelcalCode(files_.CodeFile, state_.LastCode);
  std::string type;
  if (!registration.empty()) {
    if (reloadPhoto) LoadPhoto(registration);
    CopyPicture(state_.PhotoBitmap, panel);
    if (!link_.LookupAircraftType(registration, type)) type = link_.LookupIcao24Description(registration);
  } else if (reloadPhoto) {
    // An earlier aircraft's photograph must not show under a code that
    // has none.
    state_.PhotoBitmap.Fill(kBlack);
  } else {
    CopyPicture(state_.PhotoBitmap, panel);
  }
  for (const SelcalPanelText& t : SelcalPanelTexts(state_.LastCode, registration, type, state_.TypedCode)) {
    ShadowedText(panel, t);
  }
  Notify();
}

// The registration comes from a file anyone may edit: its name never
// leads out of pics/. A damaged photograph counts as missing.
void SelcalPanel::LoadPhoto(const std::string& registration) {
  const int w = kLargestDecoded * kWidth, h = kLargestDecoded * kHeight;
  const std::string own = platform::JoinPath(files_.PicsFolder, LogNamePart(registration) + ".jpg");
  std::optional<Bitmap24> photo = link_.LoadJpeg(own, w, h);
  if (!photo) photo = link_.LoadJpeg(platform::JoinPath(files_.PicsFolder, "noimage.jpg"), w, h);
  if (photo && photo->Width() > 0 && photo->Height() > 0) {
    ScaleNearest(*photo, state_.PhotoBitmap);
  } else {
    state_.PhotoBitmap.Fill(kBlack);
  }
}

void SelcalPanel::SpeedButton1Click(bool down) { form_.SelCallBel = down ? 1 : 0; }

void SelcalPanel::SpeedButton2Click(bool down) {
  moniDown_ = down;
  if (!down) return CloseMonitor();
  if (!link_.MainMonitorDown()) {
    link_.SetMainMonitorDown(true);
    link_.RedrawAircraftLayer();
    // The channel follows the decoder modes.
    link_.StartAudioMonitor(true, -1);
  }
  Notify();
}

void SelcalPanel::SpeedButton3Click(bool down) { form_.SelCallRdo = down ? 1 : 0; }
void SelcalPanel::SpeedButton4Click(bool down) { form_.SelCall3D = down ? 1 : 0; }
void SelcalPanel::SpeedButton5Click(bool down) { form_.SelCallNR = down ? 1 : 0; }
void SelcalPanel::SpeedButton6Click(bool down) { form_.SelCallAN = down ? 1 : 0; }

void SelcalPanel::SpeedButton7Click(bool down) {
  form_.TimeMoni = down ? 1 : 0;
  if (!down) state_.Timer1.stop();
}

void SelcalPanel::SetMoniDown(bool down) {
  moniDown_ = down;
  Notify();
}

void SelcalPanel::Panel3MouseUp(PanelMouseButton button) {
  if (button == PanelMouseButton::Right && form_.TimeMoniSec > 5) form_.TimeMoniSec -= 5;
  if (button == PanelMouseButton::Left && form_.TimeMoniSec < kLongestTimeMoni) form_.TimeMoniSec += 5;
  // A running timer starts over with the new time.
  if (state_.Timer1.isActive()) StartTimer1();
  Notify();
}

// The construction keeps the seconds at 1 or more; 0 would be a timer
// that never waits.
void SelcalPanel::StartTimer1() {
  if (form_.TimeMoniSec > 0) state_.Timer1.start(form_.TimeMoniSec * 1000);
}

void SelcalPanel::Timer1Timer() {
  moniDown_ = false;
  CloseMonitor();
}

void SelcalPanel::CloseMonitor() {
  state_.Timer1.stop();
  link_.SetMainMonitorDown(false);
  link_.RedrawAircraftLayer();
  link_.WriteSilentMonitorBlock();
  state_.LastCode = "----";
  // The closed monitor shows as "----" at once.
  DrawSelcalDisplay(false);
  Notify();
}

void SelcalPanel::Notify() {
  if (Changed) Changed();
}

void DisableTimer1(SelcalState& selcal) { selcal.Panel.Timer1.stop(); }
