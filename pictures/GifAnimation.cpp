#include "pictures/GifAnimation.h"

#include "pictures/GifReader.h"
#include "pictures/PictureErrors.h"

namespace tarnwick {

GifAnimation::GifAnimation(std::vector<std::uint8_t> Bytes, const PictureLimits& Limits) : Bytes_(std::move(Bytes)) {
  GifReader Reader(Bytes_);
  Width_ = Reader->SWidth;
  Height_ = Reader->SHeight;
  CheckRasterSize(Width_, Height_, Limits);
  GifFrameControl Control;
  GifFrameImage Image;
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
      Frames_.push_back({Offset, Control});
      // A graphic control extension governs the one image after it.
      Control = GifFrameControl{};
    }
  }
  if (Frames_.empty()) throw EPictureError(DamagedReason("画像がありません"));
}

}  // namespace tarnwick
