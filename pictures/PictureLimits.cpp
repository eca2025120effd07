#include "pictures/PictureLimits.h"

#include "pictures/PictureErrors.h"

namespace tarnwick {

void CheckRasterSize(long long Width, long long Height, const TPictureLimits& Limits) {
  if (Width <= 0 || Height <= 0)
    throw EPictureError(DamagedReason("幅または高さが 0 です"));
  if (Width > Limits.MaxSide || Height > Limits.MaxSide || Width * Height > Limits.MaxFramePixels)
    throw EPictureError(TooLargeReason(Width, Height));
}

void CheckAnimationSize(std::size_t Frames, int Width, int Height, const TPictureLimits& Limits) {
  const auto Count = static_cast<std::int64_t>(Frames);
  if (Count > Limits.MaxFrames || Count * Width * Height > Limits.MaxAnimationPixels)
    throw EPictureError("アニメーションが大きすぎます (" + std::to_string(Frames) + " フレーム目で中止しました)");
}

}  // namespace tarnwick
