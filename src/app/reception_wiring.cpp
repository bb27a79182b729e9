#include "app/reception_wiring.h"

#include "acars/acars_text_output.h"
#include "acars/message_search.h"
#include "aircraft/aircraft_table.h"
#include "aircraft/reference_data.h"
#include "aircraft/watch_list.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "app/map_wiring.h"
#include "exchange/daily_log_set.h"
#include "exchange/peer_link.h"
#include "exchange/peer_link_byte_mapping.h"
#include "hfdl/hfdl_text.h"
#include "hfdl/reception_stats.h"
#include "map/map_redraw.h"
#include "selcal/selcal_decoder.h"

namespace {

constexpr TColor kLampGreen = 65280;
constexpr TColor kLampBlack = 0;
// The statistics row of VHF ACARS.
constexpr int kVhfAcarsModeCode = 30;

Lamp ChannelLamp(int channel) { return channel == 0 ? Lamp::Left : Lamp::Right; }

// What the HFDL analysis asks of the reference data.
class ReferenceLookups : public HfdlLookups {
 public:
  explicit ReferenceLookups(const AircraftFiles& files) : files_(files) {}
  std::string LookupAirline3(const std::string& flightId) const override { return ::LookupAirline3(files_, flightId); }
  bool LookupAircraftType(const std::string& registration, std::string& type) const override {
    return ::LookupAircraftType(files_, registration, type);
  }

 private:
  const AircraftFiles& files_;
};

// The relay text of an HFDL frame: "HFDL" SOH hex ETX.
std::string HfdlRelayText(const HfdlFrameInput& frame) {
  return std::string("HFDL\x01", 5) + HfdlOctetsToHex(frame.Octets.data(), static_cast<int>(frame.Octets.size())) +
         '\x03';
}

// An ACARS block for the link: its characters from "+" through the
// terminator, and with its check sequence when the parser relays it.
std::string AcarsRelayText(const AcarsBlock& block, bool withCheckSequence) {
  std::string text;
  for (int i = 0; i < kAcarsSyncLength; ++i) AppendPeerLinkEncoded(text, static_cast<uint8_t>(kAcarsSyncCharacters[i]));
  for (char c : block.Characters) AppendPeerLinkEncoded(text, static_cast<uint8_t>(c));
  if (withCheckSequence) {
    for (char c : block.CheckSequence) AppendPeerLinkEncoded(text, static_cast<uint8_t>(c));
  }
  return text;
}

}  // namespace

// Where own reception is sent to linked copies: the link, once there is one.
class ReceptionWiring::PeerRelay : public PeerLinkSender {
 public:
  void SendToServer(const std::string& text) override {
    if (link) link->SendToServer(text);
  }
  void SendToAllClients(const std::string& text) override {
    if (link) link->SendToAllClients(text);
  }
  PeerLinkSender* link = nullptr;
};

