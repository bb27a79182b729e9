// The real program fed from a wave file, as a user without a radio runs it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cmath>
#include <vector>

#include "app/application.h"
#include "app/tform1.h"
#include "audio/audio_file_options.h"
#include "platform/paths.h"
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
    return testing_support::RunProgram(dir_.File("skarvel"), args, Environment(), 60000, input);
  }
  std::vector<std::string> Environment() const {
    return {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir_.File("empty-alsa.conf")};
  }

  TempDir dir_;
};

// What is not a 16-bit wave of one or two channels at a rate the program
// takes, and options it does not know, are refused in one line before any
// window, in the words the user reads; a relative path is not taken from
// the program folder. Nothing was started, so nothing was saved.
TEST_F(AudioProgram, BadFilesAndOptionsAreRefusedBeforeAnyWindow) {
  auto write = [this](const char* name, int format, int rate, int channels, size_t samples) {
    EXPECT_TRUE(testing_support::WriteSoundFile(dir_.File(name), format, rate, channels,
                                                std::vector<int16_t>(samples, 100)));
    return dir_.File(name);
  };
  constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  testing_support::WriteFile(dir_.File("text.wav"), "RIFF? no, just words\n");
  const std::string notSixteen = ": samples are not 16-bit PCM.";
  using Args = std::vector<std::string>;
  for (auto [args, problem] : std::initializer_list<std::pair<Args, std::string>>{
           {{"--audio-file", write("u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 11025, 1, 3000)}, "u8.wav" + notSixteen},
           {{"--audio-file", write("s24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 11025, 1, 3000)}, "s24.wav" + notSixteen},
           {{"--audio-file", write("float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 11025, 1, 3000)},
            "float.wav" + notSixteen},
           {{"--audio-file", write("48k.wav", kWav16, 48000, 1, 3000)},
            "48k.wav: sample rate 48000 Hz, not 11025, 22050 or 44100 Hz."},
           {{"--audio-file", write("three.wav", kWav16, 11025, 3, 3000)}, "three.wav: 3 channels, not 1 or 2."},
           {{"--audio-file", write("aiff.wav", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 11025, 1, 3000)},
            "aiff.wav: not a RIFF wave file."},
           {{"--audio-file", write("empty.wav", kWav16, 11025, 2, 0)}, "empty.wav: holds no samples."},
           {{"--audio-file", dir_.File("text.wav")}, "text.wav: not a RIFF wave file."},
           {{"--audio-file", write("mono.wav", kWav16, 11025, 1, 3000).substr(dir_.path().size() + 1), "--fast"},
            "--audio-file mono.wav: no such file."},
           {{"--fast"}, "--fast needs --audio-file FILE."},
           {{"--audio-file"}, "Missing value after '--audio-file'."},
           {{"--loud"}, "Unknown option 'loud'."},
           {{"stray"}, "Unexpected argument 'stray'."}}) {
    auto r = Run(args);
    EXPECT_EQ(r.exitCode, 2) << problem;
    EXPECT_EQ(Count(r.standardError, "skarvel: "), 1) << r.standardError;
    EXPECT_EQ(Count(r.standardError, problem + "\n"), 1) << r.standardError;
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

// A pipe is judged as a file of the same bytes: cut short, even within a
// frame, it plays what it holds and says so in the same one line; with no
// whole frame it is refused; a length its writer left open promises
// nothing, so running out is no cut.
TEST_F(AudioProgram, APipeIsJudgedAsAFileOfTheSameBytes) {
  WriteSeconds(dir_.File("two.wav"), 11025, 2, 2);
  const std::string two = ReadFile(dir_.File("two.wav"));
  const size_t header = two.find("data") + 8;
  const std::string cut = ": the file ends after 11025 of the 22050 frames its header gives; playing those.";
  const std::string empty = ": holds no samples.";
  struct Row {
    const char* name;
    std::string bytes;
    std::string line;  // after "skarvel: --audio-file PATH"
    int status;
    int buffers;
  };
  for (const Row& row : {Row{"whole", two, "", 0, 44}, Row{"cut", two.substr(0, header + 44100), cut, 0, 22},
                         Row{"cut within a frame", two.substr(0, header + 44102), cut, 0, 22},
                         Row{"header alone", two.substr(0, header), empty, 2, 0},
                         Row{"header and part of a frame", two.substr(0, header + 3), empty, 2, 0},
                         Row{"length 0, header alone", WithDataLength(two.substr(0, header), 0), empty, 2, 0},
                         Row{"length as sox leaves it", WithDataLength(two, 0x7FFFF000), "", 0, 44},
                         Row{"length as arecord leaves it", WithDataLength(two, 0x80000000), "", 0, 44}}) {
    testing_support::WriteFile(dir_.File("in.wav"), row.bytes);
    for (bool pipe : {false, true}) {
      const std::string path = pipe ? "/dev/stdin" : dir_.File("in.wav");
      auto r = pipe ? Run({"--audio-file", path, "--fast"}, row.bytes) : Run({"--audio-file", path, "--fast"});
      SCOPED_TRACE(std::string(row.name) + (pipe ? " on a pipe\n" : " in a file\n") + r.standardError);
      EXPECT_EQ(r.exitCode, row.status);
      EXPECT_EQ(Count(r.standardError, "skarvel: "), row.line.empty() ? 0 : 1);
      if (!row.line.empty()) {
        EXPECT_EQ(Count(r.standardError, "skarvel: --audio-file " + path + row.line + "\n"), 1);
      }
      const std::string buffers = "audio-file: " + std::to_string(row.buffers) + " buffers processed\n";
      EXPECT_EQ(Count(r.standardError, buffers), row.status ? 0 : 1);
    }
  }
}

// A stream whose writer sent a second of it and holds the pipe open
// without another byte.
class SilentStream : public AudioProgram {
 protected:
  void SetUp() override {
    AudioProgram::SetUp();
    WriteSeconds(dir_.File("ten.wav"), 44100, 2, 10);
    ASSERT_EQ(::mkfifo(fifo_.c_str(), 0600), 0);
  }
  // A shell that waits for the reader, sends the header and the second,
  // and becomes a sleep that holds the pipe: a close that waits for the
  // writer ends 20 s on.
  std::unique_ptr<testing_support::RunningProgram> StartWriter() const {
    const size_t bytes = ReadFile(dir_.File("ten.wav")).find("data") + 8 + 44100 * 4;
    return testing_support::StartProgram("/bin/sh",
                                         {"-c", "exec > '" + fifo_ + "'; head -c " + std::to_string(bytes) + " '" +
                                                    dir_.File("ten.wav") + "'; exec sleep 20"},
                                         {});
  }
  std::string Ini() const { return ReadFile(dir_.File("skarvel.ini")); }

  const std::string fifo_ = dir_.File("fifo");
};

// Fast or paced, a signal ends the copy at once: the settings saved, and
// the stream not taken for one that ended early.
TEST_F(SilentStream, ASignalEndsTheCopyAtOnce) {
  for (bool fast : {true, false}) {
    SCOPED_TRACE(fast ? "fast" : "paced");
    testing_support::WriteFile(dir_.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
    const auto writer = StartWriter();
    std::vector<std::string> args = {"--audio-file", fifo_};
    if (fast) args.push_back("--fast");
    const auto copy = testing_support::StartProgram(dir_.File("skarvel"), args, Environment());
    ASSERT_TRUE(testing_support::PumpUntil(
        [&] { return copy->StandardErrorSoFar().find("Can not open the play device") != std::string::npos; }, 20000));
    // The second has been read by then, or most of it.
    testing_support::PumpUntil([] { return false; }, 1500);
    QElapsedTimer signalled;
    signalled.start();
    copy->Signal(SIGTERM);
    const testing_support::ProcessResult r = copy->Wait(10000);
    EXPECT_LT(signalled.elapsed(), 10000);
    EXPECT_EQ(r.exitCode, 0) << r.standardError;
    EXPECT_EQ(Count(r.standardError, "skarvel: "), 0) << r.standardError;
    EXPECT_EQ(Count(r.standardError, " buffers processed\n"), 1) << r.standardError;
    EXPECT_NE(Ini().find("[Wave]\r\n"), std::string::npos);
  }
}

// The close box, and Exit, end the program as main runs it at once too,
// with the window's new place saved.
TEST_F(SilentStream, TheCloseBoxAndExitEndTheCopyAtOnce) {
  platform::SetProgramFolderForTests(dir_.path());
  testing_support::MessageBoxRecorder boxes;
  for (bool exit : {false, true}) {
    SCOPED_TRACE(exit ? "Exit" : "the close box");
    testing_support::WriteFile(dir_.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
    const auto writer = StartWriter();
    AudioFileOptions options;
    std::string error;
    ASSERT_TRUE(ParseAudioFileOptions({"", "--audio-file", QString::fromStdString(fifo_), "--fast"}, options, error))
        << error;
    QElapsedTimer closing;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* form1 = qobject_cast<TForm1*>(window);
        // Past the second: the reader waits on the pipe.
        if (closing.isValid() || !form1 || form1->State().audio.ProcessedBuffers < 21) continue;
        form1->move(140, 60);
        closing.start();
        exit ? form1->MenuItem("N5")->trigger() : static_cast<void>(form1->close());
      }
    });
    look.start(20);
    QTimer::singleShot(60000, &look, [] {
      ADD_FAILURE() << "the second was not processed";
      QApplication::closeAllWindows();
    });
    testing::internal::CaptureStderr();
    const int status = RunMainWindow(options);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_LT(closing.elapsed(), 10000);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Count(err, "audio-file: 21 buffers processed\n"), 1) << err;
    EXPECT_NE(Ini().find("MainLeft=140\r\n"), std::string::npos);
  }
  platform::SetProgramFolderForTests("");
}

}  // namespace
