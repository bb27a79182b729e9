#include "radio/tform24.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QValidator>
#include <QSignalBlocker>
#include <algorithm>

#include "app/form1_state.h"
#include "platform/cp932.h"
#include "platform/serial_port_list.h"
#include "platform/text_room.h"
#include "platform/window_stacking.h"
#include "radio/frequency_list.h"
#include "radio/tform25.h"
#include "radio/tform29.h"

namespace {

struct ChannelNames {
  const char* group;
  const char* groupCaption;
  const char* labels[6];  // station, control, target, port, receiver, address
  const char* combos[5];
  const char* edit;
  const char* list;
  const char* manual;
};

constexpr ChannelNames kNames[2] = {
    {"GroupBox1", "L ch",
     {"Label9", "Label4", "Label1", "Label2", "Label10", "Label3"},
     {"ComboBox7", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox8"},
     "Edit1", "Button3", "Button4"},
    {"GroupBox2", "R ch",
     {"Label11", "Label5", "Label6", "Label7", "Label12", "Label8"},
     {"ComboBox9", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox10"},
     "Edit2", "Button2", "Button5"}};

constexpr const char* kLabelCaptions[6] = {"基地局",     "動作",   "制御対象周波数",
                                           "ポート番号", "無線機", "無線機アドレス(HEX)"};

// The [Radio] settings of each receiver.
struct ChannelSettings {
  int32_t RadioSettings::*listNo;
  flag RadioSettings::*engage;
  int32_t RadioSettings::*selFreq;
  int32_t RadioSettings::*comNo;
  int32_t RadioSettings::*type;
  std::string RadioSettings::*id;
};

constexpr ChannelSettings kSettings[2] = {
    {&RadioSettings::ListNoL, &RadioSettings::EngageL, &RadioSettings::SelFreqL, &RadioSettings::ComNoL,
     &RadioSettings::TypeL, &RadioSettings::IdL},
    {&RadioSettings::ListNoR, &RadioSettings::EngageR, &RadioSettings::SelFreqR, &RadioSettings::ComNoR,
     &RadioSettings::TypeR, &RadioSettings::IdR}};

// The designed widths, the least the controls get; the station combo's list
// opens at least kOpenListWidth wide.
constexpr int kGroupWidth = 241;
constexpr int kLabelWidth = 128;
constexpr int kStationWidth = 81;
constexpr int kComboWidth = 93;
constexpr int kOpenListWidth = 200;

// The station combo's list opens wider than the combo.
class StationComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  void showPopup() override {
    view()->setMinimumWidth(kOpenListWidth);
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    view()->setMinimumWidth(0);
  }
};

// At most two hexadecimal digits, shown upper-case as they are typed.
class AddressValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    if (input.size() > 2) return Invalid;
    for (QChar c : input) {
      if (!c.isDigit() && (c < QChar('A') || c > QChar('F'))) return Invalid;
    }
    return Acceptable;
  }
};

}  // namespace

TForm24::TForm24(Form1State& form, FrequencyListLink& tuner) : SkarvelForm(form, 24), tuner_(tuner) {
  setWindowTitle(QString::fromUtf8("HFDL自動周波数制御設定"));
  platform::SetStayOnTop(this, true);
  form.radio.Ports = platform::ListSerialPorts();
  for (int channel = 0; channel < 2; ++channel) BuildChannel(channel);
  button1_ = new QPushButton(QString::fromUtf8("強制設定"), this);
  button1_->setObjectName("Button1");
  button1_->setAutoDefault(false);
  connect(button1_, &QPushButton::clicked, this,
          [this] { ForceSetting(form_.radio, form_.Radio, form_.hfdl, tuner_); });
  memo1_ = new QPlainTextEdit(this);
  memo1_->setObjectName("Memo1");
  memo1_->setReadOnly(true);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  for (const std::string& line : form.radio.SendLog) memo1_->appendPlainText(QString::fromLatin1(line.c_str()));
  form.radio.SendLogAdded = [this](const std::string& line) {
    memo1_->appendPlainText(QString::fromLatin1(line.c_str()));
  };
  for (int channel = 0; channel < 2; ++channel) LoadSettings(channel);
  EnableForceButton();
  FitToTexts();
}

TForm24::~TForm24() { form_.radio.SendLogAdded = nullptr; }

