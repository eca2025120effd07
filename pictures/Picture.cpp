#include "pictures/Picture.h"

#include <algorithm>

#include "pictures/GifAnimation.h"

namespace tarnwick {

TPixelArea Union(const TPixelArea& A, const TPixelArea& B) {
  if (A.Empty()) return B;
  if (B.Empty()) return A;
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom)};
}

TPixelArea Intersection(const TPixelArea& A, const TPixelArea& B) {
  const TPixelArea Both{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                       std::min(A.Bottom, B.Bottom)};
  return Both.Empty() ? TPixelArea{} : Both;
}

int TPicture::FrameCount() const {
  return Animation ? Animation->FrameCount() : static_cast<int>(Frames.size());
}

int TPicture::DelayMs(int Index) const {
  return Animation ? Animation->Frame(Index).Control.DelayMs : Frames[static_cast<std::size_t>(Index)].DelayMs;
}

}  // namespace tarnwick
