#include "audio/audio_file_options.h"

#include <QCommandLineParser>

namespace {

class WaveFileDevices : public AudioDeviceFactory {
 public:
  explicit WaveFileDevices(AudioFileOptions options) : options_(std::move(options)) {}
  std::unique_ptr<platform::AudioCaptureSource> MakeCaptureSource(const WaveSettings&) override {
    return std::make_unique<platform::WaveFileCaptureSource>(options_.file, options_.fast, gate_);
  }
  void ReadyForInput() override { gate_->Open(); }
  std::unique_ptr<platform::AudioPlaybackSink> MakePlaybackSink() override {
    return SystemAudioDevices().MakePlaybackSink();
  }
  int FixedSampleRate() const override { return options_.rate; }

 private:
  AudioFileOptions options_;
  std::shared_ptr<platform::WaveFileStartGate> gate_ = std::make_shared<platform::WaveFileStartGate>();
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

std::string CommandLineHelp() {
  return "Usage: skarvel [--audio-file FILE [--fast]]\n"
         "  --audio-file FILE  a wave file in place of the recording device\n"
         "  --fast             read the wave file as fast as it is processed, then close\n"
         "  -h, --help         show these options\n"
         "  --version          show the version\n";
}

bool ParseCommandLine(const QStringList& arguments, AudioFileOptions& options, std::string& error) {
  QCommandLineParser parser;
  const QCommandLineOption fileOption("audio-file", "", "FILE");
  const QCommandLineOption fastOption("fast", "");
  const QCommandLineOption helpOption({"h", "help"}, "");
  const QCommandLineOption versionOption("version", "");
  parser.addOptions({fileOption, fastOption, helpOption, versionOption});
  if (!parser.parse(arguments)) {
    error = parser.errorText().toStdString();
    return false;
  }
  options = AudioFileOptions();
  // Asked for help, the rest of the line does not matter.
  if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
    options.request = parser.isSet(helpOption) ? CommandLineRequest::Help : CommandLineRequest::Version;
    return true;
  }
  if (!parser.positionalArguments().isEmpty()) {
    error = "Unexpected argument '" + parser.positionalArguments().front().toStdString() + "'.";
    return false;
  }
  options.fast = parser.isSet(fastOption);
  if (!parser.isSet(fileOption)) {
    if (options.fast) {
      error = "--fast needs --audio-file FILE.";
      return false;
    }
    return true;
  }
  options.path = parser.value(fileOption).toStdString();
  return true;
}

bool ParseAudioFileOptions(const QStringList& arguments, AudioFileOptions& options, std::string& error) {
  if (!ParseCommandLine(arguments, options, error)) return false;
  if (options.request != CommandLineRequest::Run || options.path.empty()) return true;
  std::string problem;
  options.file = platform::WaveFile::Open(options.path, problem);
  if (!options.file) {
    error = "--audio-file " + options.path + ": " + problem + ".";
    return false;
  }
  options.rate = options.file->Rate();
  if (options.file->HeaderFrames() > 0) {
    options.notice = EndedEarlyNotice(options.path, options.file->Frames(), options.file->HeaderFrames());
  }
  return true;
}

std::string EndedEarlyNotice(const std::string& path, int64_t frames, int64_t headerFrames) {
  return "--audio-file " + path + ": the file ends after " + std::to_string(frames) + " of the " +
         std::to_string(headerFrames) + " frames its header gives; playing those.";
}

std::unique_ptr<AudioDeviceFactory> MakeAudioDevices(const AudioFileOptions& options) {
  if (options.path.empty()) return std::make_unique<SystemDevices>();
  return std::make_unique<WaveFileDevices>(options);
}
