#pragma once

#include "GifAnimation.h"
#include "GifCanvas.h"

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
  // The part of the canvas that may differ from the frame returned before
  // it: everything for the first and after a start again.
  PixelArea Changed() const { return Changed_; }

 private:
  PixelArea Composite(int Index);
  // Frame Index's image into Image_.
  void Read(int Index);
  void ReadFromFile(int Index);

  const GifAnimation& Animation_;
  GifCanvas Canvas_;
  // The frame being read; its storage serves every frame.
  GifFrameImage Image_;
  // The frame composited next.
  int Next_ = 0;
  PixelArea Changed_;
};

}  // namespace tarnwick