// The receivers' links, the relay of own reception and what follows a
// message whose position was stored.
class ReceptionWiring::Links : public AcarsReceiverLink,
                               public HfdlReceiverLink,
                               public SelcalReceiverLink,
                               public ReceptionRelay,
                               public PositionLink {
 public:
  Links(Form1State& form, FormEffects& effects, AircraftLink& aircraft, PeerLinkSender& peers)
      : form_(form), effects_(effects), aircraft_(aircraft), peers_(peers), lookups_(form.aircraft.Files) {}
  void SetRoad(Reception& road) { road_ = &road; }
  const HfdlLookups& Lookups() const { return lookups_; }

  // AcarsReceiverLink
  void PaintLamp(int channel, TColor colour) override { effects_.PaintLamp(ChannelLamp(channel), colour); }
  void ResetLampHold(int channel) override { form_.audio.RxLampHold[static_cast<size_t>(channel)] = 0; }
  void CountFrame(bool failed) override { ::CountFrame(form_.hfdl.HfdlReceptionStats, kVhfAcarsModeCode, failed); }
  void BlockReceived(const AcarsBlock& block) override { road_->OwnAcarsBlock(block); }

  // HfdlReceiverLink
  void LockLamp(int channel, bool locked) override {
    effects_.PaintLamp(ChannelLamp(channel), locked ? kLampGreen : kLampBlack);
  }
  void SyncFound(int channel, int modeIndex, double freqError, bool otherChannelReceiving) override {
    WriteHfdlSyncLines(form_.text, form_.Txt, channel, otherChannelReceiving, modeIndex, freqError);
  }
  void FrameDecoded(HfdlFrameInput frame) override { road_->OwnHfdlFrame(std::move(frame)); }

  // SelcalReceiverLink
  void CallDecoded(const SelcalCall& call) override { road_->OwnSelcalCall(call); }

  // ReceptionRelay: a client sends its own reception to its server instead
  // of decoding it; a server decodes it and hands it to its clients, slow
  // HFDL frames before its own analysis and fast ones after.
  bool BeforeOwnHfdlFrame(const HfdlFrameInput& frame) override {
    if (!form_.exchange.NetConnected) return true;
    if (!form_.Net.Server) {
      peers_.SendToServer(HfdlRelayText(frame));
      return false;
    }
    if (frame.ModeCode % 10 < 2) peers_.SendToAllClients(HfdlRelayText(frame));
    return true;
  }
  void AfterOwnHfdlFrame(const HfdlFrameInput& frame) override {
    if (!form_.exchange.NetConnected || !form_.Net.Server) return;
    if (frame.ModeCode % 10 >= 2) peers_.SendToAllClients(HfdlRelayText(frame));
    form_.audio.RxLampHold[2] = 0;
  }
  bool BeforeOwnAcarsBlock(const AcarsBlock& block) override {
    if (!form_.exchange.NetConnected) return true;
    if (!form_.Net.Server) {
      peers_.SendToServer(AcarsRelayText(block, false));
      return false;
    }
    // With duplicate checking on, the parser's sink relays new blocks only.
    if (!form_.Net.DupCheckSend) peers_.SendToAllClients(AcarsRelayText(block, false));
    return true;
  }
  void AfterOwnAcarsBlock(const AcarsBlock&) override {
    if (form_.exchange.NetConnected && form_.Net.Server) form_.audio.RxLampHold[2] = 0;
  }

  // PositionLink: a report goes to the sinks, the aircraft table among them.
  bool StorePosition(const PositionReport& report) override { return road_->Deliver(report); }
  void SetAircraftReportId(const std::string& flightId, const std::string& reportId) override {
    ::SetAircraftReportId(form_.aircraft, flightId, reportId);
  }
  void FollowStoredPosition() override {
    form_.mapView.KeepViewOnce = 1;
    form_.mapView.FromAcars = 1;
    if (form_.controls.SpeedButton8Down) form_.mapView.SelectedAircraft = FindLatestAircraft(form_.aircraft);
    RequestRedraw(form_.mapView, {MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude});
  }
  void MarkPositionReceived(const std::string& flightId, const std::string& registration) override {
    ::MarkPositionReceived(form_.aircraft, aircraft_, flightId, registration);
  }

 private:
  Form1State& form_;
  FormEffects& effects_;
  AircraftLink& aircraft_;
  PeerLinkSender& peers_;
  Reception* road_ = nullptr;
  ReferenceLookups lookups_;
};

// Today's sinks, in the order they are added.
class ReceptionWiring::Sinks {
 public:
  Sinks(Form1State& form, FormEffects& effects, AircraftLink& aircraft, RadioWiring& radio, SelcalWiring& selcal,
        AlertsWiring& alerts, PeerLinkSender& peers)
      : text_(form),
        stats_(form),
        hfdlTables_(radio, effects),
        aircraft_(form, aircraft),
        map_(form),
        relay_(form, peers),
        watch_(form, alerts),
        search_(form, alerts),
        selcal_(selcal) {}

  void AddTo(Reception& road) {
    for (ReceptionSink* sink : std::initializer_list<ReceptionSink*>{&aircraft_, &map_, &relay_, &text_, &stats_,
                                                                     &hfdlTables_, &search_, &watch_, &selcal_}) {
      road.AddSink(*sink);
    }
  }

 private:
  // The received text and the daily logs.
  class Text : public ReceptionSink {
   public:
    explicit Text(Form1State& form) : form_(form) {}
    void OnHfdlFrame(const HfdlFrame& frame) override { WriteHfdlTexts(form_.text, form_.Txt, frame); }
    void OnAcarsMessage(const AcarsMessage& m) override {
      WriteAcarsTexts({form_.text, form_.Txt, EachLogsFolder(form_.app.AppDir)}, m);
    }

   private:
    Form1State& form_;
  };

