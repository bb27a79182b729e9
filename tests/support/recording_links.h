#pragma once
// The recording fakes of the program's links, one of each: what the window
// was asked to show, what the road handed its sinks, what the receivers
// asked of the program around them.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "acars/acars_position_dispatch.h"
#include "acars/acars_receiver.h"
#include "acars/message_search.h"
#include "aircraft/aircraft_information.h"
#include "aircraft/aircraft_link.h"
#include "aircraft/aircraft_state.h"
#include "aircraft/hit_mailer.h"
#include "aircraft/watch_list.h"
#include "app/form_effects.h"
#include "app/reception.h"
#include "audio/audio_links.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/hfdl_receiver.h"
#include "map/map_links.h"
#include "platform/wave_player.h"
#include "map/map_sink.h"
#include "platform/jpeg_loader.h"
#include "platform/log_name_part.h"
#include "radio/tuning_controller.h"
#include "selcal/selcal_call.h"
#include "selcal/selcal_panel.h"

namespace testing_support {

// The main window's effects, recorded.
class RecordingEffects : public FormEffects {
 public:
  void PaintLamp(Lamp lamp, TColor colour) override;
  void ShowForm(int formNumber, bool modal) override;
  void ShowAircraftInformation(const AircraftInformation& info) override;
  void ShowChatLog(const std::string& cp932Log) override;
  void CloseMainWindow() override { ++closes; }
  void ShowStatusText(const std::string& utf8) override { statusTexts.push_back(utf8); }
  void CloseForm(int formNumber) override { closedForms.push_back(formNumber); }
  void HideForm(int formNumber) override { closedForms.push_back(formNumber); }
  std::string AskImportPath(const std::string&) override { return importPath; }

  std::string importPath;  // the answer of the imports' open dialog
  std::vector<int> closedForms;

  std::vector<std::string> lamps;  // "left:65280", "right:0", "data:..."
  std::vector<int> shownForms;
  std::vector<AircraftInformation> information;
  std::vector<std::string> chatLogs;
  std::vector<std::string> statusTexts;
  int closes = 0;
};

// Everything the road hands its sinks.
class RecordingSink : public ReceptionSink {
 public:
  void OnHfdlFrame(const HfdlFrame& frame) override { frames.push_back(frame); }
  void OnAcarsBlock(const AcarsMessage& m) override { blocks.push_back(m); }
  bool OnPosition(const PositionReport& p) override {
    positions.push_back(p);
    return storePositions;
  }
  void OnAcarsMessage(const AcarsMessage& m) override { messages.push_back(m); }
  void Clear();

  bool storePositions = false;
  std::vector<HfdlFrame> frames;
  std::vector<AcarsMessage> blocks;
  std::vector<PositionReport> positions;
  std::vector<AcarsMessage> messages;
};

// What the position decoders hand over and ask for; every report is
// accepted unless accept says otherwise.
class RecordingPositionLink : public PositionLink {
 public:
  bool StorePosition(const PositionReport& report) override {
    stored.push_back(report);
    return accept;
  }
  void SetAircraftReportId(const std::string& flightId, const std::string& reportId) override {
    reportIds.push_back(flightId + ":" + reportId);
  }
  void FollowStoredPosition() override { ++follows; }
  void MarkPositionReceived(const std::string& flightId, const std::string& registration) override {
    marks.push_back(flightId + ":" + registration);
  }

