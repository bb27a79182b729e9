#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {
namespace {

std::function<void(const std::string&)>& Handler() {
  static std::function<void(const std::string&)> h;
  return h;
}

}  // namespace

void ShellOpenPath(const std::string& path) {
  if (Handler()) {
    Handler()(path);
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void ShellOpenUrl(const std::string& url) {
  if (Handler()) {
    Handler()(url);
    return;
  }
  QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void SetShellOpenHandler(std::function<void(const std::string&)> handler) { Handler() = std::move(handler); }

}  // namespace platform
