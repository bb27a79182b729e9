#pragma once
// The serial ports of the system, found once at start-up.
#include <functional>
#include <string>
#include <vector>

namespace platform {

// The port names ("ttyS0", "ttyUSB0", "ttyACM0") the system reports, sorted
// by name with digits compared as numbers ("ttyS2" before "ttyS10").
std::vector<std::string> ListSerialPorts();
// Tests put their own ports (pseudo-terminal paths) in the system's place;
// an empty function restores the system's list.
void SetSerialPortListerForTests(std::function<std::vector<std::string>()> lister);
// The order of the list.
bool PortNameLess(const std::string& a, const std::string& b);

}  // namespace platform