void TForm24::BuildChannel(int channel) {
  const ChannelNames& names = kNames[channel];
  const ChannelSettings& s = kSettings[channel];
  Channel& c = channels_[static_cast<size_t>(channel)];
  auto* group = new QGroupBox(QString::fromLatin1(names.groupCaption), this);
  group->setObjectName(names.group);
  c.group = group;
  for (int n = 0; n < 6; ++n) {
    auto* label = new QLabel(QString::fromUtf8(kLabelCaptions[n]), group);
    label->setObjectName(names.labels[n]);
    c.labels[static_cast<size_t>(n)] = label;
  }
  QComboBox** combos[5] = {&c.station, &c.control, &c.target, &c.port, &c.radio};
  for (int n = 0; n < 5; ++n) {
    QComboBox* combo = n == 0 ? new StationComboBox(group) : new QComboBox(group);
    combo->setObjectName(names.combos[n]);
    *combos[n] = combo;
  }
  c.control->addItems({"OFF", "ON"});
  c.target->addItems({"Frequency1", "Frequency2", "Frequency3", "Most Low", "Most High", "Manual"});
  for (const std::string& port : form_.radio.Ports) c.port->addItem(QString::fromLocal8Bit(port.c_str()));
  c.radio->addItems({"ICOM", "YAESU", "AOR", "KENWOOD", "ALINCO"});
  c.address = new QLineEdit(group);
  c.address->setObjectName(names.edit);
  c.address->setMaxLength(2);
  c.address->setValidator(new AddressValidator(c.address));
  c.addressLabel = c.labels[5];
  c.list = new QPushButton(QString::fromUtf8("周波数リストから周波数を設定"), group);
  c.list->setObjectName(names.list);
  c.manual = new QPushButton(QString::fromUtf8("手動周波数設定"), group);
  c.manual->setObjectName(names.manual);
  for (QPushButton* b : {c.list, c.manual}) b->setAutoDefault(false);
  FillStations(channel);

  RadioSettings& r = form_.Radio;
  connect(c.station, &QComboBox::currentIndexChanged, this, [&r, s](int i) { r.*s.listNo = i; });
  connect(c.control, &QComboBox::currentIndexChanged, this, [this, channel](int i) { ControlChange(channel, i); });
  connect(c.target, &QComboBox::currentIndexChanged, this, [this, channel](int i) { TargetChange(channel, i); });
  connect(c.port, &QComboBox::currentIndexChanged, this, [&r, s](int i) { r.*s.comNo = i; });
  connect(c.radio, &QComboBox::currentIndexChanged, this, [this, channel](int i) { RadioChange(channel, i); });
  connect(c.address, &QLineEdit::textChanged, this,
          [&r, s](const QString& text) { r.*s.id = platform::QStringToCp932(text); });
  connect(c.list, &QPushButton::clicked, this, [channel] {
    if (auto* grid = qobject_cast<TForm25*>(platform::FindTopLevelWindow("Form25"))) grid->OpenFor(channel);
  });
  connect(c.manual, &QPushButton::clicked, this, [channel] {
    if (auto* keypad = qobject_cast<TForm29*>(platform::FindTopLevelWindow("Form29"))) keypad->OpenFor(channel);
  });
}

// The captions of the language in use and every station's name show
// whole: the columns of labels and combos widen to them, the window with
// them.
void TForm24::FitToTexts() {
  int labelWidth = kLabelWidth, stationWidth = kStationWidth, comboWidth = kComboWidth;
  for (const Channel& c : channels_) {
    for (QLabel* label : c.labels) labelWidth = std::max(labelWidth, label->sizeHint().width());
    stationWidth = std::max(stationWidth, platform::ComboBoxWidth(*c.station));
    for (QComboBox* combo : {c.control, c.target, c.port, c.radio}) {
      comboWidth = std::max(comboWidth, platform::ComboBoxWidth(*combo));
    }
  }
  const int comboLeft = 8 + labelWidth + 4;
  const int groupWidth = std::max(kGroupWidth, comboLeft + std::max(stationWidth, comboWidth) + 8);
  for (int channel = 0; channel < 2; ++channel) {
    const Channel& c = channels_[static_cast<size_t>(channel)];
    c.group->setGeometry(8 + (groupWidth + 7) * channel, 8, groupWidth, 268);
    for (int n = 0; n < 6; ++n) c.labels[static_cast<size_t>(n)]->setGeometry(8, 24 + 28 * n, labelWidth, 22);
    QComboBox* const combos[5] = {c.station, c.control, c.target, c.port, c.radio};
    for (int n = 0; n < 5; ++n) combos[n]->setGeometry(comboLeft, 24 + 28 * n, n == 0 ? stationWidth : comboWidth, 22);
    c.address->setGeometry(comboLeft, 164, comboWidth, 22);
    c.list->setGeometry(8, 200, groupWidth - 16, 25);
    c.manual->setGeometry(8, 232, groupWidth - 16, 25);
  }
  const int width = 2 * groupWidth + 23;
  button1_->setGeometry(8, 284, width - 16, 25);
  memo1_->setGeometry(8, 316, width - 16, 106);
  setFixedSize(width, 430);
}

