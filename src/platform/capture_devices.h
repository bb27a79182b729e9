#pragma once
// The recording devices the audio layer can open.
#include <string>
#include <vector>

namespace platform {

struct CaptureDevice {
  std::string shownName;  // UTF-8, as the device list shows it
  std::string pcmName;    // the ALSA PCM name that is opened
};

// Every capture device whose description can be read, in a stable order
// (built with the ALSA layer).
std::vector<CaptureDevice> EnumerateCaptureDevices();

}  // namespace platform
