#pragma once

#include <string_view>

// Which dropped or stored names the picture choice takes, by extension alone.
namespace tarnwick {

// ".jpg", ".jpeg", ".png", ".bmp" or ".gif", in any letter case.
bool IsAcceptedPictureName(std::wstring_view FileName);
// ".gif", whose picture is animated.
bool IsGifName(std::wstring_view FileName);
// ".wav": a sound file, not a picture.
bool IsWaveName(std::wstring_view FileName);

}  // namespace tarnwick
