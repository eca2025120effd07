#include "watch/SettingsModel.h"

#include <string>

namespace tarnwick {

std::int32_t IdleCountdownStart(std::int32_t CursorIndex) { return CursorIndex * 10 + 10; }

std::int32_t PopupLifetimeMs(std::int32_t SplashIndex) { return SplashIndex * 1000 + 1000; }

std::int32_t PopupLongSide(std::int32_t SizeIndex) {
  switch (SizeIndex) {
    case 0:
      return LargestPopupLongSide;
    case 2:
      return 200;
    default:
      return 400;
  }
}

TSoundMode SoundModeOf(std::int32_t WavIndex) {
  switch (WavIndex) {
    case 0:
      return TSoundMode::smNone;
    case 1:
      return TSoundMode::smBuiltIn;
    case 2:
      return TSoundMode::smFile;
    default:
      return TSoundMode::smTrackOnly;
  }
}

namespace {

TStrings SecondsEntries(int Count, int Step) {
  TStrings Entries;
  for (int Index = 1; Index <= Count; ++Index) Entries.push_back(std::to_wstring(Index * Step) + L"秒");
  return Entries;
}

}  // namespace

TStrings IdleTimeEntries() { return SecondsEntries(30, 10); }

TStrings LifetimeEntries() { return SecondsEntries(10, 1); }

}  // namespace tarnwick
