#include "pictures/GifDecoder.h"

#include <memory>
#include <utility>

#include "pictures/AreaReduction.h"
#include "pictures/GifAnimation.h"
#include "pictures/GifPlayer.h"

namespace tarnwick {

Picture DecodeGif(std::vector<std::uint8_t> Bytes, int MaxLongSide, const PictureLimits& Limits) {
  const std::size_t StoreBudget = FrameStoreBudget(Bytes.size());
  auto Animation = std::make_shared<const GifAnimation>(std::move(Bytes), Limits, StoreBudget);
  const int Width = Animation->Width();
  const int Height = Animation->Height();
  Picture Result{Width, Height, {}, nullptr, Animation->LoopCount()};
  // The first frame, or the only one, decoded once at the size it is shown.
  GifPlayer Player(*Animation);
  Result.Frames.push_back(FittedFrame(Player.Frame(0), Width, Height, MaxLongSide));
  Result.Frames.back().DelayMs = Animation->Frame(0).Control.DelayMs;
  if (Animation->FrameCount() > 1) Result.Animation = std::move(Animation);
  return Result;
}

}  // namespace tarnwick
