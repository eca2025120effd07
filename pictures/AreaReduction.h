#pragma once

#include "Picture.h"

// Pictures are kept at the size they are shown: a raster larger than that is
// reduced once, right after decoding, by a box filter that averages the
// premultiplied pixels over the exact area each new pixel covers.
namespace tarnwick {

struct RasterSize {
  int Width = 0;
  int Height = 0;
};

// The size a Width x Height picture is kept at when its long side may be at
// most MaxLongSide (taken as at least 1): its own size when it fits, else
// scaled down with the aspect ratio kept, each side at least 1 pixel.
RasterSize KeptSize(int Width, int Height, int MaxLongSide);

// Source reduced to Width x Height, neither larger than the source's.
PictureFrame Reduced(const PictureFrame& Source, int Width, int Height);

// Frame, a decoding of a NominalWidth x NominalHeight picture at any size at
// least as large as the kept size, brought to the kept size (a copy when it
// is that size already).
PictureFrame FittedFrame(const PictureFrame& Frame, int NominalWidth, int NominalHeight, int MaxLongSide);
// The same, taking over Frame when it is the kept size already.
PictureFrame FittedFrame(PictureFrame&& Frame, int NominalWidth, int NominalHeight, int MaxLongSide);

}  // namespace tarnwick
