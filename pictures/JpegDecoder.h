#pragma once

#include <cstdint>
#include <span>

#include "pictures/Picture.h"
#include "pictures/PictureLimits.h"

// JPEG through libjpeg(-turbo). A large picture is decoded with the library's
// DCT scaling straight to a size near the one kept, then reduced the rest of
// the way.
namespace tarnwick {

// The DCT scale, in eighths (1 to 8), that decodes a Width x Height JPEG to
// the smallest size whose long side is still at least MaxLongSide.
int JpegScaleEighths(int Width, int Height, int MaxLongSide);

// Raises EPictureError with the reason (libjpeg's own words for its errors).
// A file whose entropy-coded data is truncated or corrupt is refused rather
// than shown with the missing part filled in.
TPicture DecodeJpeg(std::span<const std::uint8_t> Bytes, int MaxLongSide, const TPictureLimits& Limits);

}  // namespace tarnwick
