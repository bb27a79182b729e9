#pragma once
// Alert sounds: a wave file played in the background while the program
// goes on.
#include <functional>
#include <string>

namespace platform {

// Starts playing the file and returns at once; a new call stops the sound
// still playing. A missing or unreadable file, or no playback device,
// plays nothing and reports nothing.
void PlayWaveAsync(const std::string& path);
// A sound is still being handed to the device.
bool WavePlaying();

// Tests put a recorder of paths in the player's place; an empty function
// restores the player.
void SetWavePlayerForTests(std::function<void(const std::string& path)> player);

}  // namespace platform
