#include "watch/PopupFit.h"

namespace tarnwick {

namespace {

// Side × Scale div Over, wide enough that a huge nominal size cannot overflow.
std::int32_t Scaled(std::int32_t Side, std::int32_t Scale, std::int32_t Over) {
  return static_cast<std::int32_t>(std::int64_t{Side} * Scale / Over);
}

}  // namespace

TPopupSize FitToLongSide(std::int32_t Width, std::int32_t Height, std::int32_t LongSide) {
  // Each step sees what the one before left, so a square ends at the first.
  if (Height == Width) Width = Height = LongSide;
  if (Height < Width) {
    Height = Scaled(LongSide, Height, Width);
    Width = LongSide;
  }
  if (Height > Width) {
    Width = Scaled(LongSide, Width, Height);
    Height = LongSide;
  }
  return {Width, Height};
}

TPoint CentredTopLeft(TPoint Point, std::int32_t Width, std::int32_t Height) {
  return {Point.X - Width / 2, Point.Y - Height / 2};
}

}  // namespace tarnwick
