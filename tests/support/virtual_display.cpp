#include "support/virtual_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QByteArray>
#include <chrono>
#include <cstdio>
#include <regex>
#include <thread>
#include <vector>

extern char** environ;

namespace testing_support {
namespace {

// Starts a program with its output dropped and, when given, fd3 as its
// descriptor 3.
pid_t Spawn(std::vector<std::string> args, int fd3 = -1) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  if (fd3 >= 0) posix_spawn_file_actions_adddup2(&actions, fd3, 3);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

}  // namespace

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
    pclose(p);
  }
  return out;
}

std::string WindowInfo(const std::string& window, const std::string& display) {
  return Output("xwininfo" + (display.empty() ? "" : " -display " + display) + " -id " + window);
}

bool Viewable(const std::string& windowInfo) { return windowInfo.find("IsViewable") != std::string::npos; }

QRect InsideOf(const std::string& windowInfo) {
  return {NumberAfter(windowInfo, "Absolute upper-left X:"), NumberAfter(windowInfo, "Absolute upper-left Y:"),
          NumberAfter(windowInfo, "Width:"), NumberAfter(windowInfo, "Height:")};
}

int NumberAfter(const std::string& text, const std::string& label) {
  std::smatch m;
  return std::regex_search(text, m, std::regex(label + "\\s*(-?[0-9]+)")) ? std::stoi(m[1]) : -1;
}

VirtualDisplay::VirtualDisplay(bool windowManager, QSize screen) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return;
  // Xvfb writes its display's number on descriptor 3 once it takes
  // connections.
  const std::string size = std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + "x24";
  xvfb_ = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", size, "-nolisten", "tcp"}, pipeFds[1]);
  close(pipeFds[1]);
  std::string number;
  pollfd ready{pipeFds[0], POLLIN, 0};
  for (char c; xvfb_ > 0 && poll(&ready, 1, 10000) == 1 && read(pipeFds[0], &c, 1) == 1 && c != '\n';) number += c;
  close(pipeFds[0]);
  if (number.empty()) return;
  name_ = ":" + number;
  if (!windowManager) return;
  openbox_ = Spawn({"env", "DISPLAY=" + name_, "openbox"});
  for (int i = 0; i < 100 && openbox_ > 0; ++i) {
    if (Output("xprop -display " + name_ + " -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") !=
        std::string::npos) {
      managed_ = true;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

VirtualDisplay::~VirtualDisplay() {
  Stop(openbox_);
  Stop(xvfb_);
}

std::unique_ptr<VirtualDisplay> UseOwnDisplay(bool windowManager, QSize screen) {
  // Listing the tests needs no display.
  std::unique_ptr<VirtualDisplay> display;
  if (!::testing::GTEST_FLAG(list_tests)) display = std::make_unique<VirtualDisplay>(windowManager, screen);
  if (display && display->Up(windowManager)) {
    setenv("DISPLAY", display->Name().c_str(), 1);
    qputenv("QT_QPA_PLATFORM", "xcb");
  } else {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // An empty ALSA configuration knows no PCM.
  qputenv("ALSA_CONFIG_PATH", "/dev/null");
  return display;
}

}  // namespace testing_support
