#include "pictures/GifCanvas.h"

#include <algorithm>

namespace tarnwick {

bool CoversOpaquely(const GifFrameImage& Frame, int Width, int Height) {
  if (Frame.Left != 0 || Frame.Top != 0 || Frame.Width < Width || Frame.Height < Height) return false;
  for (int Y = 0; Y < Height; ++Y) {
    const std::uint8_t* In = Frame.Indexes.data() + static_cast<std::size_t>(Y) * Frame.Width;
    if (std::any_of(In, In + Width, [&](std::uint8_t Index) { return Frame.Colors[Index] == 0; })) return false;
  }
  return true;
}

GifCanvas::GifCanvas(int Width, int Height)
    : Canvas_{Width, Height, std::vector<std::uint32_t>(static_cast<std::size_t>(Width) * Height), 0} {}

PixelArea GifCanvas::Clipped(const GifFrameImage& Frame) const {
  return {std::min(Frame.Left, Canvas_.Width), std::min(Frame.Top, Canvas_.Height),
          std::min(Frame.Left + Frame.Width, Canvas_.Width), std::min(Frame.Top + Frame.Height, Canvas_.Height)};
}

void GifCanvas::DisposeLast() {
  const int Width = LastArea_.Right - LastArea_.Left;
  for (int Y = LastArea_.Top; Y < LastArea_.Bottom; ++Y) {
    std::uint32_t* Out = Row(Y) + LastArea_.Left;
    if (LastDisposal_ == GifDisposal::gdBackground) std::fill(Out, Out + Width, 0u);
    if (LastDisposal_ == GifDisposal::gdPrevious)
      std::copy_n(Saved_.begin() + static_cast<std::ptrdiff_t>(Y - LastArea_.Top) * Width, Width, Out);
  }
}

PixelArea GifCanvas::Draw(const GifFrameImage& Frame) {
  DisposeLast();
  const PixelArea Disposed = LastDisposal_ == GifDisposal::gdKeep ? PixelArea{} : LastArea_;
  const PixelArea A = Clipped(Frame);
  Saved_.clear();
  for (int Y = A.Top; Y < A.Bottom; ++Y) {
    std::uint32_t* Out = Row(Y);
    if (Frame.Disposal == GifDisposal::gdPrevious) Saved_.insert(Saved_.end(), Out + A.Left, Out + A.Right);
    const std::uint8_t* In = Frame.Indexes.data() + static_cast<std::size_t>(Y - Frame.Top) * Frame.Width;
    for (int X = A.Left; X < A.Right; ++X)
      if (const std::uint32_t Color = Frame.Colors[In[X - Frame.Left]]) Out[X] = Color;
  }
  LastArea_ = A;
  LastDisposal_ = Frame.Disposal;
  return Union(Disposed, A);
}

void GifCanvas::Clear() {
  std::fill(Canvas_.Pixels.begin(), Canvas_.Pixels.end(), 0u);
  LastArea_ = {};
  LastDisposal_ = GifDisposal::gdKeep;
  Saved_.clear();
}

}  // namespace tarnwick
