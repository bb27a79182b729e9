#include "app/reception.h"

#include <variant>

#include "acars/acars_parser.h"
#include "acars/acars_position_dispatch.h"
#include "acars/acars_reception.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/hfdl_text.h"

Reception::Reception(HfdlReception& hfdl, AcarsReception& acars, const EtcSettings& etc, const HfdlLookups& lookups)
    : hfdl_(hfdl), acars_(acars), etc_(etc), lookups_(lookups) {}

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
  if (message.Downlink() && message.Whole()) message.Positions = DecodePositions(message, etc_);
  // What the texts hold back follows the last report's store.
  for (const PositionReport& report : message.Positions) message.PositionStored = Deliver(report);
  for (ReceptionSink* sink : sinks_) sink->OnAcarsMessage(message);
}

bool Reception::Deliver(const PositionReport& report) {
  bool stored = false;
  for (ReceptionSink* sink : sinks_) stored = sink->OnPosition(report) || stored;
  return stored;
}
