#pragma once
// The command line. `--audio-file FILE [--fast]`: a wave file stands in for
// the recording device, for tests, benchmarks and a user without a radio;
// `--help` and `--version` answer without starting the program.
#include <QStringList>
#include <memory>
#include <string>

#include "audio/wave_devices.h"

enum class CommandLineRequest { Run, Help, Version };

struct AudioFileOptions {
  CommandLineRequest request = CommandLineRequest::Run;
  std::string path;  // empty: the sound card
  bool fast = false;
  int rate = 0;      // the file's, which sets SampleRate for the run
};

// Reads the program's arguments (the first being the program). False with
// one line naming what is wrong: an unknown option, --fast alone, or a
// file that is missing, unreadable or not a 16-bit PCM wave file of 1 or 2
// channels at 11025, 22050 or 44100 Hz.
bool ParseAudioFileOptions(const QStringList& arguments, AudioFileOptions& options, std::string& error);
// What --help prints: the usage and one line per option.
std::string CommandLineHelp();

// The devices for a run with `options`: the wave file (started afresh at
// every open) and the sound card's playback; the sound card alone when no
// file is given.
std::unique_ptr<AudioDeviceFactory> MakeAudioDevices(const AudioFileOptions& options);
