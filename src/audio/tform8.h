#pragma once
// The input-device and decoder-mode dialog: the recording device, the
// sample rate, single or dual channel and each channel's decoder. When the
// device or the rate changes it re-opens the sound devices behind a notice.
#include <vector>

#include "app/skarvel_form.h"
#include "platform/capture_devices.h"

class AudioWiring;

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTreeWidget;

class TForm8 : public SkarvelForm {
  Q_OBJECT
 public:
  // Row 0 is the default device; row r >= 1 is devices[r - 1].
  TForm8(Form1State& form, AudioWiring& audio,
         std::vector<platform::CaptureDevice> devices = platform::EnumerateCaptureDevices());

  QTreeWidget* ListView1() const { return listView1_; }
  QComboBox* ComboBox1() const { return comboBox1_; }
  QRadioButton* RadioButton(int n) const { return n >= 1 && n <= 8 ? radios_[n - 1] : nullptr; }
  QPushButton* Button(int n) const { return n >= 1 && n <= 3 ? buttons_[n - 1] : nullptr; }
  bool MixerAvailable() const { return mixerAvailable_; }
  // The ALSA name of a row's device ("default" for row 0).
  std::string RowDevice(int row) const;
  // The pause between closing and re-opening the devices (tests: 0).
  void SetDeviceWaitMs(int ms) { deviceWaitMs_ = ms; }

  void ListView1Click();
  void RadioButton1Click();
  void Button1Click();
  void Button3Click();

 protected:
  void PlaceAndFill() override;

 private:
  class Actions;
  void CheckOnlyRow(int row);
  int SelectedRow() const;

  AudioWiring& audio_;
  QTreeWidget* listView1_ = nullptr;
  QComboBox* comboBox1_ = nullptr;
  QGroupBox* groupBox3_ = nullptr;
  QRadioButton* radios_[8] = {};
  QPushButton* buttons_[3] = {};
  bool mixerAvailable_ = false;
  bool applying_ = false;
  int deviceWaitMs_ = 1000;
  // The working copies: the mode and the decoders as last applied.
  int mode_ = 1;
  int decoderL_ = 1;
  int decoderR_ = 1;
};

// The member that holds the channel mode the dialog edits. A server that
// does not decode keeps WaveDual at 0 for the run: its dialog edits the
// mode kept aside for the settings file instead.
int32_t& EditedChannelMode(Form1State& form);