void TForm24::FillStations(int channel) {
  QComboBox* combo = channels_[static_cast<size_t>(channel)].station;
  QSignalBlocker block(combo);
  combo->clear();
  for (int id : UsedStations(form_.hfdl)) {
    combo->addItem(platform::Cp932ToQString(form_.hfdl.GsNames[static_cast<size_t>(id)]));
  }
  combo->setMaxVisibleItems(combo->count() + 1);
  // The setting stays a row index; one past the rows shows no station.
  combo->setCurrentIndex(form_.Radio.*kSettings[channel].listNo);
}

void TForm24::LoadSettings(int channel) {
  const Channel& c = channels_[static_cast<size_t>(channel)];
  const ChannelSettings& s = kSettings[channel];
  const RadioSettings& r = form_.Radio;
  for (QObject* control : std::initializer_list<QObject*>{c.control, c.target, c.port, c.radio, c.address}) {
    control->blockSignals(true);
  }
  // A value out of range shows no selection.
  c.control->setCurrentIndex(r.*s.engage ? 1 : 0);
  c.target->setCurrentIndex(r.*s.selFreq);
  c.port->setCurrentIndex(r.*s.comNo);
  c.address->setText(platform::Cp932ToQString(r.*s.id).toUpper());
  c.radio->setCurrentIndex(r.*s.type);
  for (QObject* control : std::initializer_list<QObject*>{c.control, c.target, c.port, c.radio, c.address}) {
    control->blockSignals(false);
  }
  const bool on = c.control->currentIndex() == 1;
  c.list->setEnabled(on);
  c.manual->setEnabled(on && c.target->currentIndex() == kManual);
  const bool icom = c.radio->currentIndex() == 0;
  c.address->setEnabled(icom);
  c.addressLabel->setEnabled(icom);
}

void TForm24::PlaceAndFill() {
  // The stations of the table as it is now.
  for (int channel = 0; channel < 2; ++channel) FillStations(channel);
  FitToTexts();
}

void TForm24::ControlChange(int channel, int index) {
  const Channel& c = channels_[static_cast<size_t>(channel)];
  form_.Radio.*kSettings[channel].engage = index != 0 ? 1 : 0;
  if (index != 1) {
    c.list->setEnabled(false);
    c.manual->setEnabled(false);
    CloseKeypadOf(channel);
  } else {
    c.list->setEnabled(true);
    c.manual->setEnabled(c.target->currentIndex() == kManual);
  }
  EnableForceButton();
}

void TForm24::TargetChange(int channel, int index) {
  form_.Radio.*kSettings[channel].selFreq = index;
  // Manual enables its button even while control is off.
  channels_[static_cast<size_t>(channel)].manual->setEnabled(index == kManual);
  if (index != kManual) CloseKeypadOf(channel);
}

void TForm24::RadioChange(int channel, int index) {
  const Channel& c = channels_[static_cast<size_t>(channel)];
  form_.Radio.*kSettings[channel].type = index;
  c.address->setEnabled(index == 0);
  c.addressLabel->setEnabled(index == 0);
}

void TForm24::CloseKeypadOf(int channel) {
  QWidget* keypad = platform::FindTopLevelWindow("Form29");
  if (keypad && keypad->isVisible() && form_.radio.KeypadChannel == channel) keypad->close();
}

void TForm24::EnableForceButton() {
  button1_->setEnabled(channels_[0].list->isEnabledTo(this) || channels_[1].list->isEnabledTo(this));
}
