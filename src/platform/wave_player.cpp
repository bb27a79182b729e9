#include "platform/wave_player.h"

#include <utility>

namespace platform {

namespace {

std::function<void(const std::string&)>& TestPlayer() {
  static std::function<void(const std::string&)> player;
  return player;
}

}  // namespace

// The playback itself arrives with the first alert that sounds; until then
// a sound plays nothing.
void PlayWaveAsync(const std::string& path) {
  if (TestPlayer()) TestPlayer()(path);
}

void SetWavePlayerForTests(std::function<void(const std::string& path)> player) { TestPlayer() = std::move(player); }

}  // namespace platform
