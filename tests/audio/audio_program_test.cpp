// The real program fed from a wave file, and without a sound card, as a
// user without a radio runs it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <cmath>
#include <vector>

#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Seconds of a tone.
void WriteSeconds(const std::string& path, int rate, int channels, int seconds) {
  std::vector<int16_t> samples(static_cast<size_t>(rate) * static_cast<size_t>(seconds) * static_cast<size_t>(channels));
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(4000.0 * std::sin(0.05 * i));
  ASSERT_TRUE(testing_support::WriteWave16(path, rate, channels, samples));
}

class AudioProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::CopyProgramFolder(dir_.path());
    testing_support::WriteFile(dir_.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
    testing_support::WriteFile(dir_.File("empty-alsa.conf"), "");
  }
  testing_support::ProcessResult Run(const std::vector<std::string>& args, int timeoutMs = 60000,
                                     const std::optional<std::string>& input = std::nullopt) {
    return RunProgram(dir_.File("skarvel"), args,
                      {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir_.File("empty-alsa.conf")}, timeoutMs,
                      input);
  }

  TempDir dir_;
};

TEST_F(AudioProgram, FastRunOfATenSecondStereoFileProcessesEveryBufferAndCloses) {
  WriteSeconds(dir_.File("ten_seconds_44k_stereo.wav"), 44100, 2, 10);
  auto r = Run({"--audio-file", dir_.File("ten_seconds_44k_stereo.wav"), "--fast"});
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  EXPECT_EQ(Count(r.standardError, "audio-file: 216 buffers processed\n"), 1) << r.standardError;
  EXPECT_EQ(Count(r.standardError, "Can not open the play device"), 1);
  EXPECT_EQ(Count(r.standardError, "recoding"), 0);
  const std::string ini = ReadFile(dir_.File("skarvel.ini"));
  // Closing saved the settings, the capture's rate as the user had it.
  const size_t wave = ini.find("[Wave]\r\n");
  ASSERT_NE(wave, std::string::npos);
  EXPECT_NE(ini.find("Rate=0\r\n", wave), std::string::npos);
}

TEST_F(AudioProgram, FastRunOfAMono11025File) {
  WriteSeconds(dir_.File("mono.wav"), 11025, 1, 10);
  auto r = Run({"--audio-file", "mono.wav", "--fast"});
  // A relative path is not taken from the program folder.
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.standardError.find("mono.wav: no such file"), std::string::npos) << r.standardError;
  r = Run({"--audio-file", dir_.File("mono.wav"), "--fast"});
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  EXPECT_EQ(Count(r.standardError, "audio-file: 216 buffers processed\n"), 1) << r.standardError;
}

TEST_F(AudioProgram, BadOptionsAreRefusedBeforeAnyWindow) {
  testing_support::WriteFile(dir_.File("notes.wav"), "not a sound\n");
  for (auto args : {std::vector<std::string>{"--fast"}, std::vector<std::string>{"--audio-file", dir_.File("notes.wav")}}) {
    auto r = Run(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(Count(r.standardError, "skarvel: "), 1) << r.standardError;
    EXPECT_EQ(Count(r.standardError, "Can not open"), 0);
  }
  EXPECT_NE(Run({"--audio-file", dir_.File("notes.wav")}).standardError.find("notes.wav: not a RIFF wave file"),
            std::string::npos);
  // Nothing was started, so nothing was saved.
  EXPECT_EQ(ReadFile(dir_.File("skarvel.ini")), "[Etc]\r\nLanguage=1\r\n");
}

// A wave file's bytes, with the data length in its header set to `length`.
std::string WithDataLength(std::string wave, uint32_t length) {
  const size_t data = wave.find("data");
  for (int i = 0; i < 4; ++i) wave[data + 4 + static_cast<size_t>(i)] = static_cast<char>(length >> (8 * i));
  return wave;
}

// Ways a wave file arrives that cannot be opened twice or holds less than
// its header says. Two seconds at 11025 Hz fill 44 buffers.
TEST_F(AudioProgram, PipesStandardInputAndShortFiles) {
  WriteSeconds(dir_.File("two.wav"), 11025, 2, 2);
  const std::string wave = ReadFile(dir_.File("two.wav"));
  const std::vector<std::string> fast = {"--audio-file", "/dev/stdin", "--fast"};

  // A named pipe, its writer started first.
  ASSERT_EQ(::mkfifo(dir_.File("fifo").c_str(), 0600), 0);
  {
    auto writer = testing_support::StartProgram(
        "/bin/sh", {"-c", "exec cat '" + dir_.File("two.wav") + "' > '" + dir_.File("fifo") + "'"}, {});
    auto r = Run({"--audio-file", dir_.File("fifo"), "--fast"}, 30000);
    EXPECT_EQ(r.exitCode, 0) << r.standardError;
    EXPECT_EQ(Count(r.standardError, "audio-file: 44 buffers processed\n"), 1) << r.standardError;
  }
  // Standard input from a pipe, the header's length as written, or as a
  // stream's writer leaves it when it cannot know it.
  for (uint32_t length : {uint32_t{88200}, uint32_t{0}, uint32_t{0xFFFFFFFF}, uint32_t{0x7FFFF000}}) {
    auto r = Run(fast, 30000, WithDataLength(wave, length));
    EXPECT_EQ(r.exitCode, 0) << length << r.standardError;
    EXPECT_EQ(Count(r.standardError, "audio-file: 44 buffers processed\n"), 1) << length << r.standardError;
    EXPECT_EQ(Count(r.standardError, "skarvel: "), 0) << length << r.standardError;
  }
  // What is no wave file is refused in one line, from a pipe as from a file.
  auto r = Run(fast, 30000, std::string("not a sound\n"));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(Count(r.standardError, "skarvel: --audio-file /dev/stdin: not a RIFF wave file.\n"), 1) << r.standardError;
  EXPECT_EQ(Count(r.standardError, "skarvel: "), 1) << r.standardError;

  // A file cut after one second plays that second and says so.
  testing_support::WriteFile(dir_.File("cut.wav"), wave.substr(0, wave.size() - 4 * 11025));
  r = Run({"--audio-file", dir_.File("cut.wav"), "--fast"}, 30000);
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  EXPECT_EQ(Count(r.standardError, "audio-file: 22 buffers processed\n"), 1) << r.standardError;
  EXPECT_EQ(Count(r.standardError, "skarvel: --audio-file " + dir_.File("cut.wav") +
                                       ": the file ends after 11025 of the 22050 frames its header gives; "
                                       "playing those.\n"),
            1)
      << r.standardError;
}

TEST_F(AudioProgram, WithoutASoundCardItKeepsRunning) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ALSA_CONFIG_PATH", QString::fromStdString(dir_.File("empty-alsa.conf")));
  p.setProcessEnvironment(env);
  p.start(QString::fromStdString(dir_.File("skarvel")), {});
  ASSERT_TRUE(p.waitForStarted(10000));
  EXPECT_FALSE(p.waitForFinished(5000));
  EXPECT_EQ(p.state(), QProcess::Running);
  p.kill();
  p.waitForFinished(5000);
  const std::string err = p.readAllStandardError().toStdString();
  EXPECT_EQ(Count(err, "Can not open the recoding device"), 1) << err;
  EXPECT_EQ(Count(err, "Can not open the play device"), 1) << err;
}

}  // namespace
