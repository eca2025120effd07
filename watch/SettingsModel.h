#pragma once

#include <cstdint>

#include "framework/Object.h"

// The quantities the watcher, the popup and the crossing sound derive from
// the settings window's list and group indexes. Every index may be -1
// (nothing selected); each rule says what that gives.
namespace tarnwick {

// Ticks of stillness before a moving pointer is shown: index × 10 + 10;
// 0 for -1.
std::int32_t IdleCountdownStart(std::int32_t CursorIndex);

// The popup's lifetime in milliseconds: index × 1000 + 1000; 0 for -1,
// which means the popup never closes by time.
std::int32_t PopupLifetimeMs(std::int32_t SplashIndex);

// The popup's long side in pixels: 600 for 0, 200 for 2, 400 for any other.
std::int32_t PopupLongSide(std::int32_t SizeIndex);
// The largest of them: what a picture is decoded to cover.
inline constexpr std::int32_t LargestPopupLongSide = 600;

enum class TSoundMode : std::uint8_t {
  smNone,      // no sound, no monitor tracking
  smBuiltIn,   // the built-in sound
  smFile,      // the chosen .wav file
  smTrackOnly  // monitors tracked, nothing played (index -1)
};
TSoundMode SoundModeOf(std::int32_t WavIndex);

// The idle list: 10秒, 20秒, … 300秒.
TStrings IdleTimeEntries();
// The lifetime list: 1秒, 2秒, … 10秒.
TStrings LifetimeEntries();

}  // namespace tarnwick
