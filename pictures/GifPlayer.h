#pragma once

#include <optional>

#include "pictures/GifAnimation.h"
#include "pictures/GifCanvas.h"

// Compositing an animation's frames as they are shown, from its frame store
// or its file's bytes: only the canvas and the frame being read are held.
namespace tarnwick {

class TGifPlayer {
 public:
  // Animation must outlive the player.
  explicit TGifPlayer(const TGifAnimation& Animation);

  // The canvas after frame Index, at the animation's own size. Frames are
  // composited in order from the one made last; going back starts again
  // from the first frame.
  const TPictureFrame& Frame(int Index);
  // Frame Index when it covers the canvas with opaque colours and leaves
  // the canvas as it is after it (no disposal to what came before): its
  // image, which alone makes the frame, as if Frame had made it, but not
  // drawn on the canvas until a later frame needs it. Null for any other
  // frame; Frame makes those.
  const TGifFrameImage* Opaque(int Index);
  // The part of the canvas that may differ from the frame made before it:
  // everything for the first, after a start again and for an Opaque frame.
  TPixelArea Changed() const { return FChanged; }

 private:
  TPixelArea Composite(int Index);
  // Frame Index's image into FImage.
  void Read(int Index);
  void ReadFromFile(int Index);
  // Made when a frame is first drawn.
  TGifCanvas& Canvas();
  TPixelArea Whole() const { return {0, 0, FAnimation.Width(), FAnimation.Height()}; }

  const TGifAnimation& FAnimation;
  std::optional<TGifCanvas> FCanvas;
  // The frame being read; its storage serves every frame.
  TGifFrameImage FImage;
  // The frame composited next.
  int FNext = 0;
  // The frame before FNext when Opaque made it: it is in FImage, not yet
  // on the canvas.
  bool FUndrawn = false;
  TPixelArea FChanged;
};

}  // namespace tarnwick
