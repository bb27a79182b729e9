#pragma once
// The main window's decoders wired to the one road of decoded messages:
// the links the receivers declare, the lookups the HFDL analysis asks for,
// the relay to linked copies and today's sinks, added in their fixed order.
#include <QMetaObject>
#include <functional>
#include <memory>
#include <vector>

#include "acars/acars_receiver.h"
#include "app/aircraft_wiring.h"
#include "app/alerts_wiring.h"
#include "app/radio_wiring.h"
#include "app/reception.h"
#include "app/selcal_wiring.h"
#include "app/settings_sections.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/hfdl_receiver.h"
#include "map/map_layers.h"

class FormEffects;
class MapWiring;
struct Form1State;

class ReceptionWiring {
 public:
  // The HFDL analysis asks the reference data files unless lookups says
  // otherwise.
  ReceptionWiring(Form1State& form, FormEffects& effects, const HfdlLookups* lookups = nullptr);
  ~ReceptionWiring();
  ReceptionWiring(const ReceptionWiring&) = delete;
  ReceptionWiring& operator=(const ReceptionWiring&) = delete;

  Reception& Road() { return road_; }
  AcarsReceiverLink& AcarsLink();
  HfdlReceiverLink& HfdlLink();
  const HfdlLookups& Lookups() const;
  // What the aircraft table and list change around them.
  AircraftLink& Aircraft() { return aircraft_; }
  // Receiver control, which follows the squitters.
  RadioWiring& Radio() { return *radio_; }
  // The watch list's and the message search's windows, sound and mail.
  AlertsWiring& Alerts() { return alerts_; }
  // The SELCAL panel, which the calls reach.
  SelcalWiring& Selcal() { return *selcal_; }

  // One channel's 512 samples by its decoder, which may overwrite them.
  void DecodeBlock(int channel, DecoderKind decoder, double* block);
  // The channel's decoder changed: its frame, block and SELCAL call start
  // afresh and its lamp goes out.
  void ResetChannel(int channel);
  // Draws the map layers asked for since the last call, once.
  void RunRequestedRedraws();
  // What draws the map; the map's own drawing unless a test puts another.
  std::function<void(MapLayers)> DrawMap;
  // The map's links and its drawing over the state.
  MapWiring& Map() { return *map_; }

 private:
  class Links;
  class Sinks;

  Form1State& form_;
  FormEffects& effects_;
  AircraftWiring aircraft_;
  AlertsWiring alerts_;
  std::unique_ptr<Links> links_;
  std::unique_ptr<RadioWiring> radio_;
  std::unique_ptr<MapWiring> map_;
  std::unique_ptr<SelcalWiring> selcal_;
  Reception road_;
  std::unique_ptr<Sinks> sinks_;
  QMetaObject::Connection timer1Done_;
};
