#include "acars/acars_services.h"

#include <algorithm>

#include "acars/acars_receiver.h"
#include "acars/acars_text_output.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "exchange/exchange_services.h"
#include "hfdl/hfdl_services.h"

namespace {

// The receiver's view of the main form.
class FormReceiverLink : public AcarsReceiverLink {
 public:
  explicit FormReceiverLink(Form1State& form) : form_(form) {}
  void PaintLamp(int channel, TColor colour) override {
    form_.svc.effects->PaintLamp(channel == 0 ? Lamp::Left : Lamp::Right, colour);
  }
  void ResetLampHold(int element) override { form_.audio.RxLampHold[element] = 0; }
  void CountFrame(bool failed) override { form_.svc.hfdl->CountFrame(form_, 30, failed); }
  bool NetConnected() const override { return form_.exchange.NetConnected != 0; }
  bool Server() const override { return form_.Net.Server != 0; }
  bool DupCheckSend() const override { return form_.Net.DupCheckSend != 0; }
  void SendToAllClients(const std::string& text) override { form_.svc.exchange->SendToAllClients(form_, text); }
  void SendToServer(const std::string& text) override { form_.svc.exchange->SendToServer(form_, text); }
  void SetSourceTag(const std::string& tag) override { form_.app.SourceTag = tag; }
  void ParseAcarsBlock(const uint8_t* bits, size_t bitsSize, int bitCount, AcarsEndFlag endFlag) override {
    form_.svc.acars->ParseAcarsBlock(form_, bits, bitsSize, bitCount, endFlag, AcarsSource::Vhf);
  }

 private:
  Form1State& form_;
};

bool ValidChannel(int channel) { return channel == 0 || channel == 1; }

}  // namespace

void AcarsServices::DemodulateAcarsBlock(Form1State& form, int channel) {
  if (!ValidChannel(channel)) return;
  FormReceiverLink link(form);
  form.acars.AcarsRx.DemodulateAcarsBlock(link, channel, form.audio.AudioBlock[channel]);
}

void AcarsServices::ParseAcarsBlock(Form1State& form, const uint8_t* bits, size_t bitsSize, int bitCount,
                                    AcarsEndFlag endFlag, AcarsSource source) {
  form.acars.AcarsParse.ParseAcarsBlock(form, bits, bitsSize, bitCount, endFlag, source);
}

void AcarsServices::TrimTextBuffer(Form1State& form, int kind) { ::TrimTextBuffer(form, kind); }

int AcarsServices::FindLatestAircraft(Form1State& form) {
  const int count = std::min<int>(form.aircraft.AircraftCount, static_cast<int>(form.aircraft.Aircraft.Records.size()));
  for (int i = 0; i < count; ++i) {
    if (form.aircraft.Aircraft.Records[i].Age == 0) return i;
  }
  return 0;
}

bool AcarsServices::InBlock(const Form1State& form, int channel) {
  return ValidChannel(channel) && form.acars.AcarsRx.InBlock(channel);
}

void AcarsServices::ResetAcarsChannel(Form1State& form, int channel) {
  if (!ValidChannel(channel)) return;
  FormReceiverLink link(form);
  form.acars.AcarsRx.ResetChannel(link, channel);
}

void AcarsServices::SearchAcarsMessage(Form1State&, const std::string&, const std::string&, const std::string&) {}

bool AcarsServices::DispatchPositionDecoder(Form1State&, const std::string&, const std::string&, const std::string&,
                                            const std::string&, const std::string&, const std::string&) {
  return false;
}

void AcarsServices::SetAcarsDownlink(Form1State& form, bool downlink) {
  form.acars.AcarsParse.AcarsDownlink = downlink ? 1 : 0;
}

AcarsServices& DefaultAcarsServices() {
  static AcarsServices services;
  return services;
}

void InitAcarsDemodulator(Form1State& form) {
  AcarsDemodTables();
  form.acars.AcarsRx = AcarsReceiver();
}

void InitAcarsStores(Form1State& form) { form.acars.AcarsStore.Clear(); }