  bool accept = true;
  std::vector<PositionReport> stored;
  std::vector<std::string> reportIds;  // "flight:id"
  int follows = 0;
  std::vector<std::string> marks;  // "flight:registration"
};

// What the aircraft table and list change and ask around them.
class RecordingAircraftLink : public AircraftLink {
 public:
  bool UseEnglish() const override { return english; }
  bool Running() const override { return running; }
  bool FollowingNewest() const override { return followingNewest; }
  AircraftView View() const override { return view; }
  void SetView(const AircraftView& v) override { view = v; }
  void AddCompany(const std::string& code) override;
  void RemoveCompany(const std::string& code) override;
  void FirstAircraftStored() override { ++firstStored; }
  void TableEmptied() override { ++emptied; }
  void RedrawAircraftViews() override { ++viewRedraws; }
  void RedrawAircraftLayer() override { ++layerRedraws; }
  std::string LookupIcao24Description(const std::string&) override { return icao24; }
  void ShowInformation(const AircraftInformation& information) override { shown.push_back(information); }
  void WriteListLog(const std::string& line) override { listLog += line; }
  bool Confirm(const std::string& question) override {
    questions.push_back(question);
    if (whileAsking) whileAsking();
    return true;
  }
  void OpenUrl(const std::string& url) override { urls.push_back(url); }

  // Answers.
  bool english = true;
  bool running = true;
  bool followingNewest = false;
  std::string icao24 = "NO DATA";
  std::function<void()> whileAsking;  // what happens while a question is open
  // Records.
  AircraftView view;
  std::vector<std::string> companies{"ALL"};
  int companyIndex = 0;
  int firstStored = 0, emptied = 0, viewRedraws = 0, layerRedraws = 0;
  std::vector<AircraftInformation> shown;
  std::string listLog;
  std::vector<std::string> questions;
  std::vector<std::string> urls;
};

// What the watch list and the message search do around a hit.
class RecordingAlertsLink : public WatchListLink, public MessageSearchLink {
 public:
  bool WatchListShowing() const override { return false; }
  void ShowWatchList() override { ++watchListShown; }
  void PlayWave(const std::string& path) override { played.push_back(path); }
  void SendHitMail(const HitMailArgs& args) override { mails.push_back(args); }
  void ShowMessageSearch() override { ++searchShown; }

  int watchListShown = 0, searchShown = 0;
  std::vector<std::string> played;
  std::vector<HitMailArgs> mails;
};

// Takes the alert sounds' player's place while it lives.
struct WaveRecorder {
  WaveRecorder() { platform::SetWavePlayerForTests([this](const std::string& path) { played.push_back(path); }); }
  ~WaveRecorder() { platform::SetWavePlayerForTests(nullptr); }
  std::vector<std::string> played;
};

// What the mail tells the watch list: each new status text, and at every
// change whether a mail is under way.
class RecordingMailLink : public HitMailLink {
 public:
  explicit RecordingMailLink(const HitMailQueue& queue) : queue_(queue) {}
  bool UseEnglish() const override { return english; }
  void MailChanged() override;

  bool english = true;
  std::vector<std::string> statusTexts;
  std::vector<bool> inFlight;

 private:
  const HitMailQueue& queue_;
};

// The reference data of the tests: "JAL" is "JL", JA8089 a B777-200.
class FixedLookups : public HfdlLookups {
 public:
  std::string LookupAirline3(const std::string& flightId) const override;
  bool LookupAircraftType(const std::string& registration, std::string& type) const override;
};

// What the VHF ACARS receiver asks.
class RecordingAcarsLink : public AcarsReceiverLink {
 public:
  void PaintLamp(int channel, TColor colour) override;
  void ResetLampHold(int channel) override { holds.push_back(channel); }
  void CountFrame(bool failed) override { (failed ? failedBlocks : goodBlocks) += 1; }
  void BlockReceived(const AcarsBlock& block) override { blocks.push_back(block); }

  std::vector<std::string> lamps;  // "0:65280"
  std::vector<int> holds;
  int goodBlocks = 0, failedBlocks = 0;
  std::vector<AcarsBlock> blocks;
};

// What HFDL reception asks.
class RecordingHfdlLink : public HfdlReceiverLink {
 public:
  void LockLamp(int channel, bool locked) override { locks[channel] = locked; }
  void SyncFound(int channel, int modeIndex, double freqError, bool otherChannelReceiving) override;
  void FrameDecoded(HfdlFrameInput frame) override { frames.push_back(std::move(frame)); }

