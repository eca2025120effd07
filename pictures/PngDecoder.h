#pragma once

#include <cstdint>
#include <span>

#include "pictures/Picture.h"
#include "pictures/PictureLimits.h"

// PNG through libpng's simplified API, which keeps libpng's own error
// recovery inside the library.
namespace tarnwick {

// Raises EPictureError with the reason (libpng's own words for its errors).
TPicture DecodePng(std::span<const std::uint8_t> Bytes, int MaxLongSide, const TPictureLimits& Limits);

}  // namespace tarnwick
