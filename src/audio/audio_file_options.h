#pragma once
// The command line. `--audio-file FILE [--fast]`: a wave file stands in for
// the recording device, for tests, benchmarks and a user without a radio;
// `--help` and `--version` answer without starting the program.
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/wave_devices.h"
#include "platform/wave_file_source.h"

enum class CommandLineRequest { Run, Help, Version };

struct AudioFileOptions {
  CommandLineRequest request = CommandLineRequest::Run;
  std::string path;  // empty: the sound card
  bool fast = false;
  int rate = 0;      // the file's, which sets SampleRate for the run
  // Opened once for the run: a named pipe or standard input cannot be
  // opened again.
  std::shared_ptr<platform::WaveFile> file;
  // One line when a regular file is shorter than its header says (what it
  // holds is played); empty otherwise. A pipe is measured as it ends.
  std::string notice;
};

// Reads the program's arguments (the first being the program) and opens the
// file, once for the run: a file, a named pipe or /dev/stdin. False with
// one line naming what is wrong: an unknown option, --fast alone, or a
// file that is missing, unreadable or not a 16-bit PCM wave file of 1 or 2
// channels at 11025, 22050 or 44100 Hz.
bool ParseAudioFileOptions(const QStringList& arguments, AudioFileOptions& options, std::string& error);
// The line that says a wave file at `path` ends after `frames` of the
// `headerFrames` its header gives, and that those are played.
std::string EndedEarlyNotice(const std::string& path, int64_t frames, int64_t headerFrames);
// The arguments alone, the file left unopened: enough to answer --help and
// --version, and a pipe is left for the run to read.
bool ParseCommandLine(const QStringList& arguments, AudioFileOptions& options, std::string& error);
// What --help prints: the usage and one line per option.
std::string CommandLineHelp();

// The devices for a run with `options`: the opened wave file and the sound
// card's playback; the sound card alone when no file is given.
std::unique_ptr<AudioDeviceFactory> MakeAudioDevices(const AudioFileOptions& options);
