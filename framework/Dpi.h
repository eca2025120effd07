#pragma once

#include <windows.h>

namespace tarnwick {

// Layouts give their sizes at this resolution.
inline constexpr int DesignDpi = 120;

// Value given at DesignDpi, for a screen of Dpi dots per inch, rounded to
// the nearest pixel.
int ScaleFromDesign(int Value, int Dpi);

// A resolution, and whether the system gave it: where it cannot (a system
// without per-monitor DPI), Dpi is DesignDpi, so sizes keep a scale of 1.0.
struct TDpi {
  int Dpi = DesignDpi;
  bool Measured = false;
};

// The resolution of the monitor Window is on.
TDpi WindowDpi(HWND Window);
// The resolution of the primary monitor, for windows not yet made.
TDpi SystemDpi();

}  // namespace tarnwick
