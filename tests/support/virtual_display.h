#pragma once
// An X server of a test's own (Xvfb), bare or with a window manager
// (openbox), for windows as a user sees them.
#include <sys/types.h>

#include <QRect>
#include <QSize>
#include <memory>
#include <string>

namespace testing_support {

// A command's standard output.
std::string Output(const std::string& command);

// What xwininfo says of a window (its id), on the display DISPLAY names
// unless one is given.
std::string WindowInfo(const std::string& window, const std::string& display = "");
bool Viewable(const std::string& windowInfo);
// Where the X server shows the window, without a frame a window manager
// draws around it.
QRect InsideOf(const std::string& windowInfo);
// The number after label (a regular expression) in text; -1 without one.
int NumberAfter(const std::string& text, const std::string& label);

// Made before any application object, so it runs no Qt.
class VirtualDisplay {
 public:
  explicit VirtualDisplay(bool windowManager, QSize screen = {1600, 1200});
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  bool Up(bool windowManager) const { return !name_.empty() && managed_ == windowManager; }
  const std::string& Name() const { return name_; }

 private:
  pid_t xvfb_ = -1;
  pid_t openbox_ = -1;
  std::string name_;
  bool managed_ = false;
};

// For a test program's main, before its application object: the program's
// windows go to a display of its own (offscreen where there is none, and
// the tests that need it skip), and no test opens the sound card.
std::unique_ptr<VirtualDisplay> UseOwnDisplay(bool windowManager, QSize screen = {1600, 1200});

}  // namespace testing_support
