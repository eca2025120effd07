#include "pictures/BitmapDecoder.h"

#include <utility>

#include "pictures/AreaReduction.h"
#include "pictures/BitmapHeader.h"
#include "pictures/BitmapPixels.h"

namespace tarnwick {

Picture DecodeBitmap(std::span<const std::uint8_t> Bytes, int MaxLongSide, const PictureLimits& Limits) {
  const BitmapInfo Info = ReadBitmapHeader(Bytes, Limits);
  const bool Runs = Info.Compression == BitmapCompression::bcRle8 || Info.Compression == BitmapCompression::bcRle4;
  PictureFrame Frame = Runs ? DecodeBitmapRuns(Bytes, Info) : DecodeBitmapRows(Bytes, Info);
  Picture Result{Info.Width, Info.Height, {}, nullptr, 0};
  Result.Frames.push_back(FittedFrame(std::move(Frame), Info.Width, Info.Height, MaxLongSide));
  return Result;
}

}  // namespace tarnwick
