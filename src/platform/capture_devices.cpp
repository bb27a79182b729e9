#include "platform/capture_devices.h"

namespace platform {

// Stand-in until the device enumeration is built: no device, so the list
// holds only the default row.
std::vector<CaptureDevice> EnumerateCaptureDevices() { return {}; }

}  // namespace platform
