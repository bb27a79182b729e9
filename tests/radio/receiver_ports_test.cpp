// The receivers on real serial ports: pseudo-terminals opened here, the
// program on their slave side, the bytes read from their master side; and
// the program tuning its receivers from the squitters of a recording.
#include <gtest/gtest.h>
#include <termios.h>

#include <QApplication>
#include <QSerialPort>
#include <array>
#include <chrono>
#include <filesystem>

#include "app/application.h"
#include "app/form1_state.h"
#include "app/radio_wiring.h"
#include "app/tform1.h"
#include "audio/audio_file_options.h"
#include "hfdl_tx/hfdl_frames.h"
#include "hfdl_tx/hfdl_tx.h"
#include "platform/paths.h"
#include "platform/serial_port_list.h"
#include "support/pseudo_terminal.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;

class SerialPty : public ::testing::Test {
 protected:
  SerialPty() { form_.radio.Ports = {pty_.path, spare_.path}; }
  void Tune(int32_t kHz) {
    form_.radio.TargetFreqL = kHz;
    radio_.Tuner().TuneReceiver(0);
  }
  bool WaitUntilFree() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (form_.radio.PortBusy && std::chrono::steady_clock::now() < deadline) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return !form_.radio.PortBusy;
  }

  Pty pty_, spare_;
  Form1State form_;
  RecordingEffects effects_;
  RadioWiring radio_{form_, effects_};
};

// What each family (ICOM, YAESU, AOR, KENWOOD, ALINCO) puts on the line,
// the binary ones in hex, for targets that would show a digit out of place:
// a CI-V address of 94 and of one digit, zeros inside, a whole megahertz,
// and 2002 kHz, which floating point made 1 Hz short. The port is set up
// (9600 baud, 8 bits, no parity or flow control, the family's stop bits)
// when the tuning returns, before its first byte goes out.
TEST_F(SerialPty, EachFamilyPutsItsFramesOnTheLine) {
  ASSERT_FALSE(pty_.path.empty());
  auto icom = [](const std::string& a, const std::string& bcd) {
    return "FE FE " + a + " E0 05 " + bcd + " FD FE FE " + a + " E0 06 01 FD ";
  };
  auto yaesu = [](const std::string& bcd) { return "00 00 00 00 00 " + bcd + " 01 00 00 00 07 00 00 00 00 80 "; };
  auto alinco = [](const std::string& hz) { return "AL~RW_RFM00\r\nAL~RW_AGC00\r\nAL~RW_RXF" + hz + "\r\n"; };
  struct Row {
    int32_t kHz;
    const char* address;
    std::array<std::string, 5> sent;
  };
  const Row rows[] = {
      {21997, "94", {icom("94", "00 70 99 21 00"), yaesu("02 19 97 00 01"), "RF21.997\r\nMD3\r\n", "FA00021997000;MD2;",
                     alinco("21997000")}},
      {10081, "FF", {icom("FF", "00 10 08 10 00"), yaesu("01 00 81 00 01"), "RF10.081\r\nMD3\r\n", "FA00010081000;MD2;",
                     alinco("10081000")}},
      {5000, "FF", {icom("FF", "00 00 00 05 00"), yaesu("00 50 00 00 01"), "RF5\r\nMD3\r\n", "FA00005000000;MD2;",
                    alinco("05000000")}},
      {2002, "5", {icom("05", "00 20 00 02 00"), yaesu("00 20 02 00 01"), "RF2.002\r\nMD3\r\n", "FA00002002000;MD2;",
                   alinco("02002000")}},
  };
  for (int family = 0; family < 5; ++family) {
    form_.Radio.TypeL = family;
    for (const Row& row : rows) {
      SCOPED_TRACE(std::to_string(family) + " " + std::to_string(row.kHz));
      form_.Radio.IdL = row.address;
      const std::string expected = family <= 1 ? row.sent[family] : HexBytes(row.sent[family]);
      termios settings{};
      Tune(row.kHz);
      tcgetattr(pty_.slave, &settings);
      EXPECT_EQ(HexBytes(Joined(ReadMaster(pty_, expected.size() / 3, 3000))), expected);
      ASSERT_TRUE(WaitUntilFree());
      EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B9600));
      EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CRTSCTS), static_cast<tcflag_t>(CS8));
      EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);
      EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, family <= 2);
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

