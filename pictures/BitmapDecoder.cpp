#include "pictures/BitmapDecoder.h"

#include <utility>

#include "pictures/AreaReduction.h"
#include "pictures/BitmapHeader.h"
#include "pictures/BitmapPixels.h"

namespace tarnwick {

TPicture DecodeBitmap(std::span<const std::uint8_t> Bytes, int MaxLongSide, const TPictureLimits& Limits) {
  const TBitmapInfo Info = ReadBitmapHeader(Bytes, Limits);
  const bool Runs = Info.Compression == TBitmapCompression::bcRle8 || Info.Compression == TBitmapCompression::bcRle4;
  TPictureFrame Frame = Runs ? DecodeBitmapRuns(Bytes, Info) : DecodeBitmapRows(Bytes, Info);
  TPicture Result{Info.Width, Info.Height, {}, nullptr, 0};
  Result.Frames.push_back(FittedFrame(std::move(Frame), Info.Width, Info.Height, MaxLongSide));
  return Result;
}

}  // namespace tarnwick
