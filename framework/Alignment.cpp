#include "framework/Alignment.h"

#include <algorithm>

namespace tarnwick {

RECT AlignedBounds(TAlign Align, RECT& Remaining, int Width, int Height) {
  RECT& R = Remaining;
  const LONG FreeWidth = std::max<LONG>(0, R.right - R.left);
  const LONG FreeHeight = std::max<LONG>(0, R.bottom - R.top);
  RECT Bounds{};
  switch (Align) {
    case alTop:
      Bounds = {R.left, R.top, R.left + FreeWidth, R.top + Height};
      R.top += Height;
      break;
    case alBottom:
      Bounds = {R.left, R.bottom - Height, R.left + FreeWidth, R.bottom};
      R.bottom -= Height;
      break;
    case alLeft:
      Bounds = {R.left, R.top, R.left + Width, R.top + FreeHeight};
      R.left += Width;
      break;
    case alRight:
      Bounds = {R.right - Width, R.top, R.right, R.top + FreeHeight};
      R.right -= Width;
      break;
    case alClient:
      Bounds = {R.left, R.top, R.left + FreeWidth, R.top + FreeHeight};
      break;
    case alNone:
      break;
  }
  return Bounds;
}

}  // namespace tarnwick
