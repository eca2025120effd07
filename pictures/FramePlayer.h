#pragma once

#include <optional>

#include "pictures/AreaReduction.h"
#include "pictures/GifPlayer.h"
#include "pictures/Picture.h"

// A picture's frames in the order they are shown, whichever way the picture
// holds them.
namespace tarnwick {

class FramePlayer {
 public:
  // Source must outlive the player. Frames are shown at Shown: an animation
  // opens with its first frame as decoded with the picture when that is at
  // least as large.
  explicit FramePlayer(const Picture& Source, RasterSize Shown = {});

  // Frame Index (0 <= Index < FrameCount): a decoded frame as it is, an
  // animation's frame composited at the animation's own size from the
  // frame made before it (going back starts again from the first frame).
  const PictureFrame& Frame(int Index);
  // Frame Index of an animation when its image's colours alone make it
  // (see GifPlayer::Opaque): that image, at the animation's own size, made
  // as by Frame. Null for a still, for the first frame decoded with the
  // picture and for other frames; Frame makes those.
  const GifFrameImage* Opaque(int Index);
  // The part of the frame last returned that may differ from the frame
  // returned before it: everything for the first.
  PixelArea Changed() const { return Changed_; }

 private:
  // Whether the first frame decoded with the picture is due.
  bool Opening(int Index) const { return OpensDecoded_ && Last_ < 0 && Index == 0; }
  // Made when an animation's frame is first asked for.
  GifPlayer& Gif();

  const Picture& Source_;
  // Whether the first frame decoded with the picture serves an opening.
  bool OpensDecoded_;
  std::optional<GifPlayer> Gif_;
  int Last_ = -1;
  PixelArea Changed_;
};

}  // namespace tarnwick
