#pragma once

#include <windows.h>

#include <cstdint>

namespace tarnwick {

// A colour: an RGB value as COLORREF holds it, or a system colour index
// with the top bit set, resolved when drawn.
using TColor = std::uint32_t;

inline constexpr TColor clSystemColor = 0x80000000u;
inline constexpr TColor clWhite = 0x00FFFFFFu;
inline constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
inline constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
inline constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;

inline COLORREF ColorToRGB(TColor Color) {
  return (Color & clSystemColor) ? GetSysColor(static_cast<int>(Color & 0xFF)) : static_cast<COLORREF>(Color);
}

}  // namespace tarnwick
