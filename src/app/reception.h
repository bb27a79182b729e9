#pragma once
// The one road of decoded messages. Sources hand it what they received:
// HFDL frames decoded here or relayed by a linked copy, VHF ACARS blocks,
// and (later) blocks from linked copies, log imports and the DDE item. It
// analyses and parses them into values (HfdlFrame, AcarsMessage,
// PositionReport) and hands each value to its sinks, in the order they were
// added. The order is fixed at start-up (see docs/ARCHITECTURE.md):
//
//   an HFDL frame:     every sink's OnHfdlFrame, then what the frame carries,
//                      in its order: each position report and each ACARS
//                      block (parsed, and delivered as below)
//   an ACARS message:  every sink's OnAcarsBlock, then the position reports
//                      of a whole downlink message as its airline's decoder
//                      finds them (and the completion of a message whose
//                      last report was stored), then every sink's
//                      OnAcarsMessage
//   a position report: every sink's OnPosition; stored when one says so
//   a SELCAL call:     every sink's OnSelcalCall
//
// so that an aircraft is registered before its position is marked and its
// record updated, and the record is stored before the texts are written.
// A new consumer of decoded messages is a new sink; no parser changes.
#include <vector>

#include "acars/acars_message.h"
#include "acars/acars_position_dispatch.h"
#include "app/settings_sections.h"
#include "hfdl/hfdl_frame.h"
#include "selcal/selcal_call.h"

class HfdlLookups;
struct AcarsReception;
struct HfdlReception;

class ReceptionSink {
 public:
  virtual ~ReceptionSink() = default;
  // An analysed HFDL frame, good or failed.
  virtual void OnHfdlFrame(const HfdlFrame&) {}
  // A parsed ACARS block, before its message's positions are delivered.
  virtual void OnAcarsBlock(const AcarsMessage&) {}
  // A position report from either road; true when this sink stored it.
  virtual bool OnPosition(const PositionReport&) { return false; }
  // The ACARS message with its positions delivered.
  virtual void OnAcarsMessage(const AcarsMessage&) {}
  // A SELCAL code from the tone decoder.
  virtual void OnSelcalCall(const SelcalCall&) {}
};

// The link between copies as the road sees it: own frames and blocks may go
// to a server instead of being decoded here, and a server hands them on to
// its clients around its own decoding.
class ReceptionRelay {
 public:
  virtual ~ReceptionRelay() = default;
  // Own reception, before it is decoded here; false when it is not.
  virtual bool BeforeOwnHfdlFrame(const HfdlFrameInput& frame) = 0;
  virtual void AfterOwnHfdlFrame(const HfdlFrameInput& frame) = 0;
  virtual bool BeforeOwnAcarsBlock(const AcarsBlock& block) = 0;
  virtual void AfterOwnAcarsBlock(const AcarsBlock& block) = 0;
};

class Reception {
 public:
  // What the road decodes with: HFDL's and ACARS's own state, and the
  // settings the analysis, the parser and the position decoders read.
  Reception(HfdlReception& hfdl, AcarsReception& acars, const EtcSettings& etc, const MapSettings& map,
            const HfdlLookups& lookups);

  // Sinks in the order they are to see each value.
  void AddSink(ReceptionSink& sink) { sinks_.push_back(&sink); }
  void SetRelay(ReceptionRelay* relay) { relay_ = relay; }
  // What follows a message whose last position report was stored. The
  // reports themselves always go to the sinks.
  void SetPositionLink(PositionLink* link) { positionLink_ = link; }

  // ---- Sources ----
  // A frame this copy received.
  void OwnHfdlFrame(HfdlFrameInput frame);
  // A frame from a linked copy or an imported log, as relay hex text; one
  // longer than any frame is dropped.
  void RelayedHfdlFrame(const std::string& hex, const std::string& sourceTag);
  // A block this copy received on a VHF channel.
  void OwnAcarsBlock(const AcarsBlock& block);
  // A block of any other road (HFDL, a linked copy, an import, DDE).
  void AcarsBlockReceived(const AcarsBlock& block);
  // A call the tone decoder heard on a channel.
  void OwnSelcalCall(const SelcalCall& call);

  // ---- The road itself ----
  void Deliver(const HfdlFrame& frame);
  void Deliver(AcarsMessage message);
  bool Deliver(const PositionReport& report);

 private:
  void AnalyseAndDeliver(HfdlFrameInput frame);

  HfdlReception& hfdl_;
  AcarsReception& acars_;
  const EtcSettings& etc_;
  const MapSettings& map_;
  const HfdlLookups& lookups_;
  ReceptionRelay* relay_ = nullptr;
  PositionLink* positionLink_ = nullptr;
  std::vector<ReceptionSink*> sinks_;
};
