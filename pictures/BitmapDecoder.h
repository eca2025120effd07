#pragma once

#include <cstdint>
#include <span>

#include "pictures/Picture.h"
#include "pictures/PictureLimits.h"

// Windows and OS/2 bitmaps, read by our own code: 1, 4 and 8 bits with a
// palette, RLE8 and RLE4, 16, 24 and 32 bits, bit fields with or without
// alpha, rows bottom-up or top-down.
namespace tarnwick {

// Raises EPictureError with the reason.
TPicture DecodeBitmap(std::span<const std::uint8_t> Bytes, int MaxLongSide, const TPictureLimits& Limits);

}  // namespace tarnwick
