#include "audio/tform8.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QThread>
#include <QTreeWidget>

#include "app/audio_wiring.h"
#include "app/centring.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "app/reception_wiring.h"
#include "audio/input_device_choice.h"
#include "audio/wave_devices.h"

namespace {

constexpr int kDeviceRole = Qt::UserRole;

bool OnPath(const std::string& program) {
  return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

}  // namespace

// OK's operations on the real devices, the main window and the notice.
class TForm8::Actions : public InputDeviceActions {
 public:
  explicit Actions(TForm8& dialog) : d_(dialog), f_(dialog.State()) {}

  void ReleaseMonitorButton() override {
    f_.controls.SpeedButton17Down = 0;
    d_.audio_.Effects().ControlsChanged();
  }
  void RedrawAircraftLayer() override { d_.audio_.RequestAircraftLayerRedraw(); }
  void ShowNotice() override {
    if (QWidget* notice = FindTopLevelWindow("Form9")) notice->show();
    d_.audio_.Effects().ProcessMessages();
  }
  void CloseWaveIn() override { ::CloseWaveIn(f_.audio, d_.audio_); }
  void CloseWaveOut() override { ::CloseWaveOut(f_.audio); }
  // The GUI thread does nothing else meanwhile, so no block is processed.
  void Wait() override {
    if (d_.deviceWaitMs_ > 0) QThread::msleep(static_cast<unsigned long>(d_.deviceWaitMs_));
  }
  void SetSampleRate() override { ::SetSampleRate(f_.audio, f_.Wave); }
  bool OpenWaveIn() override { return ::OpenWaveIn(f_.audio, f_.Wave, f_.app.UseEnglish != 0); }
  void CheckRow(int row) override { d_.CheckOnlyRow(row); }
  bool OpenWaveOut() override { return ::OpenWaveOut(f_.audio, f_.app.UseEnglish != 0); }
  void CloseNotice() override {
    if (QWidget* notice = FindTopLevelWindow("Form9")) notice->hide();
  }
  void ResetDemodulatorChannel(int channel) override { d_.audio_.Reception().ResetChannel(channel); }
  void ArrangeStatusIndicators() override { d_.audio_.Effects().ArrangeStatusIndicators(); }