// 2 s of noise, a squitter of station 1 announcing slots 4, 6 and 7, 6 s of
// noise, one announcing slots 2, 5 and 8, 3 s of noise; mono at 44100 Hz.
void WriteSquitters(const std::string& path) {
  hfdl_tx::SignalOptions options;
  options.noise = true;
  options.sampleRate = 44100;
  std::vector<double> audio;
  auto append = [&](uint32_t mask) {
    ++options.seed;
    hfdl_tx::SquitterFields f;
    f.gsId = 1;
    f.mask1 = mask;
    std::vector<hfdl_tx::Burst> bursts;
    if (mask) bursts.push_back({0, hfdl_tx::BuildSquitter(f), false});
    const std::vector<double> part = hfdl_tx::Render(bursts, options);  // 1 s of noise around each burst
    audio.insert(audio.end(), part.begin(), part.end());
  };
  for (uint32_t mask : {0u, (1u << 3) | (1u << 5) | (1u << 6), 0u, 0u, 0u, 0u, (1u << 1) | (1u << 4) | (1u << 7), 0u, 0u}) {
    append(mask);
  }
  std::string error;
  ASSERT_TRUE(hfdl_tx::WriteWave(path, {audio}, options.sampleRate, error)) << error;
}

// L: ICOM at address 94 on the first port; R: ALINCO on the second; both
// follow Tokyo, row 0, choosing differently.
TEST(RadioProgram, SquittersTuneBothReceivers) {
  TempDir dir;
  MessageBoxRecorder boxes;
  platform::SetProgramFolderForTests(dir.path());
  std::filesystem::create_directory(dir.File("data"));
  // Station 1 first, its slots 1..8; every other id unused.
  std::string csv = "Tokyo,21934,17919,13276,11327,10081,8942,6559,5508\r\n";
  for (int id = 2; id <= 18; ++id) csv += "Unused,0\r\n";
  WriteFile(dir.File("data/freqs.csv"), csv);
  const std::vector<std::string> radio = {"EngageL=1", "EngageR=1", "ListNoL=0", "ListNoR=0", "SelFreqL=3", "SelFreqR=1",
                                          "TypeL=0",   "IdL=94",    "ComNoL=0",  "TypeR=4",   "ComNoR=1"};
  std::string ini = "[Etc]\r\nLanguage=1\r\n[Radio]\r\n";
  for (const std::string& line : radio) ini += line + "\r\n";
  WriteFile(dir.File("skarvel.ini"), ini);
  WriteSquitters(dir.File("squitters.wav"));
  Pty left, right;
  ASSERT_FALSE(left.path.empty());
  platform::SetSerialPortListerForTests([&] { return std::vector<std::string>{left.path, right.path}; });

  AudioFileOptions options;
  std::string error;
  ASSERT_TRUE(ParseAudioFileOptions({"skarvel", "--audio-file", QString::fromStdString(dir.File("squitters.wav"))},
                                    options, error))
      << error;
  std::unique_ptr<AudioDeviceFactory> devices = MakeAudioDevices(options);
  std::unique_ptr<TForm1> window = StartMainWindow(nullptr, devices.get());

  // 6559 kHz, then 5508 kHz; 8942 kHz, then 10081 kHz.
  const std::string mode = "FE FE 94 E0 06 01 FD ";
  const std::string expectedL = "FE FE 94 E0 05 00 90 55 06 00 FD " + mode + "FE FE 94 E0 05 00 80 50 05 00 FD " + mode;
  const std::string alinco = "AL~RW_RFM00\r\nAL~RW_AGC00\r\nAL~RW_RXF";
  const std::string expectedR = alinco + "08942000\r\n" + alinco + "10081000\r\n";
  // Both masters at once, the file playing in real time; then nothing else.
  std::string l, r;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
  while ((l.size() < expectedL.size() / 3 || r.size() < expectedR.size()) && std::chrono::steady_clock::now() < deadline) {
    l += Joined(ReadMaster(left, 1, 20));
    r += Joined(ReadMaster(right, 1, 20));
  }
  l += Joined(ReadMaster(left, 1, 500));
  r += Joined(ReadMaster(right, 1, 500));
  EXPECT_EQ(HexBytes(l), expectedL);
  EXPECT_EQ(r, expectedR);

  window->close();
  QCoreApplication::processEvents();
  window.reset();
  platform::SetSerialPortListerForTests(nullptr);
  platform::SetProgramFolderForTests("");
  ini = ReadFile(dir.File("skarvel.ini"));
  for (const std::string& line : radio) {
    EXPECT_NE(ini.find("\r\n" + line + "\r\n", ini.find("[Radio]")), std::string::npos) << line;
  }
}

}  // namespace
