#pragma once

#include <windows.h>

#include "framework/Control.h"

namespace tarnwick {

// The bounds a control of the given size takes when aligned with Align
// inside Remaining, which loses the strip the control now covers. Sizes
// never go below 0.
RECT AlignedBounds(TAlign Align, RECT& Remaining, int Width, int Height);

}  // namespace tarnwick
