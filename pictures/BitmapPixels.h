#pragma once

#include <cstdint>
#include <span>

#include "pictures/BitmapHeader.h"
#include "pictures/Picture.h"

// The pixel data of a bitmap file, as its headers describe it, to a frame of
// premultiplied pixels, top row first.
namespace tarnwick {

// Uncompressed rows (palette, 16, 24 or 32 bits, bit fields). Raises
// EPictureError when the file ends before the last pixel.
TPictureFrame DecodeBitmapRows(std::span<const std::uint8_t> Bytes, const TBitmapInfo& Info);

// RLE8 or RLE4 runs. Pixels the runs skip over stay transparent. Raises
// EPictureError when the data ends before the end-of-bitmap code.
TPictureFrame DecodeBitmapRuns(std::span<const std::uint8_t> Bytes, const TBitmapInfo& Info);

}  // namespace tarnwick
