#pragma once
// A receiver's serial port: opened for one tuning, written without waiting,
// closed again. Nothing is ever read from it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSerialPort;

namespace platform {

class SerialPort {
 public:
  SerialPort();
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens a port by name ("ttyUSB0") or path at 9600 baud, 8 data bits, no
  // parity, stopBits (1 or 2), no flow control, with DTR and RTS raised
  // where the device allows. False with the reason: "not found", "in use by
  // another program", "permission denied" or the port's own error text.
  bool Open(const std::string& name, int stopBits, std::string& reason);
  bool IsOpen() const;
  // Queues the bytes; they go out from the event loop.
  void Write(const std::vector<uint8_t>& bytes);
  // Nothing is left to send, in the program or in the driver.
  bool OutputEmpty() const;
  // Drops what has not been sent.
  void DiscardOutput();
  void Close();

  // Runs from the event loop with the count the driver has taken.
  std::function<void(int64_t count)> BytesWritten;

 private:
  std::unique_ptr<QSerialPort> port_;
};

}  // namespace platform
