#include "pictures/FramePlayer.h"

namespace tarnwick {

FramePlayer::FramePlayer(const Picture& Source, RasterSize Shown)
    : Source_(Source),
      OpensDecoded_(!Source.Frames.empty() && Source.Frames[0].Width >= Shown.Width &&
                    Source.Frames[0].Height >= Shown.Height) {}

const PictureFrame& FramePlayer::Frame(int Index) {
  // The first frame, decoded with the picture, opens an animation without
  // a canvas or a look at its frames.
  if (Source_.Animation && !Opening(Index)) {
    Last_ = Index;
    const PictureFrame& Made = Gif().Frame(Index);
    Changed_ = Gif_->Changed();
    return Made;
  }
  const PictureFrame& Decoded = Source_.Frames[static_cast<std::size_t>(Index)];
  Changed_ = Index == Last_ ? PixelArea{} : PixelArea{0, 0, Decoded.Width, Decoded.Height};
  Last_ = Index;
  return Decoded;
}

const GifFrameImage* FramePlayer::Opaque(int Index) {
  if (!Source_.Animation || Opening(Index)) return nullptr;
  const GifFrameImage* Made = Gif().Opaque(Index);
  if (Made) {
    Last_ = Index;
    Changed_ = Gif_->Changed();
  }
  return Made;
}

GifPlayer& FramePlayer::Gif() {
  if (!Gif_) Gif_.emplace(*Source_.Animation);
  return *Gif_;
}

}  // namespace tarnwick
