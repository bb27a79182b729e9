#include "audio/audio_file_options.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include "platform/wave_file_source.h"

namespace {

class WaveFileDevices : public AudioDeviceFactory {
 public:
  explicit WaveFileDevices(AudioFileOptions options) : options_(std::move(options)) {}
  std::unique_ptr<platform::AudioCaptureSource> MakeCaptureSource(const WaveSettings&) override {
    return std::make_unique<platform::WaveFileCaptureSource>(options_.path, options_.fast);
  }
  std::unique_ptr<platform::AudioPlaybackSink> MakePlaybackSink() override {
    return SystemAudioDevices().MakePlaybackSink();
  }
  int FixedSampleRate() const override { return options_.rate; }

 private:
  AudioFileOptions options_;
};

// The system's own devices, owned like a file's.
class SystemDevices : public AudioDeviceFactory {
 public:
  std::unique_ptr<platform::AudioCaptureSource> MakeCaptureSource(const WaveSettings& wave) override {
    return SystemAudioDevices().MakeCaptureSource(wave);
  }
  std::unique_ptr<platform::AudioPlaybackSink> MakePlaybackSink() override {
    return SystemAudioDevices().MakePlaybackSink();
  }
};

}  // namespace

bool ParseAudioFileOptions(const QStringList& arguments, AudioFileOptions& options, std::string& error) {
  QCommandLineParser parser;
  const QCommandLineOption fileOption("audio-file", "A wave file in place of the recording device.", "FILE");
  const QCommandLineOption fastOption("fast", "Read the wave file as fast as it is processed, then close.");
  parser.addOption(fileOption);
  parser.addOption(fastOption);
  if (!parser.parse(arguments)) {
    error = parser.errorText().toStdString();
    return false;
  }
  if (!parser.positionalArguments().isEmpty()) {
    error = "Unexpected argument '" + parser.positionalArguments().front().toStdString() + "'.";
    return false;
  }
  options = AudioFileOptions();
  options.fast = parser.isSet(fastOption);
  if (!parser.isSet(fileOption)) {
    if (options.fast) {
      error = "--fast needs --audio-file FILE.";
      return false;
    }
    return true;
  }
  options.path = parser.value(fileOption).toStdString();
  platform::WaveFileInfo info;
  std::string problem;
  if (!platform::CheckWaveFile(options.path, info, problem)) {
    error = "--audio-file " + options.path + ": " + problem + ".";
    return false;
  }
  options.rate = info.rate;
  // Opened again at every device change: keep it whatever the current
  // folder becomes.
  options.path = QFileInfo(QString::fromStdString(options.path)).absoluteFilePath().toStdString();
  return true;
}

std::unique_ptr<AudioDeviceFactory> MakeAudioDevices(const AudioFileOptions& options) {
  if (options.path.empty()) return std::make_unique<SystemDevices>();
  return std::make_unique<WaveFileDevices>(options);
}
