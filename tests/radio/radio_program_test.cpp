// The program tuning its receivers from the squitters of a recording: in
// process on two pseudo-terminals, and as a user without ports runs it.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "app/application.h"
#include "app/tform1.h"
#include "audio/audio_file_options.h"
#include "hfdl_tx/hfdl_frames.h"
#include "hfdl_tx/hfdl_tx.h"
#include "platform/paths.h"
#include "platform/serial_port_list.h"
#include "support/pseudo_terminal.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;

// Station 1 first, its slots 1..8; every other id unused.
std::string FreqsCsv() {
  std::string csv = "Tokyo,21934,17919,13276,11327,10081,8942,6559,5508\r\n";
  for (int id = 2; id <= 18; ++id) csv += "Unused,0\r\n";
  return csv;
}

// 2 s of noise, a squitter of station 1 announcing slots 4, 6 and 7, 6 s of
// noise, one announcing slots 2, 5 and 8, 3 s of noise; mono at 44100 Hz.
void WriteSquitters(const std::string& path) {
  hfdl_tx::SignalOptions options;
  options.noise = true;
  options.sampleRate = 44100;
  std::vector<double> audio;
  auto append = [&](const std::vector<hfdl_tx::Burst>& bursts) {
    ++options.seed;
    const std::vector<double> part = hfdl_tx::Render(bursts, options);  // 1 s of noise around each burst
    audio.insert(audio.end(), part.begin(), part.end());
  };
  auto squitter = [](uint32_t mask) {
    hfdl_tx::SquitterFields f;
    f.gsId = 1;
    f.mask1 = mask;
    return std::vector<hfdl_tx::Burst>{{0, hfdl_tx::BuildSquitter(f), false}};
  };
  append({});
  append(squitter((1u << 3) | (1u << 5) | (1u << 6)));
  for (int s = 0; s < 4; ++s) append({});
  append(squitter((1u << 1) | (1u << 4) | (1u << 7)));
  for (int s = 0; s < 2; ++s) append({});
  std::string error;
  ASSERT_TRUE(hfdl_tx::WriteWave(path, {audio}, options.sampleRate, error)) << error;
}

const char kRadioSettings[] =
    "[Radio]\r\nEngageL=1\r\nEngageR=1\r\nListNoL=0\r\nListNoR=0\r\nSelFreqL=3\r\nSelFreqR=1\r\nTypeL=0\r\nIdL=94\r\n"
    "ComNoL=0\r\nTypeR=4\r\nComNoR=1\r\n";

std::string Frames(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

TEST(RadioProgram, SquitterTunesReceiver) {
  TempDir dir;
  MessageBoxRecorder boxes;
  platform::SetProgramFolderForTests(dir.path());
  std::filesystem::create_directory(dir.File("data"));
  WriteFile(dir.File("data/freqs.csv"), FreqsCsv());
  WriteFile(dir.File("skarvel.ini"), std::string("[Etc]\r\nLanguage=1\r\n") + kRadioSettings);
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

  const std::string mode = Frames({0xFE, 0xFE, 0x94, 0xE0, 0x06, 0x01, 0xFD});
  const std::string expectedL = Frames({0xFE, 0xFE, 0x94, 0xE0, 0x05, 0x00, 0x90, 0x55, 0x06, 0x00, 0xFD}) + mode +
                                Frames({0xFE, 0xFE, 0x94, 0xE0, 0x05, 0x00, 0x80, 0x50, 0x05, 0x00, 0xFD}) + mode;
  const std::string alinco = "AL~RW_RFM00\r\nAL~RW_AGC00\r\nAL~RW_RXF";
  const std::string expectedR = alinco + "08942000\r\n" + alinco + "10081000\r\n";
  // Both masters at once, the file playing in real time.
  std::vector<PtyChunk> l, r;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
  while ((Joined(l).size() < expectedL.size() || Joined(r).size() < expectedR.size()) &&
         std::chrono::steady_clock::now() < deadline) {
    for (auto [pty, chunks] : {std::pair{&left, &l}, std::pair{&right, &r}}) {
      for (PtyChunk& c : ReadMaster(*pty, 1, 20)) chunks->push_back(c);
    }
  }
  // Nothing else arrives.
  for (auto [pty, chunks] : {std::pair{&left, &l}, std::pair{&right, &r}}) {
    for (PtyChunk& c : ReadMaster(*pty, 1, 500)) chunks->push_back(c);
  }
  EXPECT_EQ(HexBytes(Joined(l)), HexBytes(expectedL));
  EXPECT_EQ(Joined(r), expectedR);
  // R's 200 ms after L is the controller's test's, with its own timers: a
  // loaded machine may deliver the two ports' bytes closer together here.

  window->close();
  QCoreApplication::processEvents();
  window.reset();
  platform::SetSerialPortListerForTests(nullptr);
  platform::SetProgramFolderForTests("");
  const std::string ini = ReadFile(dir.File("skarvel.ini"));
  for (const char* line : {"EngageL=1", "EngageR=1", "ListNoL=0", "ListNoR=0", "SelFreqL=3", "SelFreqR=1", "TypeL=0",
                           "IdL=94", "ComNoL=0", "TypeR=4", "ComNoR=1"}) {
    EXPECT_NE(ini.find(std::string("\r\n") + line + "\r\n", ini.find("[Radio]")), std::string::npos) << line;
  }
}

TEST(RadioProgram, MissingPortIsReported) {
  TempDir dir;
  CopyProgramFolder(dir.path());
  WriteFile(dir.File("data/freqs.csv"), FreqsCsv());
  WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n[Radio]\r\nEngageL=1\r\nSelFreqL=3\r\nComNoL=999\r\n");
  WriteFile(dir.File("empty-alsa.conf"), "");
  WriteSquitters(dir.File("squitters.wav"));
  const ProcessResult run =
      RunProgram(dir.File("skarvel"), {"--audio-file", dir.File("squitters.wav"), "--fast"},
                 {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")}, 120000);
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  size_t count = 0;
  for (size_t at = run.standardError.find("Lch: no serial port is chosen"); at != std::string::npos;
       at = run.standardError.find("Lch: no serial port is chosen", at + 1)) {
    ++count;
  }
  EXPECT_EQ(count, 1u) << run.standardError;
}

}  // namespace
