#include "pictures/FramePlayer.h"

namespace tarnwick {

TFramePlayer::TFramePlayer(const TPicture& Source, TRasterSize Shown)
    : FSource(Source),
      FOpensDecoded(!Source.Frames.empty() && Source.Frames[0].Width >= Shown.Width &&
                    Source.Frames[0].Height >= Shown.Height) {}

const TPictureFrame& TFramePlayer::Frame(int Index) {
  // The first frame, decoded with the picture, opens an animation without
  // a canvas or a look at its frames.
  if (FSource.Animation && !Opening(Index)) {
    FLast = Index;
    const TPictureFrame& Made = Gif().Frame(Index);
    FChanged = FGif->Changed();
    return Made;
  }
  const TPictureFrame& Decoded = FSource.Frames[static_cast<std::size_t>(Index)];
  FChanged = Index == FLast ? TPixelArea{} : TPixelArea{0, 0, Decoded.Width, Decoded.Height};
  FLast = Index;
  return Decoded;
}

const TGifFrameImage* TFramePlayer::Opaque(int Index) {
  if (!FSource.Animation || Opening(Index)) return nullptr;
  const TGifFrameImage* Made = Gif().Opaque(Index);
  if (Made) {
    FLast = Index;
    FChanged = FGif->Changed();
  }
  return Made;
}

TGifPlayer& TFramePlayer::Gif() {
  if (!FGif) FGif.emplace(*FSource.Animation);
  return *FGif;
}

}  // namespace tarnwick
