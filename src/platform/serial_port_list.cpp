#include "platform/serial_port_list.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <cctype>

namespace platform {
namespace {

std::function<std::vector<std::string>()>& Lister() {
  static std::function<std::vector<std::string>()> lister;
  return lister;
}

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

bool PortNameLess(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      size_t ei = i, ej = j;
      while (ei < a.size() && IsDigit(a[ei])) ++ei;
      while (ej < b.size() && IsDigit(b[ej])) ++ej;
      // Numbers by value: without leading zeros, the shorter is smaller.
      std::string na = a.substr(i, ei - i), nb = b.substr(j, ej - j);
      na.erase(0, std::min(na.find_first_not_of('0'), na.size()));
      nb.erase(0, std::min(nb.find_first_not_of('0'), nb.size()));
      if (na.size() != nb.size()) return na.size() < nb.size();
      if (na != nb) return na < nb;
      i = ei;
      j = ej;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

std::vector<std::string> ListSerialPorts() {
  if (Lister()) return Lister()();
  std::vector<std::string> names;
  // The system's list; the ports themselves are left alone until a tuning.
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) names.push_back(info.portName().toStdString());
  std::sort(names.begin(), names.end(), PortNameLess);
  return names;
}

void SetSerialPortListerForTests(std::function<std::vector<std::string>()> lister) { Lister() = std::move(lister); }

}  // namespace platform
