#include "pictures/GifCanvas.h"

#include <algorithm>

namespace tarnwick {

bool CoversOpaquely(const TGifFrameImage& Frame, int Width, int Height) {
  if (Frame.Left != 0 || Frame.Top != 0 || Frame.Width < Width || Frame.Height < Height) return false;
  for (int Y = 0; Y < Height; ++Y) {
    const std::uint8_t* In = Frame.Indexes.data() + static_cast<std::size_t>(Y) * Frame.Width;
    if (std::any_of(In, In + Width, [&](std::uint8_t Index) { return Frame.Colors[Index] == 0; })) return false;
  }
  return true;
}

TGifCanvas::TGifCanvas(int Width, int Height)
    : FCanvas{Width, Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Width) * Height), 0} {}

TPixelArea TGifCanvas::Clipped(const TGifFrameImage& Frame) const {
  return {std::min(Frame.Left, FCanvas.Width), std::min(Frame.Top, FCanvas.Height),
          std::min(Frame.Left + Frame.Width, FCanvas.Width), std::min(Frame.Top + Frame.Height, FCanvas.Height)};
}

void TGifCanvas::DisposeLast() {
  const int Width = FLastArea.Right - FLastArea.Left;
  for (int Y = FLastArea.Top; Y < FLastArea.Bottom; ++Y) {
    std::uint32_t* Out = Row(Y) + FLastArea.Left;
    if (FLastDisposal == TGifDisposal::gdBackground) std::fill(Out, Out + Width, 0u);
    if (FLastDisposal == TGifDisposal::gdPrevious)
      std::copy_n(FSaved.begin() + static_cast<std::ptrdiff_t>(Y - FLastArea.Top) * Width, Width, Out);
  }
}

TPixelArea TGifCanvas::Draw(const TGifFrameImage& Frame) {
  DisposeLast();
  const TPixelArea Disposed = FLastDisposal == TGifDisposal::gdKeep ? TPixelArea{} : FLastArea;
  const TPixelArea A = Clipped(Frame);
  FSaved.clear();
  for (int Y = A.Top; Y < A.Bottom; ++Y) {
    std::uint32_t* Out = Row(Y);
    if (Frame.Disposal == TGifDisposal::gdPrevious) FSaved.insert(FSaved.end(), Out + A.Left, Out + A.Right);
    const std::uint8_t* In = Frame.Indexes.data() + static_cast<std::size_t>(Y - Frame.Top) * Frame.Width;
    // A choice, not a branch: a frame's clear pixels come and go at random.
    for (int X = A.Left; X < A.Right; ++X) {
      const std::uint32_t Color = Frame.Colors[In[X - Frame.Left]];
      Out[X] = Color ? Color : Out[X];
    }
  }
  FLastArea = A;
  FLastDisposal = Frame.Disposal;
  return Union(Disposed, A);
}

void TGifCanvas::Clear() {
  std::fill(FCanvas.Pixels.begin(), FCanvas.Pixels.end(), 0u);
  FLastArea = {};
  FLastDisposal = TGifDisposal::gdKeep;
  FSaved.clear();
}

}  // namespace tarnwick