  struct Sync {
    int channel;
    int modeIndex;
    double freqError;
    bool otherChannelReceiving;
  };
  bool locks[2] = {false, false};
  std::vector<Sync> syncs;
  std::vector<HfdlFrameInput> frames;
};

// The audio subsystem's links: the block pipeline's and the monitor
// button's.
class RecordingAudioLink : public BlockPipelineLink, public MonitorButtonLink {
 public:
  // Answers.
  bool running = true;
  bool monitorOn = false;
  bool statusPanelOn = true;
  bool inFrame[2] = {false, false};
  // Runs inside every decode.
  std::function<void(int channel, DecoderKind decoder)> onDecode;

  // The current HFDL block's symbols of a channel, as (I, Q) pairs; the
  // count handed out may be set apart from them (it is bounded by 512).
  void SetSymbols(int channel, const std::vector<std::pair<int32_t, int32_t>>& iq);
  int32_t symbolCount[2] = {0, 0};
  int32_t symbolI[2][512] = {};
  int32_t symbolQ[2][512] = {};

  // Records.
  std::vector<std::pair<int, DecoderKind>> decoded;
  std::vector<std::pair<Lamp, TColor>> lamps;
  std::vector<AudioPicture> shown;
  int clockSteps = 0;
  int blocksDone = 0;
  int inputsEnded = 0;
  int frameRestarts = 0;
  int timedMonitorStops = 0;
  int redrawRequests = 0;

  // The paints of one lamp, in order.
  std::vector<TColor> PaintsOf(Lamp lamp) const;
  int Shown(AudioPicture picture) const;
  void Clear();

  bool Running() const override { return running; }
  void DecodeBlock(int channel, DecoderKind decoder) override;
  void RestartFrames() override { ++frameRestarts; }
  bool InFrame(int channel) const override { return inFrame[channel]; }
  BlockSymbols HfdlSymbols(int channel) const override;
  void PaintLamp(Lamp lamp, TColor colour) override { lamps.emplace_back(lamp, colour); }
  void ShowPicture(AudioPicture picture, const Bitmap24&) override { shown.push_back(picture); }
  bool MonitorOn() const override { return monitorOn; }
  bool StatusPanelOn() const override { return statusPanelOn; }
  void ClockStepped() override { ++clockSteps; }
  void BlockDone() override { ++blocksDone; }
  void InputEnded() override { ++inputsEnded; }
  void StopTimedMonitor() override { ++timedMonitorStops; }
  void RequestAircraftLayerRedraw() override { ++redrawRequests; }
};

// What the map draws, in its own terms.
class RecordingMapSink : public MapSink {
 public:
  struct SegmentCall { MapPen pen; double lat[2], lon[2]; };
  struct LineCall { MapPen pen; PixelPoint from, to; };
  struct TextCall { int x, y; std::string text; int points; TColor colour; };
  struct GlyphCall { char type; int x, y; TColor colour; };

  void Fill(TColor colour) override { fills.push_back(colour); }
  void Disc(int x1, int y1, int x2, int y2, TColor) override { discs.push_back({x1, y1, x2, y2}); }
  void Segment(const MapPen& pen, const double lat[2], const double lon[2]) override {
    segments.push_back({pen, {lat[0], lat[1]}, {lon[0], lon[1]}});
  }
  void Line(const MapPen& pen, PixelPoint from, PixelPoint to) override { lines.push_back({pen, from, to}); }
  void Polygon(const MapPolygon& polygon) override { polygons.push_back(polygon); }
  void Text(int x, int y, const std::string& text, int points, TColor colour) override {
    texts.push_back({x, y, text, points, colour});
  }
  void Glyph(char type, int x, int y, TColor colour) override { glyphs.push_back({type, x, y, colour}); }

