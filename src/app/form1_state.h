#pragma once
// The main window's state: the settings by section and one part per owner.
// TForm1 owns one and mirrors its control fields onto its widgets; each
// subsystem is handed the parts it uses, and tests build one alone. Text is
// bytes in code page 932.
#include "acars/acars_reception.h"
#include "acars/message_search.h"
#include "aircraft/aircraft_state.h"
#include "aircraft/watch_list.h"
#include "app/app_state.h"
#include "app/main_controls.h"
#include "app/settings_sections.h"
#include "audio/audio_state.h"
#include "exchange/exchange_state.h"
#include "exchange/received_text.h"
#include "hfdl/hfdl_reception.h"
#include "map/map_state.h"
#include "radio/radio_state.h"
#include "selcal/selcal_state.h"

struct Form1State {
  // Every setting holds its default (as a missing settings file gives).
  Form1State();
  Form1State(const Form1State&) = delete;
  Form1State& operator=(const Form1State&) = delete;

  // The settings, by the section of the settings file they are saved in.
  MapSettings Map;
  TxtSettings Txt;
  MailSettings Mail;
  SpecSettings Spec;
  ListSettings List;
  ColorSettings Color;
  PosSettings Pos;
  FormSettings Form;
  NetSettings Net;
  WaveSettings Wave;
  RadioSettings Radio;
  MsgSrchSettings MsgSrch;
  EtcSettings Etc;

  MainControls controls;
  AppState app;
  ReceivedText text;
  AudioState audio;
  HfdlReception hfdl;
  AcarsReception acars;
  MessageSearch messageSearch;
  AircraftState aircraft;
  WatchList watchList;
  MapState mapView;
  ExchangeState exchange;
  SelcalState selcal;
  RadioState radio;
};

// A field of the state named by its path, for tables of fields.
template <typename T>
using StateField = T& (*)(Form1State&);
#define STATE_FIELD(path) [](Form1State& state) -> auto& { return state.path; }
