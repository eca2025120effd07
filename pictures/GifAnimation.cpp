#include "pictures/GifAnimation.h"

#include "pictures/GifReader.h"
#include "pictures/PictureErrors.h"

namespace tarnwick {

std::size_t FrameStoreBudget(std::size_t FileSize) { return FileSize + (std::size_t{4} << 20); }

GifAnimation::GifAnimation(std::vector<std::uint8_t> Bytes, const PictureLimits& Limits, std::size_t StoreBudget)
    : Bytes_(std::move(Bytes)), Store_(StoreBudget) {
  ReadFrames(Limits);
  if (Store_.Kept() == FrameCount()) {
    Bytes_.clear();
    Bytes_.shrink_to_fit();
  }
}

void GifAnimation::ReadFrames(const PictureLimits& Limits) {
  GifReader Reader(Bytes_);
  Width_ = Reader->SWidth;
  Height_ = Reader->SHeight;
  CheckRasterSize(Width_, Height_, Limits);
  GifFrameControl Control;
  GifFrameImage Image;
  GifFrameImage First;
  for (;;) {
    const std::size_t Offset = Reader.Position();
    GifRecordType Type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(Reader.Get(), &Type) == GIF_ERROR) {
      if (Reader.AtEnd() && !Frames_.empty()) break;
      Reader.Fail();
    }
    if (Type == TERMINATE_RECORD_TYPE) break;
    if (Type == EXTENSION_RECORD_TYPE) {
      ReadExtension(Reader, Control, LoopCount_);
    } else if (Type == IMAGE_DESC_RECORD_TYPE) {
      CheckAnimationSize(Frames_.size() + 1, Width_, Height_, Limits);
      Reader.Check(DGifGetImageDesc(Reader.Get()));
      CheckRasterSize(Reader->Image.Width, Reader->Image.Height, Limits);
      ReadImage(Reader, Control, Image);
      Frames_.push_back({Offset, Control, CoversOpaquely(Image, Width_, Height_)});
      Keep(Image, First);
      // A graphic control extension governs the one image after it.
      Control = GifFrameControl{};
    }
  }
  if (Frames_.empty()) throw EPictureError(DamagedReason("画像がありません"));
}

// The first frame waits aside for a second: a still keeps nothing.
void GifAnimation::Keep(GifFrameImage& Image, GifFrameImage& First) {
  if (Frames_.size() == 1) {
    First = std::move(Image);
    return;
  }
  if (Frames_.size() == 2) Store_.Keep(First);
  Store_.Keep(Image);
}

}  // namespace tarnwick
