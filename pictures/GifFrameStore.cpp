#include "pictures/GifFrameStore.h"

#include <stdexcept>

#include "pictures/ByteCompression.h"

namespace tarnwick {

GifFrameStore::GifFrameStore(std::size_t Budget) : Budget_(Budget) {}

void GifFrameStore::Keep(const GifFrameImage& Image) {
  if (Full_) return;
  std::vector<std::uint8_t> Indexes = CompressBytes(Image.Indexes);
  Indexes.shrink_to_fit();
  // Most frames share their colours with the frame before them: those are
  // kept once.
  const bool NewColors = Colors_.empty() || Colors_.back() != Image.Colors;
  const std::size_t Size = sizeof(Frame) + Indexes.size() + (NewColors ? sizeof Image.Colors : 0);
  if (Size > Budget_ - Bytes_) {
    Full_ = true;
    return;
  }
  Bytes_ += Size;
  if (NewColors) Colors_.push_back(Image.Colors);
  Frames_.push_back({Image.Left, Image.Top, Image.Width, Image.Height, Image.Disposal, Colors_.size() - 1,
                     std::move(Indexes)});
}

void GifFrameStore::Expand(int Index, GifFrameImage& Image) const {
  const Frame& Kept = Frames_[static_cast<std::size_t>(Index)];
  Image.Left = Kept.Left;
  Image.Top = Kept.Top;
  Image.Width = Kept.Width;
  Image.Height = Kept.Height;
  Image.Disposal = Kept.Disposal;
  Image.Colors = Colors_[Kept.Colors];
  Image.Indexes.resize(static_cast<std::size_t>(Kept.Width) * static_cast<std::size_t>(Kept.Height));
  // The store wrote these bytes itself.
  if (!ExpandBytes(Kept.Indexes, Image.Indexes)) throw std::logic_error("a kept GIF frame does not expand");
}

}  // namespace tarnwick