  // The segments drawn in this colour; the texts, in order.
  std::vector<SegmentCall> SegmentsIn(TColor colour) const;
  std::vector<std::string> TextsOnly() const;

  std::vector<TColor> fills;
  std::vector<std::vector<int>> discs;
  std::vector<SegmentCall> segments;
  std::vector<LineCall> lines;
  std::vector<MapPolygon> polygons;
  std::vector<TextCall> texts;
  std::vector<GlyphCall> glyphs;
};

// The map's links: what was shown, and the answers given. The aircraft
// table is the one the test points at (none: an empty table).
class RecordingMapLinks : public MapWindowLink, public MapAircraftLink {
 public:
  void ShowMapPicture(const Bitmap24& picture) override;
  void ShowSideListPicture(const Bitmap24&) override { ++sideListShown; }
  void ShowAltitudePicture(const Bitmap24&) override { ++altitudeShown; }
  void ResetBlockCounter() override { ++blockCounterResets; }
  void SetFullScreen(bool on) override { fullScreen.push_back(on); }
  std::string AskSaveMapPath() override { return savePath; }
  bool TextWindowShown() override { return textWindowShown; }
  void ToggleTextWindow() override { textWindowShown = !textWindowShown; }
  bool ToolBarShown() override { return toolBarShown; }
  void ToggleToolBar() override { toolBarShown = !toolBarShown; }
  bool FullScreenShown() override { return fullScreenShown; }
  void ToggleFullScreen() override { fullScreenShown = !fullScreenShown; }
  void ClickTracksButton() override { calls.push_back("tracks"); }
  void ClickMonitorButton() override { calls.push_back("monitor"); }
  void SetSelcalMonitorButton(bool down) override { calls.push_back(down ? "selcal on" : "selcal off"); }
  void CloseMainWindow() override { calls.push_back("close"); }

  std::string LookupAirportName(const std::string& code) override { return code == "RJTT" ? "TOKYO INTL" : code; }
  const std::vector<AircraftRecord>& Records() override { return aircraft->Aircraft.Records; }
  int AircraftCount() override { return aircraft->AircraftCount; }
  void SetVisible(int slot, flag visible) override { aircraft->Aircraft.Records.at(slot).Visible = visible; }
  void SetTagPos(int slot, int tagPos) override { aircraft->Aircraft.Records.at(slot).TagPos = tagPos; }
  void UpdateTrackAges() override { calls.push_back("ages"); }
  std::string LookupAirline2(const std::string& flightId) override { return "AIRLINE " + flightId.substr(0, 2); }
  std::string PhotoPath(const std::string& registration) override {
    return picsFolder + "/" + LogNamePart(registration) + ".jpg";
  }
  std::string NoImagePath() override { return picsFolder + "/noimage.jpg"; }
  void ShowFlightInformation(const std::string& flightId) override { calls.push_back("information " + flightId); }

  AircraftState empty;
  AircraftState* aircraft = &empty;
  std::string picsFolder = "/nonexistent";
  // Runs inside every show of the map picture (a drawer's last step).
  std::function<void()> onShow;
  std::string savePath;
  int shown = 0;
  int sideListShown = 0, altitudeShown = 0;
  int blockCounterResets = 0;
  bool textWindowShown = false, toolBarShown = true, fullScreenShown = false;
  std::vector<bool> fullScreen;
  std::vector<std::string> calls;
};

// Feeds audio at 11025 Hz to one channel of HFDL reception in blocks of 512,
// the last one padded with zeros, as the audio pipeline does. Returns the
// most symbols one block gave.
int FeedHfdl(HfdlReception& hfdl, HfdlReceiverLink& link, int channel, const std::vector<double>& samples);
// What the frequency list and the dialogs ask of the tuning, with the
// receiver's target at that moment: "L 6559", "Timer1 R 8942".
class RecordingTuner : public FrequencyListLink {
 public:
  explicit RecordingTuner(const RadioState& radio) : radio_(radio) {}
  void TuneReceiver(int channel) override;
  void EnableTimer1() override;