  // The reception statistics of HFDL frames (the VHF framer counts its own).
  class Statistics : public ReceptionSink {
   public:
    explicit Statistics(Form1State& form) : form_(form) {}
    void OnHfdlFrame(const HfdlFrame& frame) override {
      CountFrame(form_.hfdl.HfdlReceptionStats, frame.Input.ModeCode, frame.Failed());
    }

   private:
    Form1State& form_;
  };

  // What follows from HFDL's tables: the frequency list after a squitter,
  // the system-table window after a new table.
  class HfdlTables : public ReceptionSink {
   public:
    HfdlTables(RadioWiring& radio, FormEffects& effects) : radio_(radio), effects_(effects) {}
    void OnHfdlFrame(const HfdlFrame& frame) override {
      if (frame.Squitter) radio_.SquitterAnalysed();
      if (frame.CompletedSystemTable()) effects_.ShowForm(23, false);
    }

   private:
    RadioWiring& radio_;
    FormEffects& effects_;
  };

  // The received-aircraft list and table. An ACARS downlink registers its
  // aircraft, and its row is marked once the message's last report was
  // stored (the position link's completion); an HFDL report registers and
  // marks before the record is stored.
  class Aircraft : public ReceptionSink {
   public:
    Aircraft(Form1State& form, AircraftLink& link) : form_(form), link_(link) {}
    void OnAcarsBlock(const AcarsMessage& m) override {
      if (m.Downlink()) {
        RegisterContact(form_.aircraft, form_.List, link_, m.Fields.FlightId, m.Fields.Address, m.Fields.StationName);
      }
    }
    bool OnPosition(const PositionReport& p) override {
      std::string registration = p.Registration;
      if (p.Origin == PositionOrigin::Hfdl) {
        // The list may know the aircraft of a flight the frame did not name.
        if (registration == "NO DATA") {
          const int row = FindRowByFlight(form_.aircraft, p.FlightId);
          registration = row < 1 ? "unknown" : RowRegistration(form_.aircraft, row);
        }
        RegisterContact(form_.aircraft, form_.List, link_, p.FlightId, registration, p.AccessStation);
        MarkPositionReceived(form_.aircraft, link_, p.FlightId, registration);
      }
      return UpdateAircraftRecord(form_.aircraft, form_.Etc, link_, p.FlightId, registration, p.ReportId, p.Position,
                                  p.Time, p.AccessStation) == 1;
    }

   private:
    Form1State& form_;
    AircraftLink& link_;
  };

  // The map follows every HFDL report, stored or not: the newest aircraft
  // in follow mode, and a redraw of the layers that show aircraft. An ACARS
  // message does the same once, after its last report was stored.
  class Map : public ReceptionSink {
   public:
    explicit Map(Form1State& form) : form_(form) {}
    bool OnPosition(const PositionReport& p) override {
      if (p.Origin != PositionOrigin::Hfdl) return false;
      if (form_.controls.SpeedButton8Down) form_.mapView.SelectedAircraft = FindLatestAircraft(form_.aircraft);
      RequestRedraw(form_.mapView, {MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude});
      return false;
    }

   private:
    Form1State& form_;
  };

  // A server with duplicate checking hands each new block on to its
  // clients; blocks carried by HFDL travel in their frames instead.
  class Relay : public ReceptionSink {
   public:
    Relay(Form1State& form, PeerLinkSender& peers) : form_(form), peers_(peers) {}
    void OnAcarsBlock(const AcarsMessage& m) override {
      if (!form_.Net.Server || !form_.Net.DupCheckSend) return;
      if (m.Completion == AcarsCompletion::Retransmission || m.Block.Bearer == AcarsBearer::Hfdl) return;
      peers_.SendToAllClients(AcarsRelayText(m.Block, true));
    }

   private:
    Form1State& form_;
    PeerLinkSender& peers_;
  };

  // The watch list: every downlink, repeats included.
  class Watch : public ReceptionSink {
   public:
    Watch(Form1State& form, AlertsWiring& alerts) : form_(form), alerts_(alerts) {}
    void OnAcarsMessage(const AcarsMessage& m) override {
      if (!m.Downlink()) return;
      CheckSearchHit(form_.watchList, form_.Spec, alerts_.WatchFiles(), alerts_, m.Fields.Address, m.Fields.FlightId);
    }

