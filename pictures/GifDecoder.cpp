#include "pictures/GifDecoder.h"

#include <memory>
#include <utility>

#include "pictures/AreaReduction.h"
#include "pictures/GifAnimation.h"
#include "pictures/GifPlayer.h"

namespace tarnwick {

TPicture DecodeGif(std::vector<std::uint8_t> Bytes, int MaxLongSide, const TPictureLimits& Limits) {
  const std::size_t StoreBudget = FrameStoreBudget(Bytes.size());
  auto Animation = std::make_shared<const TGifAnimation>(std::move(Bytes), Limits, StoreBudget);
  const int Width = Animation->Width();
  const int Height = Animation->Height();
  TPicture Result{Width, Height, {}, nullptr, Animation->LoopCount()};
  // The first frame, or the only one, decoded once at the size it is shown.
  TGifPlayer Player(*Animation);
  Result.Frames.push_back(FittedFrame(Player.Frame(0), Width, Height, MaxLongSide));
  Result.Frames.back().DelayMs = Animation->Frame(0).Control.DelayMs;
  if (Animation->FrameCount() > 1) Result.Animation = std::move(Animation);
  return Result;
}

}  // namespace tarnwick
