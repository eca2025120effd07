#pragma once

#include <string>

namespace tarnwick {

// Starts playing the WAVE file Path and returns at once, stopping a sound
// still playing. Silence when the file is missing, on a drive that is not
// ready or not playable; the system's default sound never stands in.
void PlaySoundFile(const std::wstring& Path);

}  // namespace tarnwick
