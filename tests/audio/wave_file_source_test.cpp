// The wave file that stands in for the recording device: what is refused,
// and what comes out of it, buffer by buffer.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <QStringList>
#include <condition_variable>
#include <mutex>

#include "audio/audio_file_options.h"
#include "support/fake_audio_devices.h"
#include "platform/wave_file_source.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

// Keeps every buffer; the source's thread ends after the last.
class CollectingOutlet : public platform::CaptureOutlet {
 public:
  bool Offer(std::vector<int16_t>& b, bool endsRun) override { return Put(b, endsRun); }
  bool Put(std::vector<int16_t>& b, bool endsRun) override {
    std::lock_guard<std::mutex> lock(mutex);
    buffers.push_back(std::move(b));
    ends.push_back(endsRun);
    return true;
  }
  void Shut() override {}

  std::mutex mutex;
  std::vector<std::vector<int16_t>> buffers;
  std::vector<bool> ends;
};

std::string Refusal(const std::string& path) {
  AudioFileOptions options;
  std::string error;
  EXPECT_FALSE(ParseAudioFileOptions({"skarvel", "--audio-file", QString::fromStdString(path)}, options, error));
  return error;
}

std::shared_ptr<platform::WaveFile> OpenFile(const std::string& path) {
  std::string problem;
  auto file = platform::WaveFile::Open(path, problem);
  EXPECT_TRUE(file) << path << ": " << problem;
  return file;
}

TEST(WaveFileSource, RefusesWhatIsNotA16BitWaveOfOneOrTwoChannels) {
  TempDir dir;
  std::vector<int16_t> samples(3 * 1000, 100);
  ASSERT_TRUE(testing_support::WriteSoundFile(dir.File("u8.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 11025, 1, samples));
  ASSERT_TRUE(testing_support::WriteSoundFile(dir.File("s24.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, 11025, 1, samples));
  ASSERT_TRUE(testing_support::WriteSoundFile(dir.File("float.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 11025, 1, samples));
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("48k.wav"), 48000, 1, samples));
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("three.wav"), 11025, 3, samples));
  ASSERT_TRUE(testing_support::WriteSoundFile(dir.File("aiff.wav"), SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 11025, 1, samples));
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("empty.wav"), 11025, 2, {}));
  testing_support::WriteFile(dir.File("text.wav"), "RIFF? no, just words\n");

  const std::pair<const char*, const char*> cases[] = {
      {"u8.wav", "samples are not 16-bit PCM"},
      {"s24.wav", "samples are not 16-bit PCM"},
      {"float.wav", "samples are not 16-bit PCM"},
      {"48k.wav", "sample rate 48000 Hz, not 11025, 22050 or 44100 Hz"},
      {"three.wav", "3 channels, not 1 or 2"},
      {"aiff.wav", "not a RIFF wave file"},
      {"text.wav", "not a RIFF wave file"},
      {"missing.wav", "no such file"},
      {"empty.wav", "holds no samples"},
  };
  for (auto [name, problem] : cases) {
    EXPECT_EQ(Refusal(dir.File(name)), "--audio-file " + dir.File(name) + ": " + problem + ".") << name;
  }
}

// A file whose header's data length is not what follows: left at 0 or at
// all ones by a writer that could not go back to fill it in, or promising
// more than a file cut short holds. Every frame there is is read, from the
// first again after a rewind.
TEST(WaveFileSource, ReadsWhatTheFileHoldsWhateverLengthItsHeaderGives) {
  TempDir dir;
  std::vector<int16_t> samples(3000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i * 7 - 9000);
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("whole.wav"), 11025, 1, samples));
  const std::string whole = testing_support::ReadFile(dir.File("whole.wav"));
  const size_t length = whole.find("data") + 4;
  struct Case {
    const char* name;
    uint32_t headerLength;
    size_t frames;
    int64_t headerFrames;
  };
  for (const Case& c : {Case{"zero", 0, 3000, 0}, Case{"all ones", 0xFFFFFFFF, 3000, 0},
                        Case{"cut", 6000, 1000, 3000}}) {
    std::string bytes = whole.substr(0, length + 4 + 2 * c.frames);
    for (int i = 0; i < 4; ++i) bytes[length + static_cast<size_t>(i)] = static_cast<char>(c.headerLength >> (8 * i));
    testing_support::WriteFile(dir.File("file.wav"), bytes);
    const auto file = OpenFile(dir.File("file.wav"));
    ASSERT_TRUE(file) << c.name;
    EXPECT_EQ(file->Frames(), static_cast<int64_t>(c.frames)) << c.name;
    EXPECT_EQ(file->HeaderFrames(), c.headerFrames) << c.name;
    for (int pass = 0; pass < 2; ++pass) {
      file->Rewind();
      std::vector<int16_t> read(4000);
      ASSERT_EQ(file->Read(read.data(), 4000), static_cast<int64_t>(c.frames)) << c.name;
      read.resize(c.frames);
      EXPECT_EQ(read, std::vector<int16_t>(samples.begin(), samples.begin() + static_cast<long>(c.frames))) << c.name;
    }
  }
}

TEST(WaveFileSource, OptionsOfTheCommandLine) {
  TempDir dir;
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("ok.wav"), 22050, 2, std::vector<int16_t>(200, 1)));
  AudioFileOptions options;
  std::string error;
  EXPECT_TRUE(ParseAudioFileOptions({"skarvel"}, options, error));
  EXPECT_TRUE(options.path.empty());
  EXPECT_TRUE(ParseAudioFileOptions({"skarvel", "--audio-file", QString::fromStdString(dir.File("ok.wav")), "--fast"},
                                    options, error));
  EXPECT_TRUE(options.fast);
  EXPECT_EQ(options.notice, "");
  EXPECT_EQ(options.rate, 22050);
  EXPECT_EQ(MakeAudioDevices(options)->FixedSampleRate(), 22050);
  EXPECT_EQ(MakeAudioDevices(AudioFileOptions())->FixedSampleRate(), 0);

  EXPECT_FALSE(ParseAudioFileOptions({"skarvel", "--fast"}, options, error));
  EXPECT_EQ(error, "--fast needs --audio-file FILE.");
  EXPECT_FALSE(ParseAudioFileOptions({"skarvel", "--audio-file"}, options, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ParseAudioFileOptions({"skarvel", "--loud"}, options, error));
  EXPECT_NE(error.find("loud"), std::string::npos);
  EXPECT_FALSE(ParseAudioFileOptions({"skarvel", "stray"}, options, error));
  EXPECT_NE(error.find("stray"), std::string::npos);
}

