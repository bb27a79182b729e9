// Tuning real serial ports: pseudo-terminals opened here, the program on
// their slave side, the bytes read from their master side.
#include <gtest/gtest.h>
#include <termios.h>

#include <QCoreApplication>
#include <QSerialPort>
#include <chrono>

#include "app/form1_state.h"
#include "app/radio_wiring.h"
#include "support/pseudo_terminal.h"
#include "support/recording_links.h"

namespace {

using Clock = std::chrono::steady_clock;
using testing_support::HexBytes;
using testing_support::Joined;
using testing_support::Pty;
using testing_support::PtyChunk;
using testing_support::ReadMaster;

class SerialPty : public ::testing::Test {
 protected:
  SerialPty() { form_.radio.Ports = {pty_.path, spare_.path}; }
  void Tune(int32_t kHz) {
    form_.radio.TargetFreqL = kHz;
    radio_.Tuner().TuneReceiver(0);
  }
  bool WaitUntilFree() {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (form_.radio.PortBusy && Clock::now() < deadline) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return !form_.radio.PortBusy;
  }

  Pty pty_, spare_;
  Form1State form_;
  testing_support::RecordingEffects effects_;
  RadioWiring radio_{form_, effects_};
};

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST_F(SerialPty, EachFamilyPutsItsFramesOnTheLine) {
  ASSERT_FALSE(pty_.path.empty());
  const int32_t targets[4] = {8942, 21997, 10081, 5000};
  // What each family sends for the four targets (21997 with ICOM address 94).
  // ICOM: the frequency frame's five BCD bytes, then the mode frame.
  auto icom = [](int address, std::initializer_list<int> bcd) {
    std::string frame = Bytes({0xFE, 0xFE, address, 0xE0, 0x05});
    for (int b : bcd) frame += static_cast<char>(b);
    return frame + Bytes({0xFD, 0xFE, 0xFE, address, 0xE0, 0x06, 0x01, 0xFD});
  };
  std::string expected[5][4] = {{icom(0xFF, {0x00, 0x20, 0x94, 0x08, 0x00}),
                                 icom(0x94, {0x00, 0x70, 0x99, 0x21, 0x00}),
                                 icom(0xFF, {0x00, 0x10, 0x08, 0x10, 0x00}),
                                 icom(0xFF, {0x00, 0x00, 0x00, 0x05, 0x00})}};
  std::string yaesu[4] = {Bytes({0x00, 0x89, 0x42, 0x00, 0x01}), Bytes({0x02, 0x19, 0x97, 0x00, 0x01}),
                          Bytes({0x01, 0x00, 0x81, 0x00, 0x01}), Bytes({0x00, 0x50, 0x00, 0x00, 0x01})};
  const char* mhz[4] = {"8.942", "21.997", "10.081", "5"};
  for (int t = 0; t < 4; ++t) {
    const std::string hz = std::to_string(targets[t] * 1000);
    expected[1][t] = std::string(5, '\0') + yaesu[t] + Bytes({0x01, 0, 0, 0, 0x07, 0, 0, 0, 0, 0x80});
    expected[2][t] = std::string("RF") + mhz[t] + "\r\nMD3\r\n";
    expected[3][t] = "FA" + std::string(11 - hz.size(), '0') + hz + ";MD2;";
    expected[4][t] = "AL~RW_RFM00\r\nAL~RW_AGC00\r\nAL~RW_RXF" + std::string(8 - hz.size(), '0') + hz + "\r\n";
  }
  const bool twoStopBits[5] = {true, true, true, false, false};

  for (int family = 0; family < 5; ++family) {
    form_.Radio.TypeL = family;
    for (int t = 0; t < 4; ++t) {
      SCOPED_TRACE(std::to_string(family) + " " + std::to_string(targets[t]));
      form_.Radio.IdL = targets[t] == 21997 ? "94" : "FF";
      // The port is open and set up when the tuning returns, before its
      // first byte goes out; its old settings come back when it closes.
      termios settings{};
      Tune(targets[t]);
      tcgetattr(pty_.slave, &settings);
      const std::vector<PtyChunk> chunks = ReadMaster(pty_, expected[family][t].size(), 3000);
      EXPECT_EQ(HexBytes(Joined(chunks)), HexBytes(expected[family][t]));
      ASSERT_TRUE(WaitUntilFree());
      if (t == 0) {
        EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B9600));
        EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(settings.c_cflag & (PARENB | CRTSCTS), 0u);
        EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);
        EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, twoStopBits[family]);
      }
    }
  }
  // Nothing else came, and every tuning was logged.
  EXPECT_TRUE(ReadMaster(pty_, 1, 300).empty());
  EXPECT_EQ(form_.radio.SendLog.size(), 20u);
  EXPECT_TRUE(effects_.statusTexts.empty());
}

TEST_F(SerialPty, PortsThatCannotBeOpenedAreNamed) {
  QSerialPort other;
  other.setPortName(QString::fromStdString(pty_.path));
  ASSERT_TRUE(other.open(QIODevice::ReadWrite));
  Tune(8942);
  other.close();
  const std::string gone = spare_.path;
  spare_.Close();
  form_.Radio.ComNoL = 1;
  Tune(10081);
  const std::vector<std::string> expected = {"Lch: can not open " + pty_.path + ": in use by another program",
                                             "Lch: can not open " + gone + ": not found"};
  EXPECT_EQ(form_.radio.SendLog, expected);
  EXPECT_EQ(effects_.statusTexts, expected);
  EXPECT_EQ(form_.radio.PortBusy, 0);
}

}  // namespace
