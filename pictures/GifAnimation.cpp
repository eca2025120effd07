#include "pictures/GifAnimation.h"

#include "pictures/GifReader.h"
#include "pictures/PictureErrors.h"

namespace tarnwick {

std::size_t FrameStoreBudget(std::size_t FileSize) { return FileSize + (std::size_t{4} << 20); }

TGifAnimation::TGifAnimation(std::vector<std::uint8_t> Bytes, const TPictureLimits& Limits, std::size_t StoreBudget)
    : FBytes(std::move(Bytes)), FStore(StoreBudget) {
  ReadFrames(Limits);
  if (FStore.Kept() == FrameCount()) {
    FBytes.clear();
    FBytes.shrink_to_fit();
  }
}

void TGifAnimation::ReadFrames(const TPictureLimits& Limits) {
  TGifReader Reader(FBytes);
  FWidth = Reader->SWidth;
  FHeight = Reader->SHeight;
  CheckRasterSize(FWidth, FHeight, Limits);
  TGifFrameControl Control;
  TGifFrameImage Image;
  TGifFrameImage First;
  for (;;) {
    const std::size_t Offset = Reader.Position();
    GifRecordType Type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(Reader.Get(), &Type) == GIF_ERROR) {
      if (Reader.AtEnd() && !FFrames.empty()) break;
      Reader.Fail();
    }
    if (Type == TERMINATE_RECORD_TYPE) break;
    if (Type == EXTENSION_RECORD_TYPE) {
      ReadExtension(Reader, Control, FLoopCount);
    } else if (Type == IMAGE_DESC_RECORD_TYPE) {
      CheckAnimationSize(FFrames.size() + 1, FWidth, FHeight, Limits);
      Reader.Check(DGifGetImageDesc(Reader.Get()));
      CheckRasterSize(Reader->Image.Width, Reader->Image.Height, Limits);
      ReadImage(Reader, Control, Image);
      FFrames.push_back({Offset, Control, CoversOpaquely(Image, FWidth, FHeight)});
      Keep(Image, First);
      // A graphic control extension governs the one image after it.
      Control = TGifFrameControl{};
    }
  }
  if (FFrames.empty()) throw EPictureError(DamagedReason("画像がありません"));
}

// The first frame waits aside for a second: a still keeps nothing.
void TGifAnimation::Keep(TGifFrameImage& Image, TGifFrameImage& First) {
  if (FFrames.size() == 1) {
    First = std::move(Image);
    return;
  }
  if (FFrames.size() == 2) FStore.Keep(First);
  FStore.Keep(Image);
}

}  // namespace tarnwick
