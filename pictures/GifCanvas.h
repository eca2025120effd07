#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "pictures/Picture.h"

// Compositing the frames of a GIF animation: each frame is drawn over what
// the frame before it left behind, after that frame's disposal.
namespace tarnwick {

enum class TGifDisposal {
  gdKeep,        // leave the frame in place (also "unspecified")
  gdBackground,  // clear its rectangle to transparent before the next frame
  gdPrevious,    // restore its rectangle to what was there before it
};

// One frame as the file gives it: a rectangle of colour indexes.
struct TGifFrameImage {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  // Width * Height indexes, top row first.
  std::vector<std::uint8_t> Indexes;
  // Opaque pixel words; 0 for the transparent index and for indexes past
  // the colour table, which leave the canvas as it is.
  std::array<std::uint32_t, 256> Colors{};
  TGifDisposal Disposal = TGifDisposal::gdKeep;
};

// Whether Frame covers a Width x Height canvas with opaque colours, so that
// the canvas after it holds its colours alone.
bool CoversOpaquely(const TGifFrameImage& Frame, int Width, int Height);

class TGifCanvas {
 public:
  // A transparent canvas of the animation's size.
  TGifCanvas(int Width, int Height);

  // Disposes of the frame drawn before, then draws Frame, clipped to the
  // canvas; the part of the canvas that may have changed.
  TPixelArea Draw(const TGifFrameImage& Frame);
  // Transparent again, as before the first frame.
  void Clear();

  // The picture as it stands after the last Draw.
  const TPictureFrame& Pixels() const { return FCanvas; }

 private:
  TPixelArea Clipped(const TGifFrameImage& Frame) const;
  void DisposeLast();
  std::uint32_t* Row(int Y) { return FCanvas.Pixels.data() + static_cast<std::size_t>(Y) * FCanvas.Width; }

  TPictureFrame FCanvas;
  TPixelArea FLastArea;
  TGifDisposal FLastDisposal = TGifDisposal::gdKeep;
  // What lay under FLastArea before the last frame, when it is to be restored.
  std::vector<std::uint32_t> FSaved;
};

}  // namespace tarnwick
