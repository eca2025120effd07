#pragma once

#include <optional>

#include "GifPlayer.h"
#include "Picture.h"

// A picture's frames in the order they are shown, whichever way the picture
// holds them.
namespace tarnwick {

class FramePlayer {
 public:
  // Source must outlive the player.
  explicit FramePlayer(const Picture& Source);

  // Frame Index (0 <= Index < FrameCount): a decoded frame as it is, an
  // animation's frame composited at the animation's own size from the
  // frame made before it (going back starts again from the first frame).
  const PictureFrame& Frame(int Index);
  // The part of the frame last returned that may differ from the frame
  // returned before it: everything for the first.
  PixelArea Changed() const { return Changed_; }

 private:
  const Picture& Source_;
  std::optional<GifPlayer> Gif_;
  int Last_ = -1;
  PixelArea Changed_;
};

}  // namespace tarnwick
