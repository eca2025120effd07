#include "pictures/Picture.h"

#include <algorithm>

#include "pictures/GifAnimation.h"

namespace tarnwick {

PixelArea Union(const PixelArea& A, const PixelArea& B) {
  if (A.Empty()) return B;
  if (B.Empty()) return A;
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom)};
}

PixelArea Intersection(const PixelArea& A, const PixelArea& B) {
  const PixelArea Both{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                       std::min(A.Bottom, B.Bottom)};
  return Both.Empty() ? PixelArea{} : Both;
}

int Picture::FrameCount() const {
  return Animation ? Animation->FrameCount() : static_cast<int>(Frames.size());
}

int Picture::DelayMs(int Index) const {
  return Animation ? Animation->Frame(Index).Control.DelayMs : Frames[static_cast<std::size_t>(Index)].DelayMs;
}

}  // namespace tarnwick
