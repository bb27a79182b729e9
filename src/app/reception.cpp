#include "app/reception.h"

#include <variant>

#include "acars/acars_parser.h"
#include "acars/acars_reception.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/hfdl_text.h"

namespace {

// The decoders' link for one message: each report goes to the sinks and is
// kept with the message; the completion goes to the program's link.
class MessagePositions : public PositionLink {
 public:
  MessagePositions(Reception& road, AcarsMessage& message, PositionLink* completion)
      : road_(road), message_(message), completion_(completion) {}
  bool StorePosition(const PositionReport& report) override {
    message_.Positions.push_back(report);
    return road_.Deliver(report);
  }
  void SetAircraftReportId(const std::string& flightId, const std::string& reportId) override {
    if (completion_) completion_->SetAircraftReportId(flightId, reportId);
  }
  void FollowStoredPosition() override {
    if (completion_) completion_->FollowStoredPosition();
  }
  void MarkPositionReceived(const std::string& flightId, const std::string& registration) override {
    if (completion_) completion_->MarkPositionReceived(flightId, registration);
  }

 private:
  Reception& road_;
  AcarsMessage& message_;
  PositionLink* completion_;
};

}  // namespace

Reception::Reception(HfdlReception& hfdl, AcarsReception& acars, const EtcSettings& etc, const MapSettings& map,
                     const HfdlLookups& lookups)
    : hfdl_(hfdl), acars_(acars), etc_(etc), map_(map), lookups_(lookups) {}

void Reception::OwnHfdlFrame(HfdlFrameInput frame) {
  if (!relay_) return AnalyseAndDeliver(std::move(frame));
  if (!relay_->BeforeOwnHfdlFrame(frame)) return;
  AnalyseAndDeliver(frame);
  relay_->AfterOwnHfdlFrame(frame);
}

void Reception::RelayedHfdlFrame(const std::string& hex, const std::string& sourceTag) {
  HfdlFrameInput frame;
  if (!HfdlHexToInput(hex, frame)) return;
  frame.SourceTag = sourceTag;
  AnalyseAndDeliver(std::move(frame));
}

void Reception::AnalyseAndDeliver(HfdlFrameInput frame) {
  Deliver(AnalyzeHfdlFrame(hfdl_, etc_, lookups_, std::move(frame)));
}

void Reception::OwnAcarsBlock(const AcarsBlock& block) {
  if (relay_ && !relay_->BeforeOwnAcarsBlock(block)) return;
  AcarsBlockReceived(block);
  if (relay_) relay_->AfterOwnAcarsBlock(block);
}

void Reception::AcarsBlockReceived(const AcarsBlock& block) {
  std::optional<AcarsMessage> message = ParseAcarsBlock(acars_, etc_, block);
  if (message) Deliver(std::move(*message));
}

void Reception::OwnSelcalCall(const SelcalCall& call) {
  for (ReceptionSink* sink : sinks_) sink->OnSelcalCall(call);
}

void Reception::Deliver(const HfdlFrame& frame) {
  for (ReceptionSink* sink : sinks_) sink->OnHfdlFrame(frame);
  for (const HfdlDelivery& item : frame.Deliveries) {
    if (const auto* report = std::get_if<PositionReport>(&item)) {
      Deliver(*report);
    } else {
      AcarsBlockReceived(std::get<AcarsBlock>(item));
    }
  }
}

void Reception::Deliver(AcarsMessage message) {
  for (ReceptionSink* sink : sinks_) sink->OnAcarsBlock(message);
  if (message.Downlink() && message.Whole()) {
    const AcarsFields& f = message.Fields;
    // An assembled message is decoded whole; a single block's own text as
    // it came, up to a NUL from the air.
    const std::string& text = message.Completion == AcarsCompletion::Assembled ? message.Text : f.Text;
    MessagePositions positions(*this, message, positionLink_);
    // What the texts hold back follows the last report's store.
    message.PositionStored = DispatchPositionDecoder(acars_.PositionDecoders, map_, positions, text, f.FlightId,
                                                     f.Address, f.Label, f.MsgNo, "ACARS:" + f.StationName);
  }
  for (ReceptionSink* sink : sinks_) sink->OnAcarsMessage(message);
}

bool Reception::Deliver(const PositionReport& report) {
  bool stored = false;
  for (ReceptionSink* sink : sinks_) stored = sink->OnPosition(report) || stored;
  return stored;
}