  std::vector<std::string> calls;

 private:
  const RadioState& radio_;
};

// A serial port and timers on a clock of their own for the tuning. Run()
// lets the port take what was written and the timers run out, in time
// order, as the event loop would.
class FakeTuningLink : public TuningLink {
 public:
  // Answers.
  std::string openFailure;  // the reason an open fails with; empty: it opens
  bool takesBytes = true;   // false: the port never takes a byte
  // Records.
  struct Write {
    int atMs;
    Bytes bytes;
  };
  std::vector<Write> writes;
  std::vector<std::string> events;  // "open ttyUSB0 2", "discard", "close"
  std::vector<std::string> reports;
  bool portOpen = false;
  int nowMs = 0;

  void Attach(TuningController& controller) { controller_ = &controller; }
  // Runs until nothing is left to happen before untilMs (the clock then
  // stands at untilMs, or where the last event was when nothing is left).
  void Run(int untilMs = 1 << 30);
  // Every byte written, in order.
  Bytes Written() const;

  bool OpenPort(const std::string& name, int stopBits, std::string& reason) override;
  void WritePort(const Bytes& bytes) override;
  bool PortOutputEmpty() override { return true; }
  void DiscardPortOutput() override { events.push_back("discard"); }
  void ClosePort() override;
  void StartTimer(RadioTimer timer, int ms) override { due_[timer] = nowMs + ms; }
  void StopTimer(RadioTimer timer) override { due_.erase(timer); }
  bool TimerActive(RadioTimer timer) const override { return due_.count(timer) != 0; }
  void ReportFailure(const std::string& line) override { reports.push_back(line); }

 private:
  TuningController* controller_ = nullptr;
  int64_t untaken_ = 0;
  std::map<RadioTimer, int> due_;
};

// The calls the SELCAL tone decoder hands on, each with the block count
// at that moment (counted by whoever feeds the decoder).
class RecordingSelcalCalls : public SelcalReceiverLink {
 public:
  void CallDecoded(const SelcalCall& call) override { calls.push_back({call, block}); }
  std::vector<std::string> Codes() const {
    std::vector<std::string> codes;
    for (const auto& heard : calls) codes.push_back(heard.first.Code);
    return codes;
  }
  long block = 0;
  std::vector<std::pair<SelcalCall, long>> calls;
};

// What the SELCAL panel asks around it; photographs come from the files.
class RecordingSelcalLink : public SelcalPanelLink {
 public:
  bool MainMonitorDown() const override { return mainDown; }
  void SetMainMonitorDown(bool down) override { mainDown = down; }
  void StartAudioMonitor(bool forced, int channel) override {
    if (mainDown) monitorStarts.push_back(std::to_string(forced) + ":" + std::to_string(channel));
  }
  void WriteSilentMonitorBlock() override { ++silentBlocks; }
  void RedrawAircraftLayer() override { ++redraws; }
  void PlaySound(const std::string& path) override { sounds.push_back(path); }
  bool LookupAircraftType(const std::string&, std::string&) override { return false; }
  std::string LookupIcao24Description(const std::string&) override { return "NO DATA"; }
  std::optional<Bitmap24> LoadJpeg(const std::string& path, int maxWidth, int maxHeight) override {
    return platform::LoadJpeg(path, maxWidth, maxHeight);
  }

  bool mainDown = false;
  std::vector<std::string> monitorStarts;  // "forced:channel", only while the button is down
  int silentBlocks = 0, redraws = 0;
  std::vector<std::string> sounds;
};

// Every check sequence of a decoded frame holds: a squitter's, or a
// downlink MPDU's header and each of its LPDUs.
bool HfdlChecksPass(const std::vector<uint8_t>& octets, bool squitter);

}  // namespace testing_support
