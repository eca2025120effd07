#pragma once

#include <optional>

#include "pictures/GifAnimation.h"
#include "pictures/GifCanvas.h"

// Compositing an animation's frames as they are shown, from its frame store
// or its file's bytes: only the canvas and the frame being read are held.
namespace tarnwick {

class GifPlayer {
 public:
  // Animation must outlive the player.
  explicit GifPlayer(const GifAnimation& Animation);

  // The canvas after frame Index, at the animation's own size. Frames are
  // composited in order from the one made last; going back starts again
  // from the first frame.
  const PictureFrame& Frame(int Index);
  // Frame Index when it covers the canvas with opaque colours and leaves
  // the canvas as it is after it (no disposal to what came before): its
  // image, which alone makes the frame, as if Frame had made it, but not
  // drawn on the canvas until a later frame needs it. Null for any other
  // frame; Frame makes those.
  const GifFrameImage* Opaque(int Index);
  // The part of the canvas that may differ from the frame made before it:
  // everything for the first, after a start again and for an Opaque frame.
  PixelArea Changed() const { return Changed_; }

 private:
  PixelArea Composite(int Index);
  // Frame Index's image into Image_.
  void Read(int Index);
  void ReadFromFile(int Index);
  // Made when a frame is first drawn.
  GifCanvas& Canvas();
  PixelArea Whole() const { return {0, 0, Animation_.Width(), Animation_.Height()}; }

  const GifAnimation& Animation_;
  std::optional<GifCanvas> Canvas_;
  // The frame being read; its storage serves every frame.
  GifFrameImage Image_;
  // The frame composited next.
  int Next_ = 0;
  // The frame before Next_ when Opaque made it: it is in Image_, not yet
  // on the canvas.
  bool Undrawn_ = false;
  PixelArea Changed_;
};

}  // namespace tarnwick
