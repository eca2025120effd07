#pragma once

#include <optional>

#include "pictures/AreaReduction.h"
#include "pictures/GifPlayer.h"
#include "pictures/Picture.h"

// A picture's frames in the order they are shown, whichever way the picture
// holds them.
namespace tarnwick {

class TFramePlayer {
 public:
  // Source must outlive the player. Frames are shown at Shown: an animation
  // opens with its first frame as decoded with the picture when that is at
  // least as large.
  explicit TFramePlayer(const TPicture& Source, TRasterSize Shown = {});

  // Frame Index (0 <= Index < FrameCount): a decoded frame as it is, an
  // animation's frame composited at the animation's own size from the
  // frame made before it (going back starts again from the first frame).
  const TPictureFrame& Frame(int Index);
  // Frame Index of an animation when its image's colours alone make it
  // (see TGifPlayer::Opaque): that image, at the animation's own size, made
  // as by Frame. Null for a still, for the first frame decoded with the
  // picture and for other frames; Frame makes those.
  const TGifFrameImage* Opaque(int Index);
  // The part of the frame last returned that may differ from the frame
  // returned before it: everything for the first.
  TPixelArea Changed() const { return FChanged; }

 private:
  // Whether the first frame decoded with the picture is due.
  bool Opening(int Index) const { return FOpensDecoded && FLast < 0 && Index == 0; }
  // Made when an animation's frame is first asked for.
  TGifPlayer& Gif();

  const TPicture& FSource;
  // Whether the first frame decoded with the picture serves an opening.
  bool FOpensDecoded;
  std::optional<TGifPlayer> FGif;
  int FLast = -1;
  TPixelArea FChanged;
};

}  // namespace tarnwick
