#pragma once

#include <cstdint>
#include <span>

#include "Picture.h"
#include "PictureLimits.h"

// GIF through giflib's record-level API, every frame composited once here:
// transparency, interlacing, the three disposals, per-frame delays and the
// loop count of the NETSCAPE2.0 extension.
namespace tarnwick {

// Raises EPictureError with the reason (giflib's own words for its errors),
// also when any frame is damaged: no animation is returned in part. A file
// that only lacks its final trailer byte is read whole.
Picture DecodeGif(std::span<const std::uint8_t> Bytes, int MaxLongSide, const PictureLimits& Limits);

}  // namespace tarnwick