// Runs a source over the whole file as fast as it goes.
std::shared_ptr<CollectingOutlet> ReadAll(platform::WaveFileCaptureSource& source, int rate, int frames,
                                          size_t expected) {
  auto outlet = std::make_shared<CollectingOutlet>();
  EXPECT_EQ(source.Open(rate, frames, outlet), platform::DeviceOpenResult::Opened);
  for (int i = 0; i < 500; ++i) {
    {
      std::lock_guard<std::mutex> lock(outlet->mutex);
      if (outlet->buffers.size() >= expected) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  source.Close();
  return outlet;
}

TEST(WaveFileSource, TenSecondsGive216BuffersAtEveryRateTheLastPadded) {
  TempDir dir;
  for (int rate : {11025, 22050, 44100}) {
    const int frames = rate * 2048 / 44100;
    std::vector<int16_t> samples(2 * static_cast<size_t>(rate) * 10);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(1 + i % 1000);
    const std::string path = dir.File("ten.wav");
    ASSERT_TRUE(testing_support::WriteWave16(path, rate, 2, samples));
    const auto file = OpenFile(path);
    platform::WaveFileCaptureSource source(file, true);
    const auto outlet = ReadAll(source, rate, frames, 216);
    ASSERT_EQ(outlet->buffers.size(), 216u) << rate;
    for (size_t b = 0; b < 216; ++b) {
      ASSERT_EQ(outlet->buffers[b].size(), 2u * static_cast<size_t>(frames));
      EXPECT_EQ(outlet->ends[b], b == 215) << b;
    }
    EXPECT_EQ(outlet->buffers[0][0], samples[0]);
    EXPECT_EQ(outlet->buffers[0][1], samples[1]);
    // The last buffer: what is left of the file, then zeros.
    const size_t left = samples.size() - 215 * 2 * static_cast<size_t>(frames);
    const std::vector<int16_t>& last = outlet->buffers[215];
    EXPECT_EQ(last[left - 1], samples.back());
    EXPECT_TRUE(std::all_of(last.begin() + static_cast<long>(left), last.end(), [](int16_t s) { return s == 0; }));

    // Opened again, it starts from the beginning; in real time the last
    // buffer does not end the run.
    platform::WaveFileCaptureSource paced(file, false);
    const auto first = ReadAll(paced, rate, frames, 1);
    ASSERT_FALSE(first->buffers.empty());
    EXPECT_EQ(first->buffers[0][0], samples[0]);
    EXPECT_FALSE(first->ends[0]);
  }
}

TEST(WaveFileSource, MonoFeedsBothChannels) {
  TempDir dir;
  std::vector<int16_t> samples(700);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i * 37 - 12000);
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("mono.wav"), 11025, 1, samples));
  platform::WaveFileCaptureSource source(OpenFile(dir.File("mono.wav")), true);
  const auto outlet = ReadAll(source, 11025, 512, 2);
  ASSERT_EQ(outlet->buffers.size(), 2u);
  for (size_t i = 0; i < 700; ++i) {
    const std::vector<int16_t>& b = outlet->buffers[i / 512];
    ASSERT_EQ(b[2 * (i % 512)], samples[i]);
    ASSERT_EQ(b[2 * (i % 512) + 1], samples[i]);
  }
}

