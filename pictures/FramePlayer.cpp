#include "pictures/FramePlayer.h"

namespace tarnwick {

FramePlayer::FramePlayer(const Picture& Source, RasterSize Shown)
    : Source_(Source),
      OpensDecoded_(!Source.Frames.empty() && Source.Frames[0].Width >= Shown.Width &&
                    Source.Frames[0].Height >= Shown.Height) {}

const PictureFrame& FramePlayer::Frame(int Index) {
  // The first frame, decoded with the picture, opens an animation without
  // a canvas or a look at the file.
  const bool Opening = OpensDecoded_ && Last_ < 0 && Index == 0;
  if (Source_.Animation && !Opening) {
    if (!Gif_) Gif_.emplace(*Source_.Animation);
    Last_ = Index;
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
