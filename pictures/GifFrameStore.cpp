#include "pictures/GifFrameStore.h"

#include <stdexcept>

#include "pictures/ByteCompression.h"

namespace tarnwick {

TGifFrameStore::TGifFrameStore(std::size_t Budget) : FBudget(Budget) {}

void TGifFrameStore::Keep(const TGifFrameImage& Image) {
  if (FFull) return;
  std::vector<std::uint8_t> Indexes = CompressBytes(Image.Indexes);
  Indexes.shrink_to_fit();
  // Most frames share their colours with the frame before them: those are
  // kept once.
  const bool NewColors = FColors.empty() || FColors.back() != Image.Colors;
  const std::size_t Size = sizeof(TFrame) + Indexes.size() + (NewColors ? sizeof Image.Colors : 0);
  if (Size > FBudget - FBytes) {
    FFull = true;
    return;
  }
  FBytes += Size;
  if (NewColors) FColors.push_back(Image.Colors);
  FFrames.push_back({Image.Left, Image.Top, Image.Width, Image.Height, Image.Disposal, FColors.size() - 1,
                     std::move(Indexes)});
}

void TGifFrameStore::Expand(int Index, TGifFrameImage& Image) const {
  const TFrame& Kept = FFrames[static_cast<std::size_t>(Index)];
  Image.Left = Kept.Left;
  Image.Top = Kept.Top;
  Image.Width = Kept.Width;
  Image.Height = Kept.Height;
  Image.Disposal = Kept.Disposal;
  Image.Colors = FColors[Kept.Colors];
  Image.Indexes.resize(static_cast<std::size_t>(Kept.Width) * static_cast<std::size_t>(Kept.Height));
  // The store wrote these bytes itself.
  if (!ExpandBytes(Kept.Indexes, Image.Indexes)) throw std::logic_error("a kept GIF frame does not expand");
}

}  // namespace tarnwick
