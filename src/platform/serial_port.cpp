#include "platform/serial_port.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <QSerialPort>

namespace platform {
namespace {

constexpr qint32 kBaudRate = 9600;

// The device the name stands for, as the serial port opens it.
std::string DevicePath(const std::string& name) { return name.rfind('/', 0) == 0 ? name : "/dev/" + name; }

std::string OpenFailure(const QSerialPort& port, const std::string& name) {
  switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
      return "not found";
    case QSerialPort::PermissionError:
      // Allowed to read and write, yet refused: another program holds the
      // port (its lock file, or exclusive use).
      return access(DevicePath(name).c_str(), R_OK | W_OK) == 0 ? "in use by another program" : "permission denied";
    default:
      return port.errorString().toStdString();
  }
}

}  // namespace

SerialPort::SerialPort() : port_(std::make_unique<QSerialPort>()) {
  QObject::connect(port_.get(), &QSerialPort::bytesWritten, [this](qint64 count) {
    if (BytesWritten) BytesWritten(count);
  });
}

SerialPort::~SerialPort() {
  if (port_->isOpen()) {
    DiscardOutput();
    Close();
  }
}

bool SerialPort::Open(const std::string& name, int stopBits, std::string& reason) {
  if (port_->isOpen()) Close();
  port_->setPortName(QString::fromStdString(name));
  // Settings made before the open are applied by it: raw, non-blocking,
  // under the port's lock file.
  port_->setBaudRate(kBaudRate);
  port_->setDataBits(QSerialPort::Data8);
  port_->setParity(QSerialPort::NoParity);
  port_->setStopBits(stopBits == 1 ? QSerialPort::OneStop : QSerialPort::TwoStop);
  // No XON/XOFF either: an echoed 0x13 must not stop the output.
  port_->setFlowControl(QSerialPort::NoFlowControl);
  if (!port_->open(QIODevice::ReadWrite)) {
    reason = OpenFailure(*port_, name);
    port_->clearError();
    return false;
  }
  // Devices without modem lines (a pseudo-terminal) refuse these; the
  // tuning goes on without them.
  port_->setDataTerminalReady(true);
  port_->setRequestToSend(true);
  port_->clearError();
  return true;
}

bool SerialPort::IsOpen() const { return port_->isOpen(); }

void SerialPort::Write(const std::vector<uint8_t>& bytes) {
  if (!port_->isOpen() || bytes.empty()) return;
  port_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

bool SerialPort::OutputEmpty() const {
  if (!port_->isOpen()) return true;
  if (port_->bytesToWrite() > 0) return false;
  int queued = 0;
  // A driver that cannot tell counts as empty rather than holding the port.
  if (ioctl(static_cast<int>(port_->handle()), TIOCOUTQ, &queued) != 0) return true;
  return queued == 0;
}

void SerialPort::DiscardOutput() {
  if (port_->isOpen()) port_->clear(QSerialPort::Output);
}

void SerialPort::Close() {
  if (port_->isOpen()) port_->close();
  port_->clearError();
}

}  // namespace platform