   private:
    Form1State& form_;
    AlertsWiring& alerts_;
  };

  // The message-text search: what reaches the MES text, and every whole
  // uplink, with the flight id or (uplink) the station name.
  class Search : public ReceptionSink {
   public:
    Search(Form1State& form, AlertsWiring& alerts) : form_(form), alerts_(alerts) {}
    void OnAcarsMessage(const AcarsMessage& m) override {
      if (!AcarsSearched(m, form_.Txt)) return;
      SearchAcarsMessage(form_.messageSearch, form_.MsgSrch, alerts_,
                         m.Downlink() ? m.Fields.FlightId : m.Fields.StationName, m.Fields.Address, m.Text);
    }

   private:
    Form1State& form_;
    AlertsWiring& alerts_;
  };

  // The SELCAL panel: every call.
  class Selcal : public ReceptionSink {
   public:
    explicit Selcal(SelcalWiring& wiring) : wiring_(wiring) {}
    void OnSelcalCall(const SelcalCall& call) override { wiring_.Panel().SelcalReceived(call.Code, call.Channel); }

   private:
    SelcalWiring& wiring_;
  };

  Text text_;
  Statistics stats_;
  HfdlTables hfdlTables_;
  Aircraft aircraft_;
  Map map_;
  Relay relay_;
  Watch watch_;
  Search search_;
  Selcal selcal_;
};

ReceptionWiring::ReceptionWiring(Form1State& form, FormEffects& effects, const HfdlLookups* lookups)
    : form_(form),
      effects_(effects),
      aircraft_(form, effects),
      alerts_(form, effects),
      relay_(std::make_unique<PeerRelay>()),
      links_(std::make_unique<Links>(form, effects, aircraft_, *relay_)),
      radio_(std::make_unique<RadioWiring>(form, effects)),
      map_(std::make_unique<MapWiring>(form, effects)),
      selcal_(std::make_unique<SelcalWiring>(form, effects)),
      road_(form.hfdl, form.acars, form.Etc, form.Map, lookups ? *lookups : links_->Lookups()),
      sinks_(std::make_unique<Sinks>(form, effects, aircraft_, *radio_, *selcal_, alerts_, *relay_)) {
  links_->SetRoad(road_);
  road_.SetRelay(links_.get());
  road_.SetPositionLink(links_.get());
  sinks_->AddTo(road_);
  map_->SetSelcalPanel(selcal_->Panel());
  DrawMap = [this](MapLayers layers) { map_->Redraw(layers); };
  // The timed monitor's end asks for a redraw; the panel's own handler
  // runs first, being connected first.
  timer1Done_ = QObject::connect(&form.selcal.Panel.Timer1, &QTimer::timeout, [this] { RunRequestedRedraws(); });
}

ReceptionWiring::~ReceptionWiring() { QObject::disconnect(timer1Done_); }

void ReceptionWiring::SetPeerLink(PeerLinkSender* link) { relay_->link = link; }

AcarsReceiverLink& ReceptionWiring::AcarsLink() { return *links_; }
HfdlReceiverLink& ReceptionWiring::HfdlLink() { return *links_; }
const HfdlLookups& ReceptionWiring::Lookups() const { return links_->Lookups(); }

void ReceptionWiring::DecodeBlock(int channel, DecoderKind decoder, double* block) {
  if (channel != 0 && channel != 1) return;
  switch (decoder) {
    case DecoderKind::VhfAcars:
      form_.acars.AcarsRx.DemodulateAcarsBlock(*links_, channel, block);
      break;
    case DecoderKind::Hfdl:
      DemodulateHfdlBlock(form_.hfdl, *links_, channel, block);
      break;
    case DecoderKind::Selcal:
      DecodeSelcalBlock(form_.selcal, channel, block, *links_);
      break;
  }
}

void ReceptionWiring::ResetChannel(int channel) {
  if (channel != 0 && channel != 1) return;
  ResetHfdlFrameState(form_.hfdl.Channels[channel]);
  form_.acars.AcarsRx.ResetChannel(*links_, channel);
  ResetSelcalChannel(form_.selcal, channel);
  effects_.PaintLamp(ChannelLamp(channel), kLampBlack);
}

void ReceptionWiring::RunRequestedRedraws() {
  const MapLayers layers = TakeRedrawRequests(form_.mapView);
  if (!layers.Empty() && DrawMap) DrawMap(layers);
}
