#include "app/dialogs.h"

#include "acars/acars_forms.h"
#include "aircraft/aircraft_forms.h"
#include "app/app_forms.h"
#include "app/tform1.h"
#include "audio/audio_forms.h"
#include "exchange/exchange_forms.h"
#include "hfdl/hfdl_forms.h"
#include "map/map_forms.h"
#include "radio/radio_forms.h"
#include "selcal/selcal_forms.h"

void CreateDialogs(TForm1& w) {
  Form1State& f = w.State();
  FrequencyListLink& tuner = w.Reception().Radio().Tuner();
  w.AddForm(new TForm2(f, w.Reception().Alerts()));
  w.AddForm(new TForm3(f));
  w.AddForm(new TForm4(f, w.Reception()));
  w.AddForm(new TForm5(f, w.Reception()));
  w.AddForm(new TForm6(f));
  w.AddForm(new TForm7(f));
  w.AddForm(new TForm8(f, w.Audio()));
  w.AddForm(new TForm9(f));
  w.AddForm(new TForm10(f));
  w.AddForm(new TForm11(f));
  w.AddForm(new TForm12(f, w.Link().Link()));
  w.AddForm(new TForm13(f, w.Link().Link()));
  w.AddForm(new TForm14(f));
  w.AddForm(new TForm15(f, w.Link().Link()));
  w.AddForm(new TForm16(f, w.Link().Import()));
  w.AddForm(new TForm17(f, w.Reception()));
  w.AddForm(new TForm18(f));
  w.AddForm(new TForm19(f, w.Reception()));
  w.AddForm(new TForm20(f, tuner));
  w.AddForm(new TForm21(f));
  w.AddForm(new TForm22(f));
  w.AddForm(new TForm23(f));
  w.AddForm(new TForm24(f, tuner));
  w.AddForm(new TForm25(f, tuner));
  w.AddForm(new TForm26(f, w.Reception()));
  w.AddForm(new TForm28(f));
  w.AddForm(new TForm29(f, tuner));
  w.AddForm(new TForm30(f));
  w.AddForm(new TForm31(f));
}