 private:
  TForm8& d_;
  Form1State& f_;
};

int32_t& EditedChannelMode(Form1State& f) { return f.Net.Server && !f.Net.ServerDec ? f.app.SavedWaveDual : f.Wave.WaveDual; }

TForm8::TForm8(Form1State& form, AudioWiring& audio, std::vector<platform::CaptureDevice> devices)
    : SkarvelForm(form, 8), audio_(audio) {
  setWindowTitle(QString::fromUtf8("入力デバイス＆デコーダ動作の選択"));
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  setFixedSize(331, 260);

  listView1_ = new QTreeWidget(this);
  listView1_->setObjectName("ListView1");
  listView1_->setGeometry(8, 8, 315, 96);
  listView1_->setColumnCount(1);
  listView1_->setHeaderLabels({QString::fromUtf8("入力デバイス名")});
  listView1_->setRootIsDecorated(false);
  listView1_->setSelectionMode(QAbstractItemView::SingleSelection);
  listView1_->setSelectionBehavior(QAbstractItemView::SelectRows);
  listView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  auto* label1 = new QLabel(QStringLiteral("SR"), this);
  label1->setObjectName("Label1");
  label1->setGeometry(8, 110, 24, 22);
  comboBox1_ = new QComboBox(this);
  comboBox1_->setObjectName("ComboBox1");
  comboBox1_->setGeometry(34, 110, 80, 22);
  comboBox1_->addItems({QStringLiteral("11kHz"), QStringLiteral("22kHz"), QStringLiteral("44kHz")});

  auto addButton = [this](int number, const char* caption, const QRect& geometry) {
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(QStringLiteral("Button%1").arg(number));
    button->setGeometry(geometry);
    buttons_[number - 1] = button;
    return button;
  };
  addButton(3, "サウンド設定", QRect(200, 109, 123, 25));

  auto* group1 = new QGroupBox(QString::fromUtf8("デコーダ"), this);
  group1->setObjectName("GroupBox1");
  group1->setGeometry(8, 140, 315, 86);
  auto addRadio = [this](int number, QWidget* parent, const char* caption, const QRect& geometry) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), parent);
    radio->setObjectName(QStringLiteral("RadioButton%1").arg(number));
    radio->setGeometry(geometry);
    radios_[number - 1] = radio;
  };
  addRadio(1, group1, "シングル", QRect(10, 24, 80, 20));
  addRadio(2, group1, "デュアル", QRect(10, 50, 80, 20));
  auto addChannel = [&](const char* name, const char* title, int left, int hfdl, int vhf, int selcal) {
    auto* group = new QGroupBox(QString::fromUtf8(title), group1);
    group->setObjectName(name);
    group->setGeometry(left, 6, 104, 76);
    addRadio(hfdl, group, "HF-ACARS", QRect(8, 18, 92, 18));
    addRadio(vhf, group, "VHF-ACARS", QRect(8, 36, 92, 18));
    addRadio(selcal, group, "SelCal", QRect(8, 54, 92, 18));
    return group;
  };
  addChannel("GroupBox2", "L ch", 96, 3, 4, 7);
  groupBox3_ = addChannel("GroupBox3", "R ch", 206, 5, 6, 8);

  addButton(1, "OK", QRect(160, 231, 78, 25))->setDefault(true);
  addButton(2, "キャンセル", QRect(245, 231, 78, 25));

  connect(listView1_, &QTreeWidget::itemClicked, this, [this] { ListView1Click(); });
  // A click on a check box changes only that box: the rule runs again.
  connect(listView1_, &QTreeWidget::itemChanged, this, [this] { ListView1Click(); });
  connect(radios_[0], &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
  connect(radios_[1], &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
  connect(buttons_[0], &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(buttons_[1], &QPushButton::clicked, this, [this] { close(); });
  connect(buttons_[2], &QPushButton::clicked, this, [this] { Button3Click(); });

  // 1, 2. Row 0's caption follows the language at every showing.
  {
    QSignalBlocker block(listView1_);
    auto* row0 = new QTreeWidgetItem(listView1_, {QString::fromUtf8("標準の入力デバイス")});
    row0->setData(0, kDeviceRole, QStringLiteral("default"));
    for (const platform::CaptureDevice& device : devices) {
      auto* row = new QTreeWidgetItem(listView1_, {QString::fromStdString(device.shownName)});
      row->setData(0, kDeviceRole, QString::fromStdString(device.pcmName));
    }
  }
  // 3. A stored device beyond the last row checks none.
  CheckOnlyRow(form.Wave.WaveInput);
  // 4-6.
  mode_ = EditedChannelMode(form);
  decoderL_ = static_cast<int>(form.Wave.DecoderL);
  decoderR_ = static_cast<int>(form.Wave.DecoderR);
  radios_[mode_ == 2 ? 1 : 0]->setChecked(true);
  radios_[decoderL_ == 1 ? 2 : decoderL_ == 2 ? 6 : 3]->setChecked(true);
  radios_[decoderR_ == 1 ? 4 : decoderR_ == 2 ? 7 : 5]->setChecked(true);
  RadioButton1Click();
  // 7. The list cannot be typed into, so the rate is always one of its items.
  comboBox1_->setCurrentIndex(form.Wave.WaveRate);
  // 8.
  mixerAvailable_ = OnPath(kVolumeControlProgram);
}

std::string TForm8::RowDevice(int row) const {
  QTreeWidgetItem* item = listView1_->topLevelItem(row);
  return item ? item->data(0, kDeviceRole).toString().toStdString() : std::string();
}

void TForm8::CheckOnlyRow(int row) {
  QSignalBlocker block(listView1_);
  for (int r = 0; r < listView1_->topLevelItemCount(); ++r) {
    listView1_->topLevelItem(r)->setCheckState(0, r == row ? Qt::Checked : Qt::Unchecked);
  }
}

int TForm8::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = listView1_->selectedItems();
  return selected.isEmpty() ? -1 : listView1_->indexOfTopLevelItem(selected.front());
}

void TForm8::ListView1Click() {
  const int selected = SelectedRow();
  CheckOnlyRow(selected >= 0 ? selected : form_.Wave.WaveInput);
}

void TForm8::RadioButton1Click() {
  const bool dual = radios_[1]->isChecked();
  groupBox3_->setEnabled(dual);
  for (int n : {5, 6, 8}) radios_[n - 1]->setEnabled(dual);
}

void TForm8::Button1Click() {
  // The notice lets messages run: a second OK meanwhile is ignored.
  if (applying_) return;
  applying_ = true;
  mode_ = radios_[0]->isChecked() ? 1 : 2;
  auto decoder = [this](int vhf, int hfdl, int selcal, int working) {
    if (radios_[vhf - 1]->isChecked()) return 0;
    if (radios_[hfdl - 1]->isChecked()) return 1;
    if (radios_[selcal - 1]->isChecked()) return 2;
    return working;
  };
  decoderL_ = decoder(4, 3, 7, decoderL_);
  decoderR_ = decoder(6, 5, 8, decoderR_);
  InputDeviceChoice choice;
  choice.selectedRow = SelectedRow();
  choice.rateIndex = comboBox1_->currentIndex();
  choice.mode = mode_;
  choice.decoderL = static_cast<DecoderKind>(decoderL_);
  choice.decoderR = static_cast<DecoderKind>(decoderR_);
  Actions actions(*this);
  ApplyInputDeviceChoice(form_.Wave, EditedChannelMode(form_), form_.Etc, choice, actions);
  close();
  applying_ = false;
}

void TForm8::Button3Click() {
  // Whether the program started is not reported.
  MixerCommand command = ChooseMixerCommand(mixerAvailable_, OnPath);
  if (command.program.empty()) return;
  QStringList arguments;
  for (const std::string& a : command.arguments) arguments << QString::fromStdString(a);
  QProcess::startDetached(QString::fromStdString(command.program), arguments);
}

void TForm8::PlaceAndFill() {
  if (QTreeWidgetItem* row0 = listView1_->topLevelItem(0)) {
    QSignalBlocker block(listView1_);
    row0->setText(0, form_.app.UseEnglish ? QStringLiteral("Default input device") : QString::fromUtf8("標準の入力デバイス"));
  }
  if (QWidget* main = FindTopLevelWindow("Form1")) CentreOverWindow(*this, *main);
}
