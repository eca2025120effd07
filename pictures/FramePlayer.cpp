#include "FramePlayer.h"

namespace tarnwick {

FramePlayer::FramePlayer(const Picture& Source) : Source_(Source) {
  if (Source.Animation) Gif_.emplace(*Source.Animation);
}

const PictureFrame& FramePlayer::Frame(int Index) {
  if (Gif_) {
    const PictureFrame& Made = Gif_->Frame(Index);
    Changed_ = Gif_->Changed();
    return Made;
  }
  const PictureFrame& Decoded = Source_.Frames[static_cast<std::size_t>(Index)];
  Changed_ = Index == Last_ ? PixelArea{} : PixelArea{0, 0, Decoded.Width, Decoded.Height};
  Last_ = Index;
  return Decoded;
}

}  // namespace tarnwick
