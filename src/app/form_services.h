#pragma once
// The seam between subsystems. GUI-free code reaches the operations of other
// subsystems, and the widgets' effects, through these pointers; each points
// at its subsystem's default implementation unless a test or the main window
// puts another in its place.

class AcarsServices;
class AircraftServices;
class MapServices;
class ExchangeServices;
class SelcalServices;
class RadioServices;
class HfdlServices;
class FormEffects;

struct Form1Services {
  Form1Services();

  AcarsServices* acars;
  AircraftServices* aircraft;
  MapServices* map;
  ExchangeServices* exchange;
  SelcalServices* selcal;
  RadioServices* radio;
  HfdlServices* hfdl;
  FormEffects* effects;
};
