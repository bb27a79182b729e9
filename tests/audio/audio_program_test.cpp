// The real program fed from a wave file, as a user without a radio runs it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <vector>

#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
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
  testing_support::ProcessResult Run(const std::vector<std::string>& args,
                                     const std::optional<std::string>& input = std::nullopt) {
    return testing_support::RunProgram(
        dir_.File("skarvel"), args, {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir_.File("empty-alsa.conf")},
        60000, input);
  }

  TempDir dir_;
};

// Refused in one line before any window; a relative path is not taken from
// the program folder. Nothing was started, so nothing was saved.
TEST_F(AudioProgram, BadOptionsAreRefusedBeforeAnyWindow) {
  testing_support::WriteFile(dir_.File("notes.wav"), "not a sound\n");
  WriteSeconds(dir_.File("mono.wav"), 11025, 1, 1);
  using Args = std::vector<std::string>;
  for (auto [args, problem] : {std::pair<Args, std::string>{{"--fast"}, "--fast needs --audio-file FILE."},
                               {{"--audio-file", dir_.File("notes.wav")}, "notes.wav: not a RIFF wave file"},
                               {{"--audio-file", "mono.wav", "--fast"}, "mono.wav: no such file"},
                               {{"--audio-file"}, "Missing value after '--audio-file'."},
                               {{"--loud"}, "Unknown option 'loud'."},
                               {{"stray"}, "Unexpected argument 'stray'."}}) {
    auto r = Run(args);
    EXPECT_EQ(r.exitCode, 2) << problem;
    EXPECT_EQ(Count(r.standardError, "skarvel: "), 1) << r.standardError;
    EXPECT_EQ(Count(r.standardError, problem), 1) << r.standardError;
    EXPECT_EQ(Count(r.standardError, "Can not open"), 0) << r.standardError;
  }
  EXPECT_EQ(ReadFile(dir_.File("skarvel.ini")), "[Etc]\r\nLanguage=1\r\n");
}

// A wave file's bytes, with the data length in its header set to `length`.
std::string WithDataLength(std::string wave, uint32_t length) {
  const size_t data = wave.find("data");
  for (int i = 0; i < 4; ++i) wave[data + 4 + static_cast<size_t>(i)] = static_cast<char>(length >> (8 * i));
  return wave;
}

// A fast run processes every buffer of a file, however it arrives: from a
// file or a named pipe, which cannot be opened twice, or standard input,
// the header's length as written or as a stream's writer leaves it when it
// cannot know it; a file cut short plays what it holds and says so. Then
// the program closes and saves its settings, the capture's rate as the
// user had it.
TEST_F(AudioProgram, EveryBufferOfAFileAPipeOrStandardInput) {
  // Ten seconds at 44100 Hz fill 216 buffers of 2048 frames.
  WriteSeconds(dir_.File("ten.wav"), 44100, 2, 10);
  ASSERT_EQ(::mkfifo(dir_.File("fifo").c_str(), 0600), 0);
  {
    auto writer = testing_support::StartProgram(
        "/bin/sh", {"-c", "exec cat '" + dir_.File("ten.wav") + "' > '" + dir_.File("fifo") + "'"}, {});
    auto r = Run({"--audio-file", dir_.File("fifo"), "--fast"});
    EXPECT_EQ(r.exitCode, 0) << r.standardError;
    EXPECT_EQ(Count(r.standardError, "audio-file: 216 buffers processed\n"), 1) << r.standardError;
    EXPECT_EQ(Count(r.standardError, "Can not open the play device"), 1);
    EXPECT_EQ(Count(r.standardError, "recoding"), 0);
  }
  const std::string ini = ReadFile(dir_.File("skarvel.ini"));
  const size_t wave = ini.find("[Wave]\r\n");
  ASSERT_NE(wave, std::string::npos);
  EXPECT_NE(ini.find("Rate=0\r\n", wave), std::string::npos);

  // Two seconds at 11025 Hz fill 44 buffers.
  WriteSeconds(dir_.File("two.wav"), 11025, 2, 2);
  const std::string two = ReadFile(dir_.File("two.wav"));
  const std::vector<std::string> fast = {"--audio-file", "/dev/stdin", "--fast"};
  for (uint32_t length : {uint32_t{88200}, uint32_t{0}, uint32_t{0xFFFFFFFF}, uint32_t{0x7FFFF000}}) {
    auto r = Run(fast, WithDataLength(two, length));
    EXPECT_EQ(r.exitCode, 0) << length << r.standardError;
    EXPECT_EQ(Count(r.standardError, "audio-file: 44 buffers processed\n"), 1) << length << r.standardError;
    EXPECT_EQ(Count(r.standardError, "skarvel: "), 0) << length << r.standardError;
  }
  // What is no wave file is refused in one line, from a pipe as from a file.
  auto r = Run(fast, std::string("not a sound\n"));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(Count(r.standardError, "skarvel: --audio-file /dev/stdin: not a RIFF wave file.\n"), 1) << r.standardError;
  EXPECT_EQ(Count(r.standardError, "skarvel: "), 1) << r.standardError;

  // A file cut after one second.
  testing_support::WriteFile(dir_.File("cut.wav"), two.substr(0, two.size() - 4 * 11025));
  r = Run({"--audio-file", dir_.File("cut.wav"), "--fast"});
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  EXPECT_EQ(Count(r.standardError, "audio-file: 22 buffers processed\n"), 1) << r.standardError;
  EXPECT_EQ(Count(r.standardError, "skarvel: --audio-file " + dir_.File("cut.wav") +
                                       ": the file ends after 11025 of the 22050 frames its header gives; "
                                       "playing those.\n"),
            1)
      << r.standardError;
}

}  // namespace
