#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "pictures/PictureLimits.h"

// The headers of a Windows bitmap file: the file header, then an OS/2 core
// header or a Windows info header (any version up to V5), colour masks and
// palette.
namespace tarnwick {

enum class TBitmapCompression { bcNone, bcRle8, bcRle4, bcBitFields };

// One colour channel of a packed 16- or 32-bit pixel.
class TChannelMask {
 public:
  TChannelMask() = default;
  // Raises EPictureError when the bits of Mask are not contiguous.
  explicit TChannelMask(std::uint32_t Mask);
  bool Present() const { return FBits > 0; }
  // The channel's value in Pixel, scaled to 0..255.
  std::uint32_t Value(std::uint32_t Pixel) const;

 private:
  std::uint32_t FMask = 0;
  int FShift = 0;
  int FBits = 0;
};

struct TBitmapInfo {
  int Width = 0;
  int Height = 0;
  // Rows are stored from the top; otherwise from the bottom.
  bool TopDown = false;
  int BitCount = 0;
  TBitmapCompression Compression = TBitmapCompression::bcNone;
  // For 16 and 32 bits per pixel; Alpha is absent for an opaque picture.
  TChannelMask Red, Green, Blue, Alpha;
  // Opaque pixel words for 1, 4 and 8 bits per pixel; entries past the
  // file's palette are black.
  std::array<std::uint32_t, 256> Palette{};
  // Where the pixel data begins in the file.
  std::size_t PixelOffset = 0;
};

// Raises EPictureError when the headers are damaged, describe a variant this
// reader does not support, or a raster larger than Limits allow.
TBitmapInfo ReadBitmapHeader(std::span<const std::uint8_t> Bytes, const TPictureLimits& Limits);

}  // namespace tarnwick