// Fills `limit` buffers, then reports the outlet full.
class FullAfter : public platform::CaptureOutlet {
 public:
  explicit FullAfter(size_t limit) : limit_(limit) {}
  bool Offer(std::vector<int16_t>& b, bool) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (sizes_.size() >= limit_) {
      ++refused_;
      return false;
    }
    sizes_.push_back(b.size());
    b.clear();
    return true;
  }
  bool Put(std::vector<int16_t>& b, bool endsRun) override { return Offer(b, endsRun); }
  void Shut() override {}
  bool Done() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sizes_.size() >= limit_ && refused_ > 0;
  }
  std::vector<size_t> Sizes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sizes_;
  }

 private:
  size_t limit_;
  std::mutex mutex_;
  std::vector<size_t> sizes_;
  int refused_ = 0;
};

TEST(AlsaNull, CaptureAtThreeRates) {
  for (int rate : {11025, 22050, 44100}) {
    const int frames = rate * 2048 / 44100;
    platform::AlsaCaptureSource source("null");
    auto outlet = std::make_shared<FullAfter>(4);
    platform::DeviceOpenResult result = source.Open(rate, frames, outlet);
    if (result == platform::DeviceOpenResult::DeviceRefused) GTEST_SKIP() << "no PCM null here";
    ASSERT_EQ(result, platform::DeviceOpenResult::Opened) << rate;
    for (int i = 0; i < 500 && !outlet->Done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    source.Close();
    EXPECT_EQ(outlet->Sizes(), std::vector<size_t>(4, 2u * static_cast<size_t>(frames))) << rate;
    // The null device is not paced: the outlet fills and buffers are dropped.
    EXPECT_GT(source.DroppedBuffers(), 0) << rate;
  }
}

TEST(AlsaNull, PlaybackWritesNeverWait) {
  platform::AlsaPlaybackSink sink("null");
  platform::DeviceOpenResult result = sink.Open(11025, 512, 8);
  if (result == platform::DeviceOpenResult::DeviceRefused) GTEST_SKIP() << "no PCM null here";
  ASSERT_EQ(result, platform::DeviceOpenResult::Opened);
  std::vector<int16_t> block(1024, 500);
  int taken = 0;
  for (int i = 0; i < 200; ++i) {
    int n = sink.Write(block.data(), 512);
    ASSERT_GE(n, 0);
    ASSERT_LE(n, 512);
    taken += n;
  }
  EXPECT_GT(taken, 0);
  sink.Close();
  EXPECT_EQ(sink.Write(block.data(), 512), 0);
}

}  // namespace
