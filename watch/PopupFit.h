#pragma once

#include <cstdint>

#include "shell/Desktop.h"

// Where the popup goes and how large it is: plain arithmetic on the
// picture's own size, so that it can be checked without a window.
namespace tarnwick {

struct TPopupSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  friend bool operator==(TPopupSize, TPopupSize) = default;
};

// The picture's Width × Height fitted to LongSide with its aspect ratio
// kept, truncating; equal sides (0 × 0 included) give LongSide × LongSide.
TPopupSize FitToLongSide(std::int32_t Width, std::int32_t Height, std::int32_t LongSide);

// The top-left corner that centres a Width × Height window on Point. Near a
// screen edge the window may lie partly off-screen: it is never pushed back.
TPoint CentredTopLeft(TPoint Point, std::int32_t Width, std::int32_t Height);

}  // namespace tarnwick
